#include "ChildProcess.h"

#include "model/WideText.h"

#include <windows.h>

#include <climits>

namespace {

// One argument as the C runtime's parser of the command line splits it back out: in
// quotes, a quote escaped by a backslash, and backslashes doubled only before a quote.
std::wstring Quoted(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L"\"";
}

// A file the child writes its stream into; the handle is inherited by it.
HANDLE InheritedOutput(const std::string& path)
{
    SECURITY_ATTRIBUTES inherited { sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE };
    const std::wstring wide = WidenUtf8(path);
    if (wide.empty())
        return INVALID_HANDLE_VALUE;
    return ::CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

std::string ProgramFile(const std::string& withoutEnding)
{
    return withoutEnding + ".exe";
}

int RunProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& out,
    const std::string& err)
{
    const std::wstring application = WidenUtf8(program);
    if (application.empty())
        return -1;
    // The program's own name is read without escapes: in plain quotes.
    std::wstring commandLine = L"\"" + application + L"\"";
    for (const std::string& a : arguments) {
        const std::wstring wide = WidenUtf8(a);
        if (wide.empty() && !a.empty())
            return -1;
        commandLine += L" " + Quoted(wide);
    }

    const HANDLE outFile = InheritedOutput(out);
    const HANDLE errFile = InheritedOutput(err);
    int code = -1;
    if (outFile != INVALID_HANDLE_VALUE && errFile != INVALID_HANDLE_VALUE) {
        STARTUPINFOW startup {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = outFile;
        startup.hStdError = errFile;
        PROCESS_INFORMATION process {};
        if (::CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                &startup, &process)) {
            DWORD exitCode = 0;
            if (::WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0
                && ::GetExitCodeProcess(process.hProcess, &exitCode))
                code = static_cast<int>(exitCode);
            ::CloseHandle(process.hThread);
            ::CloseHandle(process.hProcess);
        }
    }
    if (outFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(outFile);
    if (errFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(errFile);
    return code;
}
