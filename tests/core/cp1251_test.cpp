#include "model/Cp1251.h"

#include <gtest/gtest.h>

#include <string>

TEST(Cp1251, EveryByteSurvivesARoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = Cp1251ToUtf8(all);
    const auto back = Utf8ToCp1251(utf8);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(Cp1251, KnownCharacters)
{
    struct Case {
        const char* utf8;
        const char* bytes;
    };
    const Case cases[] = {
        { "Сеть", "\xD1\xE5\xF2\xFC" },
        { "Ёё", "\xA8\xB8" },
        { "№ «»", "\xB9 \xAB\xBB" },
        { "€—", "\x88\x97" },
        { "Plain ASCII ~", "Plain ASCII ~" },
    };
    for (const Case& c : cases) {
        const auto bytes = Utf8ToCp1251(c.utf8);
        ASSERT_TRUE(bytes.has_value()) << c.utf8;
        EXPECT_EQ(*bytes, c.bytes) << c.utf8;
        EXPECT_EQ(Cp1251ToUtf8(c.bytes), c.utf8);
    }
}

TEST(Cp1251, RefusesWhatAFileCannotHold)
{
    const char* bad[] = {
        "日本", // not in the code page
        "\xC3\xA9", // é: Latin-1, not in the code page
        "\xD0", // truncated sequence
        "\xC0\x80", // overlong NUL
        "\xFF", // never valid UTF-8
        "\xF0\x9F\x98\x80", // emoji
    };
    for (const char* s : bad)
        EXPECT_FALSE(Utf8ToCp1251(s).has_value()) << s;
    EXPECT_TRUE(IsCp1251Representable(U'Ж'));
    EXPECT_TRUE(IsCp1251Representable(U'\u0098'));
    EXPECT_FALSE(IsCp1251Representable(U'é'));
}
