#include "ui/CheckListStyle.h"

namespace {

// One pixel of the row above and below the box stays clear.
constexpr int kCheckBoxSize = 11;

} // namespace

int CheckListStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    if (metric == PM_IndicatorWidth || metric == PM_IndicatorHeight)
        return kCheckBoxSize;
    return QProxyStyle::pixelMetric(metric, option, widget);
}
