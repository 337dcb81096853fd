// The rating window as the walk leaves it, over the store its test puts in the document,
// with the analyst's check marks in its lists and a folder for what it writes.
#pragma once

#include "../../core/support/TempFolder.h"
#include "ScriptedDialogs.h"
#include "analysis/Derived.h"
#include "ui/document/Document.h"
#include "ui/widgets/Navigation.h"
#include "ui/windows/Rating.h"

#include <QListWidget>
#include <gtest/gtest.h>

#include <memory>

class RatingWindowFixture : public ::testing::Test {
protected:
    // The window over what the document holds, its modes computed first.
    void OpenWindow()
    {
        ComputeAllModes(document.Store());
        window = std::make_unique<TRatingForm>(document, dialogs, navigation);
        window->show();
    }

    // Ticks the row of one of the window's lists, named as the window names it.
    void Check(const char* list, int row)
    {
        auto* widget = window->findChild<QListWidget*>(QString::fromLatin1(list));
        ASSERT_NE(widget, nullptr) << list;
        widget->item(row)->setCheckState(Qt::Checked);
    }

    AssessmentDocument document;
    ScriptedDialogs dialogs;
    StillNavigation navigation;
    std::unique_ptr<TRatingForm> window;
    TempFolder folder;
};
