#include "model/Cp1251.h"
#include "model/Dictionary.h"
#include "model/DictionaryText.h"
#include "tests/core/support/RecordingSink.h"
#include "tests/core/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

namespace {

const char* const WrongFormat = "Неправильный формат файл";

std::string Cp(const std::string& utf8)
{
    return *Utf8ToCp1251(utf8);
}

bool operator==(const NameLists& a, const NameLists& b)
{
    return a.Layers == b.Layers && a.Threats == b.Threats && a.Mechanisms == b.Mechanisms;
}

NameLists Lived()
{
    return { { "Старый эшелон" }, { "Старая угроза", "Ещё" }, {} };
}

const std::string Written = Cp("Файл словарь Vardun 2.2.\r\n"
                               "[Layers]\r\n3\r\nПериметр\r\n  Сеть \r\n \r\n"
                               "[Threats]\r\n0\r\n"
                               "[Safety Mechanisms]\r\n2\r\nАнтивирус\r\nМежсетевой экран\r\n");
const NameLists WrittenLists = { { "Периметр", "  Сеть ", " " }, {}, { "Антивирус", "Межсетевой экран" } };

std::string WrittenWithLine(int number, const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = Written.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(Written.substr(start, end - start));
    lines[static_cast<std::size_t>(number - 1)] = Cp(text);
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

} // namespace

TEST(Dictionary, WritesTheLayoutAndReadsItBack)
{
    TempFolder folder;
    RecordingSink sink;
    ASSERT_TRUE(SaveDictionary(folder.Path("lists.dic"), WrittenLists, sink));
    EXPECT_EQ(ReadBytes(folder.Path("lists.dic")), Written);

    NameLists read = Lived();
    ASSERT_TRUE(LoadDictionary(folder.Path("lists.dic"), read, sink));
    EXPECT_TRUE(read == WrittenLists);
    EXPECT_TRUE(sink.Messages.empty());
}

TEST(Dictionary, LongListsAndLineFeedsAloneAreRead)
{
    NameLists many;
    for (int i = 0; i < 20; ++i) {
        many.Layers.push_back("Эшелон " + std::to_string(i));
        many.Threats.push_back(std::string(static_cast<std::size_t>(i), ' ') + "угроза");
        many.Mechanisms.push_back(i % 2 ? "" : "МЗ " + std::to_string(i));
    }
    many.Mechanisms.back() = std::string(255, 'z');
    const std::string bytes = *WriteDictionaryText(many);
    std::string lf;
    for (char c : bytes)
        if (c != '\r')
            lf += c;
    for (const std::string& text : { bytes, lf }) {
        NameLists read;
        RecordingSink sink;
        ASSERT_TRUE(ReadDictionaryText(text, read, sink));
        EXPECT_TRUE(read == many);
        EXPECT_EQ(WriteDictionaryText(read), bytes);
    }
}

TEST(Dictionary, RejectsAWrongHeaderWithThePlainMessage)
{
    // A data file, a header with a trailing blank, and a header written in UTF-8.
    const std::string data = ReadBytes(VARDUN_TEST_DATA "/sample.sav");
    for (const std::string& bytes : { std::string(), data, WrittenWithLine(1, "Файл словарь Vardun 2.2. "),
             std::string("Файл словарь Vardun 2.2.\r\n[Layers]\r\n0\r\n[Threats]\r\n0\r\n"
                         "[Safety Mechanisms]\r\n0\r\n") }) {
        NameLists lists = Lived();
        RecordingSink sink;
        EXPECT_FALSE(ReadDictionaryText(bytes, lists, sink));
        EXPECT_EQ(sink.Messages, std::vector<std::string> { WrongFormat });
        EXPECT_TRUE(lists == Lived());
    }
}

TEST(Dictionary, RejectsAWrongFileAsAWholeNamingTheLine)
{
    const struct {
        const char* what;
        std::string bytes;
        int line;
    } cases[] = {
        { "layer count not a number", WrittenWithLine(3, "три"), 3 },
        { "layer count beyond the file", WrittenWithLine(3, "2147483647"), 3 },
        { "layer count with trailing text", WrittenWithLine(3, "3 имени"), 3 },
        { "layers header over 255 bytes", WrittenWithLine(2, std::string(256, 'L')), 2 },
        { "layers header missing", WrittenWithLine(2, ""), 4 },
        { "name over 255 bytes", WrittenWithLine(5, std::string(256, 'x')), 5 },
        { "threats header over 255 bytes", WrittenWithLine(7, std::string(256, 'T')), 7 },
        { "threat count negative", WrittenWithLine(8, "-1"), 8 },
        { "mechanism count one too many", WrittenWithLine(10, "3"), 13 },
        { "ends before the mechanisms", Written.substr(0, Written.find(Cp("[Safety"))), 9 },
        { "count with two plus signs", WrittenWithLine(8, "++0"), 8 },
        { "count with a plus and a minus", WrittenWithLine(8, "+-0"), 8 },
        { "count a lone plus", WrittenWithLine(3, "+"), 3 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        NameLists lists = Lived();
        RecordingSink sink;
        EXPECT_FALSE(ReadDictionaryText(c.bytes, lists, sink));
        EXPECT_EQ(sink.Messages,
            std::vector<std::string> { std::string(WrongFormat) + " (строка " + std::to_string(c.line) + ")" });
        EXPECT_TRUE(lists == Lived());
    }
}

TEST(Dictionary, NotesAfterTheLastMechanismAreIgnored)
{
    const std::string noMechanisms = *WriteDictionaryText({ { "Периметр" }, { "Вирус" }, {} });
    const struct {
        const char* what;
        std::string plain;
        std::string withNotes;
    } cases[] = {
        { "a line of text", Written, Written + Cp("Словарь отдела защиты, ред. 3\r\n") },
        { "several lines, a count first", Written, Written + Cp("2\r\n[Layers]\r\n\r\nещё\n") },
        { "bytes that are not text", Written,
            Written + std::string("\x98\x00\xff\r\x01 ", 6) + std::string(300, 'x') + "\rend" },
        { "without a final line break", Written, Written + Cp("заметка") },
        { "after an empty mechanisms list", noMechanisms, noMechanisms + Cp("механизмы позже\r\n") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        NameLists plain = Lived();
        NameLists noted = Lived();
        RecordingSink sink;
        ASSERT_TRUE(ReadDictionaryText(c.plain, plain, sink));
        ASSERT_TRUE(ReadDictionaryText(c.withNotes, noted, sink));
        EXPECT_TRUE(sink.Messages.empty());
        EXPECT_TRUE(noted == plain);
        EXPECT_EQ(WriteDictionaryText(noted), c.plain);
    }
}

TEST(Dictionary, APlusSignBeforeACountIsRead)
{
    std::string plussed = WrittenWithLine(3, "+3");
    plussed.replace(plussed.find("\r\n2\r\n"), 5, "\r\n+2\r\n");
    NameLists read = Lived();
    RecordingSink sink;
    ASSERT_TRUE(ReadDictionaryText(plussed, read, sink));
    EXPECT_TRUE(read == WrittenLists);
    EXPECT_EQ(WriteDictionaryText(read), Written);
}

TEST(Dictionary, ReportsAFileThatCannotBeOpenedWithItsPath)
{
    NameLists lists = Lived();
    RecordingSink sink;
    EXPECT_FALSE(LoadDictionary("no-such-folder/default.dic", lists, sink));
    EXPECT_EQ(sink.Messages, std::vector<std::string> { "Не удалось загрузить файл no-such-folder/default.dic." });
    EXPECT_TRUE(lists == Lived());
}

TEST(Dictionary, ANameThatCannotBeWrittenFailsTheSaveAndKeepsTheOldFile)
{
    TempFolder folder;
    const std::string target = folder.Path("kept.dic");
    WriteBytes(target, Written);
    for (const std::string& name : { std::string("日本"), std::string("две\r\nстроки"), std::string(256, 'x') }) {
        NameLists lists = WrittenLists;
        lists.Threats.push_back(name);
        RecordingSink sink;
        EXPECT_FALSE(SaveDictionary(target, lists, sink));
        EXPECT_EQ(sink.Messages, std::vector<std::string> { "Не удалось сохранить файл " + target + "." });
        EXPECT_EQ(ReadBytes(target), Written);
    }
}

TEST(Dictionary, AReadOnlyFileIsNotOverwritten)
{
    TempFolder folder;
    const std::string target = folder.Path("kept.dic");
    WriteBytes(target, Written);
    ASSERT_TRUE(SetPermissions(target, 0444));
    RecordingSink sink;
    EXPECT_FALSE(SaveDictionary(target, Lived(), sink));
    EXPECT_EQ(sink.Messages, std::vector<std::string> { "Не удалось сохранить файл " + target + "." });
    EXPECT_EQ(ReadBytes(target), Written);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Root()), {}), 1);
}
