#include "tools/report/Console.h"

#include <windows.h>

#include <shellapi.h>

#include <climits>
#include <cstdio>
#include <cwchar>
#include <fcntl.h>
#include <io.h>

namespace {

std::string Utf8(const wchar_t* wide)
{
    const std::size_t size = std::wcslen(wide);
    if (size == 0 || size > static_cast<std::size_t>(INT_MAX))
        return {};
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(size), nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return {};
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(size), utf8.data(), length, nullptr, nullptr);
    return utf8;
}

std::wstring Widen(const std::string& utf8)
{
    if (utf8.empty() || utf8.size() > static_cast<std::size_t>(INT_MAX))
        return {};
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), length);
    return wide;
}

} // namespace

// The narrow arguments are in the ANSI code page, which cannot hold every name: the
// wide command line is read again.
std::vector<std::string> CommandLineArguments(int argc, char** argv)
{
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> arguments;
    for (int k = 1; k < count; ++k)
        arguments.push_back(Utf8(wide[k]));
    ::LocalFree(wide);
    return arguments;
}

void UseBinaryStandardStreams()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

bool IsStandardOutput(const std::string& path)
{
    const std::wstring wide = Widen(path);
    if (wide.empty())
        return false;
    const HANDLE target
        = ::CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (target == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION targetInfo {};
    BY_HANDLE_FILE_INFORMATION outInfo {};
    const bool same = ::GetFileInformationByHandle(target, &targetInfo)
        && ::GetFileInformationByHandle(::GetStdHandle(STD_OUTPUT_HANDLE), &outInfo)
        && targetInfo.dwVolumeSerialNumber == outInfo.dwVolumeSerialNumber
        && targetInfo.nFileIndexHigh == outInfo.nFileIndexHigh && targetInfo.nFileIndexLow == outInfo.nFileIndexLow;
    ::CloseHandle(target);
    return same;
}
