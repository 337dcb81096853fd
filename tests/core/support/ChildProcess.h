// Runs a built program as a child process, where Windows and POSIX systems differ; each
// has a unit of its own (ChildProcessPosix.cpp, ChildProcessWindows.cpp).
#pragma once

#include <string>
#include <vector>

// The file of a built program, from its path without the system's ending for programs.
std::string ProgramFile(const std::string& withoutEnding);

// Runs `program` (a UTF-8 path) with `arguments` passed exactly as given, its standard
// output into the file `out` and its errors into the file `err`, and waits for its end.
// Its exit code; -1 when it could not be started, or was ended by a signal.
int RunProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& out,
    const std::string& err);
