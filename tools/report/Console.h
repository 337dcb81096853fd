// The tool's command line and standard streams, where Windows and POSIX systems differ;
// each has a unit of its own (ConsolePosix.cpp, ConsoleWindows.cpp).
#pragma once

#include <string>
#include <vector>

// The arguments after the program's name, as UTF-8 like every path of the program.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Standard output and errors pass on the bytes as written: the JSON, a PDF sent down a
// pipe and the messages arrive as they are, with no line end turned into another.
void UseBinaryStandardStreams();

// Whether `path` names the very file or pipe that standard output writes to.
bool IsStandardOutput(const std::string& path);
