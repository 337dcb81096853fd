// How the comparison writes its numbers, in its window and in the printed report alike.
#pragma once

#include <QString>

#include <optional>

// A value with two decimals.
QString ValueText(double value);
// A difference with its sign, so that the direction reads at a glance ("+0.13", "-0.35").
QString DifferenceText(double value);
// A value that one side may not have: "—" then.
QString OptionalText(const std::optional<float>& value, QString (*format)(double) = ValueText);
// A relative change in per cent with its sign ("+2.8 %"); "—" without one.
QString RelativeChangeText(const std::optional<float>& relative);
