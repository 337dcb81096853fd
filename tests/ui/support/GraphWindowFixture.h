// A source-matrix window on its own: a document, scripted dialogs, a navigation that only
// records, and the shared comments window; keys typed into the grid as the analyst types
// them (the first key opens the cell, the rest go to its editor).
#pragma once

#include "model/Data.h"
#include "ui/document/Document.h"
#include "ui/widgets/MatrixGrid.h"
#include "ui/widgets/Navigation.h"
#include "ui/windows/Comment.h"
#include "ui/windows/Graph.h"

#include "ScriptedDialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "RecordingNavigation.h"

#include <memory>
#include <string>
#include <vector>

// Analysed items "<prefix> 1" .. "<prefix> n", every one checked.
inline CheckList AnalysedItems(const std::string& prefix, int count)
{
    CheckList items;
    for (int i = 1; i <= count; ++i)
        items.push_back({ prefix + " " + std::to_string(i), true });
    return items;
}

class GraphWindowFixture : public ::testing::Test {
public:
    // A store prepared for the given numbers of analysed items, all judgements 0.
    void Prepare(int layers, int threats, int mechanisms)
    {
        store.PrepareForAnalysis(
            AnalysedItems("Эшелон", layers), AnalysedItems("Угроза", threats), AnalysedItems("Механизм", mechanisms));
    }

    TGraphForm& Open(AnalysisMode mode)
    {
        windows.push_back(std::make_unique<TGraphForm>(document, dialogs, navigation, comments));
        TGraphForm& window = *windows.back();
        window.SetUpForMode(mode, store.Counts());
        window.show();
        return window;
    }

    template <typename T> static T* Child(const TGraphForm& window, const char* name)
    {
        auto* child = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static MatrixGrid* Grid(const TGraphForm& window) { return Child<MatrixGrid>(window, "MassivGrid"); }
    static MatrixGrid* Results(const TGraphForm& window) { return Child<MatrixGrid>(window, "ResGrid"); }
    static QLineEdit* Threshold(const TGraphForm& window, int k)
    {
        return Child<QLineEdit>(window, k == 1 ? "ThresholdEdit1" : "ThresholdEdit2");
    }

    // Chooses a source as the analyst does in the combo box.
    static void Choose(TGraphForm& window, int item) { window.MassivComboBoxChange(item); }

    // Where a key goes: the open cell's editor, else the grid. Closed editors linger
    // hidden until the event loop deletes them.
    static QWidget* KeyTarget(MatrixGrid* grid)
    {
        for (QLineEdit* editor : grid->viewport()->findChildren<QLineEdit*>())
            if (editor->isVisible())
                return editor;
        return grid;
    }

    // Types into cell (row, column) of the source grid, key by key, then lets the queued
    // messages come up.
    static void TypeIntoCell(TGraphForm& window, int row, int column, const QString& keys)
    {
        MatrixGrid* grid = Grid(window);
        grid->setCurrentIndex(grid->Model().index(row, column));
        for (QChar key : keys)
            QTest::keyClick(KeyTarget(grid), key.toLatin1());
        QApplication::processEvents();
    }
    static void PressKeyInCell(TGraphForm& window, Qt::Key key)
    {
        QTest::keyClick(KeyTarget(Grid(window)), key);
        QApplication::processEvents();
    }
    // Ends editing the way Enter does.
    static void LeaveCell(TGraphForm& window)
    {
        MatrixGrid* grid = Grid(window);
        if (QWidget* target = KeyTarget(grid); target != grid)
            QTest::keyClick(target, Qt::Key_Return);
        QApplication::processEvents();
    }

    static void SetThresholds(TGraphForm& window, const QString& small, const QString& medium)
    {
        Threshold(window, 1)->setText(small);
        Threshold(window, 2)->setText(medium);
    }
    static void Compute(TGraphForm& window)
    {
        QTest::mouseClick(Child<QPushButton>(window, "ComputingButton"), Qt::LeftButton);
        QApplication::processEvents();
    }

    AssessmentDocument document;
    CData& store = document.Store();
    ScriptedDialogs dialogs;
    RecordingNavigation navigation;
    TCommentForm comments { document.Store() };
    std::vector<std::unique_ptr<TGraphForm>> windows;
};
