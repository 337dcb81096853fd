// Everything after a data file is accepted: modes 1 to 4 with the file's thresholds, MM
// and EE with Rm and Re, the rating curves of a selection taken from the input's last
// bytes, every chart drawn, every table written as CSV. Besides crashes and sanitizer
// reports it checks that every coordinate a chart hands to the surface stays within its
// reach (so no later offset can overflow), that every label is well-formed text, and that
// every CSV reads back, strictly, to its names and numbers.
#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "analysis/ExportTables.h"
#include "analysis/Modes.h"
#include "analysis/Rating.h"
#include "fuzz/FuzzSupport.h"
#include "model/Csv.h"
#include "model/Data.h"
#include "model/DataText.h"
#include "tests/core/support/StrictCsv.h"
#include "ui/charts/Canvas.h"
#include "ui/charts/GraphChart.h"
#include "ui/charts/MMEEChart.h"
#include "ui/charts/RatingChart.h"

#include <bit>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

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

    // The selection and levels from the input's last bytes (after the last matrix the
    // reader ignores whatever comes).
    if (store.LayerCount == 0 || store.ThreatCount == 0 || store.MechanismCount == 0 || size < 4)
        return 0;
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
    return 0;
}
