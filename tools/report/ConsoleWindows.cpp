#include "tools/report/Console.h"

#include "model/WideText.h"

#include <windows.h>

#include <shellapi.h>

#include <climits>
#include <cstdio>
#include <cwchar>
#include <fcntl.h>
#include <io.h>

namespace {

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
        arguments.push_back(NarrowToUtf8(wide[k]));
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
    const std::wstring wide = WidenUtf8(path);
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
