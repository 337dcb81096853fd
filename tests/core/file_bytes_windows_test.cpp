// Saving and reading on Windows, where replacing a file, read-only files, byte-exact
// reading and non-ASCII folder names each work differently than on POSIX systems.
#include "model/FileBytes.h"
#include "tests/core/support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

namespace {

// The UTF-8 text of a path, as the program hands paths to the core.
std::string Utf8(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path FromUtf8(const std::string& text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::size_t EntriesIn(const std::filesystem::path& folder)
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

} // namespace

TEST(FileBytesWindows, ReadsAndWritesBytesWithoutTranslatingLineEndsOrEndOfFile)
{
    TempFolder folder;
    const std::string path = Utf8(folder.Root() / "bytes.sav");
    // CR LF, a lone LF and Ctrl+Z (0x1A) are what text mode would change or stop at.
    const std::string bytes = std::string("line\r\nnext\nend\x1A") + std::string("\0tail\r", 6);
    ASSERT_TRUE(SaveFileBytes(path, bytes));
    EXPECT_EQ(std::filesystem::file_size(FromUtf8(path)), bytes.size());
    EXPECT_EQ(ReadFileBytes(path), bytes);
}

TEST(FileBytesWindows, ReplacesAnExistingFileAndLeavesNoTemporaryFileBehind)
{
    TempFolder folder;
    const std::string path = Utf8(folder.Root() / "data.sav");
    ASSERT_TRUE(SaveFileBytes(path, "old contents"));
    ASSERT_TRUE(SaveFileBytes(path, "new"));
    EXPECT_EQ(ReadFileBytes(path), "new");
    EXPECT_EQ(EntriesIn(folder.Root()), 1u);
}

TEST(FileBytesWindows, SavesIntoAndReadsFromAFolderWithACyrillicName)
{
    TempFolder folder;
    const std::filesystem::path cyrillic = folder.Root() / std::filesystem::path(u8"Оценки защиты");
    ASSERT_TRUE(std::filesystem::create_directory(cyrillic));
    const std::string path = Utf8(cyrillic / u8"эшелоны.sav");
    ASSERT_TRUE(SaveFileBytes(path, "\xCE\xF6\xE5\xED\xEA\xE0")); // "Оценка" in code page 1251
    ASSERT_TRUE(std::filesystem::exists(cyrillic / u8"эшелоны.sav"));
    EXPECT_EQ(ReadFileBytes(path), "\xCE\xF6\xE5\xED\xEA\xE0");
}

TEST(FileBytesWindows, RefusesAReadOnlyTargetAndLeavesItAsItWas)
{
    TempFolder folder;
    const std::filesystem::path target = folder.Root() / "locked.sav";
    const std::string path = Utf8(target);
    ASSERT_TRUE(SaveFileBytes(path, "kept"));
    ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(SaveFileBytes(path, "replaced"));
    EXPECT_EQ(ReadFileBytes(path), "kept");
    EXPECT_EQ(EntriesIn(folder.Root()), 1u);
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileBytesWindows, AFailedSaveLeavesTheOldFileWhole)
{
    TempFolder folder;
    const std::string path = Utf8(folder.Root() / "data.sav");
    ASSERT_TRUE(SaveFileBytes(path, "old"));
    // The new contents are on the disk, not yet in the target's place, when the save stops.
    SaveOptions options;
    options.AfterWrite = [] { throw std::runtime_error("stopped"); };
    EXPECT_THROW(SaveFileBytes(path, "new", options), std::runtime_error);
    EXPECT_EQ(ReadFileBytes(path), "old");
}

TEST(FileBytesWindows, RefusesFoldersAndPathsThatAreNoUtf8)
{
    TempFolder folder;
    EXPECT_FALSE(SaveFileBytes(Utf8(folder.Root()), "x"));
    EXPECT_FALSE(ReadFileBytes(Utf8(folder.Root())).has_value());
    EXPECT_FALSE(SaveFileBytes(Utf8(folder.Root()) + "\\\xFF\xFE.sav", "x"));
    EXPECT_FALSE(ReadFileBytes(Utf8(folder.Root() / "missing.sav")).has_value());
}

TEST(FileBytesWindows, WritesStraightThroughADeviceOnlyWhenStreamsAreAllowed)
{
    EXPECT_FALSE(SaveFileBytes("NUL", "x"));
    SaveOptions streams;
    streams.WriteStreams = true;
    EXPECT_TRUE(SaveFileBytes("NUL", "x", streams));
}
