#include "ui/widgets/LabelRoom.h"

#include "ui/widgets/Controls.h"

#include <QLabel>
#include <QWidget>

#include <algorithm>
#include <utility>

LabelRoom::LabelRoom(const QWidget& parent, const QRect& area, std::initializer_list<const QLabel*> movable)
    : LabelRoom(parent, area, std::vector<const QLabel*>(movable))
{
}

LabelRoom::LabelRoom(const QWidget& parent, const QRect& area, const std::vector<const QLabel*>& movable)
    : area_(area)
{
    for (const QWidget* child : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const bool placedHere = std::find(movable.begin(), movable.end(), child) != movable.end();
        if (!placedHere && !child->isHidden())
            taken_.push_back(child->geometry());
    }
}

LabelRoom::LabelRoom(const QRect& area, std::vector<QRect> taken)
    : area_(area)
    , taken_(std::move(taken))
{
}

bool LabelRoom::Take(const QRect& wanted)
{
    const bool fits = area_.contains(wanted)
        && std::none_of(taken_.begin(), taken_.end(), [&wanted](const QRect& r) { return r.intersects(wanted); });
    if (fits)
        taken_.push_back(wanted);
    return fits;
}

void LabelRoom::Place(QLabel* label, const QString& caption, const QPoint& topLeft)
{
    SetLabelText(label, caption);
    const bool fits = Take(QRect(topLeft, label->size()));
    // A hidden label stands where it belongs too: a screen reader may still ask.
    if (label->pos() != topLeft)
        label->move(topLeft);
    if (label->isHidden() == fits)
        label->setVisible(fits);
}

void LabelRoom::Hide(QLabel* label)
{
    if (!label->isHidden())
        label->hide();
}
