// Item painting of the name lists, which also shows a name too long for its list whole in a
// tooltip: names may be up to 255 characters, the lists are a few hundred pixels wide.
#pragma once

#include <QStyledItemDelegate>

#include <optional>

class NameListDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The whole name when it does not fit the room its row gives it; nothing otherwise.
    std::optional<QString> ToolTipFor(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
        const QModelIndex& index) override;
};
