#include "app/WindowSequence.h"

#include "app/WizardFactory.h"
#include "model/Data.h"
#include "ui/Document.h"

#include <QDialog>
#include <QWidget>

WindowSequence::WindowSequence(const AssessmentDocument& document, IWizardFactory& factory)
    : document_(document)
    , factory_(factory)
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

void WindowSequence::ShowAnalysis(bool listsChanged)
{
    // Windows built for other rows and columns than the store now has must not be shown
    // again: besides a check-mark click or a data load, a checked item renamed or deleted
    // changes what the store's rows stand for without touching a check box.
    const Selection current = AnalysedNames(document_.Store());
    auto& first = GraphSlot(AnalysisMode::Reliability);
    if (first && (listsChanged || current != builtFor_))
        DestroyWizardWindows();
    if (!first) {
        first = CreateGraphWindow(AnalysisMode::Reliability);
        builtFor_ = current;
    }
    Switch(mainWindow_, first.get());
}

void WindowSequence::GraphNext(AnalysisMode mode)
{
    QWidget* current = GraphSlot(mode).get();
    if (const std::optional<AnalysisMode> nextMode = NextMode(mode)) {
        auto& next = GraphSlot(*nextMode);
        if (!next)
            next = CreateGraphWindow(*nextMode);
        Switch(current, next.get());
    } else {
        if (!mmeeWindow_)
            mmeeWindow_ = factory_.CreateMMEEWindow();
        Switch(current, mmeeWindow_.get());
    }
}

void WindowSequence::GraphBack(AnalysisMode mode)
{
    const std::optional<AnalysisMode> previousMode = PreviousMode(mode);
    QWidget* previous = previousMode ? GraphSlot(*previousMode).get() : mainWindow_;
    Switch(GraphSlot(mode).get(), previous);
}

void WindowSequence::MMEENext()
{
    if (!ratingWindow_)
        ratingWindow_ = factory_.CreateRatingWindow();
    Switch(mmeeWindow_.get(), ratingWindow_.get());
}

void WindowSequence::MMEEBack()
{
    Switch(mmeeWindow_.get(), GraphSlot(AnalysisMode::WeightedDamage).get());
}

void WindowSequence::RatingBack()
{
    Switch(ratingWindow_.get(), mmeeWindow_.get());
}

void WindowSequence::RatingFinish()
{
    Switch(ratingWindow_.get(), mainWindow_);
}

void WindowSequence::WizardWindowClosed()
{
    if (mainWindow_ && !mainWindow_->isVisible())
        mainWindow_->show();
}

QWidget* WindowSequence::GraphWindow(AnalysisMode mode) const
{
    return graphWindows_[ModeIndex(mode)].get();
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

std::unique_ptr<QWidget> WindowSequence::CreateGraphWindow(AnalysisMode mode)
{
    return factory_.CreateGraphWindow(mode, document_.Store().Counts());
}

void WindowSequence::DestroyWizardWindows()
{
    for (auto& window : graphWindows_)
        window.reset();
    mmeeWindow_.reset();
    ratingWindow_.reset();
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
