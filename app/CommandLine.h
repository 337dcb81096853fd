// The program's command line: at most one data file to open at start-up, and the usage and
// version texts, which are answered on stdout without a window.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CommandLine {
    enum class Action { Run, Help, Version, Error };

    Action What = Action::Run;
    // Run: the data file to open in place of the start-up dictionary.
    std::optional<std::string> DataFile;
    // Error: what was not understood.
    std::string Error;
};

extern const char* const kProgramUsage;
// "vardun" and the version, one line.
extern const char* const kProgramVersion;

// `args` without the program's name. --help and --version win wherever they stand, so they
// can be answered before Qt has taken out its own options (which are errors here).
CommandLine ParseCommandLine(const std::vector<std::string>& args);
