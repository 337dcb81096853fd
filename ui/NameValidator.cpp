#include "ui/NameValidator.h"

#include "model/Cp1251.h"

QValidator::State NameValidator::validate(QString& input, int&) const
{
    return IsStorable(input) ? Acceptable : Invalid;
}

bool NameValidator::IsStorable(const QString& name)
{
    for (char32_t codePoint : name.toUcs4()) {
        const bool control = codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0);
        if (control || !IsCp1251Representable(codePoint))
            return false;
    }
    return true;
}
