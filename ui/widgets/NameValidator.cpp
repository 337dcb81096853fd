#include "ui/widgets/NameValidator.h"

#include "model/Cp1251.h"

NameValidator::NameValidator(int typingLimit, QObject* parent)
    : QValidator(parent)
    , typingLimit_(typingLimit)
{
}

QValidator::State NameValidator::validate(QString& input, int&) const
{
    if (!IsStorable(input))
        return Invalid;
    // Code page 1251 has one byte per character, so characters are the file's bytes.
    if (input.size() > typingLimit_ && input.size() > lastLength_)
        return Invalid;
    lastLength_ = input.size();
    return Acceptable;
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
