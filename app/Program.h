// The objects that live for the whole run, made in the order the program has always made
// them: the main window (which then reads "default.dic" or the data file named at start-up),
// the about box, the chart comments window and a spare chart cell selection window; then the
// wizard's analysis windows on demand. The document and the dialogs come from start-up.
#pragma once

#include "app/HelpKey.h"
#include "app/WindowSequence.h"
#include "app/WizardFactory.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class AssessmentDocument;
class IDialogs;
class TAboutForm;
class TCommentForm;
class TGraphCtrl;
class TMainForm;

// What start-up opens: the data file named on the command line, or else the start-up
// dictionary, the first found in its folders (app/StartupDictionary.h).
struct StartupFiles {
    std::optional<std::string> DataFile;
    std::vector<std::string> DictionaryFolders;
};

class Program {
public:
    Program(AssessmentDocument& document, IDialogs& dialogs);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Fills the lists from the start-up dictionary and shows the main window.
    void Start();
    // Opens the data file as "Загрузить данные..." would (a refused one has shown its
    // message and leaves the lists empty) or else reads the start-up dictionary; then shows
    // the main window.
    void Start(const StartupFiles& files);

    TMainForm& MainForm() { return *mainForm_; }
    TCommentForm& CommentForm() { return *commentForm_; }
    WindowSequence& Sequence() { return sequence_; }
    HelpKey& Help() { return help_; }

private:
    std::unique_ptr<TMainForm> mainForm_;
    std::unique_ptr<TAboutForm> aboutForm_;
    std::unique_ptr<TCommentForm> commentForm_;
    std::unique_ptr<TGraphCtrl> graphCtrl_;
    // F1 everywhere, and the about box's link.
    HelpKey help_;
    WalkFactory factory_;
    // Last, so that the analysis windows go before the windows they use.
    WindowSequence sequence_;
};
