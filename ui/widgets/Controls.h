// The windows' controls as they place them (by name, caption and position), and the keys
// every window of the program answers alike: Enter presses the focused button or the
// window's default one, Esc its cancel one.
#pragma once

#include "ui/charts/ChartLabel.h"

#include <QPoint>
#include <QRect>
#include <QString>

class QDialog;
class QKeyEvent;
class QLabel;
class QPushButton;
class QWidget;

// A control as a window's geometry table places it. The caption is a source text marked
// with QT_TRANSLATE_NOOP in the window's context, which the window passes when it makes the
// control.
struct ButtonPlace {
    const char* Name;
    const char* Caption;
    QRect At;
};
struct LabelPlace {
    const char* Name;
    const char* Caption;
    QPoint At;
};

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry);
QPushButton* MakeButton(QWidget* parent, const ButtonPlace& place, const char* context);
// "Закрыть" of a tool window: the default button, which hides `window`; Esc and the frame's
// close control reject the dialog, which hides it the same way.
QPushButton* MakeCloseButton(QDialog* window, const QRect& geometry);
// A label that sizes itself to its text, as the windows' labels do; `opaque` labels paint
// the window colour behind their text, over whatever a chart drew there.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, QPoint at, bool opaque = false);
QLabel* MakeLabel(QWidget* parent, const LabelPlace& place, const char* context, bool opaque = false);
// A chart's label; its caption is a source text of the context "Charts".
QLabel* MakeLabel(QWidget* parent, const FixedLabel& label, bool opaque = false);
// Changes a label's text and size; nothing happens when the text is the same.
void SetLabelText(QLabel* label, const QString& text);

// Enter and Esc in `window`; false for any other key. A missing or disabled button does
// nothing.
bool PressDialogKey(
    const QWidget& window, const QKeyEvent& event, QPushButton* defaultButton, QPushButton* cancelButton);
