#include "app/WindowSequence.h"

#include "app/WizardFactory.h"
#include "model/Data.h"

#include <QDialog>
#include <QWidget>

namespace {

bool IsGraphMode(int mode)
{
    return mode >= 1 && mode <= 4;
}

std::vector<std::string> AnalysedNamesOf(int count, const std::string& (CData::*name)(int) const, const CData& store)
{
    std::vector<std::string> names;
    for (int k = 0; k < count; ++k)
        names.push_back((store.*name)(k));
    return names;
}

} // namespace

WindowSequence::WindowSequence(const CData& store, IWizardFactory& factory)
    : store_(store)
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
    const Selection current = AnalysedNames(store_);
    if (graphWindows_[0] && (listsChanged || current != builtFor_))
        DestroyWizardWindows();
    if (!graphWindows_[0]) {
        graphWindows_[0] = CreateGraphWindow(1);
        builtFor_ = current;
    }
    Switch(mainWindow_, graphWindows_[0].get());
}

void WindowSequence::GraphNext(int mode)
{
    if (!IsGraphMode(mode))
        return;
    QWidget* current = graphWindows_[static_cast<std::size_t>(mode - 1)].get();
    if (mode < 4) {
        auto& next = graphWindows_[static_cast<std::size_t>(mode)];
        if (!next)
            next = CreateGraphWindow(mode + 1);
        Switch(current, next.get());
    } else {
        if (!mmeeWindow_)
            mmeeWindow_ = factory_.CreateMMEEWindow();
        Switch(current, mmeeWindow_.get());
    }
}

void WindowSequence::GraphBack(int mode)
{
    if (!IsGraphMode(mode))
        return;
    QWidget* previous = mode == 1 ? mainWindow_ : graphWindows_[static_cast<std::size_t>(mode - 2)].get();
    Switch(graphWindows_[static_cast<std::size_t>(mode - 1)].get(), previous);
}

void WindowSequence::MMEENext()
{
    if (!ratingWindow_)
        ratingWindow_ = factory_.CreateRatingWindow();
    Switch(mmeeWindow_.get(), ratingWindow_.get());
}

void WindowSequence::MMEEBack()
{
    Switch(mmeeWindow_.get(), graphWindows_[3].get());
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

QWidget* WindowSequence::GraphWindow(int mode) const
{
    return IsGraphMode(mode) ? graphWindows_[static_cast<std::size_t>(mode - 1)].get() : nullptr;
}

WindowSequence::Selection WindowSequence::AnalysedNames(const CData& store)
{
    return {
        AnalysedNamesOf(static_cast<int>(store.LayerIndices.size()), &CData::LayerName, store),
        AnalysedNamesOf(static_cast<int>(store.ThreatIndices.size()), &CData::ThreatName, store),
        AnalysedNamesOf(static_cast<int>(store.MechanismIndices.size()), &CData::MechanismName, store),
    };
}

std::unique_ptr<QWidget> WindowSequence::CreateGraphWindow(int mode)
{
    return factory_.CreateGraphWindow(mode, store_.MechanismCount, store_.ThreatCount, store_.LayerCount);
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
    // When the next window could not be made, the analyst stays where he is. The new
    // window is shown before the old one hides, so the program never has no window up.
    if (!to)
        return;
    to->show();
    if (from)
        from->hide();
}
