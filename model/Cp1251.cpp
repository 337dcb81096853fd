#include "model/Cp1251.h"

#include <array>

namespace {

// Code points of bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order.
constexpr std::array<char16_t, 64> kHigh = {
    0x0402,
    0x0403,
    0x201A,
    0x0453,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x20AC,
    0x2030,
    0x0409,
    0x2039,
    0x040A,
    0x040C,
    0x040B,
    0x040F,
    0x0452,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x0098,
    0x2122,
    0x0459,
    0x203A,
    0x045A,
    0x045C,
    0x045B,
    0x045F,
    0x00A0,
    0x040E,
    0x045E,
    0x0408,
    0x00A4,
    0x0490,
    0x00A6,
    0x00A7,
    0x0401,
    0x00A9,
    0x0404,
    0x00AB,
    0x00AC,
    0x00AD,
    0x00AE,
    0x0407,
    0x00B0,
    0x00B1,
    0x0406,
    0x0456,
    0x0491,
    0x00B5,
    0x00B6,
    0x00B7,
    0x0451,
    0x2116,
    0x0454,
    0x00BB,
    0x0458,
    0x0405,
    0x0455,
    0x0457,
};

char32_t CodePointOf(unsigned char b)
{
    if (b < 0x80)
        return b;
    if (b >= 0xC0)
        return 0x0410 + (b - 0xC0);
    return kHigh[b - 0x80];
}

std::optional<unsigned char> ByteOf(char32_t cp)
{
    if (cp < 0x80)
        return static_cast<unsigned char>(cp);
    if (cp >= 0x0410 && cp <= 0x044F)
        return static_cast<unsigned char>(0xC0 + (cp - 0x0410));
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::string Cp1251ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes)
        AppendUtf8(out, CodePointOf(static_cast<unsigned char>(c)));
    return out;
}

bool IsCp1251Representable(char32_t codePoint)
{
    return ByteOf(codePoint).has_value();
}

std::optional<std::string> Utf8ToCp1251(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        char32_t cp = 0;
        std::size_t len = 0;
        if (lead < 0x80) {
            cp = lead;
            len = 1;
        } else if ((lead & 0xE0) == 0xC0) {
            cp = lead & 0x1F;
            len = 2;
        } else if ((lead & 0xF0) == 0xE0) {
            cp = lead & 0x0F;
            len = 3;
        } else if ((lead & 0xF8) == 0xF0) {
            cp = lead & 0x07;
            len = 4;
        } else {
            return std::nullopt;
        }
        if (i + len > utf8.size())
            return std::nullopt;
        for (std::size_t k = 1; k < len; ++k) {
            const auto cont = static_cast<unsigned char>(utf8[i + k]);
            if ((cont & 0xC0) != 0x80)
                return std::nullopt;
            cp = (cp << 6) | (cont & 0x3F);
        }
        // Overlong forms would let two spellings of one name compare unequal.
        static constexpr char32_t kMin[] = { 0, 0, 0x80, 0x800, 0x10000 };
        if (cp < kMin[len])
            return std::nullopt;
        const auto b = ByteOf(cp);
        if (!b)
            return std::nullopt;
        out += static_cast<char>(*b);
        i += len;
    }
    return out;
}
