#include "ui/windows/MainWindow.h"

#include "model/Cp1251.h"
#include "model/Dictionary.h"
#include "model/DictionaryText.h"
#include "model/FileBytes.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/document/Document.h"
#include "ui/document/DocumentCaption.h"
#include "ui/widgets/CheckListStyle.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/Frames.h"
#include "ui/widgets/NameListDelegate.h"
#include "ui/widgets/Navigation.h"
#include "ui/widgets/Texts.h"
#include "ui/widgets/WindowFont.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
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

// Panel coordinates, in the order of the item kinds.
const ListLayout kLayouts[] = {
    { "GroupBox1", QT_TRANSLATE_NOOP("TMainForm", "Иерархия уровней"), { 5, 2, 484, 121 }, "AddLayerButton",
        "ChangeLayerButton", "DeleteLayerButton", "LayersList", { 13, 25 }, { 109, 11, 369, 105 },
        QT_TRANSLATE_NOOP("TMainForm", "Добавить новый эшелон."),
        QT_TRANSLATE_NOOP("TMainForm", "Изменение названия эшелона."),
        QT_TRANSLATE_NOOP("TMainForm", "Для анализа отметьте хотя бы один эшелон.") },
    { "ThreatsGroupBox", QT_TRANSLATE_NOOP("TMainForm", "Угрозы"), { 5, 123, 484, 121 }, "AddThreatButton",
        "ChangeThreatButton", "DeleteThreatButton", "ThreatsList", { 11, 24 }, { 108, 11, 370, 105 },
        QT_TRANSLATE_NOOP("TMainForm", "Добавить новую угрозу."),
        QT_TRANSLATE_NOOP("TMainForm", "Изменение названия угрозы."),
        QT_TRANSLATE_NOOP("TMainForm", "Для анализа отметьте хотя бы одну угрозу.") },
    { "MechanismsGroupBox", QT_TRANSLATE_NOOP("TMainForm", "Механизмы"), { 5, 244, 484, 121 }, "AddMechanismButton",
        "ChangeMechanismButton", "DeleteMechanismButton", "MechanismsList", { 11, 25 }, { 108, 11, 370, 105 },
        QT_TRANSLATE_NOOP("TMainForm", "Добавить новый механизм."),
        QT_TRANSLATE_NOOP("TMainForm", "Изменение названия механизма."),
        QT_TRANSLATE_NOOP("TMainForm", "Для анализа отметьте хотя бы один механизм защиты.") },
};
// A list's three buttons, from its FirstButton down.
constexpr QSize kListButton { 84, 25 };
constexpr int kListButtonStep = 32;
const char* const kListButtonCaptions[] = { QT_TRANSLATE_NOOP("TMainForm", "Добавить..."),
    QT_TRANSLATE_NOOP("TMainForm", "Изменить..."), QT_TRANSLATE_NOOP("TMainForm", "Удалить") };

constexpr QSize kClientSize { 624, 406 };
constexpr QPoint kWindowPlace { 151, 99 };
constexpr QRect kPanel { 2, 2, 495, 403 };
// In the panel.
const ButtonPlace kLoadDicButton { "LoadDicButton", QT_TRANSLATE_NOOP("TMainForm", "Загрузить списки ..."),
    { 123, 369, 130, 27 } };
const ButtonPlace kSaveDicButton { "SaveDicButton", QT_TRANSLATE_NOOP("TMainForm", "Сохранить списки..."),
    { 283, 368, 130, 27 } };
// In the client area.
const ButtonPlace kAboutButton { "AboutButton", QT_TRANSLATE_NOOP("TMainForm", "О программе..."), { 512, 8, 97, 25 } };
const ButtonPlace kSaveButton { "SaveButton", QT_TRANSLATE_NOOP("TMainForm", "Сохранить данные..."),
    { 504, 104, 113, 25 } };
const ButtonPlace kLoadButton { "LoadButton", QT_TRANSLATE_NOOP("TMainForm", "Загрузить данные..."),
    { 504, 137, 113, 25 } };
const ButtonPlace kNextButton { "NextButton", QT_TRANSLATE_NOOP("TMainForm", "Далее..."), { 519, 169, 83, 25 } };
const ButtonPlace kExitButton { "ExitButton", QT_TRANSLATE_NOOP("TMainForm", "Выход"), { 526, 201, 68, 24 } };

// The table is in the order of the item kinds.
const ListLayout& LayoutOf(ItemKind kind)
{
    return kLayouts[static_cast<std::size_t>(kind)];
}

// The file types as the analysts have always seen them: the open and dictionary dialogs
// still name version 2.1, and the save dialog's text has no blank before its bracket,
// unlike the rating window's.
FileDialogOptions OpenDataDialog()
{
    return { QCoreApplication::translate("TMainForm", "Файлы данных Vardun 2.1|*.sav"), QStringLiteral("sav") };
}
FileDialogOptions SaveDataDialog()
{
    return { QCoreApplication::translate("TMainForm", "Файлы данных Vardun 2.2(*.sav)|*.sav"), QStringLiteral("sav") };
}
FileDialogOptions DictionaryDialog()
{
    return { QCoreApplication::translate("TMainForm", "Vardun 2.1 Файл словаря(*.dic)|*.dic"), QStringLiteral("dic") };
}

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
    FollowDocumentCaption(*this, document_);
    setFont(WindowFont());
    setFixedSize(kClientSize);
    move(kWindowPlace);
    // With no menu or status bar the central widget is the whole client area.
    auto* client = new QWidget(this);
    setCentralWidget(client);

    // On top of whatever style the program runs with.
    checkListStyle_ = new CheckListStyle(QApplication::style()->name());
    checkListStyle_->setParent(this);

    // Controls are created in tab order: Qt's focus chain follows creation.
    auto* panel = new BevelPanel(client);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(kPanel);

    for (ItemKind kind : kItemKinds)
        BuildListGroup(kind, panel);

    loadDicButton_ = MakeButton(panel, kLoadDicButton, "TMainForm");
    saveDicButton_ = MakeButton(panel, kSaveDicButton, "TMainForm");
    aboutButton_ = MakeButton(client, kAboutButton, "TMainForm");
    saveButton_ = MakeButton(client, kSaveButton, "TMainForm");
    loadButton_ = MakeButton(client, kLoadButton, "TMainForm");
    nextButton_ = MakeButton(client, kNextButton, "TMainForm");
    nextButton_->setEnabled(false);
    nextButton_->setDefault(true);
    exitButton_ = MakeButton(client, kExitButton, "TMainForm");

    connect(loadDicButton_, &QPushButton::clicked, this, &TMainForm::LoadDicButtonClick);
    connect(saveDicButton_, &QPushButton::clicked, this, &TMainForm::SaveDicButtonClick);
    connect(aboutButton_, &QPushButton::clicked, this, [this] { navigation_.ShowAbout(); });
    connect(saveButton_, &QPushButton::clicked, this, &TMainForm::SaveButtonClick);
    connect(loadButton_, &QPushButton::clicked, this, &TMainForm::LoadButtonClick);
    connect(nextButton_, &QPushButton::clicked, this, &TMainForm::NextButtonClick);
    connect(exitButton_, &QPushButton::clicked, this, &QWidget::close);

    BuildMenus();
    // Every file loaded or saved is offered again, in this run and the next.
    connect(&document_, &AssessmentDocument::fileChanged, this,
        [this] { recent_.Add(QString::fromStdString(document_.FilePath())); });
}

void TMainForm::BuildMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&Файл"));
    file->setObjectName(QStringLiteral("FileMenu"));
    const auto add = [this](QMenu* menu, const char* name, const QString& text, const QKeySequence& keys, auto slot) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(file, "LoadAction", tr("Загрузить данные..."), QKeySequence(Qt::CTRL | Qt::Key_O), &TMainForm::LoadButtonClick);
    add(file, "SaveAction", tr("Сохранить"), QKeySequence(Qt::CTRL | Qt::Key_S), &TMainForm::SaveToCurrentFile);
    add(file, "SaveAsAction", tr("Сохранить как..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
        &TMainForm::SaveButtonClick);
    recentMenu_ = file->addMenu(tr("Недавние файлы"));
    recentMenu_->setObjectName(QStringLiteral("RecentMenu"));
    // Made afresh each time it opens: the settings may have been changed by another run.
    connect(recentMenu_, &QMenu::aboutToShow, this, &TMainForm::FillRecentMenu);
    FillRecentMenu();
    file->addSeparator();
    add(file, "LoadDictionaryAction", tr("Загрузить словарь..."), {}, &TMainForm::LoadDicButtonClick);
    add(file, "SaveDictionaryAction", tr("Сохранить словарь..."), {}, &TMainForm::SaveDicButtonClick);
    file->addSeparator();
    add(file, "ExitAction", tr("Выход"), QKeySequence(Qt::CTRL | Qt::Key_Q), &QWidget::close);

    QMenu* help = menuBar()->addMenu(tr("&Справка"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    // F1 itself is the program's key everywhere (HelpKey); the entry shows it.
    QAction* guide = help->addAction(tr("Руководство") + QStringLiteral("\tF1"));
    guide->setObjectName(QStringLiteral("GuideAction"));
    connect(guide, &QAction::triggered, this, [this] { navigation_.ShowGuide(this); });
    QAction* about = help->addAction(tr("О программе..."));
    about->setObjectName(QStringLiteral("AboutAction"));
    connect(about, &QAction::triggered, this, [this] { navigation_.ShowAbout(); });

    // The designed client area keeps its size and its controls their places below the bar.
    setFixedSize(kClientSize.width(), kClientSize.height() + menuBar()->sizeHint().height());
}

void TMainForm::FillRecentMenu()
{
    recentMenu_->clear();
    const QStringList paths = recent_.Paths();
    for (qsizetype k = 0; k < paths.size(); ++k) {
        // "1 example.sav", with the whole path as its tip; the first nine have an access key.
        const QString number = k < 9 ? QStringLiteral("&%1").arg(k + 1) : QString::number(k + 1);
        QAction* action = recentMenu_->addAction(QStringLiteral("%1 %2").arg(
            number, QFileInfo(paths[k]).fileName().replace(QLatin1Char('&'), QStringLiteral("&&"))));
        action->setToolTip(paths[k]);
        action->setStatusTip(paths[k]);
        const QString path = paths[k];
        connect(action, &QAction::triggered, this, [this, path] { OpenRecent(path); });
    }
    recentMenu_->setEnabled(!paths.isEmpty());
}

void TMainForm::OpenRecent(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        dialogs_.ShowMessage(tr("Файл %1 не найден; он убран из списка недавних файлов.")
                                 .arg(QDir::toNativeSeparators(path))
                                 .toStdString());
        recent_.Remove(path);
        FillRecentMenu();
        return;
    }
    OpenFile(path.toStdString());
}

void TMainForm::BuildListGroup(ItemKind kind, QWidget* parent)
{
    const ListLayout& layout = LayoutOf(kind);
    ListControls& controls = ListsOf(kind);

    controls.Group = new FramedGroupBox(tr(layout.Caption), parent);
    controls.Group->setObjectName(QString::fromLatin1(layout.GroupName));
    controls.Group->setGeometry(layout.Group);
    controls.Group->setFont(GroupCaptionFont());

    const char* const names[] = { layout.AddName, layout.ChangeName, layout.DeleteName };
    QPushButton** buttons[] = { &controls.AddButton, &controls.ChangeButton, &controls.DeleteButton };
    for (int k = 0; k < 3; ++k) {
        const QPoint at = layout.FirstButton + QPoint(0, k * kListButtonStep);
        *buttons[k] = MakeButton(controls.Group, names[k], tr(kListButtonCaptions[k]), { at, kListButton });
    }
    controls.ChangeButton->setEnabled(false);
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
    controls.List->setAccessibleName(tr(layout.Caption));

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

void TMainForm::ListsEdited()
{
    namesEdited_ = true;
    document_.MarkModified();
}

void TMainForm::AddButtonClick(ItemKind kind)
{
    const auto name = dialogs_.AskName(this, tr(LayoutOf(kind).AddPrompt), QString());
    if (name) {
        const QSignalBlocker blocker(ListsOf(kind).List);
        ListsOf(kind).List->scrollToItem(AppendCheckItem(ListsOf(kind).List, *name));
        ListsEdited();
    }
    ApplyAddButtonRule(kind);
}

void TMainForm::ChangeButtonClick(ItemKind kind)
{
    const QList<QListWidgetItem*> selected = ListsOf(kind).List->selectedItems();
    if (selected.isEmpty())
        return;
    QListWidgetItem* item = selected.front();
    const auto name = dialogs_.AskName(this, tr(LayoutOf(kind).ChangePrompt), item->text());
    if (name) {
        // Position, check mark and selection stay.
        const QSignalBlocker blocker(ListsOf(kind).List);
        item->setText(*name);
        ListsEdited();
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
        ListsEdited();
    }
    ApplyAddButtonRule(kind);
}

void TMainForm::LoadDicButtonClick()
{
    // Start-up's dictionary is where the program begins; one loaded here replaces the
    // analyst's lists.
    const auto path = dialogs_.AskOpenFile(this, DictionaryDialog());
    if (path && LoadDictionary(path->toStdString()))
        ListsEdited();
}

void TMainForm::SaveDicButtonClick()
{
    const auto path = dialogs_.AskSaveFile(this, DictionaryDialog());
    if (!path)
        return;
    const NameLists lists { Names(ItemKind::Layer), Names(ItemKind::Threat), Names(ItemKind::Mechanism) };
    // A failed write reports itself.
    SaveDictionary(path->toStdString(), lists, dialogs_);
}

bool TMainForm::OpenFile(const std::string& path)
{
    // The first line tells, as the desktop's file types do: a dictionary brings lists only.
    // A data file stops the reading at its first bytes.
    const std::string header = Utf8ToCp1251(DictionaryHeader).value_or(std::string());
    const std::optional<std::string> start = ReadFileBytes(path, header);
    if (!header.empty() && start && start->starts_with(header)) {
        if (!LoadDictionary(path))
            return false;
        ListsEdited();
        return true;
    }
    return LoadDataFile(path);
}

void TMainForm::LoadButtonClick()
{
    if (const auto path = dialogs_.AskOpenFile(this, OpenDataDialog()))
        LoadDataFile(path->toStdString());
}

bool TMainForm::LoadDataFile(const std::string& path)
{
    // A rejected file has shown its message and left the store as it was; so do the lists.
    if (!document_.Load(path, dialogs_))
        return false;

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
    namesEdited_ = false;
    listsChanged_ = true;
    nextButton_->setEnabled(true);
    return true;
}

void TMainForm::SaveButtonClick()
{
    SaveData();
}

void TMainForm::SaveToCurrentFile()
{
    SaveData(document_.FilePath());
}

bool TMainForm::SaveData(const std::string& known)
{
    std::optional<QString> path;
    if (!known.empty())
        path = QString::fromStdString(known);
    else
        path = dialogs_.AskSaveFile(this, SaveDataDialog());
    if (!path)
        return false;
    // The file holds what the window shows, names edited since a data load too: the
    // loaded store lacks them (Next, as always, keeps it until the next Next).
    PrepareStoreFromLists(dataLoaded_ && !namesEdited_);
    // A failed save has reported itself and leaves the changes counted as unsaved.
    return document_.Save(path->toStdString(), dialogs_);
}

void TMainForm::PrepareStoreFromLists(bool keepLoadedStore)
{
    // Right after a data load the store already holds these lists, with their values.
    // Whether the analysis windows must be built again is decided at Next, as always:
    // the flags stay as they are.
    if (!keepLoadedStore)
        store_.PrepareForAnalysis(Items(ItemKind::Layer), Items(ItemKind::Threat), Items(ItemKind::Mechanism));
}

void TMainForm::NextButtonClick()
{
    // Next can be enabled with a list unmarked (a dictionary load clears the marks, a data
    // file may mark nothing); the analysis needs an item of each kind.
    for (ItemKind kind : kItemKinds) {
        if (!HasCheckedItem(ListsOf(kind).List)) {
            dialogs_.ShowMessage(tr(LayoutOf(kind).NoCheckedItem).toStdString());
            return;
        }
    }
    PrepareStoreFromLists(dataLoaded_);
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
