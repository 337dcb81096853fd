// TMainForm: the first window of the walk and the program's main window. Here the analyst
// builds the three name lists, marks the items to analyse, keeps lists in dictionary files,
// loads and saves whole assessments and starts the analysis. The store learns of the lists
// only at Next and when a data file is loaded into it. Its menu bar, above the designed
// client area, has the file commands with their keys, the recent files and the guide.
#pragma once

#include "model/Data.h"
#include "model/Kinds.h"
#include "ui/document/RecentFiles.h"

#include <QMainWindow>

#include <array>
#include <string>
#include <vector>

class AssessmentDocument;
class IDialogs;
class IWizardNavigation;
class QGroupBox;
class QMenu;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QStyle;

class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    // Start-up fills the lists from its dictionary after construction.
    TMainForm(
        AssessmentDocument& document, IDialogs& dialogs, IWizardNavigation& navigation, QWidget* parent = nullptr);

    // A check mark was clicked or a data file loaded since the analysis windows were built.
    bool ListsChanged() const { return listsChanged_; }
    // A data file was loaded since the last Next: the store already matches the lists.
    bool DataLoaded() const { return dataLoaded_; }

    // Each list has at least one checked item.
    bool HasSelectionInEachList() const;
    // Replaces the three lists by a dictionary's, all unchecked; false (with the loader's
    // message) when the file was not read.
    bool LoadDictionary(const std::string& path);
    // Loads a data file as "Загрузить данные..." does once a file is chosen: the lists and
    // check marks become the file's; false (with the loader's message) when it was refused.
    bool LoadDataFile(const std::string& path);
    // A file named at start-up or chosen among the recent ones: a dictionary (known by its
    // first line) is loaded as "Загрузить словарь..." would, anything else as a data file.
    bool OpenFile(const std::string& path);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct ListControls {
        QGroupBox* Group = nullptr;
        QPushButton* AddButton = nullptr;
        QPushButton* ChangeButton = nullptr;
        QPushButton* DeleteButton = nullptr;
        QListWidget* List = nullptr;
    };

    void BuildListGroup(ItemKind kind, QWidget* parent);
    void BuildMenus();
    void FillRecentMenu();
    void OpenRecent(const QString& path);

    void ApplyAddButtonRule(ItemKind kind);
    void ListSelectionChanged(ItemKind kind);
    void ListCheckToggled(ItemKind kind, QListWidgetItem* item);
    // A name was added, renamed or deleted, or a dictionary replaced the lists.
    void ListsEdited();
    void AddButtonClick(ItemKind kind);
    void ChangeButtonClick(ItemKind kind);
    void DeleteButtonClick(ItemKind kind);
    void LoadDicButtonClick();
    void SaveDicButtonClick();
    void LoadButtonClick();
    void SaveButtonClick();
    // "Сохранить": into the file last loaded or saved, asking only when there is none.
    void SaveToCurrentFile();
    void NextButtonClick();
    bool CloseQuery();
    // Brings the store in line with the lists, for Next and before a save, unless the
    // store loaded from a file is to be kept.
    void PrepareStoreFromLists(bool keepLoadedStore);
    // Asks for a file unless `path` is given; false when nothing was saved.
    bool SaveData(const std::string& path = {});

    CheckList Items(ItemKind kind) const;
    std::vector<std::string> Names(ItemKind kind) const;
    void ReplaceItems(ItemKind kind, const std::vector<std::string>& names);

    AssessmentDocument& document_;
    CData& store_;
    IDialogs& dialogs_;
    IWizardNavigation& navigation_;

    bool listsChanged_ = true;
    bool dataLoaded_ = false;
    // A name added, renamed or deleted, or a dictionary loaded, since the last data load.
    bool namesEdited_ = false;

    QStyle* checkListStyle_ = nullptr;
    std::array<ListControls, kItemKinds.size()> lists_;
    ListControls& ListsOf(ItemKind kind) { return lists_[static_cast<std::size_t>(kind)]; }
    const ListControls& ListsOf(ItemKind kind) const { return lists_[static_cast<std::size_t>(kind)]; }
    QPushButton* loadDicButton_ = nullptr;
    QPushButton* saveDicButton_ = nullptr;
    QPushButton* aboutButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* loadButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    RecentFiles recent_;
};
