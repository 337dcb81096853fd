// Runs the built vardun-report with its output and errors caught in files of a test's
// folder.
#pragma once

#include "ChildProcess.h"
#include "TempFolder.h"

#include "model/Utf8Path.h"

#include <string>
#include <vector>

inline const std::string kReportTool
    = ProgramFile(Utf8FromPath(PathFromUtf8(VARDUN_BINARY_DIR) / "tools" / "vardun-report"));

struct ToolRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

inline ToolRun RunReportTool(const std::vector<std::string>& args, const TempFolder& folder)
{
    ToolRun run;
    run.Status = RunProgram(kReportTool, args, folder.Path("stdout"), folder.Path("stderr"));
    run.Out = ReadBytes(folder.Path("stdout"));
    run.Err = ReadBytes(folder.Path("stderr"));
    return run;
}
