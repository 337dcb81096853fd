#include "app/Program.h"

#include "app/StartupDictionary.h"
#include "ui/document/Document.h"
#include "ui/windows/About.h"
#include "ui/windows/Comment.h"
#include "ui/windows/GraphControl.h"
#include "ui/windows/MainWindow.h"

#include <QApplication>
#include <QDirIterator>
#include <QIcon>

namespace {

// Every window's icon, as the desktop shows it in title bars and task switchers: the sizes
// rendered from the program's drawing at build time. A build without them (Windows, whose
// windows take the executable's icon) sets none.
void SetProgramIcon()
{
    QIcon icon;
    QDirIterator sizes(
        QStringLiteral(":/icons"), { QStringLiteral("vardun.png") }, QDir::Files, QDirIterator::Subdirectories);
    while (sizes.hasNext())
        icon.addFile(sizes.next());
    if (!icon.isNull())
        QApplication::setWindowIcon(icon);
}

} // namespace

Program::Program(AssessmentDocument& document, IDialogs& dialogs)
    : mainForm_(std::make_unique<TMainForm>(document, dialogs, sequence_))
    , aboutForm_(std::make_unique<TAboutForm>(mainForm_.get()))
    , commentForm_(std::make_unique<TCommentForm>(document.Store()))
    , graphCtrl_(std::make_unique<TGraphCtrl>())
    , factory_(WindowKit { document, dialogs, sequence_, *commentForm_ })
    , sequence_(document, factory_)
{
    SetProgramIcon();
    sequence_.SetMainWindow(mainForm_.get());
    sequence_.SetAboutForm(aboutForm_.get());
    sequence_.SetGuide([this](const QWidget* window) { help_.ShowHelpFor(window); });
    // The link leads to the guide's beginning, where its contents are.
    QObject::connect(aboutForm_.get(), &TAboutForm::guideRequested, &help_, [this] { help_.ShowSection({}); });
}

Program::~Program() = default;

void Program::Start()
{
    Start(StartupFiles { std::nullopt, StartupDictionaryFolders() });
}

void Program::Start(const StartupFiles& files)
{
    if (files.DataFile) {
        // The file brings its own lists; the start-up dictionary's would only be replaced.
        mainForm_->OpenFile(*files.DataFile);
    } else {
        // A missing or wrong start-up dictionary has shown its message; the lists stay empty.
        mainForm_->LoadDictionary(FindStartupDictionary(files.DictionaryFolders));
    }
    mainForm_->show();
}
