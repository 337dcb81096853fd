#include "model/Cp1251.h"
#include "model/Data.h"
#include "model/DataText.h"
#include "model/Utf8Path.h"
#include "tests/core/support/RecordingSink.h"
#include "tests/core/support/SampleStores.h"
#include "tests/core/support/StoreDifference.h"
#include "tests/core/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

const char* const WrongFormat = "Неправильный формат файл";

// No layer analysed: TE gets forty rows of no columns, ET and EF no rows.
CData NoLayerAnalysed()
{
    CData d = RichStore();
    CheckList layers = Items({ { "A", false }, { "B", false } });
    CheckList threats = Items({ { "T1", true }, { "T2", true } });
    d.PrepareForAnalysis(layers, threats, Items({ { "M", true } }));
    FillAwkwardly(d);
    return d;
}

std::string Cp(const std::string& utf8)
{
    return *Utf8ToCp1251(utf8);
}

std::vector<std::string> Lines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// The sample with its line `number` (1-based) replaced by UTF-8 text.
std::string SampleWithLine(int number, const std::string& text)
{
    std::vector<std::string> lines = Lines(SampleBytes());
    lines[static_cast<std::size_t>(number - 1)] = Cp(text);
    return Joined(lines);
}

std::string SampleFirstLines(int count)
{
    std::vector<std::string> lines = Lines(SampleBytes());
    lines.resize(static_cast<std::size_t>(count));
    return Joined(lines);
}

// A store in a state of its own, with derived values a load must not touch.
CData Lived()
{
    CData d = RichStore();
    d.ReliabilityME.Resize(2, 2);
    d.ReliabilityME(1, 1) = 0.75f;
    d.DamageEM.Resize(1, 3);
    d.FrequencyEM.Resize(3, 1);
    d.WeightedDamageEM.Resize(2, 5);
    d.MM.Resize(5, 5);
    d.MM(4, 4) = 9.0f;
    d.EE.Resize(2, 2);
    d.EE(0, 1) = -1.0f;
    d.WeightedDamageMax = 42.5f;
    return d;
}

} // namespace

TEST(DataFile, SavesTheSampleByteForByte)
{
    TempFolder folder;
    RecordingSink sink;
    ASSERT_TRUE(SampleStore().SaveToFile(folder.Path("sample.sav"), sink));
    EXPECT_TRUE(sink.Messages.empty());
    EXPECT_EQ(ReadBytes(folder.Path("sample.sav")), SampleBytes());
}

TEST(DataFile, LoadsTheSampleAndKeepsWhatTheFileDoesNotHold)
{
    CData store = Lived();
    RecordingSink sink;
    ASSERT_TRUE(store.LoadFromFile(VARDUN_TEST_DATA "/sample.sav", sink));
    EXPECT_TRUE(sink.Messages.empty());

    CData expected = SampleStore();
    const CData before = Lived();
    for (Matrix CData::*derived : { &CData::ReliabilityME, &CData::DamageEM, &CData::FrequencyEM,
             &CData::WeightedDamageEM, &CData::MM, &CData::EE })
        expected.*derived = before.*derived;
    expected.WeightedDamageMax = before.WeightedDamageMax;
    EXPECT_EQ(StoreDifference(store, expected), "");
}

TEST(DataFile, TheExampleAssessmentLoadsAndSavesByteForByte)
{
    const std::string bytes = ReadBytes(VARDUN_TEST_DATA "/example.sav");
    CData store;
    RecordingSink sink;
    ASSERT_TRUE(ReadDataText(bytes, store, sink));
    EXPECT_TRUE(sink.Messages.empty());
    // Not every item is analysed, so the example shows both kinds in the lists.
    EXPECT_EQ(store.LayerNames.size(), 5u);
    EXPECT_EQ(store.LayerCount, 4);
    EXPECT_EQ(store.ThreatNames.size(), 10u);
    EXPECT_EQ(store.ThreatCount, 8);
    EXPECT_EQ(store.MechanismNames.size(), 7u);
    EXPECT_EQ(store.MechanismCount, 6);
    EXPECT_EQ(WriteDataText(store), bytes);
}

TEST(DataFile, AcceptsLineFeedsAlone)
{
    std::string bytes = SampleBytes();
    std::string lf;
    for (char c : bytes)
        if (c != '\r')
            lf += c;
    CData fromCrLf;
    CData fromLf;
    RecordingSink sink;
    ASSERT_TRUE(ReadDataText(bytes, fromCrLf, sink));
    ASSERT_TRUE(ReadDataText(lf, fromLf, sink));
    EXPECT_TRUE(sink.Messages.empty());
    EXPECT_EQ(StoreDifference(fromCrLf, fromLf), "");
}

TEST(DataFile, WritesTheEmptyStoreBeforeAnyNext)
{
    std::string expected = Cp("Файл данных Vardun 2.2.\r\n"
                              "[Список эшелонов]\r\n0\r\n[Список угроз]\r\n0\r\n[Список механизмов защиты]\r\n0\r\n"
                              "[Список выбранных эшелонов]\r\n0\r\n\r\n[Список выбранных угроз]\r\n0\r\n\r\n"
                              "[Список выбранных механизмов защиты]\r\n0\r\n\r\n"
                              "[Прочие параметры]\r\n0 0 0 0 0 0 0 0 0 0 0 0 0 \r\n");
    for (const char* tag : { "[MT]", "[TE]", "[ET]", "[TM]", "[EF]", "[FM]" })
        expected += std::string(tag) + "\r\n0 0\r\n";
    EXPECT_EQ(WriteDataText(CData()), expected);
}

TEST(DataFile, LoadAndSaveGiveTheSameBytes)
{
    const struct {
        const char* what;
        CData store;
    } cases[] = { { "sample", SampleStore() }, { "rich", RichStore() }, { "no layer analysed", NoLayerAnalysed() },
        { "empty", CData() } };
    TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingSink sink;
        ASSERT_TRUE(c.store.SaveToFile(folder.Path("first.sav"), sink));
        CData loaded = Lived();
        ASSERT_TRUE(loaded.LoadFromFile(folder.Path("first.sav"), sink));
        ASSERT_TRUE(loaded.SaveToFile(folder.Path("second.sav"), sink));
        EXPECT_TRUE(sink.Messages.empty());
        EXPECT_EQ(ReadBytes(folder.Path("second.sav")), ReadBytes(folder.Path("first.sav")));

        // Everything but the six-digit rounding of the values comes back as it was.
        for (auto list : { &CData::LayerNames, &CData::ThreatNames, &CData::MechanismNames, &CData::LayerIndices,
                 &CData::ThreatIndices, &CData::MechanismIndices })
            EXPECT_EQ(loaded.*list, c.store.*list);
        EXPECT_EQ(loaded.MechanismCount, c.store.MechanismCount);
        EXPECT_EQ(loaded.LayerCount, c.store.LayerCount);
        EXPECT_EQ(loaded.ThreatCount, c.store.ThreatCount);
        for (auto m : { &CData::MT, &CData::TE, &CData::ET, &CData::TM, &CData::EF, &CData::FM }) {
            EXPECT_EQ((loaded.*m).Rows(), (c.store.*m).Rows());
            EXPECT_EQ((loaded.*m).Cols(), (c.store.*m).Cols());
        }
    }
}

TEST(DataFile, RichStoreReadsBackItsValuesToSixDigits)
{
    const CData store = RichStore();
    ASSERT_EQ(store.MT.Cols(), 40);
    CData loaded;
    RecordingSink sink;
    ASSERT_TRUE(ReadDataText(*WriteDataText(store), loaded, sink));
    EXPECT_EQ(loaded.LowLevel, 0.123457f);
    EXPECT_EQ(loaded.LayerNames[0], "  Периметр ");
    EXPECT_EQ(loaded.LayerNames[2], "   ");
    EXPECT_EQ(loaded.MechanismNames.size(), 17u);
    for (int i = 0; i < store.MT.Rows(); ++i)
        for (int j = 0; j < store.MT.Cols(); ++j)
            EXPECT_NEAR(loaded.MT(i, j), store.MT(i, j), 5e-6f * store.MT(i, j));
}

TEST(DataFile, IndexValuesAreKeptAsTheirDecimalText)
{
    CData store;
    RecordingSink sink;
    ASSERT_TRUE(ReadDataText(SampleWithLine(14, "000 "), store, sink));
    EXPECT_EQ(store.LayerIndices, std::vector<std::string> { "0" });
}

TEST(DataFile, LinesOfUpTo255BytesAreRead)
{
    const std::string longest(255, 'x');
    CData store;
    RecordingSink sink;
    ASSERT_TRUE(ReadDataText(SampleWithLine(4, longest), store, sink));
    EXPECT_EQ(store.LayerNames[0], longest);
}

TEST(DataFile, RejectsAWrongFileAsAWholeNamingTheLine)
{
    const struct {
        const char* what;
        std::string bytes;
        int line;
    } cases[] = {
        { "names count not a number", SampleWithLine(3, "два"), 3 },
        { "names count negative", SampleWithLine(3, "-1"), 3 },
        { "names count with trailing text", SampleWithLine(3, "2 имени"), 3 },
        { "names count glued to text", SampleWithLine(3, "2x"), 3 },
        { "names count beyond the file", SampleWithLine(3, "2147483647"), 3 },
        { "names count one too many", SampleWithLine(3, "3"), 8 },
        { "name over 255 bytes", SampleWithLine(4, std::string(256, 'x')), 4 },
        { "name holding a carriage return", SampleWithLine(5, "Се\rть"), 5 },
        { "section line over 255 bytes", SampleWithLine(6, "[" + std::string(300, 'x') + "]"), 6 },
        { "more analysed than names", SampleWithLine(13, "3"), 13 },
        { "index beyond the names", SampleWithLine(14, "2 "), 14 },
        { "index negative", SampleWithLine(14, "-1 "), 14 },
        { "index not a number", SampleWithLine(14, "ноль "), 14 },
        { "index with trailing text", SampleWithLine(14, "0 1"), 14 },
        { "index values missing", SampleWithLine(14, ""), 15 },
        { "mechanism count disagrees", SampleWithLine(22, "2 1 1 0 0 0 0 0 0 0 0 0 0 "), 22 },
        { "threat count disagrees", SampleWithLine(22, "1 1 0 0 0 0 0 0 0 0 0 0 0 "), 22 },
        { "threshold not a number", SampleWithLine(22, "1 1 1 0 0 0 0,5 0 0 0 0 0 0 "), 22 },
        { "level not finite", SampleWithLine(22, "1 1 1 0 0 0 0 0 0 0 0 inf 0 "), 22 },
        { "parameters short", SampleWithLine(22, "1 1 1 0 0 0 0 0 0 0 0 0 "), 23 },
        { "matrix tag over 255 bytes", SampleWithLine(23, std::string(256, 'T')), 23 },
        { "matrix rows disagree", SampleWithLine(24, "2 1"), 24 },
        { "matrix columns disagree", SampleWithLine(27, "1 0"), 27 },
        { "huge matrix", SampleWithLine(24, "100000 100000"), 24 },
        { "matrix element not a number", SampleWithLine(25, "0.5.1 "), 25 },
        { "matrix element out of range", SampleWithLine(31, "1e39 "), 31 },
        { "matrix element missing", SampleWithLine(40, ""), 41 },
        { "ends inside the names", SampleFirstLines(4), 5 },
        { "ends before the parameters", SampleFirstLines(21), 22 },
        { "ends before the last matrix", SampleFirstLines(37), 38 },
        { "names count with two plus signs", SampleWithLine(3, "++2"), 3 },
        { "index with a plus and a minus", SampleWithLine(14, "+-0 "), 14 },
        { "dimension a lone plus", SampleWithLine(24, "+ 1"), 24 },
        { "element plus infinity", SampleWithLine(25, "+inf "), 25 },
        { "element plus hexadecimal", SampleWithLine(28, "+0x1 "), 28 },
        { "count with a plus after the digits", SampleWithLine(22, "1+ 1 1 0 0 0 0 0 0 0 0 0 0 "), 22 },
        // Notes must stand apart from the last value, or the value is not a number.
        { "notes glued to the last value", SampleWithLine(40, "1примечание"), 40 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CData store = Lived();
        RecordingSink sink;
        EXPECT_FALSE(ReadDataText(c.bytes, store, sink));
        EXPECT_EQ(sink.Messages,
            std::vector<std::string> { std::string(WrongFormat) + " (строка " + std::to_string(c.line) + ")" });
        EXPECT_EQ(StoreDifference(store, Lived()), "");
    }
}

TEST(DataFile, APlusSignBeforeAnyNumberIsRead)
{
    // Seven of eight layers analysed, so that 7 stands as a count, an index entry, the
    // layer count and a matrix dimension; 0.5 stands among the elements.
    CheckList layers;
    for (int i = 0; i < 8; ++i)
        layers.push_back({ "Эшелон " + std::to_string(i), i > 0 });
    CData store;
    store.PrepareForAnalysis(layers, Items({ { "Вирус", true }, { "Фишинг", true } }), Items({ { "МЭ", true } }));
    FillAwkwardly(store);
    store.ET(6, 1) = 0.5f;
    store.Thresholds[3] = { 0.5f, 7.0f };
    const std::string written = *WriteDataText(store);
    ASSERT_EQ(written.find('+'), std::string::npos);

    // A plus before every number of every line that holds only numbers.
    std::vector<std::string> lines = Lines(written);
    for (std::string& line : lines) {
        if (line.empty() || line.find_first_not_of("0123456789.e+- ") != std::string::npos)
            continue;
        std::string withSigns;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] != ' ' && line[i] != '-' && (i == 0 || line[i - 1] == ' '))
                withSigns += '+';
            withSigns += line[i];
        }
        line = withSigns;
    }
    const std::string plussed = Joined(lines);
    ASSERT_NE(plussed.find("\r\n+8\r\n"), std::string::npos);
    ASSERT_NE(plussed.find("+7 \r\n"), std::string::npos);
    ASSERT_NE(plussed.find("\r\n+7 +2\r\n"), std::string::npos);
    ASSERT_NE(plussed.find("+0.5 "), std::string::npos);

    CData loaded = Lived();
    RecordingSink sink;
    ASSERT_TRUE(ReadDataText(plussed, loaded, sink));
    EXPECT_TRUE(sink.Messages.empty());
    EXPECT_EQ(loaded.LayerNames.size(), 8u);
    EXPECT_EQ(loaded.LayerIndices.back(), "7");
    EXPECT_EQ(loaded.LayerCount, 7);
    EXPECT_EQ(loaded.ET.Rows(), 7);
    EXPECT_EQ(loaded.ET(6, 1), 0.5f);
    EXPECT_EQ(loaded.Thresholds[3].Medium, 7.0f);
    CData plain = Lived();
    ASSERT_TRUE(ReadDataText(written, plain, sink));
    EXPECT_EQ(StoreDifference(loaded, plain), "");
    // Saved again, the file is as the program writes it: no sign left.
    EXPECT_EQ(WriteDataText(loaded), written);
}

TEST(DataFile, NotesAfterTheLastMatrixAreIgnored)
{
    const std::string sample = SampleBytes();
    const std::string sampleWithoutLastBreak = sample.substr(0, sample.size() - 2);
    const std::string empty = *WriteDataText(CData());
    const struct {
        const char* what;
        std::string plain;
        std::string withNotes;
    } cases[] = {
        { "a line of text", sample, sample + Cp("Проверено 12.03, И. Петров\r\n") },
        { "several lines, a number first", sample, sample + Cp("\r\n7\r\nещё строка\r\n\r\n[MT]\r\n1 1\r\n") },
        { "bytes that are not text", sample,
            sample + std::string("\x98\x00\xff\r\x01 ", 6) + std::string(300, 'x') + "\rend" },
        { "on the same line as the last row", sample, sampleWithoutLastBreak + Cp("заметка: уточнить\r\n") },
        { "numbers on the same line as the last row", sample, sampleWithoutLastBreak + "2 3 4\r\n" },
        { "without a final line break", sample, sample + Cp("заметка") },
        { "after a last matrix without rows", empty, empty + Cp("пока пусто\n") },
        { "on the dimensions line of a last matrix without rows", empty,
            empty.substr(0, empty.size() - 2) + Cp(" пока пусто\r\n") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CData plain = Lived();
        CData noted = Lived();
        RecordingSink sink;
        ASSERT_TRUE(ReadDataText(c.plain, plain, sink));
        ASSERT_TRUE(ReadDataText(c.withNotes, noted, sink));
        EXPECT_TRUE(sink.Messages.empty());
        EXPECT_EQ(StoreDifference(noted, plain), "");
        EXPECT_EQ(WriteDataText(noted), c.plain);
    }
}

TEST(DataFile, ACountFarBeyondAnyMatrixIsRejectedBeforeAllocating)
{
    // Counts that agree everywhere, but the file stops right after MT's dimensions: a
    // reader that trusted them would allocate the whole matrix before noticing.
    CheckList many;
    for (int i = 0; i < 300; ++i)
        many.push_back({ "x", true });
    CData big;
    big.PrepareForAnalysis(Items({ { "L", true } }), many, many);
    const std::string text = *WriteDataText(big);
    const std::size_t cut = text.find("[MT]\r\n300 300\r\n") + 15;
    const int dimensionsLine = static_cast<int>(std::count(text.begin(), text.begin() + cut, '\n'));

    CData store = Lived();
    RecordingSink sink;
    EXPECT_FALSE(ReadDataText(text.substr(0, cut), store, sink));
    EXPECT_EQ(sink.Messages,
        std::vector<std::string> { std::string(WrongFormat) + " (строка " + std::to_string(dimensionsLine) + ")" });
    EXPECT_EQ(StoreDifference(store, Lived()), "");
}

TEST(DataFile, RejectsAWrongHeaderWithThePlainMessage)
{
    std::string dictionary
        = Cp("Файл словарь Vardun 2.2.\r\n[Layers]\r\n0\r\n[Threats]\r\n0\r\n[Safety Mechanisms]\r\n0\r\n");
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        { "empty file", "" },
        { "dictionary file", dictionary },
        { "trailing blank", SampleWithLine(1, "Файл данных Vardun 2.2. ") },
        { "leading blank", SampleWithLine(1, " Файл данных Vardun 2.2.") },
        { "other version", SampleWithLine(1, "Файл данных Vardun 2.1.") },
        { "header in UTF-8", "Файл данных Vardun 2.2.\r\n" + SampleBytes().substr(SampleBytes().find('\n') + 1) },
        { "header over 255 bytes", SampleWithLine(1, "Файл данных Vardun 2.2." + std::string(300, ' ')) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CData store = Lived();
        RecordingSink sink;
        EXPECT_FALSE(ReadDataText(c.bytes, store, sink));
        EXPECT_EQ(sink.Messages, std::vector<std::string> { WrongFormat });
        EXPECT_EQ(StoreDifference(store, Lived()), "");
    }
}

TEST(DataFile, ReportsAFileThatCannotBeOpened)
{
    TempFolder folder;
    for (const std::string& path : { folder.Path("missing.sav"), Utf8FromPath(folder.Root()) }) {
        CData store = Lived();
        RecordingSink sink;
        EXPECT_FALSE(store.LoadFromFile(path, sink));
        EXPECT_EQ(sink.Messages, std::vector<std::string> { "Не удалось открыть файл." });
        EXPECT_EQ(StoreDifference(store, Lived()), "");
    }
}

namespace {

std::vector<std::string> FolderEntries(const TempFolder& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Root()))
        names.push_back(Utf8FromPath(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(DataFile, AFailedSaveKeepsTheOldFile)
{
    TempFolder folder;
    const std::string target = folder.Path("kept.sav");
    WriteBytes(target, SampleBytes());
    WriteBytes(folder.Path("plain-file"), "x");

    CData unwritableName = SampleStore();
    unwritableName.ThreatNames[0] = "Вирус 病毒";
    CData nameWithLineBreak = SampleStore();
    nameWithLineBreak.LayerNames[1] = "Се\nть";
    CData countDisagrees = SampleStore();
    countDisagrees.LayerCount = 2;
    CData indexNotANumber = SampleStore();
    indexNotANumber.LayerIndices[0] = "first";
    CData shapeDisagrees = SampleStore();
    shapeDisagrees.TE.Resize(1, 2);

    const struct {
        const char* what;
        CData store;
        std::string path;
    } cases[] = {
        { "name outside the code page", unwritableName, target },
        { "name with a line break", nameWithLineBreak, target },
        { "count disagrees with its list", countDisagrees, target },
        { "index entry not a number", indexNotANumber, target },
        { "matrix shape disagrees", shapeDisagrees, target },
        { "folder is a file", SampleStore(), folder.Path("plain-file/x.sav") },
        { "folder missing", SampleStore(), folder.Path("no-such-folder/x.sav") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingSink sink;
        EXPECT_FALSE(c.store.SaveToFile(c.path, sink));
        EXPECT_EQ(sink.Messages, std::vector<std::string> { "Не удалось сохранить файл " + c.path + "." });
        EXPECT_EQ(ReadBytes(target), SampleBytes());
        EXPECT_EQ(FolderEntries(folder), (std::vector<std::string> { "kept.sav", "plain-file" }));
    }
}

TEST(DataFile, AReadOnlyFileIsNotOverwritten)
{
    TempFolder folder;
    const std::string target = folder.Path("kept.sav");
    for (unsigned mode : { 0444, 0400 }) {
        SCOPED_TRACE(testing::Message() << "mode " << std::oct << mode);
        WriteBytes(target, SampleBytes());
        ASSERT_TRUE(SetPermissions(target, mode));
        RecordingSink sink;
        EXPECT_FALSE(RichStore().SaveToFile(target, sink));
        EXPECT_EQ(sink.Messages, std::vector<std::string> { "Не удалось сохранить файл " + target + "." });
        ASSERT_TRUE(SetPermissions(target, 0600));
        EXPECT_EQ(ReadBytes(target), SampleBytes());
        EXPECT_EQ(FolderEntries(folder), std::vector<std::string> { "kept.sav" });
    }
}
