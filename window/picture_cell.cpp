#include "picture_cell.h"

#include "bitmap_file.h"
#include "cell_accessible.h"
#include "qt_colour.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace {

// A cell's lines and inner area in device pixels of its window. Every edge is
// worked out from a board position shared with the neighbour, so at any scale
// neighbours meet on the same pixel and every line is equally wide.
struct DeviceTile {
    QRect frame; // with the right and lower lines
    QRect inner;
};

int deviceEdge(int logical, qreal ratio) {
    return int(std::ceil(logical * ratio - 1e-6));
}

DeviceTile deviceTile(QPoint inWindow, qreal ratio) {
    const int line = std::max(1, int(std::floor(ratio)));
    const int left = deviceEdge(inWindow.x(), ratio);
    const int top = deviceEdge(inWindow.y(), ratio);
    const int right = deviceEdge(inWindow.x() + PictureCell::Step, ratio);
    const int bottom = deviceEdge(inWindow.y() + PictureCell::Step, ratio);
    return {QRect(QPoint(left, top), QPoint(right + line - 1, bottom + line - 1)),
            QRect(QPoint(left + line, top + line), QPoint(right - 1, bottom - 1))};
}

bool isWhole(qreal ratio) {
    return ratio == std::floor(ratio);
}

} // namespace

PictureCell::PictureCell(QWidget* parent)
    : QWidget(parent) {
    installCellAccessibility();
    setFixedSize(Side, Side);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// The shared frame line never changes, and repainting it would repaint the
// neighbours too. At fractional scales the inner area does not fall on whole
// logical pixels, so there the whole cell is repainted.
void PictureCell::repaintInside() {
    if (isWhole(devicePixelRatioF())) {
        update(rect().adjusted(1, 1, -1, -1));
    } else {
        update();
    }
}

void PictureCell::setBackColor(ColourValue colour) {
    if (colour == backColor_) {
        return; // nothing to repaint
    }
    backColor_ = colour;
    repaintInside();
}

void PictureCell::loadPicture(const std::string& fullPath) {
    const QString path = QString::fromStdString(fullPath);
    picture_ = QPixmap::fromImage(readBitmapFile(path));
    picturePath_ = path;
    repaintInside();
}

void PictureCell::clearPicture() {
    if (picture_.isNull()) {
        return; // nothing to repaint
    }
    picture_ = QPixmap();
    picturePath_.clear();
    repaintInside();
}

void PictureCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    const QPoint inWindow = mapTo(window(), QPoint());
    const DeviceTile tile = deviceTile(inWindow, ratio);
    // From here on one unit is one device pixel of the window.
    painter.scale(1 / ratio, 1 / ratio);
    painter.translate(-QPointF(inWindow) * ratio);
    // The frame is the classic black window-frame line, dark on every colour
    // scheme; two fills draw it far faster than stroking a rectangle.
    painter.fillRect(tile.frame, Qt::black);
    painter.fillRect(tile.inner, toQColor(backColor_, palette()));
    if (picture_.isNull()) {
        return;
    }
    painter.setClipRect(tile.inner);
    // Natural size in device-independent pixels; pixel doubling would make
    // uneven rows at fractional scales.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !isWhole(ratio));
    painter.drawPixmap(QRectF(tile.inner.topLeft(), QSizeF(picture_.size()) * ratio), picture_,
                       QRectF(picture_.rect()));
}

// A click is a press and a release of the left button, both on the cell.
void PictureCell::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void PictureCell::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) {
        press();
    }
}
