// The windows' controls as they place them (by name, caption and position), and the keys
// every window of the program answers alike: Enter presses the focused button or the
// window's default one, Esc its cancel one.
#pragma once

#include "ui/charts/ChartLabel.h"

#include <QPoint>
#include <QRect>
#include <QString>

class QKeyEvent;
class QLabel;
class QPushButton;
class QWidget;

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry);
// A label that sizes itself to its text, as the windows' labels do; `opaque` labels paint
// the window colour behind their text, over whatever a chart drew there.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, QPoint at, bool opaque = false);
QLabel* MakeLabel(QWidget* parent, const FixedLabel& label, bool opaque = false);
// Changes a label's text and size; nothing happens when the text is the same.
void SetLabelText(QLabel* label, const QString& text);

// Enter and Esc in `window`; false for any other key. A missing or disabled button does
// nothing.
bool PressDialogKey(
    const QWidget& window, const QKeyEvent& event, QPushButton* defaultButton, QPushButton* cancelButton);
