// Keeps a typed or pasted name storable: the data and dictionary files hold names in code
// page 1251, one per line, so a character outside the code page or a control character
// (line breaks above all) is refused as it is typed instead of being lost at save.
#pragma once

#include <QValidator>

class NameValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override;

    static bool IsStorable(const QString& name);
};
