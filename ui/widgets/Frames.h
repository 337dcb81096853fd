// Frames drawn as on the desktop the program was designed for: a group box whose etched
// line runs through the middle of its caption, so that controls placed just below the
// caption sit inside the frame, and a panel with a raised inner and a lowered outer bevel.
// Qt's Fusion style puts a group box's frame below the whole caption instead.
#pragma once

#include <QFrame>
#include <QGroupBox>

class FramedGroupBox : public QGroupBox {
    Q_OBJECT

public:
    explicit FramedGroupBox(const QString& title, QWidget* parent = nullptr);

    // The y of the frame's top line: half the caption's height.
    int FrameTop() const;
    // Where the caption's text is drawn. Its capitals start one pixel below the top edge,
    // the room a font leaves above them, so that controls placed close below the
    // caption do not cover the foot of its letters.
    QRect CaptionRect() const;
    int CaptionBaseline() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class BevelPanel : public QFrame {
    Q_OBJECT

public:
    explicit BevelPanel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
