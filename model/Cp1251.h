// Code page 1251 at the file boundary. Inside the program text is UTF-8; files hold
// single bytes. Byte 0x98 has no character in the code page and maps to U+0098, so
// every byte a file can hold survives a read and a write unchanged.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Every byte has a code point, so this cannot fail.
std::string Cp1251ToUtf8(std::string_view bytes);

// Empty when the text is not valid UTF-8 or holds a character the code page lacks.
std::optional<std::string> Utf8ToCp1251(std::string_view utf8);

bool IsCp1251Representable(char32_t codePoint);
