// vardun-report --sensitivity [N]: the built tool run on files written by the program's
// own writer; its "sensitivity" array checked for shape and, bit for bit, against the
// core's ranking of the same file after the same walk.
#include "ui/export/ReportJson.h"

#include "analysis/Derived.h"
#include "analysis/Sensitivity.h"
#include "model/Data.h"
#include "model/Utf8Path.h"
#include "support/RandomAssessment.h"
#include "support/ReportToolTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using ReportSensitivity = ReportToolTest;

// The core's ranking of the file as the tool sees it: loaded, then modes 1 to 4.
std::vector<TripleSensitivity> CoreRanking(const fs::path& path, CData& d)
{
    d = Loaded(path);
    ComputeAllModes(d);
    return RankSensitivity(d).Ranking;
}

// The array holds the first `count` triples of the core's ranking, each with exactly its
// positions, names and the six values.
void ExpectSameAsCore(const ReportJson& list, const fs::path& path, std::size_t count)
{
    CData d;
    const std::vector<TripleSensitivity> ranking = CoreRanking(path, d);
    ASSERT_TRUE(list.is_array());
    ASSERT_EQ(list.size(), count);
    ASSERT_LE(count, ranking.size());
    for (std::size_t i = 0; i < count; ++i) {
        const ReportJson& e = list[i];
        const TripleSensitivity& t = ranking[i];
        const std::string where = "place " + std::to_string(i);
        ASSERT_TRUE(e.is_object()) << where;
        std::vector<std::string> keys;
        for (const auto& item : e.items())
            keys.push_back(item.key());
        EXPECT_EQ(keys, (std::vector<std::string> { "layer", "threat", "mechanism", "names", "Rm", "Re" })) << where;
        EXPECT_EQ(e["layer"], t.Triple.Layer) << where;
        EXPECT_EQ(e["threat"], t.Triple.Threat) << where;
        EXPECT_EQ(e["mechanism"], t.Triple.Mechanism) << where;
        EXPECT_EQ(e["names"],
            ReportJson::array(
                { d.LayerName(t.Triple.Layer), d.ThreatName(t.Triple.Threat), d.MechanismName(t.Triple.Mechanism) }))
            << where;
        for (RatingKind kind : { RatingKind::Rm, RatingKind::Re }) {
            const ReportJson& s = e[kind == RatingKind::Rm ? "Rm" : "Re"];
            ASSERT_EQ(s.size(), 3u) << where;
            EXPECT_TRUE(SameFloat(s["min"], t.Of(kind).Min)) << where;
            EXPECT_TRUE(SameFloat(s["at0"], t.Of(kind).AtZero)) << where;
            EXPECT_TRUE(SameFloat(s["max"], t.Of(kind).Max)) << where;
        }
    }
}

} // namespace

TEST_F(ReportSensitivity, TheFirstNOrAll)
{
    const fs::path file = Write(RandomAssessment(4, 31), "four.sav");
    ExpectSameAsCore(Parsed({ Utf8FromPath(file), "--sensitivity", "5" })["sensitivity"], file, 5);
    // Without a count, every one of the 4 x 4 x 4 triples; the file may follow the option.
    ExpectSameAsCore(Parsed({ "--sensitivity", Utf8FromPath(file) })["sensitivity"], file, 64);
    // A count beyond the triples gives them all.
    ExpectSameAsCore(Parsed({ Utf8FromPath(file), "--sensitivity", "1000" })["sensitivity"], file, 64);
    // The rest of the report is there as without the option, and without it there is no
    // ranking.
    ReportJson with = Parsed({ Utf8FromPath(file), "--sensitivity", "1" });
    const ReportJson without = Parsed({ Utf8FromPath(file) });
    EXPECT_FALSE(without.contains("sensitivity"));
    with.erase("sensitivity");
    EXPECT_EQ(with, without);
}

// The names are those of the analysed items: every list starts with an item left out.
TEST_F(ReportSensitivity, PositionsAreAmongTheAnalysedItems)
{
    const fs::path file = Write(RandomAssessment(3, 5), "three.sav");
    const ReportJson list = Parsed({ Utf8FromPath(file), "--sensitivity" })["sensitivity"];
    ExpectSameAsCore(list, file, 27);
    bool sawFirst = false;
    for (const ReportJson& e : list) {
        if (e["layer"] == 0 && e["threat"] == 0 && e["mechanism"] == 0) {
            EXPECT_EQ(e["names"], ReportJson::array({ "Эшелон 1", "Угроза 1", "Механизм 1" }));
            sawFirst = true;
        }
    }
    EXPECT_TRUE(sawFirst);
}

// No weighted damage at all: no value is a number; the ranking keeps RatingRange's start
// value 100000 as each smallest value and prints the rest as null.
TEST_F(ReportSensitivity, ValuesThatAreNotNumbersPrintAsNull)
{
    const CData data = WithoutDamage(RandomAssessment(2, 7));
    const fs::path file = Write(data, "zero.sav");
    const ReportJson list = Parsed({ Utf8FromPath(file), "--sensitivity", "3" })["sensitivity"];
    ExpectSameAsCore(list, file, 3);
    for (const ReportJson& e : list) {
        EXPECT_TRUE(SameFloat(e["Rm"]["min"], 100000.0f));
        EXPECT_TRUE(e["Rm"]["max"].is_null());
        EXPECT_TRUE(e["Re"]["at0"].is_null());
    }
}

TEST_F(ReportSensitivity, UsageErrors)
{
    const std::string file = Utf8FromPath(Write(RandomAssessment(2, 1), "small.sav"));
    const std::vector<std::vector<std::string>> cases = {
        { file, "--sensitivity", "0" }, { file, "--sensitivity", "-3" }, { file, "--sensitivity", "2.5" },
        { file, "--sensitivity", "1e3" }, { file, "--sensitivity", "+4" },
        { file, "--sensitivity", "99999999999999999999999" }, { file, "--sensitivity", "2", "--sensitivity" },
        { "--sensitivity", "3" }, // no input file
    };
    for (const auto& args : cases)
        ExpectUsageError(args, "[--sensitivity [N]]");
}
