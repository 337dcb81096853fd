// Keeps a typed or pasted name storable: the data and dictionary files hold names in code
// page 1251, one per line, so a character outside the code page or a control character
// (line breaks above all) is refused as it is typed instead of being lost at save. Typing
// stops at a length limit; a longer name that came from a file is shown whole and may be
// shortened, but not made longer.
#pragma once

#include <QValidator>

class NameValidator : public QValidator {
public:
    NameValidator(int typingLimit, QObject* parent);

    State validate(QString& input, int& position) const override;
    // The text the edit holds now, set by the program rather than typed.
    void TakeText(const QString& text) { lastLength_ = text.size(); }

    static bool IsStorable(const QString& name);

private:
    int typingLimit_;
    // The length of the last text let through: QLineEdit asks about each new text before
    // it replaces the old one, so the old length has to be remembered here.
    mutable qsizetype lastLength_ = 0;
};
