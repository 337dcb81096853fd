#include "ui/export/workbook/WorkbookSystem.h"

#include <locale.h>

struct ClassicNumbers::Saved {
    locale_t Classic;
    locale_t Previous;
};

ClassicNumbers::ClassicNumbers()
{
    const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (classic)
        saved_ = std::make_unique<Saved>(Saved { classic, uselocale(classic) });
}

ClassicNumbers::~ClassicNumbers()
{
    if (saved_) {
        uselocale(saved_->Previous);
        freelocale(saved_->Classic);
    }
}

// The library opens files with the bytes it is given, as the system does.
std::optional<std::string> LibraryFolderName(const std::string& utf8)
{
    return utf8;
}

bool LocalTime(std::time_t moment, std::tm& local)
{
    return localtime_r(&moment, &local) != nullptr;
}
