// Whole-file reads and saves where POSIX systems have more to get right: permission bits,
// owners, symbolic links, pipes and devices, and a save killed half-way.
#include "model/FileBytes.h"
#include "model/FileText.h"
#include "tests/core/support/AllBytes.h"
#include "tests/core/support/RecordingSink.h"
#include "tests/core/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

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

mode_t KindOf(const std::string& path)
{
    struct stat info { };
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & S_IFMT;
}

std::vector<std::string> FolderEntries(const TempFolder& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Root()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(FileBytes, ANewFileGetsTheUsualModeAndAnOldOneKeepsItsOwn)
{
    TempFolder folder;
    {
        UmaskScope mask(027);
        ASSERT_TRUE(SaveFileBytes(folder.Path("new.sav"), "x"));
    }
    EXPECT_EQ(ModeOf(folder.Path("new.sav")), 0640u);

    // The mask must not strip the old file's bits: they are copied, not requested.
    for (mode_t mask : { 022, 077 }) {
        for (mode_t mode : { 0640, 0604, 0600, 0666, 0200 }) {
            SCOPED_TRACE(testing::Message() << std::oct << "mode " << mode << " umask " << mask);
            const std::string path = folder.Path("old.sav");
            WriteBytes(path, "old");
            ASSERT_EQ(::chmod(path.c_str(), mode), 0);
            UmaskScope scope(mask);
            ASSERT_TRUE(SaveFileBytes(path, "new"));
            EXPECT_EQ(ModeOf(path), mode);
            ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
            EXPECT_EQ(ReadBytes(path), "new");
        }
    }
}

TEST(FileBytes, AReadOnlyFileIsNotReplaced)
{
    TempFolder folder;
    const std::string path = folder.Path("kept.sav");
    for (mode_t mode : { 0444, 0400, 0000, 0044, 0577 }) {
        SCOPED_TRACE(testing::Message() << std::oct << "mode " << mode);
        WriteBytes(path, AllBytes);
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        EXPECT_FALSE(SaveFileBytes(path, "new"));
        EXPECT_EQ(ModeOf(path), mode);
        ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
        EXPECT_EQ(ReadBytes(path), AllBytes);
        EXPECT_EQ(FolderEntries(folder), std::vector<std::string> { "kept.sav" });
    }
    // The same file made writable again is replaced as usual.
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    ASSERT_TRUE(SaveFileBytes(path, "new"));
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(ModeOf(path), 0644u);
}

TEST(FileBytes, TheWriteBitOfTheProcessesOwnClassDecides)
{
    // Owner bits when the process owns the file, group bits when it is in the file's
    // group, other bits otherwise; the bits of the other classes do not matter.
    const uid_t me = ::geteuid();
    const gid_t myGroup = ::getegid();
    const uid_t stranger = 54321;
    const gid_t strangeGroup = 54321;
    const struct {
        const char* what;
        uid_t owner;
        gid_t group;
        mode_t mode;
        bool replaced;
    } cases[] = {
        { "own file, owner may write", me, myGroup, 0600, true },
        { "own file, only group and others may write", me, myGroup, 0466, false },
        { "own group, group may write", stranger, myGroup, 0460, true },
        { "own group, only owner and others may write", stranger, myGroup, 0646, false },
        { "stranger's file, others may write", stranger, strangeGroup, 0446, true },
        { "stranger's file, only owner and group may write", stranger, strangeGroup, 0664, false },
    };
    TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = folder.Path("file.sav");
        WriteBytes(path, "old");
        if ((c.owner != me || c.group != myGroup) && ::chown(path.c_str(), c.owner, c.group) != 0)
            GTEST_SKIP() << "giving a file away needs root";
        ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
        EXPECT_EQ(SaveFileBytes(path, "new"), c.replaced);
        ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
        EXPECT_EQ(ReadBytes(path), c.replaced ? "new" : "old");
        EXPECT_EQ(FolderEntries(folder), std::vector<std::string> { "file.sav" });
        std::filesystem::remove(path);
    }
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

    // The file the link points to decides whether it may be replaced.
    ASSERT_EQ(::chmod(folder.Path("real/data.sav").c_str(), 0444), 0);
    EXPECT_FALSE(SaveFileBytes(folder.Path("link.sav"), "newer"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Root() / "link.sav"));
    EXPECT_EQ(ReadBytes(folder.Path("real/data.sav")), "new");
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::string> { "link.sav", "real" }));
}

TEST(FileBytes, ADeviceWithoutEndOrAPipeWithoutWriterGivesNothing)
{
    TempFolder folder;
    // Neither a device without end nor a pipe without writer may hang the program.
    EXPECT_FALSE(ReadFileBytes("/dev/zero"));
    ASSERT_EQ(::mkfifo(folder.Path("pipe").c_str(), 0600), 0);
    EXPECT_FALSE(ReadFileBytes(folder.Path("pipe")));
}

// A device node or a pipe replaced by a plain file breaks whatever else uses it (as root,
// "--save /dev/null" replaced the device); a save must refuse such a target.
TEST(FileBytes, ATargetThatIsNoRegularFileIsRefusedAndLeftAlone)
{
    TempFolder folder;
    ASSERT_EQ(::mkfifo(folder.Path("pipe").c_str(), 0666), 0);
    std::filesystem::create_symlink("pipe", folder.Root() / "link-to-pipe");
    std::filesystem::create_directory(folder.Root() / "folder");
    std::vector<std::string> targets = { "pipe", "link-to-pipe", "folder" };
    // A /dev/null of our own: making one needs root.
    const bool device = ::mknod(folder.Path("null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;
    if (device)
        targets.push_back("null");
    const std::vector<std::string> before = FolderEntries(folder);

    for (const std::string& name : targets) {
        SCOPED_TRACE(name);
        const std::string path = folder.Path(name);
        const mode_t kind = KindOf(path);
        // No reader ever opens the pipe: a save that tried to write it would hang here.
        EXPECT_FALSE(SaveFileBytes(path, "new"));
        RecordingSink sink;
        EXPECT_FALSE(SaveText(path, std::string("new"), sink));
        EXPECT_EQ(sink.Messages, std::vector<std::string> { "Не удалось сохранить файл " + path + "." });
        EXPECT_EQ(KindOf(path), kind);
    }
    EXPECT_EQ(KindOf(folder.Path("pipe")), static_cast<mode_t>(S_IFIFO));
    if (device)
        EXPECT_EQ(KindOf(folder.Path("null")), static_cast<mode_t>(S_IFCHR));
    EXPECT_EQ(FolderEntries(folder), before);
}

// A tool's output named on its command line may be a pipe or a terminal ("--pdf
// /dev/stdout | ..."): with the option the bytes go straight into it.
TEST(FileBytes, AStreamTakesTheBytesWhenTheOptionsAllowIt)
{
    TempFolder folder;
    const std::string pipe = folder.Path("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    SaveOptions streams;
    streams.WriteStreams = true;
    {
        // The reader is there first, so the writer's open does not wait; the bytes fit
        // in the pipe's buffer, so the write does not either.
        const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(reader, 0);
        EXPECT_TRUE(SaveFileBytes(pipe, AllBytes, streams));
        std::string got(AllBytes.size() + 16, '\0');
        const ssize_t read = ::read(reader, got.data(), got.size());
        ::close(reader);
        ASSERT_GE(read, 0);
        got.resize(static_cast<std::size_t>(read));
        EXPECT_EQ(got, AllBytes);
    }
    EXPECT_EQ(KindOf(pipe), static_cast<mode_t>(S_IFIFO));

    // A device the same way; the node stays.
    EXPECT_TRUE(SaveFileBytes("/dev/null", "gone", streams));
    EXPECT_EQ(KindOf("/dev/null"), static_cast<mode_t>(S_IFCHR));

    // A folder is no stream, and a regular file is still replaced whole.
    EXPECT_FALSE(SaveFileBytes(folder.Root().string(), "x", streams));
    const std::string file = folder.Path("file.pdf");
    WriteBytes(file, "old");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    EXPECT_TRUE(SaveFileBytes(file, "new", streams));
    EXPECT_EQ(ReadBytes(file), "new");
    EXPECT_EQ(ModeOf(file), 0640u);
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::string> { "file.pdf", "pipe" }));
}

// A save killed at its worst moment (everything written, nothing named yet) leaves the
// folder as it was: no hidden temporary file, the old file whole.
TEST(FileBytes, ASaveKilledBeforeItsEndLeavesNothingBehind)
{
    const std::string big(8u << 20, 'n');
    for (const bool existing : { true, false }) {
        SCOPED_TRACE(existing ? "replacing a file" : "a new file");
        TempFolder folder;
        const std::string path = folder.Path("data.sav");
        if (existing)
            WriteBytes(path, "old");
        const std::vector<std::string> before = FolderEntries(folder);

        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            SaveOptions options;
            options.AfterWrite = [&ready] {
                const char written = 'w';
                if (::write(ready[1], &written, 1) != 1)
                    ::_exit(3);
                for (;;)
                    ::pause();
            };
            SaveFileBytes(path, big, options);
            ::_exit(2); // the hook never returns
        }
        ::close(ready[1]);
        pollfd wait { ready[0], POLLIN, 0 };
        char got = 0;
        const bool paused = ::poll(&wait, 1, 60000) == 1 && ::read(ready[0], &got, 1) == 1 && got == 'w';
        ::close(ready[0]);
        if (paused)
            // The contents are all written and flushed, yet the folder shows none of it.
            EXPECT_EQ(FolderEntries(folder), before);
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(paused) << "the save never reached its end";
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        EXPECT_EQ(FolderEntries(folder), before);
        if (existing)
            EXPECT_EQ(ReadBytes(path), "old");
    }
}
