// The MM and EE window: its controls from one table per group box, and the two charts
// drawn over the group boxes.
#include "ui/windows/MMEE.h"
#include "ui/widgets/Controls.h"

#include "analysis/Damage.h"
#include "analysis/ExportTables.h"
#include "analysis/Format.h"
#include "model/Csv.h"
#include "model/Data.h"
#include "ui/charts/MMEEChart.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/document/Document.h"
#include "ui/document/DocumentCaption.h"
#include "ui/export/ExportFormats.h"
#include "ui/widgets/Frames.h"
#include "ui/widgets/LabelRoom.h"
#include "ui/widgets/MatrixGrid.h"
#include "ui/widgets/Navigation.h"
#include "ui/widgets/QtCanvas.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

#include <cstddef>
#include <functional>
#include <utility>

namespace {

constexpr QSize kClientSize { 646, 465 };
constexpr QSize kCellSize { 60, 18 };

// Places inside each group box.
constexpr QRect kGrid { 3, 23, 248, 146 };
constexpr QPoint kIndicatorCaption { 8, 184 };
constexpr QPoint kIndicator { 168, 184 };
constexpr QPoint kMaximum { kDiagonalMaximumPlace.X, kDiagonalMaximumPlace.Y };
constexpr QPoint kKindCaption { kDiagonalKindPlace.X, kDiagonalKindPlace.Y };
// Above the bars, which reach up to y = 70.
constexpr QPoint kPartialNotice { 330, 20 };

constexpr const char* kScaleCaptions[] = { "0.5", "1.0", "1.5" };
constexpr const char* kBarNumbers[] = { "1", "2", "3", "4", "5", "6", "7", "8", "9", "10" };

// The names of a box's controls, with their places where the shared box does not give them.
struct ChartBoxLayout {
    const DiagonalBox& Box;
    const char* GroupName;
    QRect Group;
    const char* GridName;
    const char* IndicatorCaptionName;
    const char* IndicatorName;
    const char* ZeroName;
    const char* ScaleNames[3];
    int ScaleTops[3]; // where they stand until the first chart is drawn
    const char* MaximumName;
    // What the largest element's value is, for assistive technology.
    const char* MaximumMeaning;
    const char* BarNumberNames[10];
    const char* KindCaptionName;
};

const ChartBoxLayout kLayouts[] = {
    { kDiagonalBoxes[0], "MMGroupBox", { 0, 0, 646, 209 }, "MMGrid", "Label1", "RMLabel", "Label0",
        { "MM05", "MM10", "MM15" }, { 104, 88, 64 }, "MMMax",
        QT_TRANSLATE_NOOP("TMMEEForm", "Наибольший элемент диагонали MM"),
        { "Label3", "Label4", "Label5", "Label6", "Label7", "Label8", "Label9", "Label10", "Label11", "Label12" },
        "Label24" },
    { kDiagonalBoxes[1], "EEGroupBox", { 0, 209, 646, 209 }, "EEGrid", "Label2", "RELabel", "Label26",
        { "EE05", "EE10", "EE15" }, { 160, 144, 120 }, "EEMax",
        QT_TRANSLATE_NOOP("TMMEEForm", "Наибольший элемент диагонали EE"),
        { "Label13", "Label14", "Label15", "Label16", "Label17", "Label18", "Label19", "Label20", "Label21",
            "Label22" },
        "Label25" },
};

const ButtonPlace kBackButton { "BackButton", QT_TRANSLATE_NOOP("TMMEEForm", "Назад..."), { 168, 432, 75, 25 } };
// The space before the dots is how this button has always read.
const ButtonPlace kNextButton { "NextButton", QT_TRANSLATE_NOOP("TMMEEForm", "Далее ..."), { 376, 432, 91, 25 } };

QString ChartText(const char* source)
{
    return QCoreApplication::translate("Charts", source);
}

// A group box with a chart drawn over its own painting; the controls inside it paint
// over both.
class ChartGroupBox : public FramedGroupBox {
public:
    using Drawing = std::function<void(Canvas&)>;

    ChartGroupBox(const QString& title, QWidget* parent, Drawing drawing, std::function<void()> save)
        : FramedGroupBox(title, parent)
        , drawing_(std::move(drawing))
        , save_(std::move(save))
    {
    }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        QMenu menu(this);
        QObject::connect(menu.addAction(QCoreApplication::translate("TMMEEForm", "Сохранить график...")),
            &QAction::triggered, this, save_);
        menu.exec(event->globalPos());
    }

    void paintEvent(QPaintEvent* event) override
    {
        FramedGroupBox::paintEvent(event);
        // Over the box's own painting, which shows wherever the chart draws nothing.
        QImage picture(size(), QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        {
            QPainter onPicture(&picture);
            onPicture.setFont(font());
            QtCanvas canvas(onPicture);
            drawing_(canvas);
        }
        QPainter painter(this);
        PaintOneToOne(painter, rect(), picture);
    }

private:
    Drawing drawing_;
    std::function<void()> save_;
};

// Takes a chart's drawing and keeps nothing: for the labels alone.
class DiscardingCanvas : public Canvas {
public:
    void Rectangle(int, int, int, int) override { }
    void Ellipse(int, int, int, int) override { }
    void TextOut(int, int, std::string_view, Rgb) override { }

protected:
    void Line(Point, Point) override { }
};

QColor CellColour(int row, int column)
{
    // The diagonal makes up the rating indicator.
    return row == column ? QColor(0, 0, 255) : QColor(Qt::black);
}

} // namespace

TMMEEForm::TMMEEForm(AssessmentDocument& document, IDialogs& dialogs, IWizardNavigation& navigation, QWidget* parent)
    : WizardWindow(navigation, kClientSize, nullptr, parent)
    , store_(document.Store())
    , dialogs_(dialogs)
{
    FollowDocumentCaption(*this, document);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    setPalette(colours);

    // Created in tab order: the two grids, then the buttons.
    for (int box = 0; box < kBoxes; ++box)
        BuildChartBox(static_cast<Box>(box));

    backButton_ = MakeButton(Client(), kBackButton, "TMMEEForm");
    nextButton_ = MakeButton(Client(), kNextButton, "TMMEEForm");
    connect(backButton_, &QPushButton::clicked, this, &TMMEEForm::BackButtonClick);
    connect(nextButton_, &QPushButton::clicked, this, &TMMEEForm::NextButtonClick);
}

void TMMEEForm::BuildChartBox(Box box)
{
    const ChartBoxLayout& layout = kLayouts[box];
    ChartBox& controls = boxes_[box];
    const QString caption = ChartText(layout.Box.Caption);

    auto* group = new ChartGroupBox(
        caption, Client(), [this, box](Canvas& canvas) { DrawChart(box, canvas); }, [this, box] { SaveChart(box); });
    group->setObjectName(QString::fromLatin1(layout.GroupName));
    group->setGeometry(layout.Group);
    controls.Group = group;

    controls.Grid = new MatrixGrid(kCellSize, group);
    controls.Grid->setObjectName(QString::fromLatin1(layout.GridName));
    controls.Grid->setGeometry(kGrid);
    controls.Grid->SetOwnerDrawn(true);
    controls.Grid->Model().SetCellColour(CellColour);
    // Results: read, selected and copied, never typed into.
    controls.Grid->Model().Reset(3, 3);
    // A screen reader names the grid by its group, as a sighted user does.
    controls.Grid->setAccessibleName(caption);
    connect(controls.Grid, &MatrixGrid::exportRequested, this, [this, box] { ExportGrid(box); });

    const QString indicatorCaption = ChartText(layout.Box.IndicatorCaption);
    MakeLabel(group, layout.IndicatorCaptionName, indicatorCaption, kIndicatorCaption);
    controls.Indicator = MakeLabel(group, layout.IndicatorName, QString(), kIndicator);
    controls.Indicator->setAccessibleDescription(indicatorCaption);
    MakeLabel(group, layout.ZeroName, QStringLiteral("0"), { layout.Box.Zero.X, layout.Box.Zero.Y });
    for (int p = 0; p < 3; ++p)
        controls.Scale[static_cast<std::size_t>(p)] = MakeLabel(group, layout.ScaleNames[p],
            QString::fromLatin1(kScaleCaptions[p]), { kDiagonalScaleLeft, layout.ScaleTops[p] });
    // Empty until the chart gives it its value.
    controls.Maximum = MakeLabel(group, layout.MaximumName, QString(), kMaximum);
    controls.Maximum->setAccessibleDescription(tr(layout.MaximumMeaning));
    for (int n = 0; n < 10; ++n)
        MakeLabel(group, layout.BarNumberNames[n], QString::fromLatin1(kBarNumbers[n]),
            { kDiagonalBarNumberLefts[n], kDiagonalBarNumberTop });
    MakeLabel(group, layout.KindCaptionName, ChartText(layout.Box.KindCaption), kKindCaption);
    controls.PartialNotice = MakeLabel(group, "PartialChartLabel",
        tr("На графике показаны только первые %1 элементов диагонали.").arg(kDiagonalVisibleBars), kPartialNotice);
    // Wrapped within the box: on one line it would run out of it.
    controls.PartialNotice->setWordWrap(true);
    controls.PartialNotice->setFixedWidth(kClientSize.width() - kPartialNotice.x() - 6);
    controls.PartialNotice->adjustSize();
    controls.PartialNotice->hide();
    for (int n = 0; n < static_cast<int>(std::size(kDiagonalLaterBarNumberLefts)); ++n) {
        const int number = 11 + n;
        QLabel* label
            = MakeLabel(group, "", QString::number(number), { kDiagonalLaterBarNumberLefts[n], kDiagonalBarNumberTop });
        label->setObjectName(QStringLiteral("%1BarNumber%2").arg(QLatin1String(layout.GridName).left(2)).arg(number));
        label->hide();
        controls.LaterBarNumbers.push_back(label);
    }
    // The box's labels go with its chart: the rating's caption says what its value is.
    for (QLabel* label : group->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        controls.ChartLabels.push_back(label);
}

void TMMEEForm::ExportGrid(Box box)
{
    ExportTableAs(this, DamageTable(store_, kLayouts[box].Box.Kind, store_.*kLayouts[box].Box.Source), dialogs_);
}

void TMMEEForm::SaveChart(Box box)
{
    ExportChartAs(this,
        { boxes_[box].Group, [this, box](Canvas& canvas) { DrawChart(box, canvas); }, boxes_[box].ChartLabels },
        dialogs_);
}

void TMMEEForm::showEvent(QShowEvent* event)
{
    // When the program shows the window; restoring it from the task bar is no showing.
    if (!event->spontaneous())
        FormShow();
    WizardWindow::showEvent(event);
}

void TMMEEForm::FormShow()
{
    ComputeDamageMatrices(store_);
    for (int box = 0; box < kBoxes; ++box) {
        FillGrid(static_cast<Box>(box));
        // The labels are right from the start, not only once the charts have been painted.
        DiscardingCanvas labelsOnly;
        DrawChart(static_cast<Box>(box), labelsOnly);
        boxes_[box].Group->update();
    }
}

void TMMEEForm::FillGrid(Box box)
{
    const Matrix& matrix = store_.*kLayouts[box].Box.Source;
    std::vector<QString> texts;
    texts.reserve(static_cast<std::size_t>(matrix.Rows()) * static_cast<std::size_t>(matrix.Cols()));
    for (int i = 0; i < matrix.Rows(); ++i)
        for (int j = 0; j < matrix.Cols(); ++j)
            texts.push_back(QString::fromStdString(FormatFixed(matrix(i, j), 2)));
    boxes_[box].Grid->Model().Reset(matrix.Rows(), matrix.Cols(), std::move(texts));
    const std::vector<std::string> names = store_.AnalysedNames(kLayouts[box].Box.Kind);
    boxes_[box].Grid->Model().SetItemNames(names, names);
    boxes_[box].PartialNotice->setVisible(matrix.Rows() > kDiagonalVisibleBars);
    for (std::size_t n = 0; n < boxes_[box].LaterBarNumbers.size(); ++n)
        boxes_[box].LaterBarNumbers[n]->setVisible(matrix.Rows() > static_cast<int>(10 + n));
}

void TMMEEForm::DrawChart(Box box, Canvas& canvas)
{
    ApplyChartLabels(box, DrawDiagonalChart(canvas, store_.*kLayouts[box].Box.Source));
}

void TMMEEForm::ApplyChartLabels(Box box, const DiagonalChartLabels& labels)
{
    // Called while painting: only real changes may touch a label, or painting would go on.
    const ChartBox& controls = boxes_[box];
    SetLabelText(controls.Indicator, QString::fromStdString(labels.Indicator));
    SetLabelText(controls.Maximum, QString::fromStdString(labels.Maximum));
    const int elements = (store_.*kLayouts[box].Box.Source).Rows();
    const QString description = labels.Maximum.empty()
        ? tr("Столбчатая диаграмма диагонали: нет значений.")
        : tr("Столбчатая диаграмма диагонали, %1 из %2 элементов: наибольший %3, рейтинговый показатель %4.")
              .arg(std::min(elements, kDiagonalVisibleBars))
              .arg(elements)
              .arg(QString::fromStdString(labels.Maximum), QString::fromStdString(labels.Indicator));
    if (controls.Group->accessibleDescription() != description)
        controls.Group->setAccessibleDescription(description);
    // With a tall bar the marks crowd at the axis, where their numbers would pile onto each
    // other and onto the "0"; a mark above the box is out of sight. Neither label is shown,
    // also to a screen reader. The highest mark goes first.
    LabelRoom room(*controls.Group, controls.Group->rect(),
        std::vector<const QLabel*>(controls.Scale.begin(), controls.Scale.end()));
    for (std::size_t p = labels.Scale.size(); p-- > 0;) {
        const ChartLabel& scale = labels.Scale[p];
        if (scale.Visible)
            room.Place(controls.Scale[p], QString::fromStdString(scale.Caption), { kDiagonalScaleLeft, scale.Top });
        else
            LabelRoom::Hide(controls.Scale[p]);
    }
}

void TMMEEForm::BackButtonClick()
{
    Navigation().Back(this);
}

void TMMEEForm::NextButtonClick()
{
    Navigation().Next(this);
}
