// vardun-report where only POSIX systems have the files to try it on: pipes.
#include "support/ReportToolTest.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path kSample = fs::path(VARDUN_TEST_DATA) / "sample.sav";

using ReportTool = ReportToolTest;

} // namespace

// A data file is never written into a pipe or a device: "--save" of one is refused and
// the node stays (as root, "--save /dev/null" used to replace the device).
TEST_F(ReportTool, SavingOverAPipeIsRefused)
{
    const fs::path pipe = Path("pipe.sav");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
    // Refused before anything opens the pipe, which has no reader.
    const ToolRun run = Report({ kSample.string(), "--save", pipe.string() });
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "Не удалось сохранить файл " + pipe.string() + ".\n");
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(pipe)));
}
