// A main window in a fresh working directory, driven the way the analyst drives it: names
// typed into the (scripted) name dialog, check boxes clicked with the mouse.
#pragma once

#include "model/Data.h"
#include "model/Dictionary.h"
#include "model/Messages.h"
#include "ui/document/Document.h"
#include "ui/windows/MainWindow.h"

#include "ScriptedDialogs.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

enum ListKind { kLayers, kThreats, kMechanisms };

// For the test's own file work, which must not fail.
struct RefuseMessages : IMessageSink {
    void ShowMessage(const std::string& text) override { ADD_FAILURE() << text; }
};

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        // The program starts with the lists of "default.dic"; here they start empty.
        RefuseMessages refuse;
        ASSERT_TRUE(SaveDictionary(PathOf("default.dic"), NameLists {}, refuse));
    }

    void TearDown() override { QDir::setCurrent(previousDir_); }

    // A file name in the working directory.
    std::string PathOf(const char* name) const
    {
        return QDir(dir_.path()).filePath(QString::fromUtf8(name)).toStdString();
    }

    std::unique_ptr<TMainForm> OpenMainWindow(IWizardNavigation& navigation)
    {
        // As start-up does: the lists come from the working directory's dictionary.
        auto window = std::make_unique<TMainForm>(document, dialogs, navigation);
        window->LoadDictionary("default.dic");
        window->show();
        return window;
    }

    static QListWidget* List(TMainForm& window, ListKind kind)
    {
        static const char* const names[] = { "LayersList", "ThreatsList", "MechanismsList" };
        auto* list = window.findChild<QListWidget*>(QString::fromLatin1(names[kind]));
        EXPECT_NE(list, nullptr) << names[kind];
        return list;
    }

    static QPushButton* Button(TMainForm& window, const char* name)
    {
        auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
        EXPECT_NE(button, nullptr) << name;
        return button;
    }

    static QPushButton* KindButton(TMainForm& window, const char* action, ListKind kind)
    {
        static const char* const kinds[] = { "Layer", "Threat", "Mechanism" };
        return Button(window, (std::string(action) + kinds[kind] + "Button").c_str());
    }

    void Add(TMainForm& window, ListKind kind, const QString& name)
    {
        dialogs.NameAnswers.push_back(name);
        QTest::mouseClick(KindButton(window, "Add", kind), Qt::LeftButton);
    }

    void AddAll(TMainForm& window, ListKind kind, const std::vector<QString>& names)
    {
        for (const QString& name : names)
            Add(window, kind, name);
    }

    // A click on the item's text selects it.
    static void Select(TMainForm& window, ListKind kind, int row)
    {
        QListWidget* list = List(window, kind);
        const QRect rect = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 60, rect.center().y()));
    }

    // A click on the item's check box toggles it (and selects the item).
    static void ClickCheckBox(TMainForm& window, ListKind kind, int row)
    {
        QListWidget* list = List(window, kind);
        list->scrollToItem(list->item(row));
        const QRect rect = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 9, rect.center().y()));
    }

    static std::vector<std::string> Names(TMainForm& window, ListKind kind)
    {
        std::vector<std::string> names;
        QListWidget* list = List(window, kind);
        for (int row = 0; row < list->count(); ++row)
            names.push_back(list->item(row)->text().toStdString());
        return names;
    }

    static std::vector<int> CheckedRows(TMainForm& window, ListKind kind)
    {
        std::vector<int> rows;
        QListWidget* list = List(window, kind);
        for (int row = 0; row < list->count(); ++row) {
            if (list->item(row)->checkState() == Qt::Checked)
                rows.push_back(row);
        }
        return rows;
    }

    static std::vector<int> SelectedRows(TMainForm& window, ListKind kind)
    {
        std::vector<int> rows;
        QListWidget* list = List(window, kind);
        for (QListWidgetItem* item : list->selectedItems())
            rows.push_back(list->row(item));
        return rows;
    }

    AssessmentDocument document;
    CData& store = document.Store();
    ScriptedDialogs dialogs;

private:
    QTemporaryDir dir_;
    QString previousDir_;
};
