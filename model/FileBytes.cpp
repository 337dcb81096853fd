#include "model/FileBytes.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
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

bool SaveFileBytes(const std::string& path, std::string_view bytes)
{
    const std::string target = TargetPath(path);
    if (!MayReplace(target))
        return false;
    const std::string folder = FolderOf(target);
    // A short name of its own, so that a target name near the length limit still fits.
    std::string pattern = folder + "/.vardun-save.XXXXXX";
    std::vector<char> tempName(pattern.begin(), pattern.end());
    tempName.push_back('\0');

    FileDescriptor temp(::mkstemp(tempName.data()));
    if (temp.Get() < 0)
        return false;
    const bool written
        = ::fchmod(temp.Get(), NewFileMode(target)) == 0 && WriteAll(temp.Get(), bytes) && ::fsync(temp.Get()) == 0;
    if (!temp.Close() || !written || ::rename(tempName.data(), target.c_str()) != 0) {
        ::unlink(tempName.data());
        return false;
    }
    // Makes the rename itself durable. The new file is already in place, so a folder
    // that cannot be flushed (some file systems refuse) does not fail the save.
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
    return true;
}
