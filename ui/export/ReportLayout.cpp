// Page layout of the printed report: blocks flow down the sheets; headings stay with what
// follows; tables split by columns and by rows.
#include "ui/export/ReportLayout.h"
#include "ui/widgets/WindowFont.h"

#include <QColor>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QPen>
#include <QRawFont>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kFamily = "Liberation Sans";

struct StyleDescription {
    int Size;
    bool Bold;
    bool Italic;
    double SpaceBefore; // dropped at the top of a page
    double SpaceAfter;
    bool KeepWithNext;
};

StyleDescription Describe(TextStyle style)
{
    switch (style) {
    case TextStyle::Title:
        return { 18, true, false, 0.0, 8.0, true };
    case TextStyle::Heading:
        return { 13, true, false, 14.0, 5.0, true };
    case TextStyle::Subheading:
        return { 10, true, false, 8.0, 3.0, true };
    case TextStyle::Body:
        return { 9, false, false, 0.0, 2.0, false };
    case TextStyle::Note:
        break;
    }
    return { 8, false, true, 0.0, 2.0, false };
}

constexpr int kTableSize = 8;
constexpr double kCellPadX = 3.0;
constexpr double kCellPadY = 1.5;
constexpr double kMinColumnWidth = 30.0;
constexpr double kMaxColumnWidth = 110.0;
constexpr double kMinNameWidth = 50.0;
constexpr double kMaxNameWidth = 150.0;
constexpr double kTableSpaceBefore = 2.0;
constexpr double kTableSpaceAfter = 6.0;
// Between two column blocks of one table.
constexpr double kColumnBlockGap = 8.0;
// Fewer rows than this are not left alone at the foot of a page.
constexpr int kLeadingRows = 3;
constexpr double kChartSpaceBefore = 4.0;
constexpr double kChartSpaceAfter = 6.0;

const QColor kHeaderFill { 232, 232, 232 };
const QColor kRuleColour { 150, 150, 150 };
constexpr double kRuleWidth = 0.4;
const QColor kEmphasisColour { 0, 0, 255 };

QFont MakeFont(int size, bool bold, bool italic)
{
    LoadBundledFonts();
    QFont font(QString::fromLatin1(kFamily));
    font.setPixelSize(size);
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    font.setItalic(italic);
    // Unhinted advances without kerning: a text is as wide as its characters' advances,
    // at every scale, so widths are summed from a table and text is set glyph by glyph.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

// Characters whose advances simply add up: Latin, Greek and Cyrillic without combining
// marks. Anything else is measured by shaping the whole text.
bool Simple(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x0590 && !(u >= 0x0300 && u < 0x0370) && !(u >= 0x0483 && u < 0x048A);
}

// Text widths in one font, from a table of character advances: the report measures tens
// of thousands of cells, and shaping each would take most of the time.
class TextWidths {
public:
    explicit TextWidths(const QFont& font)
        : metrics_(font)
    {
    }

    double Of(const QString& text) const
    {
        double width = 0.0;
        for (QChar c : text) {
            if (!Simple(c))
                return metrics_.horizontalAdvance(text);
            auto found = advances_.constFind(c.unicode());
            if (found == advances_.cend())
                found = advances_.insert(c.unicode(), metrics_.horizontalAdvance(c));
            width += *found;
        }
        return width;
    }
    double Height() const { return metrics_.height(); }
    double Ascent() const { return metrics_.ascent(); }

private:
    QFontMetricsF metrics_;
    mutable QHash<char16_t, double> advances_;
};

// Texts of one colour gathered glyph by glyph and drawn as one run: the cells of a table
// on a page are one text object in the file instead of one each. A text the font has no
// glyph for, or that needs shaping, is drawn on its own through the font's fallback.
class GlyphLine {
public:
    GlyphLine(QPainter& painter, const QRawFont& font, const QFont& fallback)
        : painter_(painter)
        , font_(font)
        , fallback_(fallback)
    {
    }

    void Add(const QString& text, QPointF baseline)
    {
        const QList<quint32> glyphs = font_.glyphIndexesForString(text);
        const bool simple = std::all_of(text.begin(), text.end(), Simple);
        if (!simple || glyphs.size() != text.size() || glyphs.contains(0)) {
            late_.push_back({ text, baseline });
            return;
        }
        const QList<QPointF> advances = font_.advancesForGlyphIndexes(glyphs);
        for (qsizetype k = 0; k < glyphs.size(); ++k) {
            glyphs_.push_back(glyphs[k]);
            positions_.push_back(baseline);
            baseline.rx() += advances[k].x();
        }
    }

    void Draw(const QColor& colour)
    {
        painter_.setPen(colour);
        if (!glyphs_.isEmpty()) {
            QGlyphRun run;
            run.setRawFont(font_);
            run.setGlyphIndexes(glyphs_);
            run.setPositions(positions_);
            painter_.drawGlyphRun(QPointF(0, 0), run);
        }
        if (!late_.empty()) {
            painter_.setFont(fallback_);
            for (const auto& [text, at] : late_)
                painter_.drawText(at, text);
        }
        glyphs_.clear();
        positions_.clear();
        late_.clear();
    }

private:
    QPainter& painter_;
    const QRawFont& font_;
    QFont fallback_;
    QList<quint32> glyphs_;
    QList<QPointF> positions_;
    std::vector<std::pair<QString, QPointF>> late_;
};

// Greedy wrapping at blanks; a word wider than the line is cut between characters.
QStringList Wrap(const QString& text, const TextWidths& widths, double width)
{
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        for (QString word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString joined = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (widths.Of(joined) <= width) {
                line = joined;
                continue;
            }
            if (!line.isEmpty())
                lines.push_back(line);
            line.clear();
            while (widths.Of(word) > width && word.size() > 1) {
                qsizetype fits = 1;
                while (fits < word.size() && widths.Of(word.left(fits + 1)) <= width)
                    ++fits;
                lines.push_back(word.left(fits));
                word = word.mid(fits);
            }
            line = word;
        }
        lines.push_back(line);
    }
    return lines;
}

double WidestWord(const QString& text, const TextWidths& widths)
{
    double widest = 0.0;
    for (const QString& word : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        widest = std::max(widest, widths.Of(word));
    return widest;
}

std::shared_ptr<const TableMetrics> MeasureTable(
    const ReportTable& table, double contentWidth, const TextWidths& metrics, const TextWidths& heads)
{
    const double line = metrics.Height();
    auto result = std::make_shared<TableMetrics>();
    result->Line = line;

    const qsizetype columns = table.ColumnHeads.size();
    result->ColumnWidths.assign(static_cast<std::size_t>(columns), 0.0);
    for (qsizetype j = 0; j < columns; ++j) {
        // A long word of a head may be cut; a value never is.
        double widestValue = 0.0;
        for (const ReportTableRow& row : table.Rows)
            if (j < row.Cells.size())
                widestValue = std::max(widestValue, metrics.Of(row.Cells[j]));
        const double head = WidestWord(table.ColumnHeads[j], heads) + 2 * kCellPadX;
        result->ColumnWidths[static_cast<std::size_t>(j)]
            = std::max(std::clamp(head, kMinColumnWidth, kMaxColumnWidth), widestValue + 2 * kCellPadX);
    }

    // Names in one line where they can be; never more than a share of the sheet.
    double widestName = WidestWord(table.Corner, heads);
    for (const ReportTableRow& row : table.Rows)
        widestName = std::max(widestName, metrics.Of(row.Name));
    const double nameLimit = std::min(kMaxNameWidth, contentWidth / 3);
    result->NameWidth = std::clamp(widestName + 2 * kCellPadX, kMinNameWidth, nameLimit);

    result->CornerLines = Wrap(table.Corner, heads, result->NameWidth - 2 * kCellPadX);
    for (qsizetype j = 0; j < columns; ++j)
        result->HeadLines.push_back(
            Wrap(table.ColumnHeads[j], heads, result->ColumnWidths[static_cast<std::size_t>(j)] - 2 * kCellPadX));
    for (const ReportTableRow& row : table.Rows) {
        result->NameLines.push_back(Wrap(row.Name, metrics, result->NameWidth - 2 * kCellPadX));
        result->RowHeights.push_back(static_cast<double>(result->NameLines.back().size()) * line + 2 * kCellPadY);
    }
    return result;
}

struct ColumnBlock {
    int First;
    int Count;
};

// As many columns beside the names as the sheet holds, at least one per block.
std::vector<ColumnBlock> ColumnBlocks(const TableMetrics& metrics, double contentWidth)
{
    std::vector<ColumnBlock> blocks;
    const int columns = static_cast<int>(metrics.ColumnWidths.size());
    const double room = contentWidth - metrics.NameWidth;
    int first = 0;
    while (first < columns) {
        double used = 0.0;
        int count = 0;
        while (first + count < columns
            && (count == 0 || used + metrics.ColumnWidths[static_cast<std::size_t>(first + count)] <= room)) {
            used += metrics.ColumnWidths[static_cast<std::size_t>(first + count)];
            ++count;
        }
        blocks.push_back({ first, count });
        first += count;
    }
    if (blocks.empty())
        blocks.push_back({ 0, 0 });
    return blocks;
}

double HeaderHeight(const TableMetrics& metrics, const ColumnBlock& block)
{
    qsizetype lines = std::max<qsizetype>(metrics.CornerLines.size(), 1);
    for (int j = block.First; j < block.First + block.Count; ++j)
        lines = std::max(lines, metrics.HeadLines[static_cast<std::size_t>(j)].size());
    return static_cast<double>(lines) * metrics.Line + 2 * kCellPadY;
}

double BlockWidth(const TableMetrics& metrics, const ColumnBlock& block)
{
    double width = metrics.NameWidth;
    for (int j = block.First; j < block.First + block.Count; ++j)
        width += metrics.ColumnWidths[static_cast<std::size_t>(j)];
    return width;
}

QString ColumnCaption(const ColumnBlock& block, int columns, bool split, bool continued)
{
    QString caption;
    if (split && block.Count == 1)
        caption = QCoreApplication::translate("ReportLayout", "Столбец %1 из %2").arg(block.First + 1).arg(columns);
    else if (split)
        caption = QCoreApplication::translate("ReportLayout", "Столбцы %1–%2 из %3")
                      .arg(block.First + 1)
                      .arg(block.First + block.Count)
                      .arg(columns);
    if (continued)
        caption += (caption.isEmpty() ? QString() : QStringLiteral(" "))
            + QCoreApplication::translate("ReportLayout", "(продолжение)");
    return caption;
}

// Widths in each of the report's fonts.
class Measures {
public:
    Measures()
        : table_(ReportTableFont())
        , heads_(ReportTableFont(true))
    {
        for (TextStyle style :
            { TextStyle::Title, TextStyle::Heading, TextStyle::Subheading, TextStyle::Body, TextStyle::Note })
            styles_.emplace_back(ReportFont(style));
    }

    const TextWidths& Of(TextStyle style) const { return styles_[static_cast<std::size_t>(style)]; }
    const TextWidths& Table() const { return table_; }
    const TextWidths& Heads() const { return heads_; }

private:
    std::vector<TextWidths> styles_;
    TextWidths table_;
    TextWidths heads_;
};

// Places blocks one after another, starting a page when the next piece does not fit.
class Flow {
public:
    Flow(const std::vector<ReportBlock>& blocks, const PageGeometry& geometry)
        : blocks_(blocks)
        , content_(geometry.Content())
        , y_(content_.top())
    {
        pages_.emplace_back();
        for (const ReportBlock& block : blocks_)
            tables_.push_back(std::holds_alternative<ReportTable>(block)
                    ? MeasureTable(std::get<ReportTable>(block), content_.width(), measures_.Table(), measures_.Heads())
                    : nullptr);
    }

    std::vector<ReportPage> Run()
    {
        for (std::size_t i = 0; i < blocks_.size(); ++i) {
            if (const auto* text = std::get_if<ReportText>(&blocks_[i]))
                PlaceText(i, *text);
            else if (std::holds_alternative<ReportTable>(blocks_[i]))
                PlaceTable(i);
            else
                PlaceChart(i, std::get<ReportChart>(blocks_[i]));
        }
        return std::move(pages_);
    }

private:
    bool AtTop() const { return y_ <= content_.top(); }
    double Room() const { return content_.bottom() - y_; }
    void NewPage()
    {
        pages_.emplace_back();
        y_ = content_.top();
    }
    void Space(double space)
    {
        if (!AtTop())
            y_ = std::min(y_ + space, content_.bottom());
    }
    void Add(PlacedPiece piece) { pages_.back().Pieces.push_back(std::move(piece)); }
    double LineHeight(TextStyle style) const { return measures_.Of(style).Height(); }

    double ChartScale(const ReportChart& chart) const
    {
        if (chart.Source.width() <= 0 || chart.Source.height() <= 0)
            return 0.0;
        const double width = std::min(chart.Width, content_.width());
        return std::min(width / chart.Source.width(), content_.height() / chart.Source.height());
    }

    static bool KeptWithNext(const ReportText& text) { return text.KeepWithNext || Describe(text.Style).KeepWithNext; }

    QStringList Lines(const ReportText& text) const
    {
        return Wrap(text.Text, measures_.Of(text.Style), content_.width());
    }

    // What must fit below a heading for the heading to stay on this page: the start of
    // the next block, or all of it and the start of the one after when it is kept with
    // that one too.
    double FirstPieceHeight(std::size_t i) const
    {
        if (i >= blocks_.size())
            return 0.0;
        if (const auto* text = std::get_if<ReportText>(&blocks_[i])) {
            const StyleDescription about = Describe(text->Style);
            if (!KeptWithNext(*text))
                return about.SpaceBefore + LineHeight(text->Style);
            return about.SpaceBefore + static_cast<double>(Lines(*text).size()) * LineHeight(text->Style)
                + about.SpaceAfter + FirstPieceHeight(i + 1);
        }
        if (const auto* chart = std::get_if<ReportChart>(&blocks_[i]))
            return kChartSpaceBefore + chart->Source.height() * ChartScale(*chart);
        const TableMetrics& metrics = *tables_[i];
        const std::vector<ColumnBlock> columns = ColumnBlocks(metrics, content_.width());
        const double caption = columns.size() > 1 ? LineHeight(TextStyle::Note) : 0.0;
        return kTableSpaceBefore + caption + HeaderHeight(metrics, columns.front()) + LeadingRows(metrics, 0);
    }

    // A table starts on a page only with a few of its rows, or all when it has fewer.
    static double LeadingRows(const TableMetrics& metrics, int first)
    {
        const int end = std::min(first + kLeadingRows, static_cast<int>(metrics.RowHeights.size()));
        double height = 0.0;
        for (int r = first; r < end; ++r)
            height += metrics.RowHeights[static_cast<std::size_t>(r)];
        return height;
    }

    void PlaceText(std::size_t i, const ReportText& text)
    {
        if (text.StartsPage && !AtTop())
            NewPage();
        const StyleDescription about = Describe(text.Style);
        const QStringList lines = Lines(text);
        const double line = LineHeight(text.Style);
        if (KeptWithNext(text) && !AtTop()
            && about.SpaceBefore + static_cast<double>(lines.size()) * line + FirstPieceHeight(i + 1) > Room())
            NewPage();
        Space(about.SpaceBefore);
        qsizetype next = 0;
        while (next < lines.size()) {
            auto fit = static_cast<qsizetype>(std::floor((Room() + 1e-6) / line));
            if (fit <= 0) {
                if (AtTop()) {
                    fit = 1; // a sheet too short for one line still takes it
                } else {
                    NewPage();
                    continue;
                }
            }
            const qsizetype count = std::min(fit, lines.size() - next);
            const QRectF box(content_.left(), y_, content_.width(), static_cast<double>(count) * line);
            Add(PlacedText { i, lines.mid(next, count), box });
            y_ += box.height();
            next += count;
        }
        Space(about.SpaceAfter);
    }

    void PlaceTable(std::size_t i)
    {
        const std::shared_ptr<const TableMetrics>& metrics = tables_[i];
        const std::vector<ColumnBlock> columns = ColumnBlocks(*metrics, content_.width());
        const int columnCount = static_cast<int>(metrics->ColumnWidths.size());
        const int rows = static_cast<int>(metrics->RowHeights.size());
        const bool split = columns.size() > 1;
        Space(kTableSpaceBefore);
        for (std::size_t b = 0; b < columns.size(); ++b) {
            if (b > 0)
                Space(kColumnBlockGap);
            const ColumnBlock& block = columns[b];
            const double header = HeaderHeight(*metrics, block);
            int row = 0;
            do {
                const QString caption = ColumnCaption(block, columnCount, split, row > 0);
                const double captionHeight = caption.isEmpty() ? 0.0 : LineHeight(TextStyle::Note);
                if (!AtTop() && captionHeight + header + LeadingRows(*metrics, row) > Room())
                    NewPage();
                const double room = Room() - captionHeight - header;
                double height = 0.0;
                int end = row;
                while (end < rows
                    && (end == row || height + metrics->RowHeights[static_cast<std::size_t>(end)] <= room + 1e-6)) {
                    height += metrics->RowHeights[static_cast<std::size_t>(end)];
                    ++end;
                }
                PlacedTable piece;
                piece.Block = i;
                piece.FirstColumn = block.First;
                piece.ColumnCount = block.Count;
                piece.FirstRow = row;
                piece.RowCount = end - row;
                piece.Caption = caption;
                piece.HeaderHeight = header;
                piece.Box = QRectF(content_.left(), y_, BlockWidth(*metrics, block), captionHeight + header + height);
                piece.Metrics = metrics;
                Add(std::move(piece));
                y_ += captionHeight + header + height;
                row = end;
            } while (row < rows);
        }
        Space(kTableSpaceAfter);
    }

    void PlaceChart(std::size_t i, const ReportChart& chart)
    {
        const double scale = ChartScale(chart);
        const double height = chart.Source.height() * scale;
        if (!AtTop() && kChartSpaceBefore + height > Room())
            NewPage();
        Space(kChartSpaceBefore);
        Add(PlacedChart { i, QRectF(content_.left(), y_, chart.Source.width() * scale, height) });
        y_ += height;
        Space(kChartSpaceAfter);
    }

    const std::vector<ReportBlock>& blocks_;
    const QRectF content_;
    double y_;
    Measures measures_;
    std::vector<std::shared_ptr<const TableMetrics>> tables_;
    std::vector<ReportPage> pages_;
};

// What painting one page needs of the fonts.
struct PageFonts {
    Measures Widths;
    QFont TableFont = ReportTableFont();
    QRawFont TableGlyphs = QRawFont::fromFont(TableFont);
};

void PaintText(QPainter& painter, const ReportText& text, const PlacedText& piece, const PageFonts& fonts)
{
    const TextWidths& widths = fonts.Widths.Of(text.Style);
    painter.setFont(ReportFont(text.Style));
    painter.setPen(Qt::black);
    double y = piece.Box.top();
    for (const QString& line : piece.Lines) {
        if (!line.isEmpty())
            painter.drawText(QPointF(piece.Box.left(), y + widths.Ascent()), line);
        y += widths.Height();
    }
}

bool Emphasised(CellEmphasis emphasis, int row, int column, int rows)
{
    switch (emphasis) {
    case CellEmphasis::Diagonal:
        return row == column;
    case CellEmphasis::FirstColumnAndLastRow:
        return column == 0 || row == rows - 1;
    case CellEmphasis::None:
        break;
    }
    return false;
}

// The heads: a few per page, bold, some centred over their column.
void PaintHeadLines(QPainter& painter, const TextWidths& widths, const QStringList& lines, double left, double top,
    double width, bool centred)
{
    double y = top + kCellPadY + widths.Ascent();
    for (const QString& text : lines) {
        const double x = centred ? left + (width - widths.Of(text)) / 2 : left + kCellPadX;
        if (!text.isEmpty())
            painter.drawText(QPointF(x, y), text);
        y += widths.Height();
    }
}

void PaintTable(QPainter& painter, const ReportTable& table, const PlacedTable& piece, const PageFonts& fonts)
{
    const TableMetrics& metrics = *piece.Metrics;
    const TextWidths& widths = fonts.Widths.Table();
    const double line = metrics.Line;
    const double ascent = widths.Ascent();
    const double left = piece.Box.left();
    double top = piece.Box.top();

    if (!piece.Caption.isEmpty()) {
        const TextWidths& note = fonts.Widths.Of(TextStyle::Note);
        painter.setFont(ReportFont(TextStyle::Note));
        painter.setPen(Qt::black);
        painter.drawText(QPointF(left, top + note.Ascent()), piece.Caption);
        top += note.Height();
    }
    const double right = piece.Box.right();
    const double bottom = piece.Box.bottom();
    painter.fillRect(QRectF(left, top, right - left, piece.HeaderHeight), kHeaderFill);

    painter.setFont(ReportTableFont(true));
    painter.setPen(Qt::black);
    PaintHeadLines(painter, fonts.Widths.Heads(), metrics.CornerLines, left, top, metrics.NameWidth, false);
    std::vector<double> edges { left, left + metrics.NameWidth };
    for (int j = piece.FirstColumn; j < piece.FirstColumn + piece.ColumnCount; ++j) {
        const double width = metrics.ColumnWidths[static_cast<std::size_t>(j)];
        PaintHeadLines(painter, fonts.Widths.Heads(), metrics.HeadLines[static_cast<std::size_t>(j)], edges.back(), top,
            width, true);
        edges.push_back(edges.back() + width);
    }

    const int rows = static_cast<int>(table.Rows.size());
    std::vector<double> rules { top, top + piece.HeaderHeight };
    GlyphLine plain(painter, fonts.TableGlyphs, fonts.TableFont);
    GlyphLine emphasised(painter, fonts.TableGlyphs, fonts.TableFont);
    for (int r = piece.FirstRow; r < piece.FirstRow + piece.RowCount; ++r) {
        const double y = rules.back();
        const ReportTableRow& row = table.Rows[static_cast<std::size_t>(r)];
        double baseline = y + kCellPadY + ascent;
        for (const QString& name : metrics.NameLines[static_cast<std::size_t>(r)]) {
            plain.Add(name, QPointF(left + kCellPadX, baseline));
            baseline += line;
        }
        for (int j = piece.FirstColumn; j < piece.FirstColumn + piece.ColumnCount; ++j) {
            if (j >= row.Cells.size() || row.Cells[j].isEmpty())
                continue;
            const QString& text = row.Cells[j];
            const double cellRight = edges[static_cast<std::size_t>(j - piece.FirstColumn + 2)];
            GlyphLine& glyphs = Emphasised(table.Emphasis, r, j, rows) ? emphasised : plain;
            glyphs.Add(text, QPointF(cellRight - kCellPadX - widths.Of(text), y + kCellPadY + ascent));
        }
        rules.push_back(y + metrics.RowHeights[static_cast<std::size_t>(r)]);
    }
    plain.Draw(Qt::black);
    emphasised.Draw(kEmphasisColour);

    painter.setPen(QPen(kRuleColour, kRuleWidth));
    for (double y : rules)
        painter.drawLine(QPointF(left, y), QPointF(right, y));
    for (double x : edges)
        painter.drawLine(QPointF(x, top), QPointF(x, bottom));
}

void PaintChart(QPainter& painter, const ReportChart& chart, const PlacedChart& piece)
{
    if (!chart.Paint || chart.Source.width() <= 0)
        return;
    painter.save();
    const double scale = piece.Box.width() / chart.Source.width();
    painter.translate(piece.Box.topLeft());
    painter.scale(scale, scale);
    painter.translate(-chart.Source.topLeft());
    painter.setClipRect(chart.Source);
    chart.Paint(painter);
    painter.restore();
}

} // namespace

const PageGeometry kA4Report { QSizeF(595.276, 841.890), QMarginsF(42.52, 42.52, 42.52, 56.69) };

QFont ReportFont(TextStyle style)
{
    const StyleDescription about = Describe(style);
    return MakeFont(about.Size, about.Bold, about.Italic);
}

QFont ReportTableFont(bool bold)
{
    return MakeFont(kTableSize, bold, false);
}

std::vector<ReportPage> LayOutReport(const std::vector<ReportBlock>& blocks, const PageGeometry& geometry)
{
    return Flow(blocks, geometry).Run();
}

void PaintReportPage(QPainter& painter, const std::vector<ReportBlock>& blocks, const ReportPage& page,
    const PageGeometry& geometry, int number, int count)
{
    const PageFonts fonts;
    for (const PlacedPiece& piece : page.Pieces) {
        if (const auto* text = std::get_if<PlacedText>(&piece))
            PaintText(painter, std::get<ReportText>(blocks[text->Block]), *text, fonts);
        else if (const auto* table = std::get_if<PlacedTable>(&piece))
            PaintTable(painter, std::get<ReportTable>(blocks[table->Block]), *table, fonts);
        else if (const auto* chart = std::get_if<PlacedChart>(&piece))
            PaintChart(painter, std::get<ReportChart>(blocks[chart->Block]), *chart);
    }

    const TextWidths& widths = fonts.Widths.Of(TextStyle::Body);
    const QString footer = QCoreApplication::translate("ReportLayout", "Страница %1 из %2").arg(number).arg(count);
    const double baseline = geometry.Page.height() - geometry.Margins.bottom() / 2 + widths.Ascent() / 2;
    painter.setFont(ReportFont(TextStyle::Body));
    painter.setPen(Qt::black);
    painter.drawText(QPointF((geometry.Page.width() - widths.Of(footer)) / 2, baseline), footer);
}
