// vardun-report --compare end to end: the "compare" object of the built tool against two
// plain runs of the tool, one on each file.
#include "ui/export/ReportJson.h"

#include "model/Data.h"
#include "model/SourceMatrices.h"
#include "model/Utf8Path.h"
#include "support/RandomAssessment.h"
#include "support/ReportToolTest.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

using ReportCompare = ReportToolTest;

// The same text as in the plain report: the same float, written the same way (or null).
void ExpectSameText(const ReportJson& got, const ReportJson& plain, const std::string& what)
{
    EXPECT_EQ(got.dump(), plain.dump()) << what;
}

// The rating and the diagonals on each side are what the plain run of that side's file
// says, matched by name; an item only on one side has null on the other. Items of this
// file come in its order, then the other's new ones in its order.
void ExpectSides(const ReportJson& compare, const ReportJson& before, const ReportJson& after)
{
    for (const char* rating : { "Rm", "Re" }) {
        const ReportJson& r = compare[rating];
        ExpectSameText(r["this"], before[rating], rating);
        ExpectSameText(r["other"], after[rating], rating);
        ExpectSameText(r["difference"], ReportJson(after[rating].get<float>() - before[rating].get<float>()), rating);
    }
    const std::pair<const char*, const char*> kinds[] = { { "mechanisms", "MM" }, { "layers", "EE" } };
    for (const auto& [list, square] : kinds) {
        std::vector<std::string> expectedNames = before[list].get<std::vector<std::string>>();
        for (const std::string& name : after[list].get<std::vector<std::string>>())
            if (std::find(expectedNames.begin(), expectedNames.end(), name) == expectedNames.end())
                expectedNames.push_back(name);
        const ReportJson& items = compare[list];
        ASSERT_EQ(items.size(), expectedNames.size()) << list;
        for (std::size_t k = 0; k < items.size(); ++k) {
            const std::string name = items[k]["name"].get<std::string>();
            EXPECT_EQ(name, expectedNames[k]) << list;
            for (const auto& [side, report] : { std::pair { "this", &before }, std::pair { "other", &after } }) {
                const std::vector<std::string> names = (*report)[list].get<std::vector<std::string>>();
                const auto at = std::find(names.begin(), names.end(), name);
                if (at == names.end()) {
                    EXPECT_TRUE(items[k][side].is_null()) << list << " " << name << " " << side;
                    continue;
                }
                const auto p = static_cast<std::size_t>(at - names.begin());
                ExpectSameText(items[k][side], (*report)[square][p][p], std::string(list) + " " + name + " " + side);
            }
        }
    }
}

ReportJson WithoutCompare(ReportJson report)
{
    report.erase("compare");
    return report;
}

} // namespace

TEST_F(ReportCompare, AFileAgainstItselfDiffersNowhere)
{
    const std::string file = Utf8FromPath(PathFromUtf8(VARDUN_TEST_DATA) / "example.sav");
    const ReportJson plain = Parsed({ file });
    const ReportJson r = Parsed({ file, "--compare", file });
    // The rest of the report is the plain one.
    EXPECT_EQ(WithoutCompare(r), plain);
    const ReportJson& c = r["compare"];
    EXPECT_EQ(c["other"], file);
    EXPECT_EQ(c["no_shared_item"], false);
    ExpectSides(c, plain, plain);
    EXPECT_EQ(c["Rm"]["difference"].dump(), "0.0");
    EXPECT_EQ(c["Rm"]["relative_change"].dump(), "0.0");
    EXPECT_EQ(c["mechanisms"].size(), plain["mechanisms"].size());
    EXPECT_EQ(c["changed"], ReportJson::array());
}

TEST_F(ReportCompare, OneChangedJudgementAgainstTwoPlainRuns)
{
    const CData base = RandomAssessment(5, 3);
    CData variant = base;
    const float was = variant.TM(2, 4);
    const float is = was == 2.5f ? 7.25f : 2.5f;
    variant.TM(2, 4) = is;
    const std::string a = Utf8FromPath(Write(base, "a.sav"));
    const std::string b = Utf8FromPath(Write(variant, "b.sav"));

    const ReportJson before = Parsed({ a });
    const ReportJson after = Parsed({ b });
    ASSERT_NE(before["Rm"], after["Rm"]);
    const ReportJson r = Parsed({ a, "--compare", b });
    EXPECT_EQ(WithoutCompare(r), before);
    const ReportJson& c = r["compare"];
    ExpectSides(c, before, after);
    ReportJson expected = ReportJson::array();
    expected.push_back(
        { { "matrix", "TM" }, { "row", "Угроза 3" }, { "column", "Механизм 5" }, { "this", was }, { "other", is } });
    EXPECT_EQ(c["changed"], expected);
    // The other way round the same cell, its sides swapped.
    const ReportJson back = Parsed({ b, "--compare", a })["compare"];
    ExpectSides(back, after, before);
    ASSERT_EQ(back["changed"].size(), 1u);
    EXPECT_EQ(back["changed"][0]["this"], expected[0]["other"]);
}

// The variant made as the analyst would: a mechanism unchecked, one renamed, one added, a
// layer added, the judgements carried over by name and one more of them changed.
TEST_F(ReportCompare, AddedRemovedAndRenamedItems)
{
    const CData base = RandomAssessment(3, 12);
    CData variant = base;
    const CheckList layers = { { "Эшелон вне анализа", false }, { "Эшелон 1", true }, { "Эшелон 2", true },
        { "Эшелон 3", true }, { "Новый эшелон", true } };
    const CheckList threats
        = { { "Угроза вне анализа", false }, { "Угроза 1", true }, { "Угроза 2", true }, { "Угроза 3", true } };
    const CheckList mechanisms = { { "Механизм вне анализа", true }, { "Механизм 1", false },
        { "Механизм 2 (новая версия)", true }, { "Механизм 3", true } };
    variant.PrepareForAnalysis(layers, threats, mechanisms);
    variant.MT(2, 0) = variant.MT(2, 0) == 0.5f ? 0.25f : 0.5f; // Механизм 3 x Угроза 1
    variant.EF(3, 2) = 9.0f; // a judgement of the new layer: not a changed one
    const std::string a = Utf8FromPath(Write(base, "a.sav"));
    const std::string b = Utf8FromPath(Write(variant, "b.sav"));

    const ReportJson before = Parsed({ a });
    const ReportJson after = Parsed({ b });
    const ReportJson c = Parsed({ a, "--compare", b })["compare"];
    ExpectSides(c, before, after);
    std::vector<std::string> names;
    for (const ReportJson& item : c["mechanisms"])
        names.push_back(item["name"].get<std::string>());
    EXPECT_EQ(names,
        (std::vector<std::string> {
            "Механизм 1", "Механизм 2", "Механизм 3", "Механизм вне анализа", "Механизм 2 (новая версия)" }));
    EXPECT_TRUE(c["mechanisms"][0]["other"].is_null());
    EXPECT_TRUE(c["mechanisms"][3]["this"].is_null());
    EXPECT_TRUE(c["layers"][3]["this"].is_null());
    EXPECT_EQ(c["layers"][3]["name"], "Новый эшелон");
    ASSERT_EQ(c["changed"].size(), 1u);
    EXPECT_EQ(c["changed"][0]["matrix"], "MT");
    EXPECT_EQ(c["changed"][0]["row"], "Механизм 3");
    EXPECT_EQ(c["changed"][0]["column"], "Угроза 1");
    EXPECT_EQ(c["changed"][0]["this"].get<float>(), base.MT(2, 0));
    EXPECT_EQ(c["no_shared_item"], false);
}

TEST_F(ReportCompare, NoSharedItem)
{
    CData other;
    other.CollectSelection({ { "Другой эшелон", true } }, { { "Другая угроза", true } }, { { "Другой МЗ", true } });
    for (const SourceMatrixInfo& source : kSourceMatrices) {
        Matrix& matrix = other.*source.Member;
        matrix.Resize(1, 1);
        matrix(0, 0) = 1.0f;
    }
    const std::string a = Utf8FromPath(Write(RandomAssessment(2, 5), "a.sav"));
    const std::string b = Utf8FromPath(Write(other, "b.sav"));
    const ReportJson c = Parsed({ a, "--compare", b })["compare"];
    EXPECT_EQ(c["no_shared_item"], true);
    EXPECT_EQ(c["changed"], ReportJson::array());
    ExpectSides(c, Parsed({ a }), Parsed({ b }));
}

// A second file that is not loaded stops the run before anything is written: its loader's
// message (with the line at fault) and its name on stderr, nothing on stdout.
TEST_F(ReportCompare, RefusedSecondFile)
{
    const std::string good = Utf8FromPath(Write(RandomAssessment(2, 9), "good.sav"));
    const std::string sample = ReadBytes(Utf8FromPath(PathFromUtf8(VARDUN_TEST_DATA) / "sample.sav"));
    std::string bad = sample;
    const std::string values = "\r\n0 \r\n[\xCF\xF0\xEE\xF7\xE8\xE5"; // line 20, the mechanisms' values
    ASSERT_NE(bad.find(values), std::string::npos);
    bad.replace(bad.find(values), values.size(), "\r\nx \r\n[\xCF\xF0\xEE\xF7\xE8\xE5");
    WriteBytes(Utf8FromPath(Path("bad.sav")), bad);
    WriteBytes(
        Utf8FromPath(Path("dictionary.sav")), "\xD4\xE0\xE9\xEB \xF1\xEB\xEE\xE2\xE0\xF0\xFC Vardun 2.2.\r\n0\r\n");
    struct Case {
        std::string File;
        std::string Message;
    };
    const Case cases[] = {
        { Utf8FromPath(Path("bad.sav")), "Неправильный формат файл (строка 20)" },
        { Utf8FromPath(Path("dictionary.sav")), "Неправильный формат файл" },
        { Utf8FromPath(Path("missing.sav")), "Не удалось открыть файл." },
    };
    for (const Case& k : cases) {
        const ToolRun run = Report({ good, "--compare", k.File, "--save", Utf8FromPath(Path("never.sav")) });
        EXPECT_EQ(run.Status, 1) << k.File;
        EXPECT_EQ(run.Out, "") << k.File;
        EXPECT_NE(run.Err.find(k.Message), std::string::npos) << run.Err;
        EXPECT_NE(run.Err.find(k.File), std::string::npos) << run.Err;
        EXPECT_FALSE(fs::exists(Path("never.sav")));
    }
}

TEST_F(ReportCompare, UsageErrors)
{
    const std::string file = Utf8FromPath(Write(RandomAssessment(2, 1), "small.sav"));
    const std::vector<std::vector<std::string>> cases = {
        { file, "--compare" },
        { file, "--compare", file, "--compare", file },
        { "--compare", file },
    };
    for (const auto& args : cases)
        ExpectUsageError(args);
    EXPECT_NE(Report({ "--help" }).Out.find("--compare OTHER.sav"), std::string::npos);
}
