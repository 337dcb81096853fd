#include "app/HelpKey.h"

#include "model/Kinds.h"
#include "ui/windows/AssessmentActions.h"
#include "ui/windows/Graph.h"
#include "ui/windows/HelpWindow.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

#include <cstring>

namespace {

// The guide's section of each window of the walk and of its dialogs, by the window's class.
// The four source-matrix windows are one class with a section per mode (SectionFor); the
// windows the rating window's actions open have theirs in the table of actions.
struct WindowSection {
    const char* ClassName;
    const char* Anchor;
};

constexpr WindowSection kSections[] = {
    { "TMainForm", "main-window" },
    { "TEditForm", "name-dialog" },
    { "TGraphCtrl", "cell-selection" },
    { "TCommentForm", "comments" },
    { "TMMEEForm", "mmee-window" },
    { "TRatingForm", "rating-window" },
    { "TAboutForm", "about" },
    // F1 in the guide itself: the part that tells how to use it.
    { "THelpForm", "keys" },
};

const char* AnchorOfClass(const QWidget& window)
{
    const char* className = window.metaObject()->className();
    for (const WindowSection& section : kSections) {
        if (std::strcmp(section.ClassName, className) == 0)
            return section.Anchor;
    }
    for (const AssessmentAction& action : AssessmentActions()) {
        if (action.WindowClass && std::strcmp(action.WindowClass, className) == 0)
            return action.HelpAnchor;
    }
    return nullptr;
}

// The entry of the actions' table the analyst points at in an open menu.
const char* AnchorOfMenuEntry(const QWidget& window)
{
    const auto* menu = qobject_cast<const QMenu*>(&window);
    const QAction* entry = menu ? menu->activeAction() : nullptr;
    if (!entry)
        return nullptr;
    for (const AssessmentAction& action : AssessmentActions()) {
        if (entry->objectName() == QString::fromLatin1(action.Name) + QStringLiteral("Action"))
            return action.HelpAnchor;
    }
    return nullptr;
}

} // namespace

HelpKey::HelpKey(QObject* parent)
    : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

HelpKey::~HelpKey()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

QString HelpKey::SectionFor(const QWidget* window)
{
    // A file dialog, message box or menu has no section: its owner's is meant.
    const QWidget* top = window ? window->window() : nullptr;
    if (top)
        if (const char* anchor = AnchorOfMenuEntry(*top))
            return QString::fromLatin1(anchor);
    while (top) {
        if (const auto* graph = qobject_cast<const TGraphForm*>(top))
            return QStringLiteral("mode-") + QString::number(ModeNumber(graph->Mode()));
        if (const char* anchor = AnchorOfClass(*top))
            return QString::fromLatin1(anchor);
        top = top->parentWidget() ? top->parentWidget()->window() : nullptr;
    }
    return {};
}

void HelpKey::ShowHelpFor(const QWidget* window)
{
    ShowSection(SectionFor(window));
}

void HelpKey::ShowSection(const QString& anchor)
{
    if (!help_)
        help_ = std::make_unique<THelpForm>();
    // Under a modal dialog (the about box, the name dialog) a window of its own would take no
    // input until the dialog closed; there the guide is modal itself, and read first.
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal != help_.get()) {
        const Qt::WindowModality wanted = modal ? Qt::ApplicationModal : Qt::NonModal;
        if (help_->windowModality() != wanted) {
            // Qt takes a new modality only on a hidden window.
            help_->hide();
            help_->setWindowModality(wanted);
        }
    }
    help_->ShowSection(anchor);
}

bool HelpKey::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            if (!key->isAutoRepeat())
                ShowHelpFor(static_cast<QWidget*>(watched)->window());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
