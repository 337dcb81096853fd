// The objects that live for the whole run, made in the order the program has always made
// them: the main window (which then reads "default.dic" from the working directory), the
// about box, the chart comments window and a spare chart cell selection window; then the
// wizard's analysis windows on demand. The document and the dialogs come from start-up.
#pragma once

#include "app/WindowSequence.h"
#include "app/WizardFactory.h"

#include <memory>

class AssessmentDocument;
class IDialogs;
class TAboutForm;
class TCommentForm;
class TGraphCtrl;
class TMainForm;

class Program {
public:
    Program(AssessmentDocument& document, IDialogs& dialogs);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Fills the lists from the start-up dictionary and shows the main window.
    void Start();

    TMainForm& MainForm() { return *mainForm_; }
    TCommentForm& CommentForm() { return *commentForm_; }
    WindowSequence& Sequence() { return sequence_; }

private:
    std::unique_ptr<TMainForm> mainForm_;
    std::unique_ptr<TAboutForm> aboutForm_;
    std::unique_ptr<TCommentForm> commentForm_;
    std::unique_ptr<TGraphCtrl> graphCtrl_;
    WalkFactory factory_;
    // Last, so that the analysis windows go before the windows they use.
    WindowSequence sequence_;
};
