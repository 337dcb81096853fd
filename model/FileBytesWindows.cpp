// Whole-file reads and saves on Windows. Paths arrive as UTF-8 and reach the system only
// through its wide-character calls, so a folder with a Cyrillic name works whatever the
// ANSI code page is; files are read and written as bytes, without any line-end or
// end-of-file translation.
#include "model/FileBytes.h"
#include "model/WideText.h"

#include <windows.h>

#include <chrono>
#include <climits>
#include <cstdint>
#include <string>

namespace {

// Closes a handle on every way out.
class Handle {
public:
    explicit Handle(HANDLE handle)
        : handle_(handle)
    {
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle()
    {
        if (IsOpen())
            ::CloseHandle(handle_);
    }

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE Get() const { return handle_; }
    // Closes now, reporting the result: a close can be where a delayed write error shows.
    bool Close()
    {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return ::CloseHandle(handle) != 0;
    }

private:
    HANDLE handle_;
};

// The UTF-8 path as the system's wide string; empty when it is no valid UTF-8, which no
// file can be named by.
std::wstring Widen(const std::string& utf8)
{
    const std::wstring wide = WidenUtf8(utf8);
    // A name with a NUL inside would name another file than the one asked for.
    return wide.find(L'\0') == std::wstring::npos ? wide : std::wstring();
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool WriteAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

enum class TargetKind { Missing, File, Stream, Other };

// What the path names now. Devices (CON, NUL, a named pipe) are streams; a folder or
// anything unreadable counts as other, which a save leaves alone.
TargetKind KindOf(const std::wstring& target)
{
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return TargetKind::Missing;
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        return TargetKind::Other;
    }
    Handle probe(
        ::CreateFileW(target.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!probe.IsOpen())
        return attributes == INVALID_FILE_ATTRIBUTES ? TargetKind::Missing : TargetKind::Other;
    switch (::GetFileType(probe.Get())) {
    case FILE_TYPE_DISK:
        return TargetKind::File;
    case FILE_TYPE_CHAR:
    case FILE_TYPE_PIPE:
        return TargetKind::Stream;
    default:
        return TargetKind::Other;
    }
}

// A stream has no old contents to keep and cannot be replaced: it gets the bytes as they
// are. OPEN_EXISTING: the path names the stream checked before, or the write fails.
bool WriteStream(const std::wstring& target, std::string_view bytes)
{
    Handle stream(::CreateFileW(target.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!stream.IsOpen())
        return false;
    const DWORD type = ::GetFileType(stream.Get());
    if (type != FILE_TYPE_CHAR && type != FILE_TYPE_PIPE)
        return false;
    return WriteAll(stream.Get(), bytes) && stream.Close();
}

// The folder part of the target with its separator, as written ("" for a bare name,
// "C:" for a name relative to a drive's current folder).
std::wstring FolderPrefix(const std::wstring& target)
{
    const std::size_t separator = target.find_last_of(L"\\/");
    if (separator != std::wstring::npos)
        return target.substr(0, separator + 1);
    if (target.size() >= 2 && target[1] == L':')
        return target.substr(0, 2);
    return {};
}

// A short name of its own beside the target, so that a target name near the length limit
// still fits; a taken one is simply tried again.
std::wstring TempName(const std::wstring& folder, int attempt)
{
    static constexpr wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    std::uint64_t seed = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())
        ^ (static_cast<std::uint64_t>(::GetCurrentProcessId()) << 20)
        ^ (static_cast<std::uint64_t>(attempt) * 0x9E3779B97F4A7C15ull);
    std::wstring name = folder + L".vardun-save.";
    for (int i = 0; i < 10; ++i) {
        name += kLetters[seed % (sizeof kLetters / sizeof kLetters[0] - 1)];
        seed /= sizeof kLetters / sizeof kLetters[0] - 1;
    }
    return name;
}

} // namespace

std::optional<std::string> ReadFileBytes(const std::string& path, std::string_view expectedStart)
{
    const std::wstring wide = Widen(path);
    if (wide.empty())
        return std::nullopt;
    // Only a file on a disk has an end: a device or a pipe picked by mistake could make the
    // read wait or grow without bound.
    Handle file(::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen() || ::GetFileType(file.Get()) != FILE_TYPE_DISK)
        return std::nullopt;
    std::string bytes;
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr))
            return std::nullopt;
        if (got == 0)
            return bytes;
        bytes.append(buffer, got);
        if (!std::string_view(bytes).starts_with(expectedStart.substr(0, bytes.size())))
            return bytes;
    }
}

bool SaveFileBytes(const std::string& path, std::string_view bytes, const SaveOptions& options)
{
    const std::wstring target = Widen(path);
    if (target.empty())
        return false;
    switch (KindOf(target)) {
    case TargetKind::Missing:
        break;
    case TargetKind::File:
        // A file the analyst marked read-only must not be replaced behind their back.
        if (::GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_READONLY)
            return false;
        break;
    case TargetKind::Stream:
        return options.WriteStreams && WriteStream(target, bytes);
    case TargetKind::Other:
        return false;
    }

    const std::wstring folder = FolderPrefix(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring temp = TempName(folder, attempt);
        Handle file(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsOpen()) {
            if (::GetLastError() == ERROR_FILE_EXISTS)
                continue;
            return false;
        }
        bool saved = WriteAll(file.Get(), bytes) && ::FlushFileBuffers(file.Get());
        if (saved && options.AfterWrite)
            options.AfterWrite();
        saved = file.Close() && saved
            && ::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!saved)
            ::DeleteFileW(temp.c_str());
        return saved;
    }
    return false;
}
