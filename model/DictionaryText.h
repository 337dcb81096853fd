// The dictionary file's text: everything of the format apart from the file system, so
// the fuzzer can use it on bytes in memory.
#pragma once

#include "model/NameLists.h"

#include <optional>
#include <string>
#include <string_view>

class IMessageSink;

// The first line of every dictionary file, as UTF-8.
extern const char* const DictionaryHeader;

// Replaces `lists` when the whole text is a valid dictionary; otherwise tells why and
// leaves them as they were.
bool ReadDictionaryText(std::string_view bytes, NameLists& lists, IMessageSink& messages);

// The file's bytes; empty when a name is not one line of code page 1251.
std::optional<std::string> WriteDictionaryText(const NameLists& lists);
