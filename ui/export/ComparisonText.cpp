#include "ui/export/ComparisonText.h"

#include "analysis/Format.h"

#include <cmath>

QString ValueText(double value)
{
    return QString::fromStdString(FormatFixed(value, 2));
}

QString DifferenceText(double value)
{
    const QString text = ValueText(value);
    return value > 0 && std::isfinite(value) && text != QLatin1String("0.00") ? QLatin1Char('+') + text : text;
}

QString OptionalText(const std::optional<float>& value, QString (*format)(double))
{
    return value ? format(*value) : QStringLiteral("—");
}

QString RelativeChangeText(const std::optional<float>& relative)
{
    if (!relative)
        return QStringLiteral("—");
    const double percent = 100.0 * *relative;
    return (percent > 0 ? QStringLiteral("+") : QString()) + QString::fromStdString(FormatFixed(percent, 1))
        + QStringLiteral(" %");
}
