// The pages of a printed report: a flow of text, tables and drawings laid out on sheets of
// a fixed size, then painted page by page. Tables wider than a sheet go on in blocks of
// columns with the row names repeated on the left; tables longer than a sheet go on to
// the next with their header row repeated. All lengths are typographic points (1/72 in).
#pragma once

#include <QFont>
#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <variant>
#include <vector>

class QPainter;

enum class TextStyle { Title, Heading, Subheading, Body, Note };

// A paragraph; each line of `Text` ("\n") starts a new line, and long lines wrap at
// blanks. Headings, and text that introduces what follows, stay on the page of its start.
struct ReportText {
    TextStyle Style = TextStyle::Body;
    QString Text;
    bool KeepWithNext = false; // headings always do
    // Starts on a page of its own (a section that is one page).
    bool StartsPage = false;
};

// Which values stand out in blue, as in the windows' grids.
enum class CellEmphasis {
    None,
    Diagonal, // the elements of the rating indicator
    FirstColumnAndLastRow, // the distributions of a result
};

struct ReportTableRow {
    QString Name;
    QStringList Cells; // one per column head
};

struct ReportTable {
    QString Corner; // over the row names
    QStringList ColumnHeads;
    std::vector<ReportTableRow> Rows;
    CellEmphasis Emphasis = CellEmphasis::None;
};

// A drawing in its own coordinates: `Source` is the part shown, scaled to `Width` points
// (or less, to fit the sheet). `Paint` draws on a painter already moved, scaled and
// clipped to `Source`.
struct ReportChart {
    QRectF Source;
    double Width = 0.0;
    std::function<void(QPainter&)> Paint;
};

using ReportBlock = std::variant<ReportText, ReportTable, ReportChart>;

// The report's blocks as a section appends to them.
struct ReportBlocks {
    std::vector<ReportBlock>& List;

    void Add(TextStyle style, const QString& text, bool keepWithNext = false)
    {
        List.emplace_back(std::in_place_type<ReportText>, style, text, keepWithNext);
    }
};

struct PageGeometry {
    QSizeF Page;
    QMarginsF Margins; // the page number stands in the bottom margin

    QRectF Content() const { return QRectF(QPointF(0, 0), Page).marginsRemoved(Margins); }
};

// A4 portrait with 15 mm margins and 20 mm at the foot.
extern const PageGeometry kA4Report;

// Some lines of a text block, already wrapped.
struct PlacedText {
    std::size_t Block = 0;
    QStringList Lines;
    QRectF Box;
};

// The measures of a whole table: widths of the name column and of each value column, the
// wrapped texts of the heads and names, and the height of each row.
struct TableMetrics {
    double Line = 0.0; // height of a line of text
    double NameWidth = 0.0;
    std::vector<double> ColumnWidths;
    QStringList CornerLines;
    std::vector<QStringList> HeadLines; // per column
    std::vector<QStringList> NameLines; // per row
    std::vector<double> RowHeights;
};

// Rows [FirstRow, FirstRow + RowCount) of columns [FirstColumn, FirstColumn + ColumnCount)
// of a table, under a header row; `Caption` names the columns when the table comes in
// more than one block and says when the rows go on from the previous page.
struct PlacedTable {
    std::size_t Block = 0;
    int FirstColumn = 0;
    int ColumnCount = 0;
    int FirstRow = 0;
    int RowCount = 0;
    QString Caption;
    double HeaderHeight = 0.0;
    QRectF Box;
    std::shared_ptr<const TableMetrics> Metrics; // of the whole table
};

struct PlacedChart {
    std::size_t Block = 0;
    QRectF Box;
};

using PlacedPiece = std::variant<PlacedText, PlacedTable, PlacedChart>;

struct ReportPage {
    std::vector<PlacedPiece> Pieces;
};

// The fonts of the report: the windows' family at print sizes, as pixel sizes of one
// point, so that one unit of the painter is one point.
QFont ReportFont(TextStyle style);
QFont ReportTableFont(bool bold = false);

// Every block on pages in order; at least one page, even for no blocks.
std::vector<ReportPage> LayOutReport(const std::vector<ReportBlock>& blocks, const PageGeometry& geometry);

// Paints one laid-out page, with "Страница N из M" at its foot; the painter's unit is
// one point from the sheet's top-left corner.
void PaintReportPage(QPainter& painter, const std::vector<ReportBlock>& blocks, const ReportPage& page,
    const PageGeometry& geometry, int number, int count);
