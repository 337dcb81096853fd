#include "ui/widgets/WindowFont.h"

namespace {

// Liberation Sans (Debian's fonts-liberation2) has the metrics of the usual Windows sans
// serif; at 11 pixels the longest button caption still leaves its frame clear.
constexpr const char* kFamily = "Liberation Sans";
constexpr int kPixelSize = 11;

} // namespace

QFont WindowFont()
{
    QFont font(QString::fromLatin1(kFamily));
    font.setPixelSize(kPixelSize);
    font.setStyleHint(QFont::SansSerif);
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
