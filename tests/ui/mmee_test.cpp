// The MM and EE window: its controls, the matrices it computes and lists each time it is
// shown, the two diagonal charts with their labels, and the moves of the wizard.
#include "ui/windows/MMEE.h"

#include "../core/support/RandomAssessment.h"
#include "RecordingNavigation.h"
#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "analysis/Format.h"
#include "model/Data.h"
#include "model/Messages.h"
#include "ui/charts/MMEEChart.h"
#include "ui/document/Document.h"
#include "ui/widgets/Frames.h"
#include "ui/widgets/MatrixGrid.h"

#include "RecordingCanvas.h"
#include "ScriptedDialogs.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QColor& colour, std::ostream* out)
{
    *out << "rgb(" << colour.red() << ", " << colour.green() << ", " << colour.blue() << ")";
}

namespace {

const QColor kBlue(0, 0, 255);

struct RefuseMessages : IMessageSink {
    void ShowMessage(const std::string& text) override { ADD_FAILURE() << text; }
};

Matrix Literal(const std::vector<std::vector<float>>& rows)
{
    Matrix m;
    m.Resize(static_cast<int>(rows.size()), rows.empty() ? 0 : static_cast<int>(rows.front().size()));
    for (int i = 0; i < m.Rows(); ++i)
        for (int j = 0; j < m.Cols(); ++j)
            m(i, j) = rows[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
    return m;
}

QString Text(double value)
{
    return QString::fromStdString(FormatFixed(value, 2));
}

// Pixels in `area` of the colour of the diagonal's text, and pixels of dark grey ink.
struct Ink {
    int Blue = 0;
    int Grey = 0;
};

Ink InkIn(const QImage& image, const QRect& area)
{
    Ink ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 200 && c.red() < 80 && c.green() < 80)
                ++ink.Blue;
            else if (c.red() == c.green() && c.green() == c.blue() && c.red() < 128)
                ++ink.Grey;
        }
    return ink;
}

class MMEEWindowTest : public ::testing::Test {
protected:
    // Three mechanisms and two layers. MM = ReliabilityME x WeightedDamageEM has the
    // diagonal (0.2, 0.4, 0.8); EE = WeightedDamageEM x ReliabilityME has (1.0, 0.4).
    void SetUpSmallAssessment()
    {
        store.MechanismCount = 3;
        store.LayerCount = 2;
        store.ThreatCount = 1;
        store.MechanismNames = { "МЗ А", "МЗ Б", "МЗ В" };
        store.MechanismIndices = { "0", "1", "2" };
        store.LayerNames = { "Эшелон 1", "Эшелон 2" };
        store.LayerIndices = { "0", "1" };
        store.ThreatNames = { "Угроза" };
        store.ThreatIndices = { "0" };
        store.ReliabilityME = Literal({ { 0.2f, 0.0f }, { 0.0f, 0.4f }, { 0.8f, 0.0f } });
        store.WeightedDamageEM = Literal({ { 1.0f, 0.0f, 1.0f }, { 0.0f, 1.0f, 0.5f } });
    }

    std::unique_ptr<TMMEEForm> OpenWindow()
    {
        auto window = std::make_unique<TMMEEForm>(document, dialogs, navigation);
        window->show();
        return window;
    }

    template <typename T> static T* Child(QWidget& window, const char* name)
    {
        auto* child = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    static QString LabelText(QWidget& window, const char* name)
    {
        QLabel* label = Child<QLabel>(window, name);
        return label ? label->text() : QString();
    }

    // The grid's texts, row by row.
    static std::vector<std::vector<QString>> GridTexts(QWidget& window, const char* name)
    {
        std::vector<std::vector<QString>> texts;
        const MatrixGridModel& model = Child<MatrixGrid>(window, name)->Model();
        for (int i = 0; i < model.rowCount(); ++i) {
            texts.emplace_back();
            for (int j = 0; j < model.columnCount(); ++j)
                texts.back().push_back(model.Text(i, j));
        }
        return texts;
    }

    static std::vector<std::vector<QString>> MatrixTexts(const Matrix& m)
    {
        std::vector<std::vector<QString>> texts;
        for (int i = 0; i < m.Rows(); ++i) {
            texts.emplace_back();
            for (int j = 0; j < m.Cols(); ++j)
                texts.back().push_back(Text(m(i, j)));
        }
        return texts;
    }

    AssessmentDocument document;
    CData& store = document.Store();
    ScriptedDialogs dialogs;
    RecordingNavigation navigation;
};

TEST_F(MMEEWindowTest, ControlsStandWhereTheWindowPlacesThem)
{
    TMMEEForm window(document, dialogs, navigation);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Без имени — Vardun 2.2"));
    EXPECT_EQ(window.size(), QSize(646, 465));

    auto* mmBox = Child<QGroupBox>(window, "MMGroupBox");
    auto* eeBox = Child<QGroupBox>(window, "EEGroupBox");
    ASSERT_TRUE(mmBox && eeBox);
    EXPECT_EQ(mmBox->geometry(), QRect(0, 0, 646, 209));
    EXPECT_EQ(eeBox->geometry(), QRect(0, 209, 646, 209));
    EXPECT_EQ(mmBox->title(), QString::fromUtf8("Матрица достоверного потенциального ущерба \"МЗ-МЗ\" MM"));
    EXPECT_EQ(eeBox->title(), QString::fromUtf8("Матрица достоверного потенциального ущерба \"эшелоны-эшелоны\" ЕЕ"));
    // The last two letters: Latin in one caption, Cyrillic in the other.
    EXPECT_TRUE(mmBox->title().endsWith(QLatin1String(" MM")));
    EXPECT_TRUE(eeBox->title().endsWith(QString::fromUtf16(u" \u0415\u0415")));
    EXPECT_NE(qobject_cast<FramedGroupBox*>(mmBox), nullptr);
    EXPECT_NE(qobject_cast<FramedGroupBox*>(eeBox), nullptr);

    struct Place {
        const char* name;
        QGroupBox* parent;
        QPoint at;
        const char* text;
    };
    const Place labels[] = {
        { "Label1", mmBox, { 8, 184 }, "Рейтинговый показатель Rm:" },
        { "RMLabel", mmBox, { 168, 184 }, "" },
        { "Label0", mmBox, { 285, 184 }, "0" },
        { "MM05", mmBox, { 277, 104 }, "0.5" },
        { "MM10", mmBox, { 277, 88 }, "1.0" },
        { "MM15", mmBox, { 277, 64 }, "1.5" },
        { "MMMax", mmBox, { 304, 56 }, "" },
        { "Label3", mmBox, { 328, 192 }, "1" },
        { "Label7", mmBox, { 406, 192 }, "5" },
        { "Label12", mmBox, { 502, 192 }, "10" },
        { "Label24", mmBox, { 576, 168 }, "МЗ" },
        { "Label2", eeBox, { 8, 184 }, "Рейтинговый показатель Re:" },
        { "RELabel", eeBox, { 168, 184 }, "" },
        { "Label26", eeBox, { 285, 192 }, "0" },
        { "EE05", eeBox, { 277, 160 }, "0.5" },
        { "EE10", eeBox, { 277, 144 }, "1.0" },
        { "EE15", eeBox, { 277, 120 }, "1.5" },
        { "EEMax", eeBox, { 304, 56 }, "" },
        { "Label13", eeBox, { 328, 192 }, "1" },
        { "Label18", eeBox, { 424, 192 }, "6" },
        { "Label22", eeBox, { 502, 192 }, "10" },
        { "Label25", eeBox, { 576, 168 }, "Эшелон" },
    };
    for (const Place& p : labels) {
        SCOPED_TRACE(p.name);
        QLabel* label = Child<QLabel>(window, p.name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->parentWidget(), p.parent);
        EXPECT_EQ(label->pos(), p.at);
        EXPECT_EQ(label->text(), QString::fromUtf8(p.text));
    }
    // With the other numbers under the bars, the notice of a long diagonal and the numbers
    // of the 11th to 15th bars (all six hidden), twenty-four labels in each box.
    EXPECT_EQ(mmBox->findChildren<QLabel*>().size(), 24);
    EXPECT_EQ(eeBox->findChildren<QLabel*>().size(), 24);

    for (auto [name, parent] : { std::pair { "MMGrid", mmBox }, std::pair { "EEGrid", eeBox } }) {
        SCOPED_TRACE(name);
        MatrixGrid* grid = Child<MatrixGrid>(window, name);
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->parentWidget(), parent);
        EXPECT_EQ(grid->geometry(), QRect(3, 23, 248, 146));
        EXPECT_TRUE(grid->OwnerDrawn());
        EXPECT_EQ(grid->Model().rowCount(), 3);
        EXPECT_EQ(grid->Model().columnCount(), 3);
        // A cell of 60 x 18 and its grid line.
        EXPECT_EQ(grid->columnWidth(0), 61);
        EXPECT_EQ(grid->rowHeight(0), 19);
        EXPECT_TRUE(grid->showGrid());
    }

    QPushButton* back = Child<QPushButton>(window, "BackButton");
    QPushButton* next = Child<QPushButton>(window, "NextButton");
    ASSERT_TRUE(back && next);
    EXPECT_EQ(back->geometry(), QRect(168, 432, 75, 25));
    EXPECT_EQ(back->text(), QStringLiteral("Назад..."));
    EXPECT_EQ(next->geometry(), QRect(376, 432, 91, 25));
    EXPECT_EQ(next->text(), QStringLiteral("Далее ..."));
}

TEST_F(MMEEWindowTest, ShowingComputesAndListsBothMatricesWithTheDiagonalInBlue)
{
    SetUpSmallAssessment();
    auto window = OpenWindow();

    // The store now holds the products, and the grids list them.
    ASSERT_EQ(store.MM.Rows(), 3);
    ASSERT_EQ(store.EE.Rows(), 2);
    using Texts = std::vector<std::vector<QString>>;
    EXPECT_EQ(GridTexts(*window, "MMGrid"),
        (Texts { { "0.20", "0.00", "0.20" }, { "0.00", "0.40", "0.20" }, { "0.80", "0.00", "0.80" } }));
    EXPECT_EQ(GridTexts(*window, "EEGrid"), (Texts { { "1.00", "0.00" }, { "0.40", "0.40" } }));

    for (const char* name : { "MMGrid", "EEGrid" }) {
        SCOPED_TRACE(name);
        const MatrixGridModel& model = Child<MatrixGrid>(*window, name)->Model();
        for (int i = 0; i < model.rowCount(); ++i)
            for (int j = 0; j < model.columnCount(); ++j)
                EXPECT_EQ(model.data(model.index(i, j), Qt::ForegroundRole).value<QColor>(),
                    i == j ? kBlue : QColor(Qt::black))
                    << i << ", " << j;
    }

    // On the screen: the diagonal's text is blue, the rest black, all on the window colour.
    MatrixGrid* grid = Child<MatrixGrid>(*window, "MMGrid");
    const QImage image = grid->viewport()->grab().toImage();
    const QRect diagonal = grid->visualRect(grid->Model().index(1, 1));
    const QRect offDiagonal = grid->visualRect(grid->Model().index(1, 2));
    const Ink onDiagonal = InkIn(image, diagonal);
    const Ink off = InkIn(image, offDiagonal);
    EXPECT_GT(onDiagonal.Blue, 5);
    EXPECT_EQ(onDiagonal.Grey, 0);
    EXPECT_EQ(off.Blue, 0);
    EXPECT_GT(off.Grey, 5);
    // Text starts three pixels in; the cell's last column is background.
    const QColor face = window->palette().color(QPalette::Button);
    EXPECT_EQ(image.pixelColor(diagonal.right() - 1, diagonal.center().y()), face);
    EXPECT_EQ(InkIn(image, QRect(diagonal.left(), diagonal.top(), 3, diagonal.height())).Blue, 0);
    EXPECT_EQ(InkIn(image, QRect(diagonal.left(), diagonal.top(), diagonal.width(), 3)).Blue, 0);
}

TEST_F(MMEEWindowTest, LabelsFollowEachChart)
{
    SetUpSmallAssessment();
    auto window = OpenWindow();

    EXPECT_EQ(LabelText(*window, "RMLabel"), Text(RatingIndicator(store.MM)));
    EXPECT_EQ(LabelText(*window, "RMLabel"), QStringLiteral("0.92"));
    EXPECT_EQ(LabelText(*window, "RELabel"), Text(RatingIndicator(store.EE)));
    EXPECT_EQ(LabelText(*window, "RELabel"), QStringLiteral("1.08"));
    EXPECT_EQ(LabelText(*window, "MMMax"), QStringLiteral("0.80"));
    EXPECT_EQ(LabelText(*window, "EEMax"), QStringLiteral("1.00"));

    // Each chart scales to its own largest element: 0.8 and 1.0 are 120 px.
    struct Scale {
        const char* name;
        int top;
        bool shown;
    };
    const Scale scales[] = {
        { "MM05", 111, true },
        { "MM10", 36, true },
        { "MM15", -38, false }, // above the group box
        { "EE05", 126, true },
        { "EE10", 66, true },
        { "EE15", 6, true },
    };
    for (const Scale& s : scales) {
        SCOPED_TRACE(s.name);
        QLabel* label = Child<QLabel>(*window, s.name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->pos(), QPoint(277, s.top));
        EXPECT_EQ(label->isVisible(), s.shown);
    }

    // Painting changes none of it and settles.
    window->grab();
    QApplication::processEvents();
    EXPECT_EQ(Child<QLabel>(*window, "MM10")->pos(), QPoint(277, 36));
    EXPECT_EQ(LabelText(*window, "RMLabel"), QStringLiteral("0.92"));
}

TEST_F(MMEEWindowTest, AnAllZeroDiagonalHidesTheScaleAndLeavesItsLabelsInPlace)
{
    SetUpSmallAssessment();
    store.WeightedDamageEM = Literal({ { 0.0f, 0.0f, 0.0f }, { 0.0f, 0.0f, 0.0f } });
    auto window = OpenWindow();
    EXPECT_EQ(LabelText(*window, "RMLabel"), QStringLiteral("0.00"));
    EXPECT_EQ(LabelText(*window, "MMMax"), QStringLiteral("0.00"));
    for (auto [name, top] : { std::pair { "MM05", 104 }, std::pair { "MM10", 88 }, std::pair { "EE15", 120 } }) {
        SCOPED_TRACE(name);
        QLabel* label = Child<QLabel>(*window, name);
        EXPECT_FALSE(label->isVisible());
        EXPECT_EQ(label->pos(), QPoint(277, top));
    }

    // A scale again once there is something to scale by.
    window->hide();
    SetUpSmallAssessment();
    window->show();
    EXPECT_TRUE(Child<QLabel>(*window, "MM05")->isVisible());
    EXPECT_EQ(Child<QLabel>(*window, "MM05")->pos(), QPoint(277, 111));
}

TEST_F(MMEEWindowTest, ShowingAgainShowsTheNewResults)
{
    SetUpSmallAssessment();
    auto window = OpenWindow();
    EXPECT_EQ(GridTexts(*window, "MMGrid")[2][2], QStringLiteral("0.80"));

    // A source-matrix window recomputed: four mechanisms now, other reliabilities.
    store.MechanismCount = 4;
    store.ReliabilityME = Literal({ { 0.5f, 0.0f }, { 0.0f, 1.0f }, { 1.0f, 1.0f }, { 0.1f, 0.2f } });
    store.WeightedDamageEM = Literal({ { 1.0f, 0.0f, 0.5f, 0.3f }, { 0.0f, 0.25f, 0.5f, 1.0f } });
    // Nothing changes while the window stays shown.
    QApplication::processEvents();
    EXPECT_EQ(GridTexts(*window, "MMGrid").size(), 3u);

    window->hide();
    window->show();
    ASSERT_EQ(store.MM.Rows(), 4);
    EXPECT_EQ(GridTexts(*window, "MMGrid"), MatrixTexts(store.MM));
    EXPECT_EQ(GridTexts(*window, "EEGrid"), MatrixTexts(store.EE));
    // MM's diagonal (0.5, 0.25, 1.0, 0.23), EE's (1.03, 0.95).
    EXPECT_EQ(LabelText(*window, "RMLabel"), Text(RatingIndicator(store.MM)));
    EXPECT_EQ(LabelText(*window, "RMLabel"), QStringLiteral("1.17"));
    EXPECT_EQ(LabelText(*window, "RELabel"), QStringLiteral("1.40"));
    EXPECT_EQ(LabelText(*window, "MMMax"), QStringLiteral("1.00"));
    EXPECT_EQ(LabelText(*window, "EEMax"), QStringLiteral("1.03"));
}

TEST_F(MMEEWindowTest, RestoringTheWindowIsNoShowing)
{
    SetUpSmallAssessment();
    auto window = OpenWindow();
    const Matrix before = store.MM;

    store.ReliabilityME = Literal({ { 1.0f, 1.0f }, { 1.0f, 1.0f }, { 1.0f, 1.0f } });
    // What the window system sends when the analyst restores the window.
    QShowEvent restored;
    QSpontaneKeyEvent::setSpontaneous(&restored);
    // Delivered directly: sendEvent would take the spontaneous mark off again.
    static_cast<QObject*>(window.get())->event(&restored);
    EXPECT_EQ(MatrixTexts(store.MM), MatrixTexts(before)) << "not computed again";
    EXPECT_EQ(GridTexts(*window, "MMGrid"), MatrixTexts(before));

    window->hide();
    window->show();
    EXPECT_NE(GridTexts(*window, "MMGrid"), MatrixTexts(before));
}

TEST_F(MMEEWindowTest, TheResultsAreReadOnly)
{
    SetUpSmallAssessment();
    auto window = OpenWindow();
    const Matrix reliability = store.ReliabilityME;
    const Matrix weighted = store.WeightedDamageEM;
    const Matrix mm = store.MM;

    MatrixGrid* grid = Child<MatrixGrid>(*window, "MMGrid");
    const QModelIndex cell = grid->Model().index(0, 1);
    grid->setCurrentIndex(cell);
    // Neither a typed key, nor F2, nor a double click opens the cell.
    QTest::keyClicks(grid, "7.5");
    QTest::keyClick(grid, Qt::Key_F2);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    QApplication::processEvents();
    EXPECT_EQ(grid->viewport()->findChild<QLineEdit*>(), nullptr);
    EXPECT_FALSE(grid->Model().flags(cell) & Qt::ItemIsEditable);
    EXPECT_EQ(grid->Model().Text(0, 1), QStringLiteral("0.00"));

    EXPECT_EQ(MatrixTexts(store.MM), MatrixTexts(mm));
    EXPECT_EQ(MatrixTexts(store.ReliabilityME), MatrixTexts(reliability));
    EXPECT_EQ(MatrixTexts(store.WeightedDamageEM), MatrixTexts(weighted));
    EXPECT_TRUE(document.IsSaved());
    EXPECT_EQ(LabelText(*window, "RMLabel"), QStringLiteral("0.92"));

    window->hide();
    window->show();
    EXPECT_EQ(grid->Model().Text(0, 1), QStringLiteral("0.00"));
}

TEST_F(MMEEWindowTest, BarsAreDrawnInTheirGroupBoxes)
{
    SetUpSmallAssessment();
    auto window = OpenWindow();
    const QImage image = window->grab().toImage();
    ASSERT_EQ(image.size(), QSize(646, 465));
    ASSERT_EQ(window->centralWidget()->geometry(), QRect(0, 0, 646, 465));

    struct Chart {
        const char* what;
        const Matrix& matrix;
        QPoint origin; // the group box in the window
    };
    const Chart charts[] = { { "MM", store.MM, { 0, 0 } }, { "EE", store.EE, { 0, 209 } } };
    for (const Chart& chart : charts) {
        SCOPED_TRACE(chart.what);
        RecordingCanvas recorder;
        DrawDiagonalChart(recorder, chart.matrix);
        const auto bars = recorder.All(Primitive::Kind::Rectangle);
        ASSERT_EQ(bars.size(), static_cast<std::size_t>(chart.matrix.Rows()));
        for (const Primitive& bar : bars) {
            const QPoint topLeft = chart.origin + QPoint(bar.A.X, bar.A.Y);
            const QPoint inside = chart.origin + QPoint(bar.A.X + 10, (bar.A.Y + bar.B.Y) / 2);
            EXPECT_EQ(image.pixelColor(inside), kBlue) << bar.A.X;
            EXPECT_EQ(image.pixelColor(topLeft + QPoint(10, 0)), QColor(Qt::black)) << "the outline";
            EXPECT_NE(image.pixelColor(topLeft + QPoint(10, -2)), kBlue) << "nothing above the bar";
        }
        // The axes meet at (300, 190); the dotted line starts with a mark at the tallest bar.
        EXPECT_EQ(image.pixelColor(chart.origin + QPoint(300, 150)), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(chart.origin + QPoint(450, 190)), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(chart.origin + QPoint(recorder.All(Primitive::Kind::Line).back().A.X, 70)),
            QColor(Qt::black));
    }
    // MM: bars of 30, 60 and 120 px from x = 320; nothing beyond the third.
    EXPECT_EQ(image.pixelColor(330, 175), kBlue);
    EXPECT_NE(image.pixelColor(330, 150), kBlue);
    EXPECT_EQ(image.pixelColor(370, 75), kBlue);
    EXPECT_NE(image.pixelColor(390, 150), kBlue);
    // EE: its first bar is its tallest.
    EXPECT_EQ(image.pixelColor(330, 209 + 75), kBlue);
}

TEST_F(MMEEWindowTest, TheExampleAssessment)
{
    RefuseMessages refuse;
    ASSERT_TRUE(store.LoadFromFile(VARDUN_TEST_DATA "/example.sav", refuse));
    ComputeAllModes(store);
    auto window = OpenWindow();

    ASSERT_EQ(store.MM.Rows(), 6);
    ASSERT_EQ(store.EE.Rows(), 4);
    EXPECT_EQ(GridTexts(*window, "MMGrid"), MatrixTexts(store.MM));
    EXPECT_EQ(GridTexts(*window, "EEGrid"), MatrixTexts(store.EE));

    struct Binding {
        const Matrix& matrix;
        const char* indicator;
        const char* maximum;
        const char* scale[3];
    };
    const Binding bindings[] = {
        { store.MM, "RMLabel", "MMMax", { "MM05", "MM10", "MM15" } },
        { store.EE, "RELabel", "EEMax", { "EE05", "EE10", "EE15" } },
    };
    for (const Binding& b : bindings) {
        SCOPED_TRACE(b.indicator);
        RecordingCanvas recorder;
        const DiagonalChartLabels expected = DrawDiagonalChart(recorder, b.matrix);
        EXPECT_EQ(LabelText(*window, b.indicator), Text(RatingIndicator(b.matrix)));
        EXPECT_EQ(LabelText(*window, b.maximum).toStdString(), expected.Maximum);
        for (int p = 0; p < 3; ++p) {
            const ChartLabel& scale = expected.Scale[static_cast<std::size_t>(p)];
            QLabel* label = Child<QLabel>(*window, b.scale[p]);
            if (scale.Visible) {
                EXPECT_EQ(label->y(), scale.Top) << b.scale[p];
            }
            // Out of sight above the group box, or shown.
            EXPECT_EQ(label->isVisible(), scale.Visible && scale.Top + label->height() > 0) << b.scale[p];
        }
    }
}

// Sixteen mechanisms: the MM chart shows its first 15 bars and says so; EE, with one layer,
// shows all of its diagonal and no notice.
TEST_F(MMEEWindowTest, ALongDiagonalShowsItsFirstFifteenBarsAndSaysSo)
{
    Matrix reliability;
    reliability.Resize(16, 1);
    Matrix weighted;
    weighted.Resize(1, 16);
    for (int m = 0; m < 16; ++m) {
        reliability(m, 0) = 1.0f;
        weighted(0, m) = m == 15 ? 9.0f : 1.0f;
    }
    store.ReliabilityME = reliability;
    store.WeightedDamageEM = weighted;
    auto window = OpenWindow();
    QLabel* notices[2] = { nullptr, nullptr };
    for (QLabel* label : window->findChildren<QLabel*>(QStringLiteral("PartialChartLabel")))
        notices[label->parentWidget()->objectName() == QStringLiteral("MMGroupBox") ? 0 : 1] = label;
    ASSERT_NE(notices[0], nullptr);
    ASSERT_NE(notices[1], nullptr);
    EXPECT_TRUE(notices[0]->isVisible());
    EXPECT_EQ(notices[0]->text(), QStringLiteral("На графике показаны только первые 15 элементов диагонали."));
    EXPECT_FALSE(notices[1]->isVisible());
    // The 16th element, the largest, is not drawn and does not set the scale.
    EXPECT_EQ(LabelText(*window, "MMMax"), QStringLiteral("1.00"));
}

TEST_F(MMEEWindowTest, BackNextAndTheFramesCloseControl)
{
    SetUpSmallAssessment();
    auto window = OpenWindow();
    QTest::mouseClick(Child<QPushButton>(*window, "BackButton"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(*window, "NextButton"), Qt::LeftButton);
    EXPECT_EQ(navigation.Calls, (std::vector<std::string> { "back", "next" }));

    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(navigation.Calls.back(), "closed");
}

TEST_F(MMEEWindowTest, ReachesAssistiveTechnology)
{
    SetUpSmallAssessment();
    auto window = OpenWindow();

    QAccessibleInterface* self = QAccessible::queryAccessibleInterface(window.get());
    ASSERT_NE(self, nullptr);
    EXPECT_EQ(self->role(), QAccessible::Window);
    EXPECT_EQ(self->text(QAccessible::Name), QStringLiteral("Без имени — Vardun 2.2"));

    for (auto [gridName, boxName] : { std::pair { "MMGrid", "MMGroupBox" }, std::pair { "EEGrid", "EEGroupBox" } }) {
        SCOPED_TRACE(gridName);
        QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(Child<MatrixGrid>(*window, gridName));
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->role(), QAccessible::Table);
        EXPECT_EQ(grid->text(QAccessible::Name), Child<QGroupBox>(*window, boxName)->title());
        ASSERT_NE(grid->tableInterface(), nullptr);
        QAccessibleInterface* cell = grid->tableInterface()->cellAt(0, 1);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("0.00"));
        EXPECT_EQ(grid->tableInterface()->cellAt(0, 0)->text(QAccessible::Name),
            gridName == std::string("MMGrid") ? QStringLiteral("0.20") : QStringLiteral("1.00"));
    }

    struct Named {
        const char* objectName;
        QAccessible::Role role;
        const char* name;
        const char* description;
    };
    const Named controls[] = {
        { "MMGroupBox", QAccessible::Grouping, "Матрица достоверного потенциального ущерба \"МЗ-МЗ\" MM", "" },
        { "Label1", QAccessible::StaticText, "Рейтинговый показатель Rm:", "" },
        { "RMLabel", QAccessible::StaticText, "0.92", "Рейтинговый показатель Rm:" },
        { "RELabel", QAccessible::StaticText, "1.08", "Рейтинговый показатель Re:" },
        { "MMMax", QAccessible::StaticText, "0.80", "Наибольший элемент диагонали MM" },
        { "EEMax", QAccessible::StaticText, "1.00", "Наибольший элемент диагонали EE" },
        { "BackButton", QAccessible::Button, "Назад...", "" },
        { "NextButton", QAccessible::Button, "Далее ...", "" },
    };
    for (const Named& c : controls) {
        SCOPED_TRACE(c.objectName);
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(Child<QWidget>(*window, c.objectName));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->role(), c.role);
        EXPECT_EQ(control->text(QAccessible::Name), QString::fromUtf8(c.name));
        if (*c.description) {
            EXPECT_EQ(control->text(QAccessible::Description), QString::fromUtf8(c.description));
        }
    }
}

} // namespace

// At a hundred items: the marks of a tall chart crowd at its axis, yet no number lies on
// another, none leaves its box, and the bars shown are numbered to the 15th.
TEST_F(MMEEWindowTest, AtAHundredItemsNoLabelCoversAnotherOrLeavesItsBox)
{
    store = RandomAssessment(100, 7);
    ComputeAllModes(store);
    auto window = OpenWindow();
    window->grab();
    QApplication::processEvents();
    for (const char* name : { "MMGroupBox", "EEGroupBox" }) {
        SCOPED_TRACE(name);
        auto* box = Child<QWidget>(*window, name);
        std::vector<QLabel*> shown;
        for (QLabel* label : box->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (label->isVisible())
                shown.push_back(label);
        for (QLabel* label : shown) {
            EXPECT_TRUE(box->rect().contains(label->geometry())) << label->text().toStdString();
            for (QLabel* other : shown)
                if (other != label)
                    EXPECT_FALSE(label->geometry().intersects(other->geometry()))
                        << label->text().toStdString() << " / " << other->text().toStdString();
        }
        const auto numbered = [&shown](const QString& text) {
            return std::any_of(shown.begin(), shown.end(), [&text](QLabel* l) { return l->text() == text; });
        };
        EXPECT_TRUE(numbered(QStringLiteral("15")));
        EXPECT_FALSE(numbered(QStringLiteral("16")));
    }
}
