#include "ui/windows/Graph.h"

#include "analysis/ExportTables.h"
#include "analysis/Format.h"
#include "analysis/Modes.h"
#include "analysis/Thresholds.h"
#include "model/Texts.h"
#include "ui/charts/GraphChart.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/document/Document.h"
#include "ui/document/DocumentCaption.h"
#include "ui/export/ExportFormats.h"
#include "ui/widgets/ChartView.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/MatrixGrid.h"
#include "ui/widgets/Navigation.h"
#include "ui/widgets/NumberKeyFilter.h"
#include "ui/widgets/WindowFont.h"
#include "ui/windows/Comment.h"
#include "ui/windows/GraphControl.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHideEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QUndoStack>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>

namespace {

constexpr QSize kClientSize { 791, 533 };
constexpr QSize kSourceCell { 40, 18 };
constexpr QSize kResultCell { 50, 18 };
// Typing stops at five characters in a cell, and at four in a threshold field unless the
// mode's results need more (mode 4's reach millions).
constexpr int kCellFullLength = 5;
constexpr int kThresholdFullLength = 4;
// Hints longer than this would run into the chart; the whole text is in the tooltip.
constexpr int kHintWidth = 400;
constexpr QColor kDistributionColour { 0, 0, 255 };

// Client coordinates, in tab order.
const LabelPlace kSourcesLabel { "Label1", QT_TRANSLATE_NOOP("TGraphForm", "Исходные матрицы:"), { 4, 8 } };
constexpr QRect kSourceComboBox { 109, 4, 308, 21 };
const LabelPlace kThresholdLabel1 { "ThresholdLabel1",
    QT_TRANSLATE_NOOP("TGraphForm", "Пороговое значение для малой величины"), { 450, 6 } };
constexpr QRect kThresholdEdit1 { 680, 3, 40, 21 };
const LabelPlace kThresholdLabel2 { "ThresholdLabel2",
    QT_TRANSLATE_NOOP("TGraphForm", "Пороговое значение для средней величины"), { 451, 32 } };
constexpr QRect kThresholdEdit2 { 680, 27, 40, 21 };
constexpr QRect kSourceGrid { 1, 27, 220, 130 };
constexpr QPoint kColLabel { 2, 160 };
constexpr QPoint kRowLabel { 2, 176 };
const ButtonPlace kComputingButton { "ComputingButton", QT_TRANSLATE_NOOP("TGraphForm", "Расчёт"),
    { 67, 196, 75, 22 } };
constexpr QPoint kResultTitleLabel { 2, 222 };
constexpr QRect kResGrid { 1, 237, 220, 130 };
const ButtonPlace kCommentButton { "CommentButton", QT_TRANSLATE_NOOP("TGraphForm", "Комментарии"),
    { 656, 448, 121, 25 } };
const ButtonPlace kBackButton { "BackButton", QT_TRANSLATE_NOOP("TGraphForm", "Назад..."), { 560, 496, 75, 25 } };
const ButtonPlace kNextButton { "NextButton", QT_TRANSLATE_NOOP("TGraphForm", "Далее..."), { 664, 496, 75, 25 } };
const ButtonPlace kGraphCtrlButton { "GraphCtrlButton", QT_TRANSLATE_NOOP("TGraphForm", "Настройка графика"),
    { 656, 416, 121, 25 } };
// Under the result grid, shown for a result larger than the chart.
constexpr QRect kPartialChartLabel { 2, 372, 200, 30 };
// The design's wall titles, replaced by the mode's at set-up.
const FixedLabel kColumnsTitle { "XZLabel", VARDUN_TEXT("Charts", "Распределение Xi по МЗ"), kColumnsTitlePlace };
const FixedLabel kRowsTitle { "YZLabel", VARDUN_TEXT("Charts", "по угрозам"), kRowsTitlePlace };

QString ModeCaption(const char* source)
{
    return QString::fromStdString(ModeText(source));
}

bool SameBits(float a, float b)
{
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

bool SameElements(const Matrix& a, const Matrix& b)
{
    if (a.Rows() != b.Rows() || a.Cols() != b.Cols())
        return false;
    for (int i = 0; i < a.Rows(); ++i)
        if (a.Cols() > 0 && std::memcmp(a.RowData(i), b.RowData(i), sizeof(float) * static_cast<std::size_t>(a.Cols())))
            return false;
    return true;
}

QLineEdit* MakeThresholdEdit(QWidget* parent, const char* name, const QRect& geometry, const QString& accessibleName)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    edit->setAccessibleName(accessibleName);
    new NumberKeyFilter(edit, kThresholdFullLength);
    // A value longer than the field shows its start, and whole in the tooltip.
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) { edit->setToolTip(text); });
    return edit;
}

// Shows a threshold from its first digit: the field is narrower than mode 4's values.
void SetThresholdText(QLineEdit* edit, float value)
{
    edit->setText(QString::fromStdString(FormatFixed(value, 1)));
    edit->setCursorPosition(0);
}

} // namespace

TGraphForm::TGraphForm(AssessmentDocument& document, IDialogs& dialogs, IWizardNavigation& navigation,
    TCommentForm& commentForm, QWidget* parent)
    : WizardWindow(navigation, kClientSize, new ChartView, parent)
    , document_(document)
    , store_(document.Store())
    , dialogs_(dialogs)
    , commentForm_(commentForm)
    , chart_(static_cast<ChartView*>(Client()))
    , chartSettings_(new TGraphCtrl(this))
    , history_(new QUndoStack(this))
{
    FollowDocumentCaption(*this, document_);
    chart_->SetDrawing([this](Canvas& canvas) { DrawChart(canvas); });
    BuildControls();
    BuildChartLabels();
    connect(chartSettings_, &TGraphCtrl::cellToggled, chart_, &ChartView::Invalidate);
}

TGraphForm::~TGraphForm() = default;

void TGraphForm::BuildControls()
{
    QWidget* client = Client();
    auto* sourcesLabel = MakeLabel(client, kSourcesLabel, "TGraphForm", true);

    // Created in tab order: Qt's focus chain follows creation.
    sourceComboBox_ = new QComboBox(client);
    sourceComboBox_->setObjectName(QStringLiteral("MassivComboBox"));
    sourceComboBox_->setGeometry(kSourceComboBox);
    sourceComboBox_->setAccessibleName(sourcesLabel->text());
    connect(sourceComboBox_, &QComboBox::activated, this, &TGraphForm::MassivComboBoxChange);
    sourceComboBox_->installEventFilter(this);

    auto* threshold1Label = MakeLabel(client, kThresholdLabel1, "TGraphForm", true);
    thresholdEdit1_ = MakeThresholdEdit(client, "ThresholdEdit1", kThresholdEdit1, threshold1Label->text());
    auto* threshold2Label = MakeLabel(client, kThresholdLabel2, "TGraphForm", true);
    thresholdEdit2_ = MakeThresholdEdit(client, "ThresholdEdit2", kThresholdEdit2, threshold2Label->text());

    sourceGrid_ = new MatrixGrid(kSourceCell, client);
    sourceGrid_->setObjectName(QStringLiteral("MassivGrid"));
    sourceGrid_->setGeometry(kSourceGrid);
    sourceGrid_->setAccessibleName(sourcesLabel->text());
    sourceGrid_->Model().Reset(1, 1);
    sourceGrid_->Model().SetEditable(true);
    sourceGrid_->setEditTriggers(
        QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    sourceGrid_->SetKeyFilter(
        [this](const QKeyEvent& event, const QString& cellText) { return MassivGridKeyPress(event, cellText); });
    sourceGrid_->setEnabled(false);
    connect(sourceGrid_, &MatrixGrid::cellTextEdited, this, &TGraphForm::MassivGridSetEditText);
    connect(sourceGrid_, &MatrixGrid::pasteRequested, this, &TGraphForm::PasteFromClipboard);
    connect(sourceGrid_, &MatrixGrid::undoRequested, history_, &QUndoStack::undo);
    connect(sourceGrid_, &MatrixGrid::redoRequested, history_, &QUndoStack::redo);
    auto* undo = new QAction(tr("Отменить\tCtrl+Z"), sourceGrid_);
    undo->setEnabled(false);
    connect(history_, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(undo, &QAction::triggered, history_, &QUndoStack::undo);
    auto* redo = new QAction(tr("Повторить\tCtrl+Y"), sourceGrid_);
    redo->setEnabled(false);
    connect(history_, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(redo, &QAction::triggered, history_, &QUndoStack::redo);
    auto* paste = new QAction(tr("Вставить\tCtrl+V"), sourceGrid_);
    connect(paste, &QAction::triggered, this, &TGraphForm::PasteFromClipboard);
    sourceGrid_->SetWindowActions({ undo, redo, paste });
    connect(sourceGrid_, &MatrixGrid::exportRequested, this, [this] { ExportGrid(false); });
    connect(
        sourceGrid_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
            if (current.isValid())
                MassivGridSelectCell(current.column(), current.row());
        });

    colLabel_ = MakeLabel(client, "ColLabel", QString(), kColLabel);
    rowLabel_ = MakeLabel(client, "RowLabel", QString(), kRowLabel);

    computingButton_ = MakeButton(client, kComputingButton, "TGraphForm");
    connect(computingButton_, &QPushButton::clicked, this, &TGraphForm::ComputingButtonClick);

    resultTitleLabel_ = MakeLabel(client, "ResMassivLabel", QString(), kResultTitleLabel, true);
    resGrid_ = new MatrixGrid(kResultCell, client);
    resGrid_->setObjectName(QStringLiteral("ResGrid"));
    resGrid_->setGeometry(kResGrid);
    resGrid_->SetOwnerDrawn(true);
    resGrid_->Model().Reset(3, 3);
    connect(resGrid_, &MatrixGrid::exportRequested, this, [this] { ExportGrid(true); });
    connect(chart_, &ChartView::saveRequested, this, &TGraphForm::SaveChart);
    resGrid_->Model().SetCellColour([this](int row, int column) {
        return column == 0 || row == resGrid_->Model().rowCount() - 1 ? kDistributionColour : QColor(Qt::black);
    });

    commentButton_ = MakeButton(client, kCommentButton, "TGraphForm");
    connect(commentButton_, &QPushButton::clicked, this, [this] { commentForm_.ShowComments(Mode()); });
    backButton_ = MakeButton(client, kBackButton, "TGraphForm");
    connect(backButton_, &QPushButton::clicked, this, [this] { Navigation().Back(this); });
    nextButton_ = MakeButton(client, kNextButton, "TGraphForm");
    nextButton_->setEnabled(false);
    connect(nextButton_, &QPushButton::clicked, this, [this] { Navigation().Next(this); });
    graphCtrlButton_ = MakeButton(client, kGraphCtrlButton, "TGraphForm");
    connect(graphCtrlButton_, &QPushButton::clicked, this, [this] { chartSettings_->ShowForMode(Mode()); });

    // The window's own tab order, whatever the creation order of the labels between.
    QWidget::setTabOrder(sourceComboBox_, thresholdEdit1_);
    QWidget::setTabOrder(thresholdEdit1_, thresholdEdit2_);
    QWidget::setTabOrder(thresholdEdit2_, sourceGrid_);
    QWidget::setTabOrder(sourceGrid_, computingButton_);
    QWidget::setTabOrder(computingButton_, resGrid_);
    QWidget::setTabOrder(resGrid_, commentButton_);
    QWidget::setTabOrder(commentButton_, backButton_);
    QWidget::setTabOrder(backButton_, nextButton_);
    QWidget::setTabOrder(nextButton_, graphCtrlButton_);
}

void TGraphForm::BuildChartLabels()
{
    QWidget* client = Client();
    for (const FixedLabel& label : kChartAxisLabels)
        chartLabels_.push_back(MakeLabel(client, label, true));
    xzLabel_ = MakeLabel(client, kColumnsTitle, true);
    yzLabel_ = MakeLabel(client, kRowsTitle, true);
    chartLabels_.push_back(xzLabel_);
    chartLabels_.push_back(yzLabel_);

    QFont italic = WindowFont();
    italic.setItalic(true);
    for (int k = 0; k < kChartCells; ++k) {
        QLabel* column = MakeLabel(client, kColumnNumberLabels[k], true);
        column->setFont(italic);
        column->adjustSize();
        chartLabels_.push_back(column);
        chartLabels_.push_back(MakeLabel(client, kRowNumberLabels[k], true));
    }

    partialChartLabel_ = new QLabel(
        tr("На графике показаны только первые %1 строк и %1 столбцов результата.").arg(kChartCells), client);
    partialChartLabel_->setObjectName(QStringLiteral("PartialChartLabel"));
    partialChartLabel_->setWordWrap(true);
    partialChartLabel_->setGeometry(kPartialChartLabel);
    partialChartLabel_->hide();
    chartLabels_.push_back(partialChartLabel_);
}

void TGraphForm::SetUpForMode(AnalysisMode mode, const AnalysedCounts& counts)
{
    const ModeDescription& about = Describe(mode);
    counts_ = counts;
    work_.Mode = mode;
    work_.SourceMatrices = SourceMatricesOf(store_, mode);
    if (about.EditableSources) {
        for (const SourceDescription& source : about.Sources)
            sourceComboBox_->addItem(ModeCaption(source.Caption));
        sourceComboBox_->setCurrentIndex(-1);
    } else {
        sourceComboBox_->setEnabled(false);
    }
    SetLabelText(resultTitleLabel_, ModeCaption(about.ResultCaption));
    resGrid_->setAccessibleName(resultTitleLabel_->text());
    // Any threshold within the mode's results can be typed: as many characters as the
    // largest result has with one decimal.
    const int needed = static_cast<int>(FormatFixed(LargestResult(mode, counts), 1).size());
    for (QLineEdit* edit : { thresholdEdit1_, thresholdEdit2_ })
        edit->findChild<NumberKeyFilter*>()->SetFullLength(std::max(kThresholdFullLength, needed));
    SetLabelText(xzLabel_, ModeCaption(about.ColumnsTitle));
    SetLabelText(yzLabel_, ModeCaption(about.RowsTitle));
}

void TGraphForm::MassivComboBoxChange(int item)
{
    const ModeDescription& about = Describe(Mode());
    if (!about.EditableSources || item < 0 || item > 1)
        return;
    sourceGrid_->FinishEditing();
    shownSource_ = item;
    const SourceDescription& source = about.Sources[static_cast<std::size_t>(item)];
    const int rows = counts_.Of(source.Rows);
    const int columns = counts_.Of(source.Cols);
    const Matrix& matrix = work_.SourceMatrices[static_cast<std::size_t>(item)];
    std::vector<QString> texts(
        static_cast<std::size_t>(std::max(rows, 0)) * static_cast<std::size_t>(std::max(columns, 0)));
    if (matrix.HasStorage()) {
        for (int i = 0; i < std::min(rows, matrix.Rows()); ++i)
            for (int j = 0; j < std::min(columns, matrix.Cols()); ++j)
                texts[static_cast<std::size_t>(i) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(j)]
                    = QString::fromStdString(FormatFixed(matrix(i, j), 2));
    }
    MatrixGridModel& model = sourceGrid_->Model();
    model.Reset(rows, columns, std::move(texts));
    model.SetItemNames(store_.AnalysedNames(source.Rows), store_.AnalysedNames(source.Cols));
    if (rows > 0 && columns > 0)
        sourceGrid_->setCurrentIndex(model.index(0, 0));
    MassivGridSelectCell(0, 0);
    sourceGrid_->setAccessibleName(ModeCaption(source.Caption));
    sourceGrid_->setEnabled(true);
    if (!steppingChoice_)
        sourceGrid_->setFocus();
}

bool TGraphForm::eventFilter(QObject* watched, QEvent* event)
{
    // The box's own handling of the key or wheel follows at once and chooses; the choice
    // from the opened list comes through the list, not through the box.
    if (watched == sourceComboBox_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::Wheel)) {
        steppingChoice_ = true;
        QTimer::singleShot(0, this, [this] { steppingChoice_ = false; });
    }
    return WizardWindow::eventFilter(watched, event);
}

void TGraphForm::MassivGridSelectCell(int column, int row)
{
    if (shownSource_ < 0)
        return;
    const SourceDescription& source = Describe(Mode()).Sources[static_cast<std::size_t>(shownSource_)];
    // A hint names the item of its row or column; one outside the analysed items keeps
    // whatever it said.
    auto hint = [this](QLabel* label, const QString& pattern, ItemKind kind, int k) {
        if (k < 0 || k >= static_cast<int>(store_.IndicesOf(kind).size()))
            return;
        const QString text = pattern.arg(QString::number(k + 1), QString::fromStdString(store_.AnalysedName(kind, k)));
        label->setToolTip(text);
        label->setAccessibleName(text);
        SetLabelText(label, label->fontMetrics().elidedText(text, Qt::ElideRight, kHintWidth));
    };
    hint(colLabel_, tr("Столбец %1: %2."), source.Cols, column);
    hint(rowLabel_, tr("Строка %1: %2."), source.Rows, row);
}

bool TGraphForm::MassivGridKeyPress(const QKeyEvent& event, const QString& cellText)
{
    const QString text = event.text();
    // Keys that type nothing move about the grid; Tab moves from cell to cell.
    if (text.isEmpty() || event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab)
        return true;
    // Any typed key, taken or not, may have changed a judgement.
    document_.MarkModified();
    switch (event.key()) {
    case Qt::Key_Backspace:
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        // They type nothing; in an open cell they close it.
        return true;
    default:
        break;
    }
    if (text.size() != 1 || !NumberKeyFilter::IsNumberCharacter(text.front()))
        return false;
    return cellText.size() < kCellFullLength;
}

void TGraphForm::MassivGridSetEditText(int row, int column, const QString& text, const QString& previousText)
{
    if (shownSource_ < 0)
        return;
    Matrix& source = work_.SourceMatrices[static_cast<std::size_t>(shownSource_)];
    if (row >= source.Rows() || column >= source.Cols())
        return;
    const float previousValue = source(row, column);
    float value = 0.0f;
    const SourceValueCheck check = CheckSourceValue(Mode(), text.toStdString(), value);
    switch (check) {
    case SourceValueCheck::Empty:
        break;
    case SourceValueCheck::Accepted:
        source(row, column) = value;
        break;
    case SourceValueCheck::NotANumber:
    case SourceValueCheck::OutOfRange:
        // The element keeps its value; the cell shows nothing until the analyst types again.
        sourceGrid_->EmptyCell(row, column);
        ShowMessageLater(SourceValueMessage(Mode(), check));
        break;
    }
    const QString shown = sourceGrid_->Model().Text(row, column);
    if (shown != previousText || !SameBits(source(row, column), previousValue))
        history_->push(MakeSourceEdit(*this,
            { { shownSource_, row, column, previousValue, source(row, column), previousText, shown } }, true, true));
}

void TGraphForm::ApplyCellChanges(const std::vector<CellChange>& changes, bool undoing)
{
    if (changes.empty())
        return;
    sourceGrid_->FinishEditing();
    const int source = changes.front().Source;
    if (source != shownSource_) {
        sourceComboBox_->setCurrentIndex(source);
        MassivComboBoxChange(source);
    }
    Matrix& matrix = work_.SourceMatrices[static_cast<std::size_t>(source)];
    MatrixGridModel& model = sourceGrid_->Model();
    for (const CellChange& change : changes) {
        if (change.Row < matrix.Rows() && change.Column < matrix.Cols())
            matrix(change.Row, change.Column) = undoing ? change.OldValue : change.NewValue;
        model.SetText(change.Row, change.Column, undoing ? change.OldText : change.NewText);
    }
    sourceGrid_->setCurrentIndex(model.index(changes.front().Row, changes.front().Column));
    document_.MarkModified();
}

QString TGraphForm::ItemName(ItemKind kind, int k) const
{
    if (k < 0 || k >= static_cast<int>(store_.IndicesOf(kind).size()))
        return QString::number(k + 1);
    return QString::fromStdString(store_.AnalysedName(kind, k));
}

void TGraphForm::PasteFromClipboard()
{
    PasteText(QApplication::clipboard()->text());
}

void TGraphForm::PasteText(const QString& text)
{
    if (shownSource_ < 0 || !sourceGrid_->isEnabled())
        return;
    sourceGrid_->FinishEditing();
    // A paste is a change like a typed key, whatever it brings.
    document_.MarkModified();
    const MatrixGridModel& model = sourceGrid_->Model();
    const QModelIndex start = sourceGrid_->currentIndex().isValid() ? sourceGrid_->currentIndex() : model.index(0, 0);
    PastePlan plan = PlanPaste(text, Mode(), shownSource_, work_.SourceMatrices[static_cast<std::size_t>(shownSource_)],
        model, start.row(), start.column(), [this](ItemKind kind, int k) { return ItemName(kind, k); });
    if (!plan.Changes.empty())
        history_->push(MakeSourceEdit(*this, std::move(plan.Changes), false, false));
    if (const QString problems = plan.Problems(); !problems.isEmpty())
        dialogs_.ShowMessage(problems.toStdString());
}

void TGraphForm::ShowMessageLater(const std::string& text)
{
    QTimer::singleShot(0, this, [this, text] { dialogs_.ShowMessage(text); });
}

void TGraphForm::showEvent(QShowEvent* event)
{
    // Every showing by the program puts back the stored thresholds: typed ones that no
    // computation accepted are dropped. Restoring the window from the task bar is no showing.
    if (!event->spontaneous()) {
        const CData::ThresholdPair& thresholds = store_.ThresholdsOf(Mode());
        SetThresholdText(thresholdEdit1_, thresholds.Small);
        SetThresholdText(thresholdEdit2_, thresholds.Medium);
    }
    WizardWindow::showEvent(event);
    if (!event->spontaneous() && settingsHiddenWithWindow_) {
        settingsHiddenWithWindow_ = false;
        chartSettings_->show();
    }
}

void TGraphForm::hideEvent(QHideEvent* event)
{
    // The chart cell selection window belongs to this window's chart: it goes and comes back
    // with the window, and never drives a chart no one sees.
    if (!event->spontaneous() && chartSettings_->isVisible()) {
        settingsHiddenWithWindow_ = true;
        chartSettings_->hide();
    }
    WizardWindow::hideEvent(event);
}

void TGraphForm::ExportGrid(bool result)
{
    // Nothing to export before a source is chosen, or before the first computation.
    if (result ? work_.ResultMatrix.Rows() == 0 : shownSource_ < 0)
        return;
    const CsvTable table = result
        ? ResultTable(store_, work_)
        : SourceTable(store_, Mode(), shownSource_, work_.SourceMatrices[static_cast<std::size_t>(shownSource_)]);
    ExportTableAs(this, table, dialogs_);
}

void TGraphForm::SaveChart()
{
    ExportChartAs(this, { chart_, [this](Canvas& canvas) { DrawChart(canvas); }, chartLabels_ }, dialogs_);
}

void TGraphForm::keyPressEvent(QKeyEvent* event)
{
    // The grid's history from anywhere in the window; an edit field keeps its own.
    if (event->matches(QKeySequence::Undo)) {
        history_->undo();
        return;
    }
    if (event->matches(QKeySequence::Redo)
        || (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier)) {
        history_->redo();
        return;
    }
    WizardWindow::keyPressEvent(event);
}

void TGraphForm::RefreshDerivedSources()
{
    work_.SourceMatrices = SourceMatricesOf(store_, Mode());
}

void TGraphForm::ComputingButtonClick()
{
    const CData::ThresholdPair before = store_.ThresholdsOf(Mode());
    const ThresholdCheck check = ValidateThresholds(
        store_, Mode(), thresholdEdit1_->text().toStdString(), thresholdEdit2_->text().toStdString());
    if (check != ThresholdCheck::Accepted) {
        dialogs_.ShowMessage(ThresholdMessage(check));
        if (check == ThresholdCheck::NotANumber) {
            thresholdEdit1_->clear();
            thresholdEdit2_->clear();
        } else {
            thresholdEdit1_->setFocus();
        }
        return;
    }

    const ModeDescription& about = Describe(Mode());
    if (!about.EditableSources)
        RefreshDerivedSources();
    // The thresholds and the sources go into the data file: a computation that changes
    // them leaves changes to save, even when no key was pressed for them (a threshold).
    const CData::ThresholdPair& after = store_.ThresholdsOf(Mode());
    bool changesFile = !SameBits(before.Small, after.Small) || !SameBits(before.Medium, after.Medium);
    if (about.EditableSources) {
        for (std::size_t k = 0; k < about.Sources.size(); ++k)
            changesFile = changesFile || !SameElements(store_.*about.Sources[k].Member, work_.SourceMatrices[k]);
    }

    ComputeDerivedMatrix(work_, store_);
    if (changesFile)
        document_.MarkModified();
    FillResultGrid();

    const int rows = work_.ResultMatrix.Rows();
    const int columns = work_.ResultMatrix.Cols();
    if (!chartBoxesInitialised_) {
        chartSettings_->EnableCells(rows, columns);
        chartBoxesInitialised_ = true;
    }
    partialChartLabel_->setVisible(rows > kChartCells || columns > kChartCells);
    chart_->Invalidate();
    DescribeChart();
    nextButton_->setEnabled(true);
}

void TGraphForm::DescribeChart()
{
    // What a screen reader says of the picture: its size, its largest bar, the bands.
    const Matrix& result = work_.ResultMatrix;
    std::optional<float> largest;
    for (int i = 0; i < result.Rows(); ++i)
        for (int j = 0; j < result.Cols(); ++j)
            if (std::isfinite(result(i, j)) && (!largest || result(i, j) > *largest))
                largest = result(i, j);
    const CData::ThresholdPair& thresholds = store_.ThresholdsOf(Mode());
    chart_->setAccessibleName(tr("Диаграмма результата"));
    chart_->setAccessibleDescription(
        tr("Трёхмерная диаграмма матрицы результата %1 × %2: наибольшее значение %3, пороги %4 и %5.")
            .arg(result.Rows())
            .arg(result.Cols())
            .arg(largest ? QString::fromStdString(FormatFixed(*largest, 2)) : QStringLiteral("—"))
            .arg(QString::fromStdString(FormatFixed(thresholds.Small, 2)),
                QString::fromStdString(FormatFixed(thresholds.Medium, 2))));
}

void TGraphForm::FillResultGrid()
{
    const ResultGrid texts = ResultGridTexts(work_);
    std::vector<QString> cells;
    cells.reserve(static_cast<std::size_t>(std::max(texts.RowCount, 0))
        * static_cast<std::size_t>(std::max(texts.ColumnCount, 0)));
    for (int row = 0; row < texts.RowCount; ++row)
        for (int column = 0; column < texts.ColumnCount; ++column)
            cells.push_back(QString::fromStdString(texts.At(column, row)));
    MatrixGridModel& model = resGrid_->Model();
    model.Reset(texts.RowCount, texts.ColumnCount, std::move(cells));
    // The distributions stand in the first column and the last row.
    const ModeDescription& about = Describe(Mode());
    std::vector<std::string> rowNames = store_.AnalysedNames(about.ResultRows);
    rowNames.push_back(tr("Распределение по столбцам").toStdString());
    std::vector<std::string> columnNames { tr("Распределение по строкам").toStdString() };
    for (std::string& name : store_.AnalysedNames(about.ResultCols))
        columnNames.push_back(std::move(name));
    model.SetItemNames(rowNames, columnNames);
    resGrid_->setCurrentIndex(model.index(texts.SelectedRow(), texts.SelectedColumn()));
}

void TGraphForm::DrawChart(Canvas& canvas) const
{
    const CData::ThresholdPair& thresholds = store_.ThresholdsOf(Mode());
    ::DrawChart(canvas, work_.ResultMatrix, work_.ColumnDistribution, work_.RowDistribution, thresholds.Small,
        thresholds.Medium, chartSettings_->Selection());
}

void TGraphForm::DrawChartOn(Canvas& canvas) const
{
    DrawChart(canvas);
}
