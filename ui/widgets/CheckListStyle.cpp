#include "ui/widgets/CheckListStyle.h"

#include <QListWidget>

namespace {

// One pixel of the row above and below the box stays clear.
constexpr int kCheckBoxSize = 11;
constexpr int kItemHeight = 13;

} // namespace

int CheckListStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    if (metric == PM_IndicatorWidth || metric == PM_IndicatorHeight)
        return kCheckBoxSize;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QListWidgetItem* AppendCheckItem(QListWidget* list, const QString& name)
{
    auto* item = new QListWidgetItem(name, list);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    item->setSizeHint(QSize(0, kItemHeight));
    return item;
}

bool HasCheckedItem(const QListWidget* list)
{
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->checkState() == Qt::Checked)
            return true;
    }
    return false;
}
