#include "ui/export/workbook/WorkbookSystem.h"

#include "model/WideText.h"

#include <windows.h>

#include <climits>
#include <locale.h>
#include <mutex>

struct ClassicNumbers::Saved {
    // -1 where the C library keeps no locale per thread.
    int PreviousMode = -1;
    int Category = LC_ALL;
    std::string PreviousLocale;
    std::unique_lock<std::mutex> ProcessWide;
};

namespace {

std::mutex& ProcessLocaleMutex()
{
    static std::mutex mutex;
    return mutex;
}

// The path in the ANSI code page, when every character of it has a place there.
std::optional<std::string> InAnsiCodePage(const std::wstring& wide)
{
    if (wide.empty() || wide.size() > static_cast<std::size_t>(INT_MAX))
        return std::nullopt;
    const int size = static_cast<int>(wide.size());
    BOOL lost = FALSE;
    const int length
        = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &lost);
    if (length <= 0 || lost)
        return std::nullopt;
    std::string narrow(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, narrow.data(), length, nullptr, &lost);
    if (lost)
        return std::nullopt;
    return narrow;
}

} // namespace

// The C library has one locale for the process unless a thread asks for one of its own,
// which starts as a copy of the process's. The system's msvcrt.dll (and Wine's) cannot
// give a thread one: there the process's number format is switched instead, for one
// workbook at a time, and nothing else of its locale.
ClassicNumbers::ClassicNumbers()
{
    auto saved = std::make_unique<Saved>();
    saved->PreviousMode = _configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
    if (saved->PreviousMode == -1) {
        saved->ProcessWide = std::unique_lock<std::mutex>(ProcessLocaleMutex());
        saved->Category = LC_NUMERIC;
    }
    const char* previous = setlocale(saved->Category, nullptr);
    if (previous) {
        saved->PreviousLocale = previous;
        if (setlocale(saved->Category, "C")) {
            saved_ = std::move(saved);
            return;
        }
    }
    if (saved->PreviousMode != -1)
        _configthreadlocale(saved->PreviousMode);
}

ClassicNumbers::~ClassicNumbers()
{
    if (saved_) {
        setlocale(saved_->Category, saved_->PreviousLocale.c_str());
        if (saved_->PreviousMode != -1)
            _configthreadlocale(saved_->PreviousMode);
    }
}

// Built with MinGW, the library opens every file with the narrow C calls, which read a
// name in the ANSI code page. A user's temporary folder (under a Cyrillic user name, say)
// may not fit in it: its short 8.3 form, where the volume keeps one, always does.
std::optional<std::string> LibraryFolderName(const std::string& utf8)
{
    const std::wstring wide = WidenUtf8(utf8);
    if (wide.empty())
        return std::nullopt;
    if (std::optional<std::string> narrow = InAnsiCodePage(wide))
        return narrow;
    const DWORD length = ::GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (length == 0)
        return std::nullopt;
    std::wstring shortPath(length, L'\0');
    const DWORD written = ::GetShortPathNameW(wide.c_str(), shortPath.data(), length);
    if (written == 0 || written >= length)
        return std::nullopt;
    shortPath.resize(written);
    return InAnsiCodePage(shortPath);
}

bool LocalTime(std::time_t moment, std::tm& local)
{
    return localtime_s(&local, &moment) == 0;
}
