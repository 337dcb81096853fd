// What the data file and the dictionary file share: their messages, their fixed lines
// and their name sections (a count line, then one name per line in code page 1251).
#pragma once

#include "model/FileBytes.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IMessageSink;
class TextReader;

std::string WrongFormatMessage();
// The wrong-format message naming the line where reading stopped.
std::string WrongFormatAtLine(int line);

// A file too large for the memory left: refused like a malformed one, never the end
// of the program with the analyst's unsaved work in its windows.
std::string OutOfMemoryMessage();

// Saves the text a writer made (none when it refused the content) in place of the
// file at `path`; on any failure tells the analyst and returns false.
bool SaveText(const std::string& path, const std::optional<std::string>& text, IMessageSink& messages,
    const SaveOptions& options = {});

// A fixed UTF-8 text of the program as a line of the file.
void AppendFixedLine(std::string& out, std::string_view utf8);
void AppendIntLine(std::string& out, int value);

// The count line and the names; false when a name cannot be written as one line of
// the file (a character the code page lacks, a line break, or too long to read back).
bool AppendNames(std::string& out, const std::vector<std::string>& names);

// A non-negative integer word.
bool ReadCount(TextReader& reader, int& count);

// The count (alone on its line), then that many name lines; false at the first fault,
// with the reader on the line at fault.
bool ReadNames(TextReader& reader, std::vector<std::string>& names);
