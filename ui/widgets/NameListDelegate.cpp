#include "ui/widgets/NameListDelegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

std::optional<QString> NameListDelegate::ToolTipFor(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QStyle* style = item.widget ? item.widget->style() : nullptr;
    if (!style)
        return std::nullopt;
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
    // The style leaves a margin on each side of the text inside its rectangle.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, item.widget) + 1;
    if (item.fontMetrics.horizontalAdvance(item.text) <= textRect.width() - 2 * margin)
        return std::nullopt;
    return item.text;
}

bool NameListDelegate::helpEvent(
    QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    if (const std::optional<QString> tip = ToolTipFor(option, index)) {
        QToolTip::showText(event->globalPos(), *tip, view->viewport(), option.rect);
        return true;
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}
