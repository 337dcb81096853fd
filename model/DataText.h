// The data file's text: everything of the format apart from the file system, so the
// fuzzer and the tools can use it on bytes in memory.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class CData;
class IMessageSink;

// The first line of every data file, as UTF-8.
extern const char* const DataHeader;

// Replaces the store's lists, counts, thresholds, levels and six source matrices when
// the whole text is a valid data file; otherwise tells why and leaves the store as it
// was. The derived matrices, MM, EE and WeightedDamageMax are never touched.
bool ReadDataText(std::string_view bytes, CData& store, IMessageSink& messages);

// The file's bytes; empty when the store cannot be written as a file that reads back:
// a name that is not one line of code page 1251, or lists, counts and matrix shapes
// that disagree.
std::optional<std::string> WriteDataText(const CData& store);
