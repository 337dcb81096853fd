#include "analysis/InputMessages.h"

#include "model/Texts.h"

std::string InputErrorMessage()
{
    // "Ошика" is how the program has always spelt it; analysts know the message by it.
    return Translate("InputMessages", "Ошика при вводе данных.");
}

std::string RangeMessage(std::string_view lower, std::string_view upper)
{
    return FillIn(Translate("InputMessages", "Значение должно находиться в интервале [%1..%2]."), { lower, upper });
}
