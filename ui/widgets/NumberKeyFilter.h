// What a numeric entry field takes from the keyboard: digits, "." and Backspace; any
// other character (control characters included) is dropped. A field that has reached its
// length takes only Backspace, unless part of its text is selected (and would be typed
// over). Keys that type nothing (arrows, Tab, Home...) pass. Text set by the program or
// pasted is not filtered here; the field's own check sees it. Enter and Esc pass on to
// the window.
#pragma once

#include <QObject>

class QLineEdit;

class NumberKeyFilter : public QObject {
    Q_OBJECT

public:
    // Installs itself on `edit`; a non-Backspace key is dropped when the text already has
    // `fullLength` characters or more and nothing is selected.
    NumberKeyFilter(QLineEdit* edit, int fullLength);

    void SetFullLength(int fullLength) { fullLength_ = fullLength; }

    static bool IsNumberCharacter(QChar c)
    {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.');
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* edit_;
    int fullLength_;
};
