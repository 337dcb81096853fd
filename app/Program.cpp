#include "app/Program.h"

#include "ui/About.h"
#include "ui/Comment.h"
#include "ui/Document.h"
#include "ui/GraphControl.h"
#include "ui/MainWindow.h"

Program::Program(AssessmentDocument& document, IDialogs& dialogs)
    : factory_(document, dialogs, sequence_)
    , mainForm_(std::make_unique<TMainForm>(document, dialogs, sequence_))
    , aboutForm_(std::make_unique<TAboutForm>(mainForm_.get()))
    , commentForm_(std::make_unique<TCommentForm>(document.Store()))
    , graphCtrl_(std::make_unique<TGraphCtrl>())
    , sequence_(document, factory_)
{
    factory_.SetCommentForm(commentForm_.get());
    sequence_.SetMainWindow(mainForm_.get());
    sequence_.SetAboutForm(aboutForm_.get());
}

Program::~Program() = default;

void Program::Start()
{
    // A missing or wrong start-up dictionary has shown its message; the lists stay empty.
    mainForm_->LoadDictionary("default.dic");
    mainForm_->show();
}
