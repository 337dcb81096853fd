// The Excel workbook's save where only POSIX systems have the files to try it on: pipes.
#include "ui/export/workbook/Workbook.h"

#include "model/Data.h"
#include "support/RandomAssessment.h"
#include "support/RecordingSink.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// A workbook is a data file of its own: a pipe at its name is refused and left there.
TEST(Workbook, AFailedSaveIntoAPipeSaysSoAndLeavesThePipe)
{
    const TempFolder folder;
    const CData data = RandomAssessment(2, 5);
    const std::string path = folder.Path("pipe.xlsx");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    RecordingSink sink;
    EXPECT_FALSE(WriteAssessmentWorkbook(path, data, {}, sink));
    EXPECT_EQ(sink.Messages, std::vector<std::string> { "Не удалось сохранить файл " + path + "." });
    EXPECT_TRUE(fs::is_fifo(path));
    // Nothing else appeared beside the target.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Root()), fs::directory_iterator()), 1);
}
