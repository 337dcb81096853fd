// Choosing an entry of a widget's context menu as the analyst does: the menu is opened by
// the right button's event and answered, once it is up, from the event loop.
#pragma once

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>
#include <QWidget>

// True when the menu came up and held the entry, which was chosen.
inline bool ChooseFromContextMenu(QWidget* target, QPoint at, const QString& entry)
{
    bool chosen = false;
    QTimer::singleShot(0, target, [&chosen, entry] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions())
            if (action->text() == entry) {
                action->trigger();
                chosen = true;
            }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
    return chosen;
}
