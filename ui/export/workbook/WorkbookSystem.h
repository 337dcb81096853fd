// What the workbook writer needs from the system where Windows and POSIX systems differ;
// each has a unit of its own (WorkbookSystemPosix.cpp, WorkbookSystemWindows.cpp).
#pragma once

#include <ctime>
#include <memory>
#include <optional>
#include <string>

// The library formats numbers with the C library, which follows the locale the program
// runs in; the file needs a decimal point whatever it is. While one lives, its thread
// alone formats in the "C" locale; the locale before it comes back afterwards.
class ClassicNumbers {
public:
    ClassicNumbers();
    ~ClassicNumbers();
    ClassicNumbers(const ClassicNumbers&) = delete;
    ClassicNumbers& operator=(const ClassicNumbers&) = delete;
    bool Active() const { return saved_ != nullptr; }

private:
    struct Saved;
    std::unique_ptr<Saved> saved_;
};

// The UTF-8 path of a folder as the library's own C calls take it, for the file it writes
// and its working files in there; none where they cannot name it.
std::optional<std::string> LibraryFolderName(const std::string& utf8);

// The calendar fields of `moment` in the user's time zone.
bool LocalTime(std::time_t moment, std::tm& local);
