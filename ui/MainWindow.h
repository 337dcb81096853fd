// TMainForm: the first window of the walk and the program's main window. Here the analyst
// builds the three name lists, marks the items to analyse, keeps lists in dictionary files,
// loads and saves whole assessments and starts the analysis. The store learns of the lists
// only at Next and when a data file is loaded into it.
#pragma once

#include "model/Data.h"

#include <QMainWindow>

#include <array>
#include <string>
#include <vector>

class AssessmentDocument;
class IDialogs;
class IWizardNavigation;
class QGroupBox;
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

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum Kind { Layers, Threats, Mechanisms };
    static constexpr int kKinds = 3;

    struct ListControls {
        QGroupBox* Group = nullptr;
        QPushButton* AddButton = nullptr;
        QPushButton* ChangeButton = nullptr;
        QPushButton* DeleteButton = nullptr;
        QListWidget* List = nullptr;
    };

    void BuildListGroup(Kind kind, QWidget* parent);

    void ApplyAddButtonRule(Kind kind);
    void ListSelectionChanged(Kind kind);
    void ListCheckToggled(Kind kind, QListWidgetItem* item);
    void AddButtonClick(Kind kind);
    void ChangeButtonClick(Kind kind);
    void DeleteButtonClick(Kind kind);
    void LoadDicButtonClick();
    void SaveDicButtonClick();
    void LoadButtonClick();
    void SaveButtonClick();
    void NextButtonClick();
    bool CloseQuery();
    // Brings the store in line with the lists before a save, as Next does, so that the
    // file holds what the window shows.
    void PrepareStoreFromLists();
    bool SaveData();

    CheckList Items(Kind kind) const;
    std::vector<std::string> Names(Kind kind) const;
    void ReplaceItems(Kind kind, const std::vector<std::string>& names);

    AssessmentDocument& document_;
    CData& store_;
    IDialogs& dialogs_;
    IWizardNavigation& navigation_;

    bool listsChanged_ = true;
    bool dataLoaded_ = false;

    QStyle* checkListStyle_ = nullptr;
    std::array<ListControls, kKinds> lists_;
    QPushButton* loadDicButton_ = nullptr;
    QPushButton* saveDicButton_ = nullptr;
    QPushButton* aboutButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* loadButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
};
