// Everything after a data file is accepted: modes 1 to 4 with the file's thresholds, MM
// and EE with Rm and Re, the rating curves of a selection taken from the input's last
// bytes, every chart drawn, every table written as CSV. Besides crashes and sanitizer
// reports it checks that every coordinate a chart hands to the surface stays within its
// reach (so no later offset can overflow), that every label is well-formed text, and that
// every CSV reads back, strictly, to its names and numbers. The store is also compared
// with itself (nothing may differ) and with a fixed small store. The sensitivity ranking
// must be in order, and a few of its triples agree with RatingRange. The Excel workbook of
// every accepted input is written, under a file name made of the input's last bytes, with
// the curves where there is a selection: every part of it must be well-formed XML.
#include "analysis/Compare.h"
#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "analysis/ExportTables.h"
#include "analysis/Modes.h"
#include "analysis/Rating.h"
#include "analysis/Sensitivity.h"
#include "fuzz/FuzzSupport.h"
#include "model/Csv.h"
#include "model/Data.h"
#include "model/DataText.h"
#include "model/SourceMatrices.h"
#include "tests/core/support/StrictCsv.h"
#include "tests/core/support/StrictXml.h"
#include "tests/core/support/XlsxReader.h"
#include "ui/charts/Canvas.h"
#include "ui/charts/GraphChart.h"
#include "ui/charts/MMEEChart.h"
#include "ui/charts/RatingChart.h"
#include "ui/export/ReportRequest.h"
#include "ui/export/workbook/Workbook.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Checks every primitive against a box around the window: charts clamp their heights and
// positions so that offsets added later cannot overflow.
class BoundedCanvas : public Canvas {
public:
    explicit BoundedCanvas(long long reach)
        : reach_(reach)
    {
    }
    void Rectangle(int left, int top, int right, int bottom) override
    {
        CheckPoint(left, top);
        CheckPoint(right, bottom);
    }
    void Ellipse(int left, int top, int right, int bottom) override
    {
        CheckPoint(left, top);
        CheckPoint(right, bottom);
    }
    void TextOut(int x, int y, std::string_view text, Rgb) override
    {
        CheckPoint(x, y);
        CheckText(text);
    }

    static void CheckText(std::string_view text)
    {
        // Well-formed UTF-8 without control characters.
        std::size_t i = 0;
        while (i < text.size()) {
            const auto c = static_cast<unsigned char>(text[i]);
            Check(c >= 0x20 && c != 0x7F, "a control character in a chart text");
            const std::size_t length = c < 0x80 ? 1
                : (c >> 5) == 0x6               ? 2
                : (c >> 4) == 0xE               ? 3
                : (c >> 3) == 0x1E              ? 4
                                                : 0;
            Check(length != 0 && i + length <= text.size(), "a chart text that is not UTF-8");
            for (std::size_t k = 1; k < length; ++k)
                Check((static_cast<unsigned char>(text[i + k]) >> 6) == 0x2, "a chart text that is not UTF-8");
            i += length;
        }
    }

protected:
    void Line(Point from, Point to) override
    {
        CheckPoint(from.X, from.Y);
        CheckPoint(to.X, to.Y);
    }

private:
    void CheckPoint(long long x, long long y) const
    {
        Check(std::llabs(x) <= reach_ && std::llabs(y) <= reach_, "a chart coordinate beyond its reach");
    }

    long long reach_;
};

// A number label: "0.00"-like, or the words for values that are no numbers.
void CheckNumberText(const std::string& text)
{
    BoundedCanvas::CheckText(text);
    if (text == "NAN" || text == "INF" || text == "-INF")
        return;
    std::size_t i = text.starts_with('-') ? 1 : 0;
    std::size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i, ++digits;
    Check(digits > 0 && i < text.size() && text[i] == '.', "a number label without its digits and point");
    ++i;
    std::size_t decimals = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i, ++decimals;
    Check(i == text.size() && decimals >= 1 && decimals <= 2, "a number label with the wrong decimals");
}

// A hidden label (a chart without a usable scale) says nothing and stands nowhere.
void CheckLabel(const ChartLabel& label)
{
    if (!label.Visible) {
        BoundedCanvas::CheckText(label.Caption);
        return;
    }
    CheckNumberText(label.Caption);
    Check(std::llabs(label.Top) <= INT_MAX / 2 + 1000, "a label placed beyond any window");
}

bool SameBits(float a, float b)
{
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

// The table's text reads back, strictly, to its names and its numbers bit for bit; a
// value that is no number comes back as an empty cell.
void CheckCsv(const CsvTable& table)
{
    const std::string text = CsvText(table);
    const std::optional<CsvRecords> records = ReadStrictCsv(text);
    Check(records.has_value(), "a CSV the strict reader refuses");
    // LibreOffice's import splits at commas and tabs as well unless told otherwise.
    Check(ReadStrictCsv(text, nullptr, ",;\t") == records, "a CSV cut up by commas or tabs");
    Check(records->size() == table.RowNames.size() + 1, "a CSV with the wrong number of rows");
    for (std::size_t r = 0; r < table.RowNames.size(); ++r) {
        const std::vector<std::string>& record = (*records)[r + 1];
        const std::vector<float>& values = r < table.Values.size() ? table.Values[r] : std::vector<float> {};
        for (std::size_t c = 0; c < values.size(); ++c) {
            Check(c + 1 < record.size(), "a CSV row without its values");
            const std::string& field = record[c + 1];
            if (!std::isfinite(values[c])) {
                Check(field.empty(), "a value that is no number written as one");
                continue;
            }
            const std::optional<float> read = CsvNumber(field);
            Check(read && SameBits(*read, values[c]), "a CSV number that does not read back");
        }
    }
}

// What holds for any comparison: each side's rating is its plain walk's, every listed cell
// really differs and is the one its positions name, and the item rows account for every
// analysed item of both stores under its own name.
void CheckComparison(const CData& a, const CData& b, const AssessmentComparison& c)
{
    const float rm[2] = { RatingIndicator(AnalysedCopy(a).MM), RatingIndicator(AnalysedCopy(b).MM) };
    Check(SameBits(c.Rm.This, rm[0]) && SameBits(c.Rm.Other, rm[1]), "a compared Rm that is not the plain one");
    std::size_t listed = 0;
    for (int count : c.ChangedPerSource)
        listed += static_cast<std::size_t>(count);
    Check(listed == c.Changed.size(), "changed cells that do not add up");
    for (const ChangedJudgement& cell : c.Changed) {
        const SourceMatrixInfo& source = SourceMatrix(cell.Source);
        const float was = (a.*source.Member)(cell.ThisRow, cell.ThisColumn);
        const float is = (b.*source.Member)(cell.OtherRow, cell.OtherColumn);
        Check(SameBits(was, cell.This) && SameBits(is, cell.Other) && !SameBits(was, is),
            "a changed judgement that is not the stores' or did not change");
        Check(cell.Row == a.AnalysedName(source.Rows, cell.ThisRow)
                && cell.Row == b.AnalysedName(source.Rows, cell.OtherRow)
                && cell.Column == a.AnalysedName(source.Cols, cell.ThisColumn)
                && cell.Column == b.AnalysedName(source.Cols, cell.OtherColumn),
            "a changed judgement under the wrong names");
    }
    bool shared = false;
    for (const auto& [kind, items] :
        { std::pair { ItemKind::Mechanism, &c.Mechanisms }, std::pair { ItemKind::Layer, &c.Layers } }) {
        std::vector<int> thisRows(static_cast<std::size_t>(a.CountOf(kind)), 0);
        std::vector<int> otherRows(static_cast<std::size_t>(b.CountOf(kind)), 0);
        for (const ItemComparison& item : *items) {
            Check(item.ThisPosition || item.OtherPosition, "an item in neither store");
            if (item.ThisPosition) {
                Check(item.Name == a.AnalysedName(kind, *item.ThisPosition), "an item under another name");
                ++thisRows[static_cast<std::size_t>(*item.ThisPosition)];
            }
            if (item.OtherPosition) {
                Check(item.Name == b.AnalysedName(kind, *item.OtherPosition), "an item under another name");
                ++otherRows[static_cast<std::size_t>(*item.OtherPosition)];
            }
            shared = shared || (item.ThisPosition && item.OtherPosition);
        }
        Check(std::all_of(thisRows.begin(), thisRows.end(), [](int n) { return n >= 1; })
                && std::all_of(otherRows.begin(), otherRows.end(), [](int n) { return n == 1; }),
            "an analysed item missing from the comparison or listed twice");
    }
    Check(!(c.NoSharedItem && (shared || !c.Changed.empty())), "no shared item, yet something is shared");
}

bool HasNamesakes(const CData& d)
{
    for (ItemKind kind : kItemKinds)
        for (int p = 0; p < d.CountOf(kind); ++p)
            for (int q = p + 1; q < d.CountOf(kind); ++q)
                if (d.AnalysedName(kind, p) == d.AnalysedName(kind, q))
                    return true;
    return false;
}

// A small assessment whose names the seeds use too, so that the fuzzed files share some
// items with it and differ in others.
const CData& FixedOther()
{
    static const CData other = [] {
        CData d;
        d.CollectSelection({ { "Периметр", true }, { "Сеть", false }, { "Серверы", true } },
            { { "Вирус", true }, { "Несанкционированный доступ", true } },
            { { "Антивирус", true }, { "Межсетевой экран", true } });
        for (std::size_t s = 0; s < kSourceMatrices.size(); ++s) {
            const SourceMatrixInfo& source = kSourceMatrices[s];
            Matrix& m = d.*source.Member;
            m.Resize(d.CountOf(source.Rows), d.CountOf(source.Cols));
            for (int i = 0; i < m.Rows(); ++i)
                for (int j = 0; j < m.Cols(); ++j)
                    m(i, j) = static_cast<float>((3 * i + 5 * j + static_cast<int>(s)) % 9) / 8.0f * source.Maximum;
        }
        return d;
    }();
    return other;
}

// Within the ranking's promise of the straightforward value; one that is not finite must
// be the same kind of value.
bool AgreesWithReference(float got, float exact)
{
    if (std::isnan(exact) || std::isnan(got))
        return std::isnan(exact) && std::isnan(got);
    if (std::isinf(exact) || std::isinf(got))
        return got == exact;
    return std::fabs(static_cast<double>(got) - static_cast<double>(exact)) <= std::max(
               kSensitivityRelativeTolerance * std::fabs(static_cast<double>(exact)), kSensitivityAbsoluteTolerance);
}

// The whole ranking where it is small, else a few triples from a place the input picks;
// three of them against the straightforward evaluation (or the evaluator, which gives its
// bits, where that would be slow).
void CheckSensitivity(const CData& store, const std::uint8_t* data, std::size_t size)
{
    const SensitivityModel model(store);
    const std::size_t total = model.TripleCount();
    if (total == 0)
        return;
    std::vector<TripleSensitivity> checked;
    if (total <= 512) {
        SensitivityOptions options;
        options.Threads = 1;
        const SensitivityResult r = RankSensitivity(store, options);
        Check(!r.Stopped && r.Computed == total && r.Ranking.size() == total, "an incomplete sensitivity ranking");
        for (std::size_t i = 1; i < total; ++i)
            Check(!RanksBefore(r.Ranking[i], r.Ranking[i - 1], RatingKind::Rm), "a sensitivity ranking out of order");
        checked = { r.Ranking.front(), r.Ranking[total / 2], r.Ranking.back() };
    } else {
        const std::size_t first
            = (size >= 2 ? static_cast<std::size_t>(data[size - 1]) * 257 + data[size - 2] : size) * 7919 % total;
        checked.resize(std::min<std::size_t>(3, total - first));
        Check(model.Compute(first, first + checked.size(), checked) == checked.size(), "sensitivity triples left out");
    }
    const bool small = static_cast<long long>(model.Layers()) * model.Threats() * model.Mechanisms() <= 4096;
    for (const TripleSensitivity& t : checked) {
        const RatingEvaluator evaluator(store, t.Triple);
        for (RatingKind kind : { RatingKind::Rm, RatingKind::Re }) {
            const RatingExtent range
                = small ? RatingRange(store, kind, t.Triple, 1.0f, -10.0f, 10.0f) : evaluator.Range(kind, 1.0f);
            const float zero
                = small ? RatingAtShift(store, kind, t.Triple, 0.0f, 1.0f) : evaluator.At(kind, 0.0f, 1.0f);
            const RatingSwing& s = t.Of(kind);
            Check(AgreesWithReference(s.Min, range.Smallest) && AgreesWithReference(s.Max, range.Largest)
                    && AgreesWithReference(s.AtZero, zero),
                "a sensitivity range that is not RatingRange's");
        }
    }
}

// The workbook is written (nothing in an accepted file may make the library refuse it) and
// every part of it is well-formed XML.
void CheckWorkbook(const CData& store, const ReportRequest& request)
{
    const std::optional<std::string> bytes = AssessmentWorkbook(store, request, { 2026, 1, 1 });
    Check(bytes.has_value(), "a workbook not written");
    std::map<std::string, std::string> parts;
    try {
        parts = xlsx::Unzip(*bytes);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        Check(false, "a workbook that does not unzip");
    }
    Check(!parts.empty(), "a workbook without parts");
    for (const auto& [name, xml] : parts) {
        std::string error;
        if (!IsWellFormedXml(xml, &error)) {
            std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
            Check(false, "a workbook part that is not well-formed XML");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CData store;
    CountingSink messages;
    if (!ReadDataText(bytes, store, messages))
        return 0;
    // The file's own sources: counts and shapes agree, the reader made sure.
    const std::array<GraphWorkingData, 4> works = ComputeAllModes(store);
    CellSelection all {};
    for (auto& row : all)
        row.fill(true);
    // The distribution chart clamps every height well inside a million pixels.
    constexpr long long kChartReach = 4'000'000;
    for (AnalysisMode mode : kAnalysisModes) {
        const GraphWorkingData& work = works[ModeIndex(mode)];
        const CData::ThresholdPair& thresholds = store.ThresholdsOf(mode);
        BoundedCanvas canvas(kChartReach);
        DrawChart(canvas, work.ResultMatrix, work.ColumnDistribution, work.RowDistribution, thresholds.Small,
            thresholds.Medium, all);
        for (std::size_t k = 0; k < 2; ++k)
            CheckCsv(SourceTable(store, mode, static_cast<int>(k), work.SourceMatrices[k]));
        CheckCsv(ResultTable(store, work));
    }

    ComputeDamageMatrices(store);
    // The diagonal chart's scale marks are not clamped: a tiny largest element puts them
    // far above the chart, but within half the range of a coordinate.
    constexpr long long kPixelReach = INT_MAX / 2 + 1000LL;
    for (const Matrix* square : { &store.MM, &store.EE }) {
        BoundedCanvas canvas(kPixelReach);
        const DiagonalChartLabels labels = DrawDiagonalChart(canvas, *square);
        CheckNumberText(labels.Indicator);
        CheckNumberText(labels.Maximum);
        for (const ChartLabel& scale : labels.Scale)
            BoundedCanvas::CheckText(scale.Caption);
    }
    CheckCsv(DamageTable(store, ItemKind::Mechanism, store.MM));
    CheckCsv(DamageTable(store, ItemKind::Layer, store.EE));
    CheckSensitivity(store, data, size);

    // Against itself nothing differs, unless namesakes pair across positions as the
    // re-mapping pairs them; and against a fixed other store.
    const AssessmentComparison self = CompareAssessments(store, store);
    CheckComparison(store, store, self);
    Check(SameBits(self.Rm.This, RatingIndicator(store.MM)) && SameBits(self.Re.This, RatingIndicator(store.EE)),
        "a compared rating that is not the walk's");
    if (!HasNamesakes(store)) {
        Check(self.Changed.empty(), "a changed judgement between a store and itself");
        for (const std::vector<ItemComparison>* items : { &self.Mechanisms, &self.Layers })
            for (const ItemComparison& item : *items)
                Check(
                    item.ThisPosition == item.OtherPosition && (!std::isfinite(*item.This) || *item.Difference == 0.0f),
                    "an item that differs from itself");
        Check(!std::isfinite(self.Rm.This) || self.Rm.Difference == 0.0f, "an Rm that differs from itself");
        Check(!std::isfinite(self.Re.This) || self.Re.Difference == 0.0f, "an Re that differs from itself");
    }
    CheckComparison(store, FixedOther(), CompareAssessments(store, FixedOther()));
    CheckComparison(FixedOther(), store, CompareAssessments(FixedOther(), store));

    // A file may be called anything its system allows: here the input's last bytes.
    ReportRequest request;
    request.FileName = std::string(bytes.substr(size - std::min<std::size_t>(size, 16)));

    // The selection and levels from the input's last bytes (after the last matrix the
    // reader ignores whatever comes).
    if (store.LayerCount > 0 && store.ThreatCount > 0 && store.MechanismCount > 0 && size >= 4) {
        const RatingSelection selection { data[size - 1] % store.LayerCount, data[size - 2] % store.ThreatCount,
            data[size - 3] % store.MechanismCount };
        const float high = 1.0f + static_cast<float>(data[size - 4] % 41) / 10.0f;
        const float low = static_cast<float>(data[size - 4] % 11) / 10.0f;
        // Ticks are not clipped by the rating chart: they may lie far above it, but within
        // half the range of a coordinate, so that the surface's own arithmetic stays exact.
        BoundedCanvas canvas(kPixelReach);
        const RatingChartsLabels labels = DrawRatingCharts(canvas, store, selection, high, low);
        for (const RatingChartLabels* chart : { &labels.Rm, &labels.Re }) {
            CheckNumberText(chart->Axis.Minimum);
            for (const ChartLabel& tick : chart->Axis.Ticks)
                CheckLabel(tick);
            if (chart->Current)
                CheckLabel(*chart->Current);
        }
        CheckCsv(CurveTable(store, selection, high, low));
        request.Rating = selection;
        request.High = high;
        request.Low = low;
    }
    CheckWorkbook(store, request);
    return 0;
}
