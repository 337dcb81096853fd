#include "ui/widgets/WindowFont.h"

#include <QFontDatabase>
#include <QString>

namespace {

// Liberation Sans (from Debian's fonts-liberation2, under the SIL Open Font License) has
// the metrics of the usual Windows sans serif; at 11 pixels the longest button caption
// still leaves its frame clear.
constexpr const char* kFamily = "Liberation Sans";
constexpr int kPixelSize = 11;

// The faces the windows and the report use, in the program's resources.
constexpr const char* kBundledFaces[] = {
    ":/fonts/LiberationSans-Regular.ttf",
    ":/fonts/LiberationSans-Bold.ttf",
    ":/fonts/LiberationSans-Italic.ttf",
    ":/fonts/LiberationSans-BoldItalic.ttf",
};

} // namespace

bool LoadBundledFonts()
{
    static const bool loaded = [] {
        bool all = true;
        for (const char* face : kBundledFaces)
            all = QFontDatabase::addApplicationFont(QString::fromLatin1(face)) >= 0 && all;
        return all;
    }();
    return loaded;
}

QFont WindowFont()
{
    LoadBundledFonts();
    QFont font(QString::fromLatin1(kFamily));
    font.setPixelSize(kPixelSize);
    font.setStyleHint(QFont::SansSerif);
    // Hinted vertically only, as Debian's desktops set FreeType up; said explicitly, so that
    // a system with other defaults (Windows) draws and measures text alike.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    // Said explicitly, so a control inside a bold group box does not inherit the bold.
    font.setBold(false);
    return font;
}

QFont GroupCaptionFont()
{
    // Ten points on a 96 dpi screen, where the body text is eight.
    QFont font = WindowFont();
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}
