// The check lists of the main and rating windows: rows 13 pixels high, so the check boxes
// are drawn smaller than the style's own, or neighbouring boxes would run into each other;
// and their items.
#pragma once

#include <QProxyStyle>

class QListWidget;
class QListWidgetItem;

class CheckListStyle : public QProxyStyle {
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(
        PixelMetric metric, const QStyleOption* option = nullptr, const QWidget* widget = nullptr) const override;
};

// A new, unchecked item at the end of a check list.
QListWidgetItem* AppendCheckItem(QListWidget* list, const QString& name);
// Some item of the list is checked; the scan stops at the first.
bool HasCheckedItem(const QListWidget* list);
