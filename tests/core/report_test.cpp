// vardun-report end to end: the built tool is run on files written by the program's own
// writer, and its JSON is compared bit for bit with the core's results.
#include "ui/export/ReportJson.h"

#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "analysis/Rating.h"
#include "model/Data.h"
#include "model/Utf8Path.h"
#include "support/RandomAssessment.h"
#include "support/ReportToolTest.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using ReportTool = ReportToolTest;

// The data file's own example: two layers of which the first is analysed, one threat,
// one mechanism.
const fs::path kSample = PathFromUtf8(VARDUN_TEST_DATA) / "sample.sav";

std::uint32_t Bits(float f)
{
    return std::bit_cast<std::uint32_t>(f);
}

void ExpectSameVector(const ReportJson& j, const Vector& v, const std::string& what)
{
    ASSERT_TRUE(j.is_array()) << what;
    ASSERT_EQ(j.size(), static_cast<std::size_t>(v.Size())) << what;
    for (int i = 0; i < v.Size(); ++i)
        EXPECT_TRUE(SameFloat(j[static_cast<std::size_t>(i)], v(i))) << what << " " << i;
}

void ExpectSameMatrix(const ReportJson& j, const Matrix& m, const std::string& what)
{
    ASSERT_TRUE(j.is_array()) << what;
    ASSERT_EQ(j.size(), static_cast<std::size_t>(m.Rows())) << what;
    for (int i = 0; i < m.Rows(); ++i) {
        const ReportJson& row = j[static_cast<std::size_t>(i)];
        ASSERT_TRUE(row.is_array()) << what;
        ASSERT_EQ(row.size(), static_cast<std::size_t>(m.Cols())) << what;
        for (int k = 0; k < m.Cols(); ++k)
            EXPECT_TRUE(SameFloat(row[static_cast<std::size_t>(k)], m(i, k))) << what << " (" << i << ", " << k << ")";
    }
}

std::vector<std::string> AnalysedNames(
    const CData& d, const std::vector<std::string>& indices, const std::string& (CData::*name)(int) const)
{
    std::vector<std::string> names;
    for (std::size_t k = 0; k < indices.size(); ++k)
        names.push_back((d.*name)(static_cast<int>(k)));
    return names;
}

void ExpectCurve(const ReportJson& j, const CurveSamples& samples, const std::string& what)
{
    ASSERT_EQ(j.size(), samples.size()) << what;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        ASSERT_EQ(j[i].size(), 2u) << what;
        EXPECT_TRUE(SameFloat(j[i][0], samples[i].Shift)) << what << " " << i;
        EXPECT_TRUE(SameFloat(j[i][1], samples[i].Value)) << what << " " << i;
    }
}

// Everything the report says about the file at `path`, checked against the core run on
// the same file in this process.
void ExpectReportOf(const ReportJson& r, const fs::path& path, const RatingSelection* selection, float high, float low)
{
    CData d = Loaded(path);
    EXPECT_EQ(r["layers"].get<std::vector<std::string>>(), AnalysedNames(d, d.LayerIndices, &CData::LayerName));
    EXPECT_EQ(r["threats"].get<std::vector<std::string>>(), AnalysedNames(d, d.ThreatIndices, &CData::ThreatName));
    EXPECT_EQ(
        r["mechanisms"].get<std::vector<std::string>>(), AnalysedNames(d, d.MechanismIndices, &CData::MechanismName));
    ASSERT_EQ(r["thresholds"].size(), 4u);
    for (std::size_t k = 0; k < d.Thresholds.size(); ++k) {
        const ReportJson& t = r["thresholds"][k];
        EXPECT_TRUE(SameFloat(t[0], d.Thresholds[k].Small));
        EXPECT_TRUE(SameFloat(t[1], d.Thresholds[k].Medium));
    }
    EXPECT_TRUE(SameFloat(r["high_level"], d.HighLevel));
    EXPECT_TRUE(SameFloat(r["low_level"], d.LowLevel));

    const auto works = ComputeAllModes(d);
    ASSERT_EQ(r["modes"].size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        const ReportJson& m = r["modes"][k];
        EXPECT_EQ(m["mode"].get<int>(), static_cast<int>(k) + 1);
        const std::string what = "mode " + std::to_string(k + 1);
        ExpectSameMatrix(m["result"], works[k].ResultMatrix, what);
        ExpectSameVector(m["row_distribution"], works[k].RowDistribution, what);
        ExpectSameVector(m["column_distribution"], works[k].ColumnDistribution, what);
    }
    ComputeDamageMatrices(d);
    EXPECT_TRUE(SameFloat(r["weighted_damage_max"], d.WeightedDamageMax));
    ExpectSameMatrix(r["MM"], d.MM, "MM");
    ExpectSameMatrix(r["EE"], d.EE, "EE");
    EXPECT_TRUE(SameFloat(r["Rm"], RatingIndicator(d.MM)));
    EXPECT_TRUE(SameFloat(r["Re"], RatingIndicator(d.EE)));

    if (!selection) {
        EXPECT_FALSE(r.contains("rating"));
        return;
    }
    const ReportJson& rating = r["rating"];
    EXPECT_EQ(rating["selection"], ReportJson::array({ selection->Layer, selection->Threat, selection->Mechanism }));
    EXPECT_TRUE(SameFloat(rating["levels"]["current"], 1.0f));
    EXPECT_TRUE(SameFloat(rating["levels"]["high"], high));
    EXPECT_TRUE(SameFloat(rating["levels"]["low"], low));
    const RatingEvaluator eval(d, *selection);
    for (RatingKind kind : { RatingKind::Rm, RatingKind::Re }) {
        const std::string name = kind == RatingKind::Rm ? "Rm" : "Re";
        const ReportJson& chart = rating[name];
        const RatingExtent range = RatingRange(d, kind, *selection, 1.0f, -10.0f, 10.0f);
        ASSERT_EQ(chart["range"].size(), 2u);
        EXPECT_TRUE(SameFloat(chart["range"][0], range.Largest)) << name;
        EXPECT_TRUE(SameFloat(chart["range"][1], range.Smallest)) << name;
        ExpectCurve(chart["curves"]["current"], eval.Samples(kind, 1.0f), name + " current");
        ExpectCurve(chart["curves"]["high"], eval.Samples(kind, DamageFactor(high)), name + " high");
        ExpectCurve(chart["curves"]["low"], eval.Samples(kind, DamageFactor(low)), name + " low");
    }
}

} // namespace

TEST_F(ReportTool, SampleFile)
{
    const fs::path& file = kSample;
    const ReportJson r = Parse(Report({ Utf8FromPath(file) }));
    // Worked by hand: MT TE = 0.35, normalised 1; ET TM = 6; EF FM = 0.25; 6 x 0.25 = 1.5.
    EXPECT_EQ(r["layers"], ReportJson::array({ "Периметр" }));
    EXPECT_EQ(r["threats"], ReportJson::array({ "Вирус" }));
    EXPECT_EQ(r["mechanisms"], ReportJson::array({ "Антивирус" }));
    const float results[] = { 1.0f, 6.0f, 0.25f, 1.5f };
    for (std::size_t k = 0; k < 4; ++k)
        EXPECT_TRUE(SameFloat(r["modes"][k]["result"][0][0], results[k])) << k;
    EXPECT_TRUE(SameFloat(r["weighted_damage_max"], 1.5f));
    EXPECT_TRUE(SameFloat(r["Rm"], 1.0f));
    EXPECT_TRUE(SameFloat(r["Re"], 1.0f));
    ExpectReportOf(r, file, nullptr, 0, 0);
    // Short numbers print short.
    EXPECT_NE(Report({ Utf8FromPath(file) }).Out.find("\"thresholds\":[[0.0,0.0],"), std::string::npos);
}

TEST_F(ReportTool, SampleFileRatingWithTheFileLevelsAndGivenOnes)
{
    const fs::path& file = kSample;
    const RatingSelection origin { 0, 0, 0 };
    ExpectReportOf(Parse(Report({ Utf8FromPath(file), "--rating", "0,0,0" })), file, &origin, 0.0f, 0.0f);
    const ReportJson r = Parse(Report({ "--high", "2", Utf8FromPath(file), "--low", "0.3", "--rating", "0,0,0" }));
    ExpectReportOf(r, file, &origin, 2.0f, 0.3f);
    // The current frequency is sample 50, and the low level 0 flattens its curve.
    EXPECT_TRUE(SameFloat(r["rating"]["Rm"]["curves"]["current"][50][0], 0.0f));
}

TEST_F(ReportTool, LargeAssessmentWithRatingAndSave)
{
    const CData data = RandomAssessment(17, 2024);
    const fs::path file = Write(data, "large.sav");
    const fs::path copy = Path("copy.sav");
    const ReportJson r = Parse(Report({ Utf8FromPath(file), "--rating", "16,3,0", "--save", Utf8FromPath(copy) }));
    ASSERT_EQ(r["layers"].size(), 17u);
    EXPECT_EQ(r["layers"][0], "Эшелон 1"); // the unanalysed first item is left out
    const RatingSelection selection { 16, 3, 0 };
    ExpectReportOf(r, file, &selection, data.HighLevel, data.LowLevel);
    EXPECT_EQ(ReadBytes(Utf8FromPath(copy)), ReadBytes(Utf8FromPath(file)));
}

// No weighted damage at all: WeightedDamageMax is 0, the ratings of the curves are not
// numbers and print as null; nothing fails.
TEST_F(ReportTool, ZeroWeightedDamageMaxPrintsNull)
{
    const CData data = WithoutDamage(RandomAssessment(3, 7));
    const fs::path file = Write(data, "zero.sav");
    const RatingSelection selection { 1, 1, 1 };
    const ReportJson r = Parse(Report({ Utf8FromPath(file), "--rating", "1,1,1" }));
    ExpectReportOf(r, file, &selection, data.HighLevel, data.LowLevel);
    EXPECT_TRUE(SameFloat(r["weighted_damage_max"], 0.0f));
    EXPECT_TRUE(r["rating"]["Re"]["range"][0].is_null());
    EXPECT_TRUE(SameFloat(r["rating"]["Re"]["range"][1], 100000.0f));
    EXPECT_TRUE(r["rating"]["Rm"]["curves"]["high"][50][1].is_null());
}

// Matrices are arrays of their rows, also when a side is empty.
TEST_F(ReportTool, EmptySides)
{
    CData data;
    data.CollectSelection({ { "A", true }, { "B", true }, { "C", true } }, { { "T", true } }, { { "M", false } });
    data.MT.Resize(0, 1);
    data.TE.Resize(1, 3);
    data.ET.Resize(3, 1);
    data.TM.Resize(1, 0);
    data.EF.Resize(3, 1);
    data.FM.Resize(1, 0);
    const fs::path file = Write(data, "empty.sav");
    const ToolRun run = Report({ Utf8FromPath(file) });
    const ReportJson r = Parse(run);
    ExpectReportOf(r, file, nullptr, 0, 0);
    EXPECT_EQ(r["mechanisms"], ReportJson::array());
    EXPECT_EQ(r["modes"][0]["result"].dump(), "[]");
    EXPECT_EQ(r["modes"][1]["result"].dump(), "[[],[],[]]");
    EXPECT_EQ(r["MM"].dump(), "[]");

    const ToolRun rating = Report({ Utf8FromPath(file), "--rating", "0,0,0" });
    EXPECT_EQ(rating.Status, 2);
    EXPECT_EQ(rating.Out, "");
}

TEST_F(ReportTool, RejectedFiles)
{
    WriteBytes(
        Utf8FromPath(Path("dictionary.sav")), "\xD4\xE0\xE9\xEB \xF1\xEB\xEE\xE2\xE0\xF0\xFC Vardun 2.2.\r\n0\r\n");
    WriteBytes(Utf8FromPath(Path("empty.sav")), "");
    // Cut short after the header: the loader names what is wrong.
    const std::string sample = ReadBytes(Utf8FromPath(kSample));
    WriteBytes(Utf8FromPath(Path("short.sav")), sample.substr(0, sample.size() / 2));
    struct Case {
        std::string File;
        std::string Message;
    };
    const Case cases[] = {
        { Utf8FromPath(Path("missing.sav")), "Не удалось открыть файл." },
        { Utf8FromPath(Path("dictionary.sav")), "Неправильный формат файл" },
        { Utf8FromPath(Path("empty.sav")), "Неправильный формат файл" },
        { Utf8FromPath(Path("short.sav")), "" },
    };
    for (const auto& c : cases) {
        const ToolRun run = Report({ c.File, "--save", Utf8FromPath(Path("never.sav")) });
        EXPECT_EQ(run.Status, 1) << c.File;
        EXPECT_EQ(run.Out, "") << c.File;
        EXPECT_NE(run.Err, "") << c.File;
        EXPECT_NE(run.Err.find(c.Message), std::string::npos) << run.Err;
        EXPECT_FALSE(fs::exists(Path("never.sav")));
    }
}

// Paths reach the tool as the system hands them over and its files as UTF-8, whatever
// the system's code page: a folder with a Cyrillic name.
TEST_F(ReportTool, FilesInAFolderWithACyrillicName)
{
    const fs::path folder = Path("Оценки");
    ASSERT_TRUE(fs::create_directory(folder));
    const fs::path file = Write(RandomAssessment(3, 5), "Оценки/исходная.sav");
    const fs::path copy = folder / "копия.sav";
    const fs::path tables = folder / "таблицы";
    const ReportJson r
        = Parse(Report({ Utf8FromPath(file), "--save", Utf8FromPath(copy), "--csv", Utf8FromPath(tables) }));
    ExpectReportOf(r, file, nullptr, 0, 0);
    EXPECT_EQ(ReadBytes(Utf8FromPath(copy)), ReadBytes(Utf8FromPath(file)));
    EXPECT_TRUE(fs::is_regular_file(tables / "MM.csv"));
}

TEST_F(ReportTool, FailedSaveIsReported)
{
    const fs::path& file = kSample;
    const ToolRun run = Report({ Utf8FromPath(file), "--save", Utf8FromPath(Path("no-such-folder/out.sav")) });
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_NE(run.Err, "");
}

TEST_F(ReportTool, UsageErrors)
{
    const std::string file = Utf8FromPath(Write(RandomAssessment(2, 1), "small.sav"));
    const std::vector<std::vector<std::string>> cases = {
        {},
        { "--rating", "0,0,0" },
        { file, file },
        { file, "--bogus" },
        { file, "--rating" },
        { file, "--rating", "0,0" },
        { file, "--rating", "0,0,0,0" },
        { file, "--rating", "0,,0" },
        { file, "--rating", "a,b,c" },
        { file, "--rating", "-1,0,0" },
        { file, "--rating", "2,0,0" }, // outside the analysed items
        { file, "--rating", "0,2,0" },
        { file, "--rating", "0,0,2" },
        { file, "--rating", "0,0,0", "--rating", "1,1,1" },
        { file, "--high", "high" },
        { file, "--low", "0,5" },
        { file, "--low", "1e39" },
    };
    for (const auto& args : cases)
        ExpectUsageError(args);
}

// Each float prints as text that reads back as the same float, and short values as
// short text.
TEST(ReportJsonNumbers, RoundTripEveryFloat)
{
    std::mt19937 rng(99);
    for (int n = 0; n < 200000; ++n) {
        const float v = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
        if (!std::isfinite(v))
            continue;
        const std::string text = ReportJson(v).dump();
        float back = 0.0f;
        const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), back);
        ASSERT_TRUE(ec == std::errc() && ptr == text.data() + text.size()) << text;
        ASSERT_EQ(Bits(back), Bits(v)) << text;
    }
    EXPECT_EQ(ReportJson(0.7f).dump(), "0.7");
    EXPECT_EQ(ReportJson(0.1f).dump(), "0.1");
    EXPECT_EQ(ReportJson(13.0f).dump(), "13.0");
    EXPECT_EQ(ReportJson(-0.0f).dump(), "-0.0");
    EXPECT_EQ(ReportJson(std::numeric_limits<float>::quiet_NaN()).dump(), "null");
    EXPECT_EQ(ReportJson(-std::numeric_limits<float>::infinity()).dump(), "null");
}

TEST(ReportJsonNumbers, MatrixShapes)
{
    Matrix none;
    Matrix rowsOnly;
    rowsOnly.Resize(3, 0);
    Matrix one;
    one.Resize(1, 2);
    one(0, 1) = 0.25f;
    EXPECT_EQ(DumpReport(JsonMatrix(none)), "[]");
    EXPECT_EQ(DumpReport(JsonMatrix(rowsOnly)), "[[],[],[]]");
    EXPECT_EQ(DumpReport(JsonMatrix(one)), "[[0.0,0.25]]");
}
