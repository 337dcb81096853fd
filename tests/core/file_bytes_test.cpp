#include "model/FileBytes.h"
#include "tests/core/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace {

mode_t ModeOf(const std::string& path)
{
    struct stat info { };
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

class UmaskScope {
public:
    explicit UmaskScope(mode_t mask)
        : old_(::umask(mask))
    {
    }
    ~UmaskScope() { ::umask(old_); }

private:
    mode_t old_;
};

const std::string AllBytes = [] {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    return bytes + "\r\n\n\r";
}();

} // namespace

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

TEST(FileBytes, ANewFileGetsTheUsualModeAndAnOldOneKeepsItsOwn)
{
    TempFolder folder;
    {
        UmaskScope mask(027);
        ASSERT_TRUE(SaveFileBytes(folder.Path("new.sav"), "x"));
    }
    EXPECT_EQ(ModeOf(folder.Path("new.sav")), 0640u);

    WriteBytes(folder.Path("old.sav"), "old");
    ASSERT_EQ(::chmod(folder.Path("old.sav").c_str(), 0604), 0);
    ASSERT_TRUE(SaveFileBytes(folder.Path("old.sav"), "new"));
    EXPECT_EQ(ModeOf(folder.Path("old.sav")), 0604u);
}

TEST(FileBytes, SavingThroughASymbolicLinkKeepsTheLink)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.Root() / "real");
    WriteBytes(folder.Path("real/data.sav"), "old");
    std::filesystem::create_symlink("real/data.sav", folder.Root() / "link.sav");

    ASSERT_TRUE(SaveFileBytes(folder.Path("link.sav"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Root() / "link.sav"));
    EXPECT_EQ(ReadBytes(folder.Path("real/data.sav")), "new");
}

TEST(FileBytes, AFileThatCannotBeReadGivesNothing)
{
    TempFolder folder;
    EXPECT_FALSE(ReadFileBytes(folder.Path("missing")));
    EXPECT_FALSE(ReadFileBytes(folder.Root().string()));
    // Neither a device without end nor a pipe without writer may hang the program.
    EXPECT_FALSE(ReadFileBytes("/dev/zero"));
    ASSERT_EQ(::mkfifo(folder.Path("pipe").c_str(), 0600), 0);
    EXPECT_FALSE(ReadFileBytes(folder.Path("pipe")));
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
