// A window's keyboard and screen-reader checks: where Tab goes from the focused control, and
// that every control Tab can reach has a name for assistive technology.
#pragma once

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

// The object names of the focused control and of each one Tab moves to, `presses` in all;
// shorter when the focus is lost (a failure).
inline std::vector<QString> TabWalk(int presses)
{
    std::vector<QString> order;
    for (int k = 0; k < presses; ++k) {
        QWidget* focused = QApplication::focusWidget();
        if (!focused) {
            ADD_FAILURE() << "nothing has the focus after " << k << " presses of Tab";
            break;
        }
        order.push_back(focused->objectName());
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    return order;
}

// Expects an accessible name (a button's caption, a label's buddy's, or a name of its own)
// on each control of `client` that takes the focus by Tab; returns how many there are.
inline int ExpectNamedControls(QWidget& client)
{
    int controls = 0;
    for (QWidget* widget : client.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!(widget->focusPolicy() & Qt::TabFocus))
            continue;
        ++controls;
        QAccessibleInterface* about = QAccessible::queryAccessibleInterface(widget);
        if (!about) {
            ADD_FAILURE() << "no accessible interface: " << widget->objectName().toStdString();
            continue;
        }
        EXPECT_FALSE(about->text(QAccessible::Name).isEmpty()) << widget->objectName().toStdString();
    }
    return controls;
}
