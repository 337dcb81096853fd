// Whole-file reads and crash-safe saves on every system. What takes POSIX files to show
// (modes, owners, links, pipes, devices, a save killed half-way) is in
// file_bytes_posix_test.cpp.
#include "model/FileBytes.h"
#include "model/Utf8Path.h"
#include "tests/core/support/AllBytes.h"
#include "tests/core/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>

TEST(FileBytes, SavesAndReadsEveryByteLeavingNothingElseBehind)
{
    TempFolder folder;
    const std::string path = folder.Path("all.bin");
    ASSERT_TRUE(SaveFileBytes(path, AllBytes));
    EXPECT_EQ(ReadBytes(path), AllBytes);
    EXPECT_EQ(ReadFileBytes(path), AllBytes);
    ASSERT_TRUE(SaveFileBytes(path, "short"));
    EXPECT_EQ(ReadBytes(path), "short");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Root()), {}), 1);
}

TEST(FileBytes, AFileThatCannotBeReadGivesNothing)
{
    TempFolder folder;
    EXPECT_FALSE(ReadFileBytes(folder.Path("missing")));
    EXPECT_FALSE(ReadFileBytes(Utf8FromPath(folder.Root())));
}

TEST(FileBytes, AFileOfAnotherKindIsNotReadWhole)
{
    TempFolder folder;
    const std::string path = folder.Path("big.bin");
    const std::string big(4u << 20, 'x');
    ASSERT_TRUE(SaveFileBytes(path, "HEADER\r\n" + big));
    // The right beginning: all of it.
    EXPECT_EQ(ReadFileBytes(path, "HEADER")->size(), big.size() + 8);
    // Another beginning: reading stops within the first buffer, and what comes back
    // still shows that the beginning is wrong.
    const auto wrong = ReadFileBytes(path, "HEADEX");
    ASSERT_TRUE(wrong);
    EXPECT_LT(wrong->size(), big.size() / 4);
    EXPECT_TRUE(wrong->starts_with("HEADER\r\n"));
    // A file shorter than the expected beginning is read whole.
    ASSERT_TRUE(SaveFileBytes(path, "HEA"));
    EXPECT_EQ(ReadFileBytes(path, "HEADER"), "HEA");
}
