// The report's sections, from a copy of the assessment on which the whole walk is computed
// as the windows compute it. The charts are the windows' own drawings, cut to the part of
// the window that shows them, with the window's labels written beside them.
#include "ui/export/ReportContent.h"
#include "ui/widgets/ChartView.h"

#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "analysis/Format.h"
#include "analysis/Modes.h"
#include "analysis/Rating.h"
#include "model/Data.h"
#include "model/Texts.h"
#include "ui/charts/GraphChart.h"
#include "ui/charts/MMEEChart.h"
#include "ui/charts/RatingChart.h"
#include "ui/export/ReportRequest.h"
#include "ui/widgets/LabelRoom.h"
#include "ui/widgets/VectorCanvas.h"
#include "ui/widgets/WindowFont.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <array>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// The assessment with every result, shared by the charts' drawings.
struct Computed {
    CData Data;
    std::array<GraphWorkingData, 4> Works;
};

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

// A name, or the file's, as the report prints it. A tab or another control character has
// no glyph and cut the name short in the PDF ("тест" for "тест<tab>таб"): it prints as a
// blank.
QString NameText(const std::string& name)
{
    QString text = QString::fromStdString(name);
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    return text;
}

QString Number(double value)
{
    return Text(FormatFixed(value, 2));
}

QString DateText(QDate date)
{
    const QChar zero(u'0');
    return QStringLiteral("%1.%2.%3")
        .arg(date.day(), 2, 10, zero)
        .arg(date.month(), 2, 10, zero)
        .arg(date.year(), 4, 10, zero);
}

// How the kinds are named in captions and in the corner of a table.
struct KindWords {
    const char* Plural;
    const char* Short;
    const char* One;
};

KindWords WordsOf(ItemKind kind)
{
    switch (kind) {
    case ItemKind::Layer:
        return { QT_TRANSLATE_NOOP("ReportContent", "Эшелоны"), QT_TRANSLATE_NOOP("ReportContent", "эшелоны"),
            QT_TRANSLATE_NOOP("ReportContent", "Эшелон") };
    case ItemKind::Threat:
        return { QT_TRANSLATE_NOOP("ReportContent", "Угрозы"), QT_TRANSLATE_NOOP("ReportContent", "угрозы"),
            QT_TRANSLATE_NOOP("ReportContent", "Угроза") };
    case ItemKind::Mechanism:
        break;
    }
    return { QT_TRANSLATE_NOOP("ReportContent", "Механизмы защиты"), QT_TRANSLATE_NOOP("ReportContent", "МЗ"),
        QT_TRANSLATE_NOOP("ReportContent", "Механизм защиты") };
}

QString Words(const char* source)
{
    return QCoreApplication::translate("ReportContent", source);
}

QString ModeCaption(const char* source)
{
    return QString::fromStdString(ModeText(source));
}

// The k-th analysed name, or its number where a matrix is larger than the lists.
QString NameOf(const CData& data, ItemKind kind, int k)
{
    if (k >= 0 && static_cast<std::size_t>(k) < data.IndicesOf(kind).size())
        return NameText(data.AnalysedName(kind, k));
    return QStringLiteral("№ %1").arg(k + 1);
}

QString Corner(ItemKind rows, ItemKind columns)
{
    return Words(WordsOf(rows).Short) + QStringLiteral(" \\ ") + Words(WordsOf(columns).Short);
}

ReportTable MatrixTable(const CData& data, const Matrix& matrix, ItemKind rows, ItemKind columns, CellEmphasis emphasis)
{
    ReportTable table;
    table.Corner = Corner(rows, columns);
    table.Emphasis = emphasis;
    for (int j = 0; j < matrix.Cols(); ++j)
        table.ColumnHeads.push_back(NameOf(data, columns, j));
    table.Rows.reserve(static_cast<std::size_t>(matrix.Rows()));
    for (int i = 0; i < matrix.Rows(); ++i) {
        ReportTableRow row { NameOf(data, rows, i), {} };
        row.Cells.reserve(matrix.Cols());
        for (int j = 0; j < matrix.Cols(); ++j)
            row.Cells.push_back(Number(matrix(i, j)));
        table.Rows.push_back(std::move(row));
    }
    return table;
}

// The result as its window's grid shows it: the distribution over the rows first, the
// one over the columns in the last row.
ReportTable ResultTable(const CData& data, const GraphWorkingData& work)
{
    const ModeDescription& about = Describe(work.Mode);
    const ResultGrid grid = ResultGridTexts(work);
    ReportTable table;
    table.Corner = Corner(about.ResultRows, about.ResultCols);
    table.Emphasis = CellEmphasis::FirstColumnAndLastRow;
    table.ColumnHeads.push_back(
        QCoreApplication::translate("ReportContent", "Распределение Xi %1").arg(ModeCaption(about.RowsTitle)));
    for (int j = 1; j < grid.ColumnCount; ++j)
        table.ColumnHeads.push_back(NameOf(data, about.ResultCols, j - 1));
    for (int i = 0; i < grid.RowCount; ++i) {
        const bool distribution = i == grid.RowCount - 1;
        ReportTableRow row { distribution ? ModeCaption(about.ColumnsTitle) : NameOf(data, about.ResultRows, i), {} };
        for (int j = 0; j < grid.ColumnCount; ++j)
            row.Cells.push_back(Text(grid.At(j, i)));
        table.Rows.push_back(std::move(row));
    }
    return table;
}

// A chart drawn through a window's canvas sees only the part of the window the report
// shows: what lies wholly outside never reaches the file (a 100-item result would
// otherwise write hundreds of bars far off the page).
class CroppedCanvas : public Canvas {
public:
    CroppedCanvas(Canvas& target, const QRect& area)
        : target_(target)
        , area_(area)
    {
    }

    void Rectangle(int left, int top, int right, int bottom) override
    {
        if (Meets(left, top, right, bottom)) {
            Follow();
            target_.Rectangle(left, top, right, bottom);
        }
    }
    void Ellipse(int left, int top, int right, int bottom) override
    {
        if (Meets(left, top, right, bottom)) {
            Follow();
            target_.Ellipse(left, top, right, bottom);
        }
    }
    void TextOut(int x, int y, std::string_view text, Rgb background) override
    {
        // No label of the windows is longer or taller than this.
        constexpr int kTextReach = 300;
        if (Meets(x, y, x + kTextReach, y + kTextReach / 10))
            target_.TextOut(x, y, text, background);
    }

protected:
    void Line(Point from, Point to) override
    {
        if (Meets(from.X, from.Y, to.X, to.Y)) {
            Follow();
            target_.MoveTo(from.X, from.Y);
            target_.LineTo(to.X, to.Y);
        }
    }

private:
    bool Meets(int x1, int y1, int x2, int y2) const
    {
        return std::max(x1, x2) >= area_.left() && std::min(x1, x2) <= area_.right() + 1
            && std::max(y1, y2) >= area_.top() && std::min(y1, y2) <= area_.bottom() + 1;
    }
    void Follow()
    {
        target_.Select(CurrentPen());
        target_.Select(CurrentBrush());
    }

    Canvas& target_;
    QRect area_;
};

// Charts as wide as the page allows.
constexpr double kPageWide = std::numeric_limits<double>::infinity();
// The MM and EE charts are small: at full width their labels would be larger than the text.
constexpr double kDiagonalChartWidth = 340.0;

// The mode window: its chart, the axis letters and wall titles beside it, and the band
// key below, in the window's coordinates.
constexpr QRect kModeChartArea { 150, 0, 641, 560 };

struct KeyEntry {
    int X;
    Rgb Colour;
    const char* Caption;
};

constexpr int kBandKeyTop = 540;
constexpr KeyEntry kBandKey[] = {
    { 200, kSmallBandColour, QT_TRANSLATE_NOOP("ReportContent", "ниже малого порога") },
    { 370, kMediumBandColour, QT_TRANSLATE_NOOP("ReportContent", "между порогами") },
    { 510, kLargeBandColour, QT_TRANSLATE_NOOP("ReportContent", "выше среднего порога") },
};

// The MM and EE window's group box: the chart and its labels, right of the grid.
constexpr QRect kDiagonalChartArea { 262, 20, 384, 189 };

// The rating window's chart area, from the axis titles to the legend.
constexpr QRect kRatingChartArea { 0, 236, 646, 204 };
// The circle of the current frequency in the legend, as the window's picture shows it.
constexpr QSize kMarkerSize { 13, 14 };

void Label(Canvas& canvas, int x, int y, const std::string& caption)
{
    canvas.TextOut(x, y, caption, kWhite);
}

// What a label written at (x, y) covers: the box the canvas fills behind its text.
QRect TextBox(const QFontMetrics& metrics, int x, int y, const std::string& caption)
{
    return QRect(x, y, metrics.horizontalAdvance(Text(caption)), metrics.height());
}

// A text of the charts, as the windows show it.
std::string ChartText(const char* source)
{
    return QCoreApplication::translate("Charts", source).toStdString();
}

void Label(Canvas& canvas, const FixedLabel& label)
{
    Label(canvas, label.At.X, label.At.Y, ChartText(label.Caption));
}

void Swatch(Canvas& canvas, const QRect& box, Rgb colour)
{
    PenScope pen(canvas, Pen { PenStyle::Solid, colour, 1 });
    BrushScope brush(canvas, Brush { colour });
    canvas.Rectangle(box.left(), box.top(), box.left() + box.width(), box.top() + box.height());
}

// The painter's font is the windows' one, in which the charts write their numbers.
template <typename Draw> void DrawCropped(QPainter& painter, const QRect& area, Draw draw)
{
    painter.setFont(WindowFont());
    VectorCanvas vector(painter);
    CroppedCanvas canvas(vector, area);
    draw(static_cast<Canvas&>(canvas));
}

ReportChart ModeChart(const std::shared_ptr<const Computed>& computed, AnalysisMode mode)
{
    ReportChart chart;
    chart.Source = QRectF(kModeChartArea);
    chart.Width = kPageWide;
    chart.Paint = [computed, mode](QPainter& painter) {
        DrawCropped(painter, kModeChartArea, [&](Canvas& canvas) {
            const GraphWorkingData& work = computed->Works[ModeIndex(mode)];
            const CData::ThresholdPair& thresholds = computed->Data.ThresholdsOf(mode);
            CellSelection every {};
            for (auto& row : every)
                row.fill(true);
            DrawChart(canvas, work.ResultMatrix, work.ColumnDistribution, work.RowDistribution, thresholds.Small,
                thresholds.Medium, every);

            const ModeDescription& about = Describe(mode);
            for (const FixedLabel& label : kChartAxisLabels)
                Label(canvas, label);
            Label(canvas, kColumnsTitlePlace.X, kColumnsTitlePlace.Y, ModeText(about.ColumnsTitle));
            Label(canvas, kRowsTitlePlace.X, kRowsTitlePlace.Y, ModeText(about.RowsTitle));
            for (int k = 0; k < kChartCells; ++k) {
                Label(canvas, kColumnNumberLabels[k]);
                Label(canvas, kRowNumberLabels[k]);
            }
            for (const KeyEntry& key : kBandKey) {
                Swatch(canvas, QRect(key.X, kBandKeyTop + 2, 10, 10), key.Colour);
                Label(canvas, key.X + 16, kBandKeyTop, Words(key.Caption).toStdString());
            }
        });
    };
    return chart;
}

ReportChart DiagonalChart(const std::shared_ptr<const Computed>& computed, const DiagonalBox& layout)
{
    ReportChart chart;
    chart.Source = QRectF(kDiagonalChartArea);
    chart.Width = kDiagonalChartWidth;
    chart.Paint = [computed, &layout](QPainter& painter) {
        DrawCropped(painter, kDiagonalChartArea, [&](Canvas& canvas) {
            const DiagonalChartLabels labels = DrawDiagonalChart(canvas, computed->Data.*layout.Source);
            const QFontMetrics metrics = painter.fontMetrics();
            // The labels that stand where they are whatever the chart shows, as the window's
            // fixed controls do, and the room each takes from the scale's numbers.
            std::vector<QRect> fixed;
            const auto fixedLabel = [&](int x, int y, const std::string& caption) {
                Label(canvas, x, y, caption);
                fixed.push_back(TextBox(metrics, x, y, caption));
            };
            fixedLabel(kDiagonalMaximumPlace.X, kDiagonalMaximumPlace.Y, labels.Maximum);
            fixedLabel(layout.Zero.X, layout.Zero.Y, "0");
            for (int k = 0; k < static_cast<int>(std::size(kDiagonalBarNumberLefts)); ++k)
                fixedLabel(kDiagonalBarNumberLefts[k], kDiagonalBarNumberTop, std::to_string(k + 1));
            const int bars = (computed->Data.*layout.Source).Rows();
            for (int k = 0; k < static_cast<int>(std::size(kDiagonalLaterBarNumberLefts)) && 10 + k < bars; ++k)
                fixedLabel(kDiagonalLaterBarNumberLefts[k], kDiagonalBarNumberTop, std::to_string(11 + k));
            fixedLabel(kDiagonalKindPlace.X, kDiagonalKindPlace.Y, ChartText(layout.KindCaption));
            // As in the window: with a tall bar the marks crowd at the axis, where their
            // numbers would pile onto each other and onto the "0", and a mark above the
            // printed part would be cut. Such a number is left out; the highest goes first.
            LabelRoom room(kDiagonalChartArea, std::move(fixed));
            for (std::size_t p = labels.Scale.size(); p-- > 0;) {
                const ChartLabel& scale = labels.Scale[p];
                if (scale.Visible && room.Take(TextBox(metrics, kDiagonalScaleLeft, scale.Top, scale.Caption)))
                    Label(canvas, kDiagonalScaleLeft, scale.Top, scale.Caption);
            }
        });
    };
    return chart;
}

void RatingValueLabels(Canvas& canvas, const RatingChartLabels& labels, const RatingValuePlaces& places)
{
    Label(canvas, places.Minimum.At.X, places.Minimum.At.Y, labels.Axis.Minimum);
    for (std::size_t u = 0; u < labels.Axis.Ticks.size(); ++u)
        if (labels.Axis.Ticks[u].Visible)
            Label(canvas, places.Ticks[u].At.X, labels.Axis.Ticks[u].Top, labels.Axis.Ticks[u].Caption);
    if (labels.Current && labels.Current->Visible)
        Label(canvas, places.Current.At.X, labels.Current->Top, labels.Current->Caption);
}

ReportChart RatingChart(const std::shared_ptr<const Computed>& computed, const ReportRequest& request)
{
    ReportChart chart;
    chart.Source = QRectF(kRatingChartArea);
    chart.Width = kPageWide;
    chart.Paint = [computed, selection = *request.Rating, high = request.High, low = request.Low](QPainter& painter) {
        DrawCropped(painter, kRatingChartArea, [&](Canvas& canvas) {
            const RatingChartsLabels labels = DrawRatingCharts(canvas, computed->Data, selection, high, low);
            for (const FixedLabel& title : kRatingAxisTitles)
                Label(canvas, title);
            for (const RatingLegendEntry& entry : kRatingLegend) {
                Swatch(
                    canvas, QRect(entry.Swatch.X, entry.Swatch.Y, kLegendSwatchSize, kLegendSwatchSize), entry.Colour);
                Label(canvas, entry.Label);
            }
            canvas.Ellipse(kMarkerPlace.X, kMarkerPlace.Y, kMarkerPlace.X + kMarkerSize.width(),
                kMarkerPlace.Y + kMarkerSize.height());
            Label(canvas, kMarkerLabel);
            RatingValueLabels(canvas, labels.Rm, kRmValuePlaces);
            RatingValueLabels(canvas, labels.Re, kReValuePlaces);
        });
    };
    return chart;
}

bool SelectionFits(const CData& data, const RatingSelection& selection)
{
    const auto fits
        = [&data](ItemKind kind, int k) { return k >= 0 && static_cast<std::size_t>(k) < data.IndicesOf(kind).size(); };
    return fits(ItemKind::Layer, selection.Layer) && fits(ItemKind::Threat, selection.Threat)
        && fits(ItemKind::Mechanism, selection.Mechanism);
}

class Builder {
    Q_DECLARE_TR_FUNCTIONS(ReportContent)

public:
    Builder(const CData& assessment, const ReportRequest& request, QDate date)
        : request_(request)
        , date_(date)
    {
        auto computed = std::make_shared<Computed>();
        computed->Data = assessment;
        computed->Works = ComputeAllModes(computed->Data);
        ComputeDamageMatrices(computed->Data);
        computed_ = std::move(computed);
    }

    // Section by section, each numbered as its heading is; nothing when stopped.
    std::optional<std::vector<ReportBlock>> Build(const SectionProgress& progress)
    {
        const bool rating = request_.Rating && SelectionFits(Data(), *request_.Rating);
        // The analyses' sections follow the walk's, numbered on.
        const int walk = rating ? 7 : 6;
        const int count = walk + static_cast<int>(request_.Sections.size());
        int done = 0;
        const auto told = [&] { return !progress || progress(done, count); };
        const auto finished = [&] {
            ++done;
            return told();
        };

        if (!told())
            return std::nullopt;
        TitleSection();
        ListsSection();
        if (!finished())
            return std::nullopt;
        for (AnalysisMode mode : kAnalysisModes) {
            ModeSection(mode);
            if (!finished())
                return std::nullopt;
        }
        DamageSection();
        if (!finished())
            return std::nullopt;
        if (rating) {
            RatingSection();
            if (!finished())
                return std::nullopt;
        }
        for (std::size_t k = 0; k < request_.Sections.size(); ++k) {
            const ReportSectionInput input { Data(), walk + 1 + static_cast<int>(k), told };
            ReportBlocks blocks { blocks_ };
            if (!request_.Sections[k](input, blocks) || !finished())
                return std::nullopt;
        }
        return std::move(blocks_);
    }

private:
    const CData& Data() const { return computed_->Data; }

    void Add(TextStyle style, const QString& text, bool keepWithNext = false)
    {
        blocks_.emplace_back(std::in_place_type<ReportText>, style, text, keepWithNext);
    }

    void TitleSection()
    {
        Add(TextStyle::Title, tr("Отчёт об оценке защищённости"));
        const QString file = request_.FileName.empty() ? tr("без имени") : NameText(request_.FileName);
        Add(TextStyle::Body,
            tr("Файл данных: %1\nДата: %2\nАнализируются эшелонов: %3, угроз: %4, механизмов защиты: %5.")
                .arg(file, DateText(date_))
                .arg(Data().LayerCount)
                .arg(Data().ThreatCount)
                .arg(Data().MechanismCount));
    }

    void ListsSection()
    {
        Add(TextStyle::Heading, tr("1. Эшелоны, угрозы и механизмы защиты"));
        Add(TextStyle::Note, tr("[x] — элемент участвует в анализе, [ ] — не участвует."));
        for (ItemKind kind : kItemKinds) {
            const std::vector<std::string>& names = Data().NamesOf(kind);
            std::set<int> analysed;
            for (const std::string& entry : Data().IndicesOf(kind))
                analysed.insert(IndexValue(entry));
            Add(TextStyle::Subheading,
                tr("%1: в анализе %2 из %3").arg(Words(WordsOf(kind).Plural)).arg(analysed.size()).arg(names.size()));
            QStringList lines;
            for (std::size_t k = 0; k < names.size(); ++k)
                lines.push_back((analysed.count(static_cast<int>(k)) ? QStringLiteral("[x] ") : QStringLiteral("[ ] "))
                    + NameText(names[k]));
            if (lines.isEmpty())
                lines.push_back(tr("(список пуст)"));
            Add(TextStyle::Body, lines.join(QLatin1Char('\n')));
        }
    }

    // Mode 4 has no captions of its own for its sources: they are the results of 2 and 3.
    static QString SourceCaption(const ModeDescription& about, std::size_t k)
    {
        const SourceDescription& source = about.Sources[k];
        if (*source.Caption) {
            QString caption = ModeCaption(source.Caption);
            if (caption.endsWith(QLatin1Char(':')))
                caption.chop(1);
            return caption;
        }
        for (AnalysisMode mode : kAnalysisModes)
            if (Describe(mode).Result == source.Member)
                return tr("%1 (результат режима %2)")
                    .arg(ModeCaption(Describe(mode).ResultCaption))
                    .arg(ModeNumber(mode));
        return QString();
    }

    void ModeSection(AnalysisMode mode)
    {
        const ModeDescription& about = Describe(mode);
        const GraphWorkingData& work = computed_->Works[ModeIndex(mode)];
        Add(TextStyle::Heading,
            tr("%1. Режим %2: %3")
                .arg(ModeNumber(mode) + 1)
                .arg(ModeNumber(mode))
                .arg(ModeCaption(about.ResultCaption)));
        for (std::size_t k = 0; k < about.Sources.size(); ++k) {
            Add(TextStyle::Subheading, SourceCaption(about, k));
            blocks_.push_back(MatrixTable(
                Data(), work.SourceMatrices[k], about.Sources[k].Rows, about.Sources[k].Cols, CellEmphasis::None));
        }
        Add(TextStyle::Subheading, tr("Результат: %1").arg(ModeCaption(about.ResultCaption)));
        const CData::ThresholdPair& thresholds = Data().ThresholdsOf(mode);
        Add(TextStyle::Body,
            tr("Пороговое значение для малой величины: %1\nПороговое значение для средней величины: %2")
                .arg(Number(thresholds.Small), Number(thresholds.Medium)),
            true);
        blocks_.push_back(ResultTable(Data(), work));

        Add(TextStyle::Subheading, tr("График распределения"));
        blocks_.push_back(ModeChart(computed_, mode));
        if (work.ResultMatrix.Rows() > kChartCells || work.ResultMatrix.Cols() > kChartCells)
            Add(TextStyle::Note,
                tr("На графике показаны только первые %1 строк и %1 столбцов результата.").arg(kChartCells));
    }

    void DamageSection()
    {
        Add(TextStyle::Heading, tr("6. Матрицы достоверного потенциального ущерба MM и EE"));
        for (const DiagonalBox& layout : kDiagonalBoxes) {
            const Matrix& matrix = Data().*layout.Source;
            Add(TextStyle::Subheading, QString::fromStdString(ChartText(layout.Caption)));
            blocks_.push_back(MatrixTable(Data(), matrix, layout.Kind, layout.Kind, CellEmphasis::Diagonal));
            Add(TextStyle::Body,
                QString::fromStdString(ChartText(layout.IndicatorCaption)) + QLatin1Char(' ')
                    + Number(RatingIndicator(matrix)),
                true);
            blocks_.push_back(DiagonalChart(computed_, layout));
            if (matrix.Rows() > kDiagonalVisibleBars)
                Add(TextStyle::Note,
                    tr("На графике показаны только первые %1 элементов диагонали.").arg(kDiagonalVisibleBars));
        }
    }

    void RatingSection()
    {
        const RatingSelection& selection = *request_.Rating;
        Add(TextStyle::Heading, tr("7. Рейтинговые показатели в зависимости от ЧАУ"));
        const std::pair<ItemKind, int> chosen[] = { { ItemKind::Layer, selection.Layer },
            { ItemKind::Threat, selection.Threat }, { ItemKind::Mechanism, selection.Mechanism } };
        QStringList lines;
        for (const auto& [kind, k] : chosen)
            lines.push_back(Words(WordsOf(kind).One) + QStringLiteral(": ") + NameOf(Data(), kind, k));
        lines.push_back(tr("Высокий уровень потенциального ущерба: %1").arg(Number(request_.High)));
        lines.push_back(tr("Низкий уровень потенциального ущерба: %1").arg(Number(request_.Low)));
        Add(TextStyle::Body, lines.join(QLatin1Char('\n')), true);
        blocks_.push_back(RatingChart(computed_, request_));
    }

    const ReportRequest& request_;
    QDate date_;
    std::shared_ptr<const Computed> computed_;
    std::vector<ReportBlock> blocks_;
};

} // namespace

std::vector<ReportBlock> AssessmentReportBlocks(const CData& assessment, const ReportRequest& request, QDate date)
{
    return *Builder(assessment, request, date).Build({});
}

std::optional<std::vector<ReportBlock>> AssessmentReportBlocks(
    const CData& assessment, const ReportRequest& request, QDate date, const SectionProgress& progress)
{
    return Builder(assessment, request, date).Build(progress);
}

QString ReportNameOf(const CData& data, ItemKind kind, int k)
{
    return NameOf(data, kind, k);
}

QString ReportNumber(double value)
{
    return Number(value);
}

ReportChart WindowChartBlock(const QRect& area, std::function<void(Canvas&)> draw)
{
    ReportChart chart;
    chart.Source = QRectF(area);
    chart.Width = kPageWide;
    chart.Paint = [area, draw = std::move(draw)](QPainter& painter) { DrawCropped(painter, area, draw); };
    return chart;
}
