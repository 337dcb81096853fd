// vardun-icon: renders the program's icon drawing into the bitmap sizes a desktop's icon
// theme looks for. It runs at build time, so the repository keeps the drawing alone.
//   vardun-icon DRAWING.svg SIZE OUT.png [SIZE OUT.png ...]
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <charconv>
#include <cstdio>
#include <string_view>

namespace {

constexpr int kLargestSize = 1024;

int Usage()
{
    std::fputs("usage: vardun-icon DRAWING.svg SIZE OUT.png [SIZE OUT.png ...]\n", stderr);
    return 2;
}

bool ParseSize(std::string_view text, int& size)
{
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, size);
    return !text.empty() && ec == std::errc() && ptr == end && size > 0 && size <= kLargestSize;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4 || (argc - 2) % 2 != 0)
        return Usage();
    // Drawing into images needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QSvgRenderer drawing(QString::fromLocal8Bit(argv[1]));
    if (!drawing.isValid()) {
        std::fprintf(stderr, "vardun-icon: %s is no drawing that can be rendered\n", argv[1]);
        return 1;
    }
    for (int i = 2; i + 1 < argc; i += 2) {
        int size = 0;
        if (!ParseSize(argv[i], size))
            return Usage();
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            drawing.render(&painter, QRectF(0, 0, size, size));
        }
        if (!image.save(QString::fromLocal8Bit(argv[i + 1]), "PNG")) {
            std::fprintf(stderr, "vardun-icon: could not write %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
