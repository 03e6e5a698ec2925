#pragma once

#include "cell.h"
#include "layout.h"

#include <QPixmap>
#include <QWidget>

// One square of the board: a flat 57 x 57 cell framed by a one-pixel line,
// its picture drawn at natural size from the inner corner and clipped there.
// Neighbours overlap by the line they share.
class PictureCell : public QWidget, public Cell {
    Q_OBJECT

public:
    explicit PictureCell(QWidget* parent = nullptr);

    void setBackColor(ColourValue colour) override;
    void loadPicture(const std::string& fullPath) override;
    void clearPicture() override;

    ColourValue backColor() const { return backColor_; }
    const QPixmap& picture() const { return picture_; }

    // What a click does; the accessibility interface presses through here too.
    void press() { emit clicked(); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void repaintInside();

    ColourValue backColor_ = 0;
    QPixmap picture_;
    bool pressed_ = false;
};
