// Whole-file reads and crash-safe whole-file writes for the program's own files.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Every byte of a regular file; empty when it cannot be opened or read, or is not one.
// When the file does not begin with `expectedStart`, reading stops early and only what
// was read comes back: a large file of another kind is not read whole just to be
// refused by its first line.
std::optional<std::string> ReadFileBytes(const std::string& path, std::string_view expectedStart = {});

struct SaveOptions {
    // A pipe or character device at the path (a FIFO, /dev/stdout piped on, a terminal)
    // is written straight through instead of being refused. Only for an output a tool's
    // user names on its command line; a data file never goes to a stream, where the next
    // load could not find it.
    bool WriteStreams = false;
    // Called once the new contents are written and flushed, before they take the
    // target's name: the moment where a crash costs the most. Tests stop a save here;
    // the program leaves it empty.
    std::function<void()> AfterWrite;
};

// Writes the new contents beside the target and puts them in its place only when every
// byte is written and flushed, so a failure at any step leaves the old file as it was.
// The new file takes the old one's permissions, or the usual ones for a new file. A
// target the process may not write (by its permission bits, even for root), or one that
// is no regular file (a device, a pipe, a folder), is refused and left alone, streams
// aside when `options` allow them.
//
// Where the system allows it the new contents have no name until they are complete, so
// a save killed half-way leaves nothing behind; elsewhere a hidden ".vardun-save.*" file
// beside the target holds them until the rename.
bool SaveFileBytes(const std::string& path, std::string_view bytes, const SaveOptions& options = {});
