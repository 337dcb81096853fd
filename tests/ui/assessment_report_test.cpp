// The printable report: what its text says (read back with pdftotext), how many pages it
// takes against its own layout plan, wide and long tables in blocks with their names and
// heads repeated, the charts as vector drawings, the MM and EE charts' numbers clear of
// each other, a failed save, the rating window's "Отчёт..." and vardun-report --pdf.
#include "ui/export/AssessmentReport.h"

#include "../core/support/RandomAssessment.h"
#include "../core/support/RecordingSink.h"
#include "../core/support/TempFolder.h"
#include "ExampleAssessment.h"
#include "RatingWindowFixture.h"
#include "ScriptedDialogs.h"
#include "analysis/Compare.h"
#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "analysis/Format.h"
#include "model/Data.h"
#include "ui/charts/MMEEChart.h"
#include "ui/document/Document.h"
#include "ui/export/ReportContent.h"
#include "ui/export/ReportLayout.h"
#include "ui/widgets/Navigation.h"
#include "ui/widgets/WindowFont.h"
#include "ui/windows/AssessmentActions.h"
#include "ui/windows/Rating.h"

#include <QDate>
#include <QFontMetrics>
#include <QImage>
#include <QListWidget>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kExample = VARDUN_TEST_DATA "/example.sav";
const QString kTool = QStringLiteral(VARDUN_BINARY_DIR "/tools/vardun-report");

// A program's standard output; nothing when it cannot be started (not installed).
std::optional<QByteArray> RunProgram(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return std::nullopt;
    process.waitForFinished(120000);
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

// The report's text as laid out on its pages; pages end in a form feed.
std::optional<QString> PdfText(const std::string& path)
{
    const auto text = RunProgram(
        QStringLiteral("pdftotext"), { QStringLiteral("-layout"), QString::fromStdString(path), QStringLiteral("-") });
    if (!text)
        return std::nullopt;
    return QString::fromUtf8(*text);
}

#define READ_PDF_TEXT(variable, path)                                                                                  \
    const std::optional<QString> variable##Read = PdfText(path);                                                       \
    if (!variable##Read)                                                                                               \
        GTEST_SKIP() << "pdftotext is not installed";                                                                  \
    const QString& variable = *variable##Read

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

int Occurrences(const QString& text, const QString& part)
{
    return static_cast<int>(text.count(part));
}

// The text between the first `from` and the first `to` after it.
QString Between(const QString& text, const QString& from, const QString& to)
{
    const qsizetype start = text.indexOf(from);
    EXPECT_GE(start, 0) << from.toStdString();
    const qsizetype end = text.indexOf(to, start + from.size());
    EXPECT_GT(end, start) << to.toStdString();
    return text.mid(start, end - start);
}

// The lines of the text that hold the row `name` followed by a value.
int RowLines(const QString& text, const QString& name)
{
    const QRegularExpression row(
        QStringLiteral("^\\s*") + QRegularExpression::escape(name) + QStringLiteral("\\s+\\d+\\.\\d\\d"),
        QRegularExpression::MultilineOption);
    int count = 0;
    for (auto match = row.globalMatch(text); match.hasNext(); match.next())
        ++count;
    return count;
}

std::vector<ReportPage> Plan(const CData& data, const ReportRequest& request)
{
    const std::vector<ReportBlock> blocks = AssessmentReportBlocks(data, request, QDate::currentDate());
    return LayOutReport(blocks, kA4Report);
}

void ExpectPageNumbers(const QString& text, int pages)
{
    EXPECT_EQ(Occurrences(text, QStringLiteral("\f")), pages);
    for (int page = 1; page <= pages; ++page)
        EXPECT_TRUE(text.contains(QStringLiteral("Страница %1 из %2").arg(page).arg(pages))) << page;
}

QString TodayText()
{
    const QDate today = QDate::currentDate();
    return QStringLiteral("%1.%2.%3")
        .arg(today.day(), 2, 10, QChar(u'0'))
        .arg(today.month(), 2, 10, QChar(u'0'))
        .arg(today.year());
}

ReportRequest ExampleRequest(bool withRating)
{
    ReportRequest request;
    request.FileName = "example.sav";
    // The sections every report has, with no window of an analysis open.
    request.Sections = WindowReportSections(nullptr);
    if (withRating) {
        request.Rating = RatingSelection { 1, 2, 3 };
        request.High = 2.0f;
        request.Low = 0.5f;
    }
    return request;
}

class ExampleReport : public ::testing::Test {
protected:
    std::string Write(const ReportRequest& request, const char* name = "report.pdf")
    {
        const std::string path = folder_.Path(name);
        RecordingSink messages;
        EXPECT_TRUE(WriteAssessmentReport(path, data, request, messages));
        EXPECT_TRUE(messages.Messages.empty());
        return path;
    }

    CData data = LoadExample();

private:
    TempFolder folder_;
};

TEST_F(ExampleReport, SaysTheFileTheDateEveryListedNameWithItsMarkAndTheRatingsAsComputed)
{
    const std::string before = TodayText().toStdString();
    const std::string path = Write(ExampleRequest(false));
    READ_PDF_TEXT(text, path);

    EXPECT_TRUE(text.contains(QStringLiteral("Отчёт об оценке защищённости")));
    EXPECT_TRUE(text.contains(QStringLiteral("Файл данных: example.sav")));
    EXPECT_TRUE(text.contains(QStringLiteral("Дата: ") + Q(before))
        || text.contains(QStringLiteral("Дата: ") + TodayText())); // written just before midnight

    // Every name of the three lists, the analysed ones marked, in the list section; the
    // analysed ones again in the tables.
    for (ItemKind kind : kItemKinds) {
        const std::vector<std::string>& names = data.NamesOf(kind);
        std::set<std::size_t> analysed;
        for (const std::string& entry : data.IndicesOf(kind))
            analysed.insert(static_cast<std::size_t>(IndexValue(entry)));
        ASSERT_LT(analysed.size(), names.size()) << "the example leaves an item of each kind out";
        for (std::size_t k = 0; k < names.size(); ++k) {
            const QString mark = analysed.count(k) ? QStringLiteral("[x] ") : QStringLiteral("[ ] ");
            EXPECT_TRUE(text.contains(mark + Q(names[k]))) << names[k];
        }
        for (int k = 0; k < data.CountOf(kind); ++k)
            EXPECT_GE(Occurrences(text, Q(data.AnalysedName(kind, k))), 3) << data.AnalysedName(kind, k);
    }

    CData computed = data;
    ComputeAllModes(computed);
    ComputeDamageMatrices(computed);
    EXPECT_TRUE(
        text.contains(QStringLiteral("Рейтинговый показатель Rm: ") + Q(FormatFixed(RatingIndicator(computed.MM), 2))));
    EXPECT_TRUE(
        text.contains(QStringLiteral("Рейтинговый показатель Re: ") + Q(FormatFixed(RatingIndicator(computed.EE), 2))));
    // A value of a result and of a distribution, as the windows show them.
    EXPECT_TRUE(text.contains(Q(FormatFixed(computed.MM(0, 0), 2))));
    EXPECT_TRUE(text.contains(QStringLiteral("Пороговое значение для малой величины: 0.60")));
    EXPECT_TRUE(text.contains(QStringLiteral("Пороговое значение для средней величины: 9000.00")));

    ExpectPageNumbers(text, static_cast<int>(Plan(data, ExampleRequest(false)).size()));
    EXPECT_FALSE(text.contains(QStringLiteral("Рейтинговые показатели в зависимости от ЧАУ")));
}

TEST_F(ExampleReport, AnUnsavedAssessmentIsWithoutName)
{
    ReportRequest request;
    READ_PDF_TEXT(text, Write(request));
    EXPECT_TRUE(text.contains(QStringLiteral("Файл данных: без имени")));
}

TEST_F(ExampleReport, TheRatingSectionNamesTheSelectionAndTheLevelsOnlyWhenAsked)
{
    READ_PDF_TEXT(text, Write(ExampleRequest(true)));
    const QString section = text.mid(text.indexOf(QStringLiteral("Рейтинговые показатели в зависимости от ЧАУ")));
    ASSERT_FALSE(section.isEmpty());
    // Positions 1, 2 and 3 among the analysed items.
    EXPECT_TRUE(section.contains(QStringLiteral("Эшелон: ") + Q(data.LayerName(1))));
    EXPECT_TRUE(section.contains(QStringLiteral("Угроза: ") + Q(data.ThreatName(2))));
    EXPECT_TRUE(section.contains(QStringLiteral("Механизм защиты: ") + Q(data.MechanismName(3))));
    EXPECT_TRUE(section.contains(QStringLiteral("Высокий уровень потенциального ущерба: 2.00")));
    EXPECT_TRUE(section.contains(QStringLiteral("Низкий уровень потенциального ущерба: 0.50")));
    // The charts' own labels beside the drawing.
    EXPECT_TRUE(section.contains(QStringLiteral("-- Текущий уровень")));
    EXPECT_TRUE(section.contains(QStringLiteral("ЧАУ")));
    ExpectPageNumbers(text, static_cast<int>(Plan(data, ExampleRequest(true)).size()));
}

// A tab or another control character in a name prints as a blank: it used to end the
// name's text in the PDF ("тест" for "тест<tab>таб").
TEST_F(ExampleReport, ControlCharactersInNamesPrintAsBlanks)
{
    const int layer = IndexValue(data.LayerIndices[1]);
    const int mechanism = IndexValue(data.MechanismIndices[3]);
    data.LayerNames[static_cast<std::size_t>(layer)] = "тест\tтаб";
    data.MechanismNames[static_cast<std::size_t>(mechanism)] = "звонок\aи\x1Fразделитель\x7Fконец";
    READ_PDF_TEXT(text, Write(ExampleRequest(true)));
    // The list, the tables and the rating section.
    EXPECT_TRUE(text.contains(QStringLiteral("[x] тест таб"))) << text.toStdString();
    EXPECT_GE(Occurrences(text, QStringLiteral("тест таб")), 3);
    EXPECT_TRUE(text.contains(QStringLiteral("Эшелон: тест таб")));
    EXPECT_TRUE(text.contains(QStringLiteral("Механизм защиты: звонок и разделитель конец")));
    EXPECT_GE(Occurrences(text, QStringLiteral("звонок и разделитель конец")), 3);
}

TEST_F(ExampleReport, ChartsAreVectorDrawingsThatShowTheBands)
{
    const ReportRequest request = ExampleRequest(true);
    const std::string path = Write(request);
    EXPECT_LT(std::filesystem::file_size(path), 1000000u);
    const QByteArray bytes = QByteArray::fromStdString(ReadBytes(path));
    EXPECT_FALSE(bytes.contains("/Subtype /Image")) << "a picture in the file";
    EXPECT_TRUE(bytes.contains("/Subtype /Type0")) << "no embedded font: the text is not text";
    if (const auto listed = RunProgram(QStringLiteral("pdfimages"), { QStringLiteral("-list"), Q(path) })) {
        // Two heading lines and nothing else.
        EXPECT_EQ(listed->count('\n'), 2) << listed->toStdString();
    }

    // The page of mode 1's chart, rendered, shows the chart's band colours.
    const std::vector<ReportBlock> blocks = AssessmentReportBlocks(data, request, QDate::currentDate());
    const std::vector<ReportPage> pages = LayOutReport(blocks, kA4Report);
    int chartPage = 0;
    for (std::size_t p = 0; p < pages.size() && chartPage == 0; ++p)
        for (const PlacedPiece& piece : pages[p].Pieces)
            if (std::holds_alternative<PlacedChart>(piece))
                chartPage = static_cast<int>(p) + 1;
    ASSERT_GT(chartPage, 0);
    const QString stem = Q(path) + QStringLiteral("-page");
    const QString page = QString::number(chartPage);
    if (!RunProgram(QStringLiteral("pdftoppm"),
            { QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-f"), page, QStringLiteral("-l"), page,
                QStringLiteral("-singlefile"), QStringLiteral("-png"), Q(path), stem }))
        GTEST_SKIP() << "pdftoppm is not installed";
    const QImage image(stem + QStringLiteral(".png"));
    ASSERT_FALSE(image.isNull());
    int green = 0;
    int magenta = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            green += c.red() < 40 && c.green() > 215 && c.blue() < 40;
            magenta += c.red() > 215 && c.green() < 40 && c.blue() > 215;
        }
    EXPECT_GT(green, 100);
    EXPECT_GT(magenta, 100);
}

TEST(AssessmentReportSave, AFailedSaveSaysSoAndLeavesNoFile)
{
    TempFolder folder;
    const std::string path = folder.Path("missing/report.pdf");
    RecordingSink messages;
    EXPECT_FALSE(WriteAssessmentReport(path, LoadExample(), ExampleRequest(true), messages));
    EXPECT_EQ(messages.Messages, std::vector<std::string> { "Не удалось сохранить файл " + path + "." });
    EXPECT_TRUE(std::filesystem::is_empty(folder.Root()));
}

// A 100-item assessment: every matrix is wider and longer than a page.
class LargeReport : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        data_ = new CData(RandomAssessment(100, 11));
        folder_ = new TempFolder;
        path_ = folder_->Path("large.pdf");
        ReportRequest request;
        request.FileName = "large.sav";
        request.Sections = WindowReportSections(nullptr);
        RecordingSink messages;
        ASSERT_TRUE(WriteAssessmentReport(path_, *data_, request, messages));
        blocks_ = new std::vector<ReportBlock>(AssessmentReportBlocks(*data_, request, QDate::currentDate()));
        pages_ = new std::vector<ReportPage>(LayOutReport(*blocks_, kA4Report));
    }
    static void TearDownTestSuite()
    {
        delete pages_;
        delete blocks_;
        delete folder_;
        delete data_;
    }

    // The pieces of the report's first table: mode 1's MT (mechanisms x threats).
    static std::vector<PlacedTable> FirstTablePieces()
    {
        std::size_t first = 0;
        while (!std::holds_alternative<ReportTable>((*blocks_)[first]))
            ++first;
        std::vector<PlacedTable> pieces;
        for (const ReportPage& page : *pages_)
            for (const PlacedPiece& piece : page.Pieces)
                if (const auto* table = std::get_if<PlacedTable>(&piece); table && table->Block == first)
                    pieces.push_back(*table);
        return pieces;
    }

    static CData* data_;
    static TempFolder* folder_;
    static std::string path_;
    static std::vector<ReportBlock>* blocks_;
    static std::vector<ReportPage>* pages_;
};

CData* LargeReport::data_ = nullptr;
TempFolder* LargeReport::folder_ = nullptr;
std::string LargeReport::path_;
std::vector<ReportBlock>* LargeReport::blocks_ = nullptr;
std::vector<ReportPage>* LargeReport::pages_ = nullptr;

TEST_F(LargeReport, TakesThePagesOfItsPlanFarMoreThanTheExample)
{
    READ_PDF_TEXT(text, path_);
    const int pages = static_cast<int>(pages_->size());
    ExpectPageNumbers(text, pages);
    // Fourteen 100 x 100 tables, each in at least five blocks of columns of at least two
    // pages each, and the example's whole report fits on a dozen.
    EXPECT_GT(pages, 140);
    EXPECT_GT(pages, static_cast<int>(Plan(LoadExample(), ExampleRequest(true)).size()));
    for (int k : { 0, 49, 99 })
        EXPECT_TRUE(text.contains(QStringLiteral("[x] ") + Q(data_->ThreatName(k))));
}

TEST_F(LargeReport, AWideTableRepeatsItsRowNamesInEachBlockOfColumnsAndItsHeadOnEachPage)
{
    READ_PDF_TEXT(text, path_);
    const QString mt = Between(text, QStringLiteral("Матрица достоверности <МЗ-угрозы> MT"),
        QStringLiteral("Матрица достоверности <угрозы-эшелоны> TE"));

    const std::vector<PlacedTable> pieces = FirstTablePieces();
    std::set<int> blockStarts;
    for (const PlacedTable& piece : pieces)
        blockStarts.insert(piece.FirstColumn);
    ASSERT_GE(blockStarts.size(), 5u);
    ASSERT_GT(pieces.size(), blockStarts.size()) << "each block of columns runs over more than one page";

    // Each mechanism's row once per block of columns, whichever page it falls on.
    for (int k : { 0, 56, 99 })
        EXPECT_EQ(RowLines(mt, Q(data_->MechanismName(k))), static_cast<int>(blockStarts.size())) << k;
    // The head row (its corner) on every piece; the columns named above each block.
    EXPECT_EQ(Occurrences(mt, QStringLiteral("МЗ \\ угрозы")), static_cast<int>(pieces.size()));
    for (int first : blockStarts)
        EXPECT_TRUE(mt.contains(QStringLiteral("Столбцы %1–").arg(first + 1))
            || mt.contains(QStringLiteral("Столбец %1 из").arg(first + 1)))
            << first;
    EXPECT_EQ(Occurrences(mt, QStringLiteral("(продолжение)")), static_cast<int>(pieces.size() - blockStarts.size()));
}

TEST_F(LargeReport, NoHeadingEndsAPage)
{
    for (std::size_t p = 0; p + 1 < pages_->size(); ++p) {
        const std::vector<PlacedPiece>& pieces = (*pages_)[p].Pieces;
        ASSERT_FALSE(pieces.empty()) << p;
        if (const auto* text = std::get_if<PlacedText>(&pieces.back())) {
            const TextStyle style = std::get<ReportText>((*blocks_)[text->Block]).Style;
            EXPECT_TRUE(style == TextStyle::Body || style == TextStyle::Note) << "page " << p + 1;
        }
    }
}

// Layout of one table on its own, for sizes from empty to far beyond a sheet both ways.
struct TableCase {
    int Rows;
    int Columns;
    bool LongNames;
    bool InBlocks; // too wide for one sheet
};

void PrintTo(const TableCase& c, std::ostream* out)
{
    *out << c.Rows << " x " << c.Columns << (c.LongNames ? ", long names" : "");
}

class TableLayout : public ::testing::TestWithParam<TableCase> { };

TEST_P(TableLayout, EveryCellIsPlacedOnceWithinTheSheet)
{
    const TableCase& c = GetParam();
    ReportTable table;
    table.Corner = QStringLiteral("строки \\ столбцы");
    const QString stem = c.LongNames
        ? QStringLiteral("Очень длинное название элемента, которое не уместится в строку, номер ")
        : QStringLiteral("Элемент ");
    for (int j = 0; j < c.Columns; ++j)
        table.ColumnHeads.push_back(stem + QString::number(j + 1));
    for (int i = 0; i < c.Rows; ++i) {
        ReportTableRow row { stem + QString::number(i + 1), {} };
        for (int j = 0; j < c.Columns; ++j)
            row.Cells.push_back(QStringLiteral("%1.25").arg(i * j));
        table.Rows.push_back(row);
    }
    const std::vector<ReportBlock> blocks { ReportText { TextStyle::Heading, QStringLiteral("Таблица") }, table,
        ReportText { TextStyle::Body, QStringLiteral("После таблицы") } };
    const std::vector<ReportPage> pages = LayOutReport(blocks, kA4Report);
    const QRectF content = kA4Report.Content().adjusted(-0.01, -0.01, 0.01, 0.01);

    int nextColumn = 0;
    int nextRow = c.Rows; // as if a block had just ended
    int blocksSeen = 0;
    int lastPage = -1;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        double bottom = content.top();
        for (const PlacedPiece& placed : pages[p].Pieces) {
            const QRectF box = std::visit([](const auto& piece) { return piece.Box; }, placed);
            EXPECT_TRUE(content.contains(box)) << "page " << p + 1;
            EXPECT_GE(box.top(), bottom - 0.01) << "page " << p + 1 << ": pieces overlap";
            bottom = box.bottom();
            const auto* piece = std::get_if<PlacedTable>(&placed);
            if (!piece)
                continue;
            EXPECT_GE(static_cast<int>(p), lastPage);
            lastPage = static_cast<int>(p);
            if (piece->FirstRow == 0) { // a new block of columns
                EXPECT_EQ(nextRow, c.Rows);
                EXPECT_EQ(piece->FirstColumn, nextColumn);
                nextColumn = piece->FirstColumn + piece->ColumnCount;
                nextRow = 0;
                ++blocksSeen;
            } else { // its rows go on on a new sheet, under the head again
                EXPECT_EQ(piece->Box.top(), kA4Report.Content().top());
                EXPECT_TRUE(piece->Caption.endsWith(QStringLiteral("(продолжение)")));
            }
            EXPECT_EQ(piece->FirstRow, nextRow);
            EXPECT_GT(piece->HeaderHeight, 0.0);
            nextRow += piece->RowCount;
            EXPECT_TRUE(piece->RowCount > 0 || c.Rows == 0);
        }
    }
    EXPECT_EQ(nextColumn, c.Columns);
    EXPECT_EQ(nextRow, c.Rows);
    EXPECT_GE(blocksSeen, 1);
    EXPECT_EQ(blocksSeen > 1, c.InBlocks) << blocksSeen;
}

INSTANTIATE_TEST_SUITE_P(Sizes, TableLayout,
    ::testing::Values(TableCase { 0, 0, false, false }, TableCase { 1, 1, false, false },
        TableCase { 150, 3, false, false }, TableCase { 10, 40, false, true }, TableCase { 150, 40, false, true },
        TableCase { 60, 5, true, false }, TableCase { 5, 30, true, true }));

// A text a painting wrote, with the box behind it: from the baseline up by the font's
// ascent, as wide as the text's advance and as high as a line.
struct WrittenText {
    QString Text;
    QRect Box;
};

// A surface that keeps only the texts written on it.
class TextRecorder : public QPaintDevice {
public:
    std::vector<WrittenText> Written() const { return engine_.Written; }

    QPaintEngine* paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
        case PdmHeight:
            return 2000;
        case PdmWidthMM:
        case PdmHeightMM:
            return 529; // at 96 dpi
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return std::numeric_limits<int>::max();
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }

private:
    class Engine : public QPaintEngine {
    public:
        Engine()
            : QPaintEngine(QPaintEngine::AllFeatures)
        {
        }
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override { }
        Type type() const override { return QPaintEngine::User; }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { }
        void drawPath(const QPainterPath&) override { }
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override { }
        void drawLines(const QLineF*, int) override { }
        void drawRects(const QRectF*, int) override { }
        void drawEllipse(const QRectF&) override { }
        void drawPoints(const QPointF*, int) override { }
        void drawTextItem(const QPointF& p, const QTextItem& item) override
        {
            // Nothing here moves the painter: its coordinates are the chart's.
            EXPECT_TRUE(state->transform().isIdentity());
            const QFontMetrics metrics(item.font());
            const QPoint baseline = p.toPoint();
            Written.push_back({ item.text(),
                QRect(baseline.x(), baseline.y() - metrics.ascent(), metrics.horizontalAdvance(item.text()),
                    metrics.height()) });
        }

        std::vector<WrittenText> Written;
    };

    mutable Engine engine_;
};

std::vector<WrittenText> TextsOf(const ReportChart& chart)
{
    TextRecorder surface;
    {
        QPainter painter(&surface);
        chart.Paint(painter);
    }
    return surface.Written();
}

// The report's MM and EE charts: the first two after the section's heading.
std::vector<const ReportChart*> DiagonalCharts(const std::vector<ReportBlock>& blocks)
{
    std::vector<const ReportChart*> charts;
    bool inSection = false;
    for (const ReportBlock& block : blocks) {
        if (const auto* text = std::get_if<ReportText>(&block); text && text->Style == TextStyle::Heading)
            inSection = text->Text.startsWith(QStringLiteral("6. "));
        else if (const auto* chart = std::get_if<ReportChart>(&block); chart && inSection && charts.size() < 2)
            charts.push_back(chart);
    }
    return charts;
}

struct DiagonalLabelsCase {
    const char* Name;
    CData (*Data)();
    // The largest diagonal element puts the scale marks less than a line apart.
    bool Crowded;
};

void PrintTo(const DiagonalLabelsCase& c, std::ostream* out)
{
    *out << c.Name;
}

class ReportDiagonalChart : public ::testing::TestWithParam<DiagonalLabelsCase> { };

// The scale numbers are placed as the window places its labels: none lies on another
// number or leaves the chart, and with room for all of them all are written.
TEST_P(ReportDiagonalChart, NoNumberCoversAnotherAndEachOneWithRoomIsWritten)
{
    const DiagonalLabelsCase& c = GetParam();
    const CData data = c.Data();
    const CData analysed = AnalysedCopy(data);
    const std::vector<ReportBlock> blocks = AssessmentReportBlocks(data, ExampleRequest(false), QDate::currentDate());
    const std::vector<const ReportChart*> charts = DiagonalCharts(blocks);
    ASSERT_EQ(charts.size(), 2u);
    const Matrix* matrices[] = { &analysed.MM, &analysed.EE };
    const char* kinds[] = { "МЗ", "Эшелон" };
    const QStringList scale = { QStringLiteral("0.5"), QStringLiteral("1.0"), QStringLiteral("1.5") };
    for (std::size_t k = 0; k < charts.size(); ++k) {
        SCOPED_TRACE(k == 0 ? "MM" : "EE");
        const Vector diagonal = matrices[k]->Diagonal();
        float largest = 0.0f;
        for (int i = 0; i < std::min(diagonal.Size(), kDiagonalVisibleBars); ++i)
            largest = std::max(largest, diagonal(i));
        // Half a unit of the scale against the height of a line of text.
        const double markStep = 0.5 * 120.0 / largest;
        if (c.Crowded) {
            ASSERT_LT(markStep, QFontMetrics(WindowFont()).height()) << largest;
        } else {
            ASSERT_GT(markStep, QFontMetrics(WindowFont()).height()) << largest;
        }

        const std::vector<WrittenText> written = TextsOf(*charts[k]);
        const QRect area = charts[k]->Source.toRect();
        QStringList texts;
        for (const WrittenText& text : written) {
            texts.push_back(text.Text);
            EXPECT_TRUE(area.contains(text.Box)) << text.Text.toStdString();
            for (const WrittenText& other : written) {
                if (&other != &text) {
                    EXPECT_FALSE(text.Box.intersects(other.Box))
                        << text.Text.toStdString() << " / " << other.Text.toStdString();
                }
            }
        }
        // The labels that always stand beside the chart.
        for (const QString& fixed : { QString::fromStdString(FormatFixed(largest, 2)), QStringLiteral("0"),
                 QStringLiteral("1"), QString::fromUtf8(kinds[k]) })
            EXPECT_TRUE(texts.contains(fixed)) << fixed.toStdString();
        int shown = 0;
        for (const QString& mark : scale)
            shown += static_cast<int>(texts.count(mark));
        if (c.Crowded) {
            EXPECT_LT(shown, 3) << texts.join(QLatin1Char(' ')).toStdString();
        } else {
            EXPECT_EQ(shown, 3) << texts.join(QLatin1Char(' ')).toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Diagonals, ReportDiagonalChart,
    ::testing::Values(DiagonalLabelsCase { "example", LoadExample, false },
        DiagonalLabelsCase { "twenty items", [] { return RandomAssessment(20, 7); }, true }));

// The rating window's "Отчёт...": the report of the window's assessment with the curves
// of the items checked in its lists.
class RatingWindowReport : public RatingWindowFixture {
protected:
    void SetUp() override
    {
        document.Store() = LoadExample();
        OpenWindow();
    }
};

TEST_F(RatingWindowReport, WritesTheReportWithTheCheckedItemsCurves)
{
    Check("LayersList", 3);
    Check("ThreatsList", 5);
    Check("MechanismsList", 0);
    const std::string path = folder.Path("from-window.pdf");
    dialogs.FileAnswers.push_back(QString::fromStdString(path));
    window->findChild<QPushButton*>(QStringLiteral("ReportButton"))->click();
    EXPECT_TRUE(dialogs.Messages.empty());
    ASSERT_TRUE(std::filesystem::exists(path));

    READ_PDF_TEXT(text, path);
    const CData& store = document.Store();
    const QString section = text.mid(text.indexOf(QStringLiteral("Рейтинговые показатели в зависимости от ЧАУ")));
    ASSERT_FALSE(section.isEmpty());
    EXPECT_TRUE(section.contains(QStringLiteral("Эшелон: ") + Q(store.LayerName(3))));
    EXPECT_TRUE(section.contains(QStringLiteral("Угроза: ") + Q(store.ThreatName(5))));
    EXPECT_TRUE(section.contains(QStringLiteral("Механизм защиты: ") + Q(store.MechanismName(0))));
    EXPECT_TRUE(section.contains(
        QStringLiteral("Высокий уровень потенциального ущерба: ") + Q(FormatFixed(store.HighLevel, 2))));
}

TEST_F(RatingWindowReport, WithoutACompleteSelectionTheReportHasNoCurves)
{
    Check("LayersList", 0);
    const std::string path = folder.Path("no-curves.pdf");
    dialogs.FileAnswers.push_back(QString::fromStdString(path));
    window->findChild<QPushButton*>(QStringLiteral("ReportButton"))->click();
    READ_PDF_TEXT(text, path);
    EXPECT_TRUE(text.contains(QStringLiteral("Рейтинговый показатель Re:")));
    EXPECT_FALSE(text.contains(QStringLiteral("Рейтинговые показатели в зависимости от ЧАУ")));
}

TEST(ReportToolPdf, WritesTheReportOfTheFileWithTheRequestedCurves)
{
    TempFolder folder;
    const std::string path = folder.Path("tool.pdf");
    const auto json = RunProgram(kTool,
        { Q(kExample), QStringLiteral("--pdf"), Q(path), QStringLiteral("--rating"), QStringLiteral("1,2,3"),
            QStringLiteral("--high"), QStringLiteral("1.5") });
    ASSERT_TRUE(json.has_value());
    EXPECT_TRUE(json->contains("\"rating\"")) << "the JSON report still comes out";
    READ_PDF_TEXT(text, path);
    const CData data = LoadExample();
    EXPECT_TRUE(text.contains(QStringLiteral("Файл данных: example.sav")));
    const QString section = text.mid(text.indexOf(QStringLiteral("Рейтинговые показатели в зависимости от ЧАУ")));
    ASSERT_FALSE(section.isEmpty());
    EXPECT_TRUE(section.contains(QStringLiteral("Эшелон: ") + Q(data.LayerName(1))));
    EXPECT_TRUE(section.contains(QStringLiteral("Угроза: ") + Q(data.ThreatName(2))));
    EXPECT_TRUE(section.contains(QStringLiteral("Механизм защиты: ") + Q(data.MechanismName(3))));
    // --high as given, the low level from the file.
    EXPECT_TRUE(section.contains(QStringLiteral("Высокий уровень потенциального ущерба: 1.50")));
    EXPECT_TRUE(section.contains(QStringLiteral("Низкий уровень потенциального ущерба: 0.50")));
}

// "--pdf /dev/stdout" feeds a pipe: the report alone comes out, without the JSON after it;
// a data file is never written that way.
TEST(ReportToolPdf, StandardOutputPipedTakesTheReportAlone)
{
#ifdef _WIN32
    GTEST_SKIP() << "/dev/stdout names standard output on POSIX systems only";
#endif
    QProcess tool; // its standard output is a pipe
    tool.start(kTool, { Q(kExample), QStringLiteral("--pdf"), QStringLiteral("/dev/stdout") });
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QByteArray pdf = tool.readAllStandardOutput();
    EXPECT_TRUE(pdf.startsWith("%PDF-")) << pdf.left(40).toStdString();
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF")) << pdf.right(40).toStdString();

    TempFolder folder;
    const std::string path = folder.Path("piped.pdf");
    WriteBytes(path, pdf.toStdString());
    READ_PDF_TEXT(text, path);
    EXPECT_TRUE(text.contains(QStringLiteral("Файл данных: example.sav")));
    ExpectPageNumbers(text, static_cast<int>(Plan(LoadExample(), ExampleRequest(false)).size()));
}

TEST(ReportToolPdf, ADataFileIsNotSavedIntoStandardOutput)
{
#ifdef _WIN32
    GTEST_SKIP() << "/dev/stdout names standard output on POSIX systems only";
#endif
    QProcess tool;
    tool.start(kTool, { Q(kExample), QStringLiteral("--save"), QStringLiteral("/dev/stdout") });
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_EQ(tool.readAllStandardOutput(), QByteArray());
    EXPECT_TRUE(QString::fromUtf8(tool.readAllStandardError())
                    .contains(QStringLiteral("Не удалось сохранить файл /dev/stdout.")));
    EXPECT_TRUE(std::filesystem::is_symlink("/dev/stdout"));
}

TEST(ReportToolPdf, AnUnwritablePathFailsWithTheMessage)
{
    TempFolder folder;
    const std::string path = folder.Path("missing/tool.pdf");
    QProcess tool;
    tool.start(kTool, { Q(kExample), QStringLiteral("--pdf"), Q(path) });
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(tool.readAllStandardError()).contains(Q("Не удалось сохранить файл " + path + ".")));
    EXPECT_TRUE(std::filesystem::is_empty(folder.Root()));
}

} // namespace
