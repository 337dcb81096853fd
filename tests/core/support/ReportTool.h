// Runs the built vardun-report as a shell would, with its output and errors caught in
// files of a test's folder.
#pragma once

#include "TempFolder.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

inline const std::filesystem::path kReportTool = std::filesystem::path(VARDUN_BINARY_DIR) / "tools" / "vardun-report";

struct ToolRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

inline std::string ShellQuoted(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline ToolRun RunReportTool(const std::vector<std::string>& args, const TempFolder& folder)
{
    std::string command = ShellQuoted(kReportTool.string());
    for (const std::string& a : args)
        command += " " + ShellQuoted(a);
    command += " >" + ShellQuoted(folder.Path("stdout")) + " 2>" + ShellQuoted(folder.Path("stderr"));
    const int raw = std::system(command.c_str());
    ToolRun run;
    run.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.Out = ReadBytes(folder.Path("stdout"));
    run.Err = ReadBytes(folder.Path("stderr"));
    return run;
}
