#include "model/FileBytes.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Closes a descriptor on every way out.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : fd_(fd)
    {
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }

    int Get() const { return fd_; }
    // Closes now, reporting the result: a close can be where a delayed write error shows.
    bool Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The file a save really replaces: a symbolic link is followed, so the link stays.
std::string TargetPath(const std::string& path)
{
    struct stat info { };
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) != nullptr)
            return resolved;
    }
    return path;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

bool InOwnGroups(gid_t group)
{
    if (group == ::getegid())
        return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = ::getgroups(count, groups.data());
    return got > 0 && std::find(groups.begin(), groups.begin() + got, group) != groups.begin() + got;
}

// A file the analyst marked read-only must not be replaced behind their back, and a
// rename would do just that: it needs only the folder to be writable. Root passes
// access() for every file, so the permission bits of the process's own class (owner,
// group or others, as the system would pick them) decide as well.
bool MayReplace(const std::string& target)
{
    struct stat info { };
    if (::stat(target.c_str(), &info) != 0)
        return true; // nothing there yet: creating it is the folder's business
    mode_t writeBit = S_IWOTH;
    if (info.st_uid == ::geteuid())
        writeBit = S_IWUSR;
    else if (InOwnGroups(info.st_gid))
        writeBit = S_IWGRP;
    return (info.st_mode & writeBit) != 0 && ::access(target.c_str(), W_OK) == 0;
}

mode_t NewFileMode(const std::string& target)
{
    struct stat info { };
    if (::stat(target.c_str(), &info) == 0)
        return info.st_mode & 07777;
    // What open(..., 0666) would give. The program has one thread, so reading the
    // mask by setting it cannot race.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool IsStream(mode_t mode)
{
    return S_ISFIFO(mode) || S_ISCHR(mode);
}

// A stream has no old contents to keep and cannot be replaced: it gets the bytes as they
// are. No O_CREAT: the path names the stream checked before, or the write fails.
bool WriteStream(const std::string& target, std::string_view bytes)
{
    FileDescriptor stream(::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    struct stat info { };
    if (stream.Get() < 0 || ::fstat(stream.Get(), &info) != 0 || !IsStream(info.st_mode))
        return false;
    return WriteAll(stream.Get(), bytes) && stream.Close();
}

struct NewContents {
    std::string Folder;
    std::string Target;
    std::string_view Bytes;
    mode_t Mode;
    const std::function<void()>& AfterWrite;
};

// Every byte on the disk with the target's mode; false at the first failure.
bool WriteContents(int fd, const NewContents& contents)
{
    if (::fchmod(fd, contents.Mode) != 0 || !WriteAll(fd, contents.Bytes) || ::fsync(fd) != 0)
        return false;
    if (contents.AfterWrite)
        contents.AfterWrite();
    return true;
}

// Makes the new name itself durable. The new file is already in place, so a folder that
// cannot be flushed (some file systems refuse) does not fail the save.
void FlushFolder(const std::string& folder)
{
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
}

// A short name of its own, so that a target name near the length limit still fits.
constexpr const char* kTempStem = "/.vardun-save.";

// The older way, for systems without unnamed files: a hidden file beside the target,
// renamed over it at the end. A save killed on the way leaves that file behind.
bool SaveNamed(const NewContents& contents)
{
    std::string pattern = contents.Folder + kTempStem + "XXXXXX";
    std::vector<char> tempName(pattern.begin(), pattern.end());
    tempName.push_back('\0');
    FileDescriptor temp(::mkstemp(tempName.data()));
    if (temp.Get() < 0)
        return false;
    const bool written = WriteContents(temp.Get(), contents);
    if (!temp.Close() || !written || ::rename(tempName.data(), contents.Target.c_str()) != 0) {
        ::unlink(tempName.data());
        return false;
    }
    return true;
}

enum class UnnamedSave { Done, Failed, Unsupported };

#ifdef O_TMPFILE
// A name beside the target that is probably free; a taken one is simply tried again.
std::string TempLinkName(const std::string& folder, int attempt)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    struct timespec now { };
    ::clock_gettime(CLOCK_REALTIME, &now);
    unsigned long long seed = static_cast<unsigned long long>(now.tv_nsec)
        ^ (static_cast<unsigned long long>(now.tv_sec) << 30) ^ (static_cast<unsigned long long>(::getpid()) << 12)
        ^ (static_cast<unsigned long long>(attempt) * 0x9E3779B97F4A7C15ull);
    std::string name = folder + kTempStem;
    for (int i = 0; i < 10; ++i) {
        name += kLetters[seed % (sizeof kLetters - 1)];
        seed /= sizeof kLetters - 1;
    }
    return name;
}

// Gives the unnamed file `fd` the name `to`; false (with errno) when it cannot.
bool LinkUnnamed(int fd, const std::string& to)
{
    // Linking a descriptor by its /proc entry needs no privilege, unlike AT_EMPTY_PATH.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0;
}
#endif

// The contents are written into a file with no name in the target's folder and named
// only once complete: a save killed before that leaves nothing in the folder. A new
// target is linked in directly; an old one is replaced through a name beside it, taken
// just before the rename.
UnnamedSave SaveUnnamed(const NewContents& contents)
{
#ifdef O_TMPFILE
    // Without /proc the finished file could not be named.
    if (::access("/proc/self/fd", X_OK) != 0)
        return UnnamedSave::Unsupported;
    FileDescriptor file(::open(contents.Folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (file.Get() < 0) {
        // An older kernel, or a file system without unnamed files.
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)
            return UnnamedSave::Unsupported;
        return UnnamedSave::Failed;
    }
    if (!WriteContents(file.Get(), contents))
        return UnnamedSave::Failed;
    if (LinkUnnamed(file.Get(), contents.Target)) {
        if (file.Close())
            return UnnamedSave::Done;
        ::unlink(contents.Target.c_str());
        return UnnamedSave::Failed;
    }
    // A file system may take unnamed files and still refuse to link them: the older way
    // then writes the contents again.
    if (errno != EEXIST)
        return UnnamedSave::Unsupported;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temp = TempLinkName(contents.Folder, attempt);
        if (!LinkUnnamed(file.Get(), temp)) {
            if (errno == EEXIST)
                continue;
            return UnnamedSave::Unsupported;
        }
        if (!file.Close() || ::rename(temp.c_str(), contents.Target.c_str()) != 0) {
            ::unlink(temp.c_str());
            return UnnamedSave::Failed;
        }
        return UnnamedSave::Done;
    }
    return UnnamedSave::Failed;
#else
    (void)contents;
    return UnnamedSave::Unsupported;
#endif
}

} // namespace

std::optional<std::string> ReadFileBytes(const std::string& path, std::string_view expectedStart)
{
    // Only a regular file has an end: a device or a pipe picked by mistake could make
    // the read wait or grow without bound. Not blocking on open keeps a pipe from
    // hanging before that check.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info { };
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (got == 0)
            return bytes;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (!std::string_view(bytes).starts_with(expectedStart.substr(0, bytes.size())))
            return bytes;
    }
}

bool SaveFileBytes(const std::string& path, std::string_view bytes, const SaveOptions& options)
{
    const std::string target = TargetPath(path);
    struct stat info { };
    if (::stat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        // Replacing a device node or a pipe with a plain file would break whatever else
        // uses it (and as root /dev/null itself), and a folder cannot be replaced at all.
        if (options.WriteStreams && IsStream(info.st_mode))
            return WriteStream(target, bytes);
        return false;
    }
    if (!MayReplace(target))
        return false;
    const NewContents contents { FolderOf(target), target, bytes, NewFileMode(target), options.AfterWrite };
    bool saved = false;
    switch (SaveUnnamed(contents)) {
    case UnnamedSave::Done:
        saved = true;
        break;
    case UnnamedSave::Failed:
        return false;
    case UnnamedSave::Unsupported:
        saved = SaveNamed(contents);
        break;
    }
    if (saved)
        FlushFolder(contents.Folder);
    return saved;
}
