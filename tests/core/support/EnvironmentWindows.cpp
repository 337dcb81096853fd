#include "Environment.h"

#include <windows.h>

#include <climits>

namespace {

std::wstring Widen(const std::string& utf8)
{
    if (utf8.empty() || utf8.size() > static_cast<std::size_t>(INT_MAX))
        return {};
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string Narrow(const std::wstring& wide)
{
    if (wide.empty() || wide.size() > static_cast<std::size_t>(INT_MAX))
        return {};
    const int size = static_cast<int>(wide.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

} // namespace

// The system's own GetTempPath reads TMP first.
const char* TemporaryFolderVariable()
{
    return "TMP";
}

// The system's environment block, which its calls read, not the C library's copy.
std::optional<std::string> ReadEnvironment(const std::string& name)
{
    const std::wstring wideName = Widen(name);
    const DWORD size = ::GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0)
        return ::GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt : std::optional<std::string>("");
    std::wstring value(size, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
    value.resize(length < size ? length : 0);
    return Narrow(value);
}

void WriteEnvironment(const std::string& name, const std::optional<std::string>& value)
{
    ::SetEnvironmentVariableW(Widen(name).c_str(), value ? Widen(*value).c_str() : nullptr);
}
