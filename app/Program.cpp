#include "app/Program.h"

#include "ui/document/Document.h"
#include "ui/windows/About.h"
#include "ui/windows/Comment.h"
#include "ui/windows/GraphControl.h"
#include "ui/windows/MainWindow.h"

Program::Program(AssessmentDocument& document, IDialogs& dialogs)
    : mainForm_(std::make_unique<TMainForm>(document, dialogs, sequence_))
    , aboutForm_(std::make_unique<TAboutForm>(mainForm_.get()))
    , commentForm_(std::make_unique<TCommentForm>(document.Store()))
    , graphCtrl_(std::make_unique<TGraphCtrl>())
    , factory_(WindowKit { document, dialogs, sequence_, *commentForm_ })
    , sequence_(document, factory_)
{
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
