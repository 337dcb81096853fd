#include "ui/windows/MainWindow.h"

#include "model/Dictionary.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/document/Document.h"
#include "ui/widgets/CheckListStyle.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/Frames.h"
#include "ui/widgets/NameListDelegate.h"
#include "ui/widgets/WindowFont.h"
#include "ui/windows/Navigation.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>

namespace {

// Adding stops at 15 items; files may bring longer lists.
constexpr int kAddLimit = 14;

struct ListLayout {
    const char* GroupName;
    const char* Caption;
    QRect Group;
    const char* AddName;
    const char* ChangeName;
    const char* DeleteName;
    const char* ListName;
    QPoint FirstButton; // the add button; change and delete follow 32 pixels apart
    QRect List;
    const char* AddPrompt;
    const char* ChangePrompt;
    const char* NoCheckedItem;
};

const ListLayout kLayouts[] = {
    { "GroupBox1", "Иерархия уровней", { 5, 2, 484, 121 }, "AddLayerButton", "ChangeLayerButton", "DeleteLayerButton",
        "LayersList", { 13, 25 }, { 109, 11, 369, 105 }, "Добавить новый эшелон.", "Изменение названия эшелона.",
        "Для анализа отметьте хотя бы один эшелон." },
    { "ThreatsGroupBox", "Угрозы", { 5, 123, 484, 121 }, "AddThreatButton", "ChangeThreatButton", "DeleteThreatButton",
        "ThreatsList", { 11, 24 }, { 108, 11, 370, 105 }, "Добавить новую угрозу.", "Изменение названия угрозы.",
        "Для анализа отметьте хотя бы одну угрозу." },
    { "MechanismsGroupBox", "Механизмы", { 5, 244, 484, 121 }, "AddMechanismButton", "ChangeMechanismButton",
        "DeleteMechanismButton", "MechanismsList", { 11, 25 }, { 108, 11, 370, 105 }, "Добавить новый механизм.",
        "Изменение названия механизма.", "Для анализа отметьте хотя бы один механизм защиты." },
};

// The table is in the order of the item kinds.
const ListLayout& LayoutOf(ItemKind kind)
{
    return kLayouts[static_cast<std::size_t>(kind)];
}

const FileDialogOptions kOpenDataDialog { QStringLiteral("Файлы данных Vardun 2.1|*.sav"), QStringLiteral("sav") };
const FileDialogOptions kSaveDataDialog { QStringLiteral("Файлы данных Vardun 2.2(*.sav)|*.sav"),
    QStringLiteral("sav") };
const FileDialogOptions kDictionaryDialog { QStringLiteral("Vardun 2.1 Файл словаря(*.dic)|*.dic"),
    QStringLiteral("dic") };

// Leaves the list with no current and no selected item, so a later Change or Delete
// finds nothing to work on.
void ClearSelection(QListWidget* list)
{
    list->clearSelection();
    list->setCurrentRow(-1);
}

} // namespace

TMainForm::TMainForm(AssessmentDocument& document, IDialogs& dialogs, IWizardNavigation& navigation, QWidget* parent)
    : QMainWindow(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , document_(document)
    , store_(document.Store())
    , dialogs_(dialogs)
    , navigation_(navigation)
{
    setWindowTitle(QStringLiteral("Vardun 2.2"));
    setFont(WindowFont());
    setFixedSize(624, 406);
    move(151, 99);
    // With no menu or status bar the central widget is the whole client area.
    auto* client = new QWidget(this);
    setCentralWidget(client);

    // On top of whatever style the program runs with.
    checkListStyle_ = new CheckListStyle(QApplication::style()->name());
    checkListStyle_->setParent(this);

    // Controls are created in tab order: Qt's focus chain follows creation.
    auto* panel = new BevelPanel(client);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(2, 2, 495, 403);

    for (ItemKind kind : kItemKinds)
        BuildListGroup(kind, panel);

    loadDicButton_ = MakeButton(panel, "LoadDicButton", QStringLiteral("Загрузить списки ..."), { 123, 369, 130, 27 });
    saveDicButton_ = MakeButton(panel, "SaveDicButton", QStringLiteral("Сохранить списки..."), { 283, 368, 130, 27 });
    aboutButton_ = MakeButton(client, "AboutButton", QStringLiteral("О программе..."), { 512, 8, 97, 25 });
    saveButton_ = MakeButton(client, "SaveButton", QStringLiteral("Сохранить данные..."), { 504, 104, 113, 25 });
    loadButton_ = MakeButton(client, "LoadButton", QStringLiteral("Загрузить данные..."), { 504, 137, 113, 25 });
    nextButton_ = MakeButton(client, "NextButton", QStringLiteral("Далее..."), { 519, 169, 83, 25 });
    nextButton_->setEnabled(false);
    nextButton_->setDefault(true);
    exitButton_ = MakeButton(client, "ExitButton", QStringLiteral("Выход"), { 526, 201, 68, 24 });

    connect(loadDicButton_, &QPushButton::clicked, this, &TMainForm::LoadDicButtonClick);
    connect(saveDicButton_, &QPushButton::clicked, this, &TMainForm::SaveDicButtonClick);
    connect(aboutButton_, &QPushButton::clicked, this, [this] { navigation_.ShowAbout(); });
    connect(saveButton_, &QPushButton::clicked, this, &TMainForm::SaveButtonClick);
    connect(loadButton_, &QPushButton::clicked, this, &TMainForm::LoadButtonClick);
    connect(nextButton_, &QPushButton::clicked, this, &TMainForm::NextButtonClick);
    connect(exitButton_, &QPushButton::clicked, this, &QWidget::close);
}

void TMainForm::BuildListGroup(ItemKind kind, QWidget* parent)
{
    const ListLayout& layout = LayoutOf(kind);
    ListControls& controls = ListsOf(kind);

    controls.Group = new FramedGroupBox(QString::fromUtf8(layout.Caption), parent);
    controls.Group->setObjectName(QString::fromLatin1(layout.GroupName));
    controls.Group->setGeometry(layout.Group);
    controls.Group->setFont(GroupCaptionFont());

    const QPoint at = layout.FirstButton;
    controls.AddButton
        = MakeButton(controls.Group, layout.AddName, QStringLiteral("Добавить..."), { at.x(), at.y(), 84, 25 });
    controls.ChangeButton
        = MakeButton(controls.Group, layout.ChangeName, QStringLiteral("Изменить..."), { at.x(), at.y() + 32, 84, 25 });
    controls.ChangeButton->setEnabled(false);
    controls.DeleteButton
        = MakeButton(controls.Group, layout.DeleteName, QStringLiteral("Удалить"), { at.x(), at.y() + 64, 84, 25 });
    controls.DeleteButton->setEnabled(false);

    controls.List = new QListWidget(controls.Group);
    controls.List->setObjectName(QString::fromLatin1(layout.ListName));
    controls.List->setGeometry(layout.List);
    controls.List->setFont(WindowFont());
    controls.List->setSelectionMode(QAbstractItemView::SingleSelection);
    controls.List->setUniformItemSizes(true);
    controls.List->setStyle(checkListStyle_);
    controls.List->setItemDelegate(new NameListDelegate(controls.List));
    // A screen reader names the list by its group, as a sighted user does.
    controls.List->setAccessibleName(QString::fromUtf8(layout.Caption));

    connect(controls.AddButton, &QPushButton::clicked, this, [this, kind] { AddButtonClick(kind); });
    connect(controls.ChangeButton, &QPushButton::clicked, this, [this, kind] { ChangeButtonClick(kind); });
    connect(controls.DeleteButton, &QPushButton::clicked, this, [this, kind] { DeleteButtonClick(kind); });
    connect(controls.List, &QListWidget::itemSelectionChanged, this, [this, kind] { ListSelectionChanged(kind); });
    // The program changes items only with the list's signals blocked, so whatever arrives
    // here is the analyst toggling a check box (mouse or space key).
    connect(controls.List, &QListWidget::itemChanged, this,
        [this, kind](QListWidgetItem* item) { ListCheckToggled(kind, item); });
}

bool TMainForm::HasSelectionInEachList() const
{
    return std::all_of(
        lists_.begin(), lists_.end(), [](const ListControls& controls) { return HasCheckedItem(controls.List); });
}

bool TMainForm::LoadDictionary(const std::string& path)
{
    NameLists lists;
    if (!::LoadDictionary(path, lists, dialogs_))
        return false;
    // A dictionary brings names only: the flags, Next and the add buttons stay as they were.
    ReplaceItems(ItemKind::Layer, lists.Layers);
    ReplaceItems(ItemKind::Threat, lists.Threats);
    ReplaceItems(ItemKind::Mechanism, lists.Mechanisms);
    return true;
}

void TMainForm::showEvent(QShowEvent* event)
{
    // When the program shows the window; restoring it from the task bar is no showing.
    if (!event->spontaneous()) {
        for (ItemKind kind : kItemKinds)
            ApplyAddButtonRule(kind);
    }
    QMainWindow::showEvent(event);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (CloseQuery())
        event->accept();
    else
        event->ignore();
}

void TMainForm::keyPressEvent(QKeyEvent* event)
{
    // Next is the default button, Exit the cancel one.
    if (!PressDialogKey(*this, *event, nextButton_, exitButton_))
        QMainWindow::keyPressEvent(event);
}

void TMainForm::ApplyAddButtonRule(ItemKind kind)
{
    ListsOf(kind).AddButton->setEnabled(ListsOf(kind).List->count() <= kAddLimit);
}

void TMainForm::ListSelectionChanged(ItemKind kind)
{
    // Once enabled, Change and Delete stay enabled; with nothing selected they do nothing.
    if (!ListsOf(kind).List->selectedItems().isEmpty()) {
        ListsOf(kind).ChangeButton->setEnabled(true);
        ListsOf(kind).DeleteButton->setEnabled(true);
    }
}

void TMainForm::ListCheckToggled(ItemKind kind, QListWidgetItem* item)
{
    // Qt's item views toggle the box without selecting the item; a click on the box
    // selects it as well, as the rest of the window expects.
    ListsOf(kind).List->setCurrentItem(item);
    nextButton_->setEnabled(HasSelectionInEachList());
    listsChanged_ = true;
    dataLoaded_ = false;
    document_.MarkModified();
}

void TMainForm::AddButtonClick(ItemKind kind)
{
    const auto name = dialogs_.AskName(this, QString::fromUtf8(LayoutOf(kind).AddPrompt), QString());
    if (name) {
        const QSignalBlocker blocker(ListsOf(kind).List);
        ListsOf(kind).List->scrollToItem(AppendCheckItem(ListsOf(kind).List, *name));
    }
    ApplyAddButtonRule(kind);
}

void TMainForm::ChangeButtonClick(ItemKind kind)
{
    const QList<QListWidgetItem*> selected = ListsOf(kind).List->selectedItems();
    if (selected.isEmpty())
        return;
    QListWidgetItem* item = selected.front();
    const auto name = dialogs_.AskName(this, QString::fromUtf8(LayoutOf(kind).ChangePrompt), item->text());
    if (name) {
        // Position, check mark and selection stay.
        const QSignalBlocker blocker(ListsOf(kind).List);
        item->setText(*name);
    }
}

void TMainForm::DeleteButtonClick(ItemKind kind)
{
    QListWidget* list = ListsOf(kind).List;
    const QList<QListWidgetItem*> selected = list->selectedItems();
    if (!selected.isEmpty()) {
        const QSignalBlocker blocker(list);
        delete list->takeItem(list->row(selected.front()));
        ClearSelection(list);
    }
    ApplyAddButtonRule(kind);
}

void TMainForm::LoadDicButtonClick()
{
    if (const auto path = dialogs_.AskOpenFile(this, kDictionaryDialog))
        LoadDictionary(path->toStdString());
}

void TMainForm::SaveDicButtonClick()
{
    const auto path = dialogs_.AskSaveFile(this, kDictionaryDialog);
    if (!path)
        return;
    const NameLists lists { Names(ItemKind::Layer), Names(ItemKind::Threat), Names(ItemKind::Mechanism) };
    // A failed write reports itself.
    SaveDictionary(path->toStdString(), lists, dialogs_);
}

void TMainForm::LoadButtonClick()
{
    const auto path = dialogs_.AskOpenFile(this, kOpenDataDialog);
    if (!path)
        return;
    // A rejected file has shown its message and left the store as it was; so do the lists.
    if (!document_.Load(path->toStdString(), dialogs_))
        return;

    for (ItemKind kind : kItemKinds) {
        ReplaceItems(kind, store_.NamesOf(kind));
        QListWidget* list = ListsOf(kind).List;
        const QSignalBlocker blocker(list);
        for (const std::string& entry : store_.IndicesOf(kind)) {
            if (QListWidgetItem* item = list->item(IndexValue(entry)))
                item->setCheckState(Qt::Checked);
        }
        ApplyAddButtonRule(kind);
    }
    dataLoaded_ = true;
    listsChanged_ = true;
    nextButton_->setEnabled(true);
}

void TMainForm::SaveButtonClick()
{
    SaveData();
}

bool TMainForm::SaveData()
{
    const auto path = dialogs_.AskSaveFile(this, kSaveDataDialog);
    if (!path)
        return false;
    PrepareStoreFromLists();
    // A failed save has reported itself and leaves the changes counted as unsaved.
    return document_.Save(path->toStdString(), dialogs_);
}

void TMainForm::PrepareStoreFromLists()
{
    // Right after a data load the store already holds these lists, with their values.
    // Whether the analysis windows must be built again is decided at Next, as always:
    // the flags stay as they are.
    if (!dataLoaded_)
        store_.PrepareForAnalysis(Items(ItemKind::Layer), Items(ItemKind::Threat), Items(ItemKind::Mechanism));
}

void TMainForm::NextButtonClick()
{
    // Next can be enabled with a list unmarked (a dictionary load clears the marks, a data
    // file may mark nothing); the analysis needs an item of each kind.
    for (ItemKind kind : kItemKinds) {
        if (!HasCheckedItem(ListsOf(kind).List)) {
            dialogs_.ShowMessage(LayoutOf(kind).NoCheckedItem);
            return;
        }
    }
    PrepareStoreFromLists();
    const bool rebuild = listsChanged_;
    listsChanged_ = false;
    dataLoaded_ = false;
    navigation_.ShowAnalysis(rebuild);
}

bool TMainForm::CloseQuery()
{
    if (document_.IsSaved())
        return true;
    switch (dialogs_.AskSaveChanges(this)) {
    case CloseAnswer::Cancel:
        return false;
    case CloseAnswer::No:
        return true;
    case CloseAnswer::Yes:
        break;
    }
    // Closing after a cancelled or failed save would lose the assessment: stay open so
    // the analyst can choose another file.
    return SaveData();
}

std::vector<std::string> TMainForm::Names(ItemKind kind) const
{
    std::vector<std::string> names;
    for (const CheckItem& item : Items(kind))
        names.push_back(item.Name);
    return names;
}

CheckList TMainForm::Items(ItemKind kind) const
{
    const QListWidget* list = ListsOf(kind).List;
    CheckList items;
    items.reserve(static_cast<std::size_t>(list->count()));
    for (int row = 0; row < list->count(); ++row) {
        const QListWidgetItem* item = list->item(row);
        items.push_back({ item->text().toStdString(), item->checkState() == Qt::Checked });
    }
    return items;
}

void TMainForm::ReplaceItems(ItemKind kind, const std::vector<std::string>& names)
{
    QListWidget* list = ListsOf(kind).List;
    const QSignalBlocker blocker(list);
    list->clear();
    for (const std::string& name : names)
        AppendCheckItem(list, QString::fromStdString(name));
    ClearSelection(list);
    list->scrollToTop();
}
