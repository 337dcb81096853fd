// Typing into widgets on the offscreen platform. QTest::keyClicks asserts on non-ASCII
// characters, so each character goes as its own key event carrying the text.
#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

inline void TypeText(QWidget* widget, const QString& text)
{
    for (char32_t codePoint : text.toUcs4())
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString::fromUcs4(&codePoint, 1), Qt::NoModifier);
}
