// The windows' modal questions for tests: each answer is queued by the test beforehand and
// everything asked or said is recorded. A question nobody scripted fails the test and is
// answered as if cancelled, so no test ever waits on a window.
#pragma once

#include "ui/dialogs/Dialogs.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

class ScriptedDialogs : public IDialogs {
public:
    struct FileRequest {
        bool Save;
        FileDialogOptions Options;
    };
    struct NameRequest {
        QString Caption;
        QString Name;
    };

    // Answers, taken from the front.
    std::deque<CloseAnswer> CloseAnswers;
    std::deque<std::optional<QString>> FileAnswers; // nothing: the dialog was cancelled
    std::deque<std::optional<QString>> NameAnswers;

    // What the windows did.
    std::vector<std::string> Messages; // error boxes
    std::vector<std::string> Information;
    std::vector<FileRequest> FileRequests;
    std::vector<NameRequest> NameRequests;
    int CloseQuestions = 0;

    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    void ShowInformation(const std::string& text) override { Information.push_back(text); }

    CloseAnswer AskSaveChanges(QWidget*) override
    {
        ++CloseQuestions;
        if (CloseAnswers.empty()) {
            ADD_FAILURE() << "unexpected close question";
            return CloseAnswer::Cancel;
        }
        return Take(CloseAnswers);
    }

    std::optional<QString> AskOpenFile(QWidget*, const FileDialogOptions& options) override
    {
        FileRequests.push_back({ false, options });
        return TakeFile();
    }

    std::optional<QString> AskSaveFile(QWidget*, const FileDialogOptions& options) override
    {
        FileRequests.push_back({ true, options });
        return TakeFile();
    }

    std::optional<QString> AskName(QWidget*, const QString& caption, const QString& name) override
    {
        NameRequests.push_back({ caption, name });
        if (NameAnswers.empty()) {
            ADD_FAILURE() << "unexpected name dialog " << caption.toStdString();
            return std::nullopt;
        }
        return Take(NameAnswers);
    }

private:
    std::optional<QString> TakeFile()
    {
        if (FileAnswers.empty()) {
            ADD_FAILURE() << "unexpected file dialog";
            return std::nullopt;
        }
        return Take(FileAnswers);
    }

    template <class T> static T Take(std::deque<T>& queue)
    {
        T front = queue.front();
        queue.pop_front();
        return front;
    }
};
