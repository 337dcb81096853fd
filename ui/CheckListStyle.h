// The look of the main window's check lists: rows are 13 pixels high, so the check boxes
// are drawn smaller than the style's own, or neighbouring boxes would run into each other.
#pragma once

#include <QProxyStyle>

class CheckListStyle : public QProxyStyle {
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(
        PixelMetric metric, const QStyleOption* option = nullptr, const QWidget* widget = nullptr) const override;
};
