// Where a chart's movable labels may stand: inside the chart's area and clear of every
// other control, so that a scale number never lands on a list or on another number. Each
// label placed takes its room from the labels placed after it, so the more important ones
// go first. A drawing without controls (the printed report) places its texts the same
// way, by their boxes.
#pragma once

#include <QRect>
#include <QString>

#include <initializer_list>
#include <vector>

class QLabel;
class QWidget;

class LabelRoom {
public:
    // What the shown children of `parent` cover is taken from the start, except the labels
    // about to be placed (`movable`), whose old places do not count.
    LabelRoom(const QWidget& parent, const QRect& area, std::initializer_list<const QLabel*> movable);
    LabelRoom(const QWidget& parent, const QRect& area, const std::vector<const QLabel*>& movable);
    // No controls: what `taken` covers is taken from the start.
    LabelRoom(const QRect& area, std::vector<QRect> taken);

    // Takes `wanted` when it lies wholly inside the area and clear of everything taken so
    // far; otherwise takes nothing and says so.
    bool Take(const QRect& wanted);

    // Gives the label its caption and top-left corner, and shows it when it fits there;
    // hides it otherwise. Touches the label only where something changes: this runs while a chart
    // paints, and every change asks for another paint.
    void Place(QLabel* label, const QString& caption, const QPoint& topLeft);
    static void Hide(QLabel* label);

private:
    QRect area_;
    std::vector<QRect> taken_;
};
