#include "app/WindowSequence.h"

#include "app/WizardFactory.h"
#include "model/Data.h"
#include "ui/document/Document.h"

#include <QDialog>
#include <QWidget>

WindowSequence::WindowSequence(const AssessmentDocument& document, IWizardFactory& factory)
    : document_(document)
    , factory_(factory)
    , windows_(factory.StepCount())
{
}

WindowSequence::~WindowSequence()
{
    DestroyWizardWindows();
}

void WindowSequence::ShowAbout()
{
    if (aboutForm_)
        aboutForm_->exec();
}

void WindowSequence::ShowGuide(const QWidget* window)
{
    if (guide_)
        guide_(window);
}

void WindowSequence::ShowAnalysis(bool listsChanged)
{
    if (windows_.empty())
        return;
    // Windows built for other rows and columns than the store now has must not be shown
    // again: besides a check-mark click or a data load, a checked item renamed or deleted
    // changes what the store's rows stand for without touching a check box.
    const Selection current = AnalysedNames(document_.Store());
    if (windows_.front() && (listsChanged || current != builtFor_))
        DestroyWizardWindows();
    if (!windows_.front())
        builtFor_ = current;
    Switch(mainWindow_, Reach(0));
}

void WindowSequence::Next(QWidget* from)
{
    const std::optional<std::size_t> step = StepOf(from);
    if (step && *step + 1 < windows_.size())
        Switch(from, Reach(*step + 1));
}

void WindowSequence::Back(QWidget* from)
{
    if (const std::optional<std::size_t> step = StepOf(from))
        Switch(from, *step == 0 ? mainWindow_ : windows_[*step - 1].get());
}

void WindowSequence::Finish(QWidget* from)
{
    if (StepOf(from))
        Switch(from, mainWindow_);
}

void WindowSequence::WizardWindowClosed()
{
    if (mainWindow_ && !mainWindow_->isVisible())
        mainWindow_->show();
}

QWidget* WindowSequence::Window(std::size_t step) const
{
    return step < windows_.size() ? windows_[step].get() : nullptr;
}

WindowSequence::Selection WindowSequence::AnalysedNames(const CData& store)
{
    Selection selection;
    for (std::size_t k = 0; k < kItemKinds.size(); ++k) {
        const ItemKind kind = kItemKinds[k];
        for (int i = 0; i < static_cast<int>(store.IndicesOf(kind).size()); ++i)
            selection[k].push_back(store.AnalysedName(kind, i));
    }
    return selection;
}

std::optional<std::size_t> WindowSequence::StepOf(const QWidget* window) const
{
    for (std::size_t step = 0; step < windows_.size(); ++step)
        if (window && windows_[step].get() == window)
            return step;
    return std::nullopt;
}

QWidget* WindowSequence::Reach(std::size_t step)
{
    std::unique_ptr<QWidget>& window = windows_[step];
    if (!window)
        window = factory_.Create(step, document_.Store().Counts());
    return window.get();
}

void WindowSequence::DestroyWizardWindows()
{
    // In the walk's order, as they were made.
    for (auto& window : windows_)
        window.reset();
}

void WindowSequence::Switch(QWidget* from, QWidget* to)
{
    // When the next window could not be made, the analyst stays where he is. Only the
    // window on the screen moves the walk: a late key or click of one already hidden must
    // not bring up a second window. The new window is shown before the old one hides, so
    // the program never has no window up.
    if (!to || (from && !from->isVisible()))
        return;
    to->show();
    if (from)
        from->hide();
}
