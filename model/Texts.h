// The texts the core shows the analyst are Russian in the source, as the program has always
// shown them. A program with windows installs its translator at start-up, so a translation
// can be added without touching the core; lupdate finds the texts by the names Translate
// and VARDUN_TEXT (scripts/texts.sh).
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

using TextTranslator = std::string (*)(const char* context, const char* source);

// Null puts the source texts back.
void SetTextTranslator(TextTranslator translator);

// The text to show for `source`, a UTF-8 source text of `context`.
std::string Translate(const char* context, const char* source);
// `text` with %1, %2, ... replaced by `arguments` in order, as Qt's arg() does it.
std::string FillIn(const std::string& text, std::initializer_list<std::string_view> arguments);

// Marks a source text kept in a table; it is translated where it is shown, with the same
// context.
#define VARDUN_TEXT(context, source) source
