#include "ui/windows/Rating.h"
#include "model/NumberText.h"

#include "analysis/Format.h"
#include "analysis/InputMessages.h"
#include "analysis/Modes.h"
#include "model/Data.h"
#include "ui/charts/RatingChart.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/document/Document.h"
#include "ui/document/DocumentCaption.h"
#include "ui/export/ChartExport.h"
#include "ui/export/ExportFormats.h"
#include "ui/widgets/ChartView.h"
#include "ui/widgets/CheckListStyle.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/Frames.h"
#include "ui/widgets/LabelRoom.h"
#include "ui/widgets/NameListDelegate.h"
#include "ui/widgets/Navigation.h"
#include "ui/widgets/NumberKeyFilter.h"
#include "ui/widgets/QtCanvas.h"
#include "ui/widgets/WindowFont.h"
#include "ui/windows/Sensitivity.h"

#include <QAction>
#include <QApplication>
#include <QColor>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>

namespace {

constexpr QSize kClientSize { 655, 481 };
constexpr QRect kPanel { 2, 8, 649, 201 };
// Typing stops at five characters: a sixth is refused unless it replaces a selection.
constexpr int kLevelFullLength = 5;

constexpr double kHighLevelLower = 1.0;
constexpr double kHighLevelUpper = 5.0;
constexpr double kLowLevelLower = 0.0;
constexpr double kLowLevelUpper = 1.0;

struct ListPlace {
    ItemKind Kind;
    LabelPlace Label;
    const char* ListName;
    QRect List;
};

// In tab order; panel coordinates. "Анализируеммые" is misspelt on purpose: it is the
// caption the analysts have always read.
constexpr ListPlace kLists[] = {
    { ItemKind::Layer, { "Label1", QT_TRANSLATE_NOOP("TRatingForm", "Анализируеммые эшелоны"), { 6, 8 } }, "LayersList",
        { 5, 25, 310, 65 } },
    { ItemKind::Mechanism, { "Label3", QT_TRANSLATE_NOOP("TRatingForm", "Анализируеммые механизмы"), { 7, 96 } },
        "MechanismsList", { 5, 113, 310, 65 } },
    { ItemKind::Threat, { "Label2", QT_TRANSLATE_NOOP("TRatingForm", "Анализируеммые угрозы"), { 325, 8 } },
        "ThreatsList", { 323, 25, 321, 65 } },
};

struct EditPlace {
    LabelPlace Label;
    const char* EditName;
    QRect Edit;
};

// Panel coordinates. "ущеба" is misspelt on purpose, as the analysts have always read it.
constexpr EditPlace kCurrentLevelPlace {
    { "Label7", QT_TRANSLATE_NOOP("TRatingForm", "Текущий уровень потенциального ущеба"), { 336, 97 } }, "Edit4",
    { 549, 93, 66, 21 }
};
constexpr EditPlace kHighLevelPlace {
    { "Label4", QT_TRANSLATE_NOOP("TRatingForm", "Высокий уровень потенциального ущеба"), { 336, 123 } },
    "HighLevelEdit", { 549, 117, 66, 21 }
};
constexpr EditPlace kLowLevelPlace {
    { "Label5", QT_TRANSLATE_NOOP("TRatingForm", "Низкий уровень потенциального ущеба"), { 336, 147 } }, "LowLevelEdit",
    { 549, 141, 66, 21 }
};

// In the panel.
const ButtonPlace kComputeButton { "ComputeButton", QT_TRANSLATE_NOOP("TRatingForm", "Графики"), { 384, 168, 97, 25 } };
// Below the chart area.
const ButtonPlace kBackButton { "BackButton", QT_TRANSLATE_NOOP("TRatingForm", "Назад ..."), { 120, 448, 97, 25 } };
const ButtonPlace kSaveButton { "SaveButton", QT_TRANSLATE_NOOP("TRatingForm", "Сохранить данные..."),
    { 280, 448, 129, 25 } };
const ButtonPlace kFinishButton { "FinishButton", QT_TRANSLATE_NOOP("TRatingForm", "Завершить ..."),
    { 480, 448, 97, 25 } };
// The chart area below the panel. "ретинговых" is misspelt on purpose, as the analysts
// have always read it.
constexpr LabelPlace kTitle { "Label8",
    QT_TRANSLATE_NOOP("TRatingForm", "Графики зависимости ретинговых показателей от ЧАУ"), { 8, 216 } };
// The marker of the current frequency, drawn as the charts draw theirs, in a box a little
// larger than the picture, which keeps its size and sits in the box's top-left corner.
constexpr QRect kMarkerImage { kMarkerPlace.X, kMarkerPlace.Y, 14, 16 };
constexpr QSize kMarkerPicture { 13, 14 };

// With a blank before the bracket, unlike the main window's save dialog: each window's
// text as the analysts have always seen it.
FileDialogOptions SaveDataDialog()
{
    return { QCoreApplication::translate("TRatingForm", "Файлы данных Vardun 2.2 (*.sav)|*.sav"),
        QStringLiteral("sav") };
}

QLabel* MakePlacedLabel(QWidget* parent, const LabelPlace& place, bool opaque = false)
{
    return MakeLabel(parent, place, "TRatingForm", opaque);
}

QString ChartText(const char* source)
{
    return QCoreApplication::translate("Charts", source);
}

QLineEdit* MakeEdit(QWidget* parent, const EditPlace& place)
{
    QLabel* label = MakePlacedLabel(parent, place.Label);
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(place.EditName));
    edit->setGeometry(place.Edit);
    label->setBuddy(edit);
    edit->setAccessibleName(label->text());
    return edit;
}

QLabel* MakeImage(QWidget* parent, const char* name, const QRect& place, const QPixmap& picture, const QString& meaning)
{
    auto* image = new QLabel(parent);
    image->setObjectName(QString::fromLatin1(name));
    image->setGeometry(place);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->setPixmap(picture);
    image->setAccessibleName(meaning);
    return image;
}

QPixmap Swatch(QSize size, Rgb colour)
{
    QPixmap swatch(size);
    swatch.fill(QColor(colour.Red, colour.Green, colour.Blue));
    return swatch;
}

QPixmap MarkerPicture()
{
    QImage picture(kMarkerPicture, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        QtCanvas canvas(painter);
        // A fresh canvas outlines in black and fills in white, as the charts' markers.
        canvas.Ellipse(0, 0, kMarkerPicture.width(), kMarkerPicture.height());
    }
    return QPixmap::fromImage(picture);
}

// What is wrong with a level's text, as the analyst is told; nothing when it is a level.
std::optional<std::string> LevelError(const QString& text, double lower, double upper)
{
    const std::optional<double> value = ParseTypedNumber(text.toStdString());
    if (!value)
        return InputErrorMessage();
    if (!(*value >= lower && *value <= upper))
        return RangeMessage(FormatFixed(lower, 6), FormatFixed(upper, 6));
    return std::nullopt;
}

} // namespace

TRatingForm::TRatingForm(
    AssessmentDocument& document, IDialogs& dialogs, IWizardNavigation& navigation, QWidget* parent)
    : WizardWindow(navigation, kClientSize, new ChartView, parent)
    , document_(document)
    , store_(document.Store())
    , dialogs_(dialogs)
{
    FollowDocumentCaption(*this, document_);
    // On top of whatever style the program runs with.
    checkListStyle_ = new CheckListStyle(QApplication::style()->name());
    checkListStyle_->setParent(this);

    // Controls are created in tab order: Qt's focus chain follows creation.
    BuildPanel();
    backButton_ = MakeButton(Client(), kBackButton, "TRatingForm");
    saveButton_ = MakeButton(Client(), kSaveButton, "TRatingForm");
    saveButton_->setEnabled(false);
    finishButton_ = MakeButton(Client(), kFinishButton, "TRatingForm");
    finishButton_->setDefault(true);
    SetDefaultButton(finishButton_);
    SetCancelButton(finishButton_);
    BuildActionButtons(ButtonRow::Bottom, Client());
    BuildChartArea();
    BuildMenus();
    UpdateActions();
    for (QLabel* label : Client()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        chartLabels_.push_back(label);

    connect(computeButton_, &QPushButton::clicked, this, &TRatingForm::ComputeButtonClick);
    connect(backButton_, &QPushButton::clicked, this, [this] { Navigation().Back(this); });
    connect(saveButton_, &QPushButton::clicked, this, &TRatingForm::SaveButtonClick);
    connect(finishButton_, &QPushButton::clicked, this, [this] { Navigation().Finish(this); });
    connect(static_cast<ChartView*>(Client()), &ChartView::saveRequested, this, &TRatingForm::SaveChart);

    Client()->setAccessibleName(tr("Графики рейтинговых показателей"));
    qobject_cast<ChartView*>(Client())->SetDrawing([this](Canvas& canvas) { FormPaint(canvas); });
}

void TRatingForm::BuildMenus()
{
    // What the assessment offers beyond the walk, where a desktop user looks for it; the
    // button row below the charts has no room left.
    QMenu* file = AddMenu(tr("&Файл"));
    file->setObjectName(QStringLiteral("FileMenu"));
    QMenu* analysis = AddMenu(tr("&Анализ"));
    analysis->setObjectName(QStringLiteral("AnalysisMenu"));
    const std::span<const AssessmentAction> rows = AssessmentActions();
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const AssessmentAction& row = rows[k];
        QMenu* menu = row.Menu == ActionMenu::File ? file : analysis;
        QAction* action = menu->addAction(QCoreApplication::translate("AssessmentActions", row.Caption));
        action->setObjectName(QString::fromLatin1(row.Name) + QStringLiteral("Action"));
        connect(action, &QAction::triggered, this, [this, &row] { row.Run(*this); });
        actions_[k].first = action;
    }
}

void TRatingForm::BuildActionButtons(ButtonRow where, QWidget* parent)
{
    const std::span<const AssessmentAction> rows = AssessmentActions();
    actions_.resize(rows.size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const AssessmentAction& row = rows[k];
        if (!row.Button || row.Button->Row != where)
            continue;
        const QByteArray name = QByteArray(row.Name) + "Button";
        QPushButton* button = MakeButton(
            parent, name.constData(), QCoreApplication::translate("AssessmentActions", row.Caption), row.Button->Place);
        connect(button, &QPushButton::clicked, this, [this, &row] { row.Run(*this); });
        actions_[k].second = button;
    }
}

void TRatingForm::UpdateActions()
{
    const std::span<const AssessmentAction> rows = AssessmentActions();
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const bool enabled = !rows[k].Enabled || rows[k].Enabled(store_);
        for (QObject* control : { static_cast<QObject*>(actions_[k].first), static_cast<QObject*>(actions_[k].second) })
            if (control)
                control->setProperty("enabled", enabled);
    }
}

void TRatingForm::BuildPanel()
{
    auto* panel = new BevelPanel(Client());
    panel->setObjectName(QStringLiteral("Panel"));
    panel->setGeometry(kPanel);

    // Item k of a list is the k-th analysed item of its kind: row or column k of the
    // matrices. The lists keep no other mapping.
    for (const ListPlace& place : kLists) {
        QLabel* label = MakePlacedLabel(panel, place.Label);
        QListWidget*& list = ListOf(place.Kind);
        list = new QListWidget(panel);
        list->setObjectName(QString::fromLatin1(place.ListName));
        list->setGeometry(place.List);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setUniformItemSizes(true);
        list->setStyle(checkListStyle_);
        list->setItemDelegate(new NameListDelegate(list));
        label->setBuddy(list);
        list->setAccessibleName(label->text());

        const int count = static_cast<int>(store_.IndicesOf(place.Kind).size());
        for (int k = 0; k < count; ++k)
            AppendCheckItem(list, QString::fromStdString(store_.AnalysedName(place.Kind, k)));
        list->setCurrentRow(-1);

        // The program changes items only with the list's signals blocked, so whatever
        // arrives here is the analyst toggling a check box (mouse or space key).
        connect(list, &QListWidget::itemChanged, this,
            [this, kind = place.Kind](QListWidgetItem* item) { ListCheckToggled(kind, item); });
        // The charts are drawn for the current items.
        connect(list, &QListWidget::currentRowChanged, this, [this] { ChartInputsChanged(); });
    }

    QLineEdit* currentLevel = MakeEdit(panel, kCurrentLevelPlace);
    currentLevel->setText(QStringLiteral("1.0"));
    currentLevel->setEnabled(false);
    QPalette colours = currentLevel->palette();
    const QColor buttonFace = colours.color(QPalette::Button);
    for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled })
        colours.setColor(group, QPalette::Base, buttonFace);
    currentLevel->setPalette(colours);

    highLevel_ = { MakeEdit(panel, kHighLevelPlace), kHighLevelLower, kHighLevelUpper };
    lowLevel_ = { MakeEdit(panel, kLowLevelPlace), kLowLevelLower, kLowLevelUpper };
    for (const LevelEdit* level : { &highLevel_, &lowLevel_ }) {
        new NumberKeyFilter(level->Edit, kLevelFullLength);
        // Every change, typed or set by the program.
        connect(level->Edit, &QLineEdit::textChanged, this, [this, level] { ValidateLevelEdit(*level); });
    }

    computeButton_ = MakeButton(panel, kComputeButton, "TRatingForm");
    computeButton_->setEnabled(false);
    BuildActionButtons(ButtonRow::Panel, panel);
}

void TRatingForm::BuildChartArea()
{
    // Labels over the chart paint the window colour behind their text, as the charts
    // expect of them.
    QLabel* title = MakePlacedLabel(Client(), kTitle, true);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    title->adjustSize();
    for (const FixedLabel& label : kRatingAxisTitles)
        MakeLabel(Client(), label, true);

    for (const RatingLegendEntry& entry : kRatingLegend) {
        const QRect swatch(entry.Swatch.X, entry.Swatch.Y, kLegendSwatchSize, kLegendSwatchSize);
        MakeImage(Client(), entry.SwatchName, swatch, Swatch(swatch.size(), entry.Colour), ChartText(entry.Meaning));
        MakeLabel(Client(), entry.Label, true);
    }
    QLabel* marker = MakeImage(Client(), "Image4", kMarkerImage, MarkerPicture(), ChartText(kMarkerMeaning));
    marker->setProperty(kMarkerPictureProperty, true);
    MakeLabel(Client(), kMarkerLabel, true);

    const std::pair<ValueLabels*, const RatingValuePlaces*> charts[]
        = { { &rmLabels_, &kRmValuePlaces }, { &reLabels_, &kReValuePlaces } };
    const char* const indicators[] = { "Rm", "Re" };
    for (std::size_t k = 0; k < std::size(charts); ++k) {
        const auto& [labels, places] = charts[k];
        const QString indicator = QString::fromLatin1(indicators[k]);
        // A screen reader hears what a bare number stands for.
        labels->Minimum = MakeLabel(Client(), places->Minimum, true);
        labels->Minimum->setAccessibleDescription(tr("%1: наименьшее значение на графике").arg(indicator));
        for (std::size_t u = 0; u < labels->Ticks.size(); ++u) {
            labels->Ticks[u] = MakeLabel(Client(), places->Ticks[u], true);
            labels->Ticks[u]->setAccessibleDescription(tr("%1: отметка шкалы").arg(indicator));
        }
        labels->Current = MakeLabel(Client(), places->Current, true);
        labels->Current->setAccessibleDescription(tr("%1 при текущей ЧАУ").arg(indicator));
    }
}

bool TRatingForm::SelectionComplete() const
{
    return std::all_of(lists_.begin(), lists_.end(), [](const QListWidget* list) { return HasCheckedItem(list); })
        && !highLevel_.Edit->text().isEmpty() && !lowLevel_.Edit->text().isEmpty();
}

void TRatingForm::UpdateComputeButton()
{
    computeButton_->setEnabled(SelectionComplete());
    ChartInputsChanged();
}

void TRatingForm::ChartInputsChanged()
{
    // The charts follow the lists and the levels as they are now.
    static_cast<ChartView*>(Client())->Invalidate();
}

std::optional<RatingSelection> TRatingForm::CurrentSelection() const
{
    const RatingSelection selection { ListOf(ItemKind::Layer)->currentRow(), ListOf(ItemKind::Threat)->currentRow(),
        ListOf(ItemKind::Mechanism)->currentRow() };
    if (selection.Layer < 0 || selection.Threat < 0 || selection.Mechanism < 0)
        return std::nullopt;
    return selection;
}

std::optional<float> TRatingForm::AcceptedLevel(const LevelEdit& level)
{
    const QString text = level.Edit->text();
    if (text.isEmpty() || LevelError(text, level.Lower, level.Upper))
        return std::nullopt;
    return static_cast<float>(*ParseTypedNumber(text.toStdString()));
}

void TRatingForm::ListCheckToggled(ItemKind kind, QListWidgetItem* item)
{
    // The toggled item becomes the current one whether the box was clicked or the space
    // key pressed; only then are the other marks cleared.
    ListOf(kind)->setCurrentItem(item);
    KeepSingleCheck(kind);
}

void TRatingForm::KeepSingleCheck(ItemKind kind)
{
    QListWidget* list = ListOf(kind);
    const int current = list->currentRow();
    {
        const QSignalBlocker blocker(list);
        for (int row = 0; row < list->count(); ++row) {
            if (row != current && list->item(row)->checkState() == Qt::Checked)
                list->item(row)->setCheckState(Qt::Unchecked);
        }
    }
    UpdateComputeButton();
}

void TRatingForm::ValidateLevelEdit(const LevelEdit& level)
{
    const QString text = level.Edit->text();
    if (!text.isEmpty()) {
        if (const auto error = LevelError(text, level.Lower, level.Upper)) {
            // The box waits for the analyst inside this handler. Meanwhile a repaint may
            // come, which draws nothing from a level that has not passed (see FormPaint).
            dialogs_.ShowMessage(*error);
            // Runs this handler again, on the empty text, which only settles the button.
            level.Edit->setText(QString());
        }
    }
    UpdateComputeButton();
}

void TRatingForm::showEvent(QShowEvent* event)
{
    // When the program shows the window; restoring it from the task bar is no showing.
    if (!event->spontaneous())
        FormShow();
    WizardWindow::showEvent(event);
}

void TRatingForm::FormShow()
{
    // The stored levels replace whatever was typed and not confirmed with "Графики". A new
    // assessment holds 0 for both, below the high level's range: a message at every showing
    // of it would only be noise, so a stored level that its edit would refuse leaves the
    // edit empty, silently.
    const auto showStored = [](const LevelEdit& level, float stored) {
        QString text = QString::fromStdString(FormatFixed(stored, 2));
        if (LevelError(text, level.Lower, level.Upper))
            text.clear();
        level.Edit->setText(text);
    };
    showStored(highLevel_, store_.HighLevel);
    showStored(lowLevel_, store_.LowLevel);
    UpdateComputeButton();
    UpdateActions();
}

void TRatingForm::FormPaint(Canvas& canvas)
{
    const auto describe = [this](const QString& description) {
        if (Client()->accessibleDescription() != description)
            Client()->setAccessibleDescription(description);
    };
    const std::optional<RatingSelection> selection = CurrentSelection();
    // Both levels have passed their checks whenever the button is enabled, except while
    // the message about one of them waits for the analyst.
    const std::optional<float> high = AcceptedLevel(highLevel_);
    const std::optional<float> low = AcceptedLevel(lowLevel_);
    if (!computeButton_->isEnabled() || !selection || !high || !low) {
        describe(tr("Графики не построены: отметьте эшелон, угрозу и механизм и задайте уровни ущерба."));
        return;
    }
    const RatingChartsLabels labels = DrawRatingCharts(canvas, store_, *selection, *high, *low);
    ShowChartLabels(labels);
    // What a screen reader says of the two pictures: for what they are drawn, with which
    // levels, and the ratings at the current frequency.
    const auto current = [](const RatingChartLabels& chart) {
        return chart.Current ? QString::fromStdString(chart.Current->Caption) : QStringLiteral("—");
    };
    const QString drawnFor
        = tr("Графики Rm и Re от ЧАУ угрозы «%1» для эшелона «%2» и механизма «%3».")
              .arg(QString::fromStdString(store_.AnalysedName(ItemKind::Threat, selection->Threat)),
                  QString::fromStdString(store_.AnalysedName(ItemKind::Layer, selection->Layer)),
                  QString::fromStdString(store_.AnalysedName(ItemKind::Mechanism, selection->Mechanism)));
    const QString levels
        = tr("Уровни ущерба: высокий %1, текущий 1.0, низкий %2; при текущей ЧАУ Rm %3, Re %4.")
              .arg(highLevel_.Edit->text(), lowLevel_.Edit->text(), current(labels.Rm), current(labels.Re));
    describe(drawnFor + QLatin1Char(' ') + levels);
}

void TRatingForm::ShowChartLabels(const RatingChartsLabels& labels)
{
    const std::pair<const ValueLabels*, const RatingChartLabels*> charts[]
        = { { &rmLabels_, &labels.Rm }, { &reLabels_, &labels.Re } };
    std::vector<const QLabel*> movable;
    for (const auto& [controls, chart] : charts) {
        SetLabelText(controls->Minimum, QString::fromStdString(chart->Axis.Minimum));
        movable.insert(movable.end(), controls->Ticks.begin(), controls->Ticks.end());
        movable.push_back(controls->Current);
    }
    // A value falls wherever its curve goes: onto the lists above the charts or the other
    // chart's numbers, where it would hide what it lies on. The values at the current
    // frequency go first; they say more than a scale mark.
    LabelRoom room(*Client(), Client()->rect(), movable);
    const auto place = [&room](QLabel* label, const ChartLabel& placed) {
        if (placed.Visible)
            room.Place(label, QString::fromStdString(placed.Caption), { label->x(), placed.Top });
        else
            LabelRoom::Hide(label);
    };
    for (const auto& [controls, chart] : charts) {
        // Without a circle at the current frequency there is no value to show.
        if (chart->Current)
            place(controls->Current, *chart->Current);
        else
            LabelRoom::Hide(controls->Current);
    }
    for (const auto& [controls, chart] : charts)
        for (std::size_t u = 0; u < controls->Ticks.size(); ++u)
            place(controls->Ticks[u], chart->Axis.Ticks[u]);
}

void TRatingForm::ComputeButtonClick()
{
    ChartInputsChanged();
    const std::optional<float> high = AcceptedLevel(highLevel_);
    const std::optional<float> low = AcceptedLevel(lowLevel_);
    if (!high || !low)
        return;
    // The levels go into the data file: new ones are changes to save.
    if (std::bit_cast<std::uint32_t>(store_.HighLevel) != std::bit_cast<std::uint32_t>(*high)
        || std::bit_cast<std::uint32_t>(store_.LowLevel) != std::bit_cast<std::uint32_t>(*low))
        document_.MarkModified();
    store_.HighLevel = *high;
    store_.LowLevel = *low;
    saveButton_->setEnabled(true);
}

void TRatingForm::SaveChart()
{
    ExportChartAs(this, { Client(), [this](Canvas& canvas) { FormPaint(canvas); }, chartLabels_ }, dialogs_);
}

ReportRequest TRatingForm::CurrentRequest() const
{
    ReportRequest request;
    request.FileName = QFileInfo(QString::fromStdString(document_.FilePath())).fileName().toStdString();
    // The curves as the window draws them, when it does.
    const std::optional<RatingSelection> selection = CurrentSelection();
    const std::optional<float> high = AcceptedLevel(highLevel_);
    const std::optional<float> low = AcceptedLevel(lowLevel_);
    if (computeButton_->isEnabled() && selection && high && low) {
        request.Rating = *selection;
        request.High = *high;
        request.Low = *low;
    }
    request.Sections = WindowReportSections(this);
    return request;
}

TSensitivityForm* TRatingForm::SensitivityWindow() const
{
    return findChild<TSensitivityForm*>(QString(), Qt::FindDirectChildrenOnly);
}

void TRatingForm::SelectTriple(const RatingSelection& triple)
{
    const std::pair<ItemKind, int> chosen[] = { { ItemKind::Layer, triple.Layer }, { ItemKind::Threat, triple.Threat },
        { ItemKind::Mechanism, triple.Mechanism } };
    for (const auto& [kind, row] : chosen)
        if (row < 0 || row >= ListOf(kind)->count())
            return;
    for (const auto& [kind, row] : chosen) {
        QListWidget* list = ListOf(kind);
        {
            const QSignalBlocker blocker(list);
            list->item(row)->setCheckState(Qt::Checked);
        }
        list->setCurrentRow(row);
        list->scrollToItem(list->item(row));
        KeepSingleCheck(kind);
    }
}

void TRatingForm::SaveButtonClick()
{
    const auto path = dialogs_.AskSaveFile(this, SaveDataDialog());
    if (!path)
        return;
    // A failed save has said so and leaves the assessment counted as unsaved.
    document_.Save(path->toStdString(), dialogs_);
}
