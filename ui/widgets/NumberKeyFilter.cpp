#include "ui/widgets/NumberKeyFilter.h"

#include <QKeyEvent>
#include <QLineEdit>

NumberKeyFilter::NumberKeyFilter(QLineEdit* edit, int fullLength)
    : QObject(edit)
    , edit_(edit)
    , fullLength_(fullLength)
{
    edit->installEventFilter(this);
}

bool NumberKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != edit_ || event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    // Shortcuts (copy, paste, select all...) and keys that type nothing are the edit's
    // business; Enter and Esc go on to the window's default and cancel buttons.
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return false;
    default:
        break;
    }
    if (key->text().isEmpty() || (key->modifiers() & Qt::ControlModifier))
        return false;
    if (key->key() == Qt::Key_Backspace)
        return false;
    const QString text = key->text();
    if (text.size() != 1 || !IsNumberCharacter(text.front()))
        return true;
    return edit_->text().size() >= fullLength_ && !edit_->hasSelectedText();
}
