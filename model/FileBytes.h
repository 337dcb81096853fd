// Whole-file reads and crash-safe whole-file writes for the program's own files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Every byte of a regular file; empty when it cannot be opened or read, or is not one.
// When the file does not begin with `expectedStart`, reading stops early and only what
// was read comes back: a large file of another kind is not read whole just to be
// refused by its first line.
std::optional<std::string> ReadFileBytes(const std::string& path, std::string_view expectedStart = {});

// Writes a temporary file beside the target and renames it over the target only when
// every byte is written and flushed, so a failure at any step leaves the old file as it
// was. The new file takes the old one's permissions, or the usual ones for a new file.
// A target the process may not write (by its permission bits, even for root) is
// refused and left alone.
bool SaveFileBytes(const std::string& path, std::string_view bytes);
