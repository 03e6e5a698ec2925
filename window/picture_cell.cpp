#include "picture_cell.h"

#include "bitmap_file.h"
#include "cell_accessible.h"
#include "qt_colour.h"

#include <QMouseEvent>
#include <QPainter>
#include <array>
#include <cmath>

namespace {

// A cell's lines and inner area in device pixels of its window. Every edge is
// worked out from a board position shared with the neighbour, rounded as Qt
// rounds the cells' own areas, so that at any scale neighbours meet on the
// same pixel and every line is equally wide.
struct DeviceTile {
    std::array<QRect, 4> lines;
    QRect inner;
};

int deviceEdge(int logical, qreal ratio) {
    return qRound(logical * ratio);
}

DeviceTile deviceTile(QPoint origin, qreal ratio) {
    // As wide as the board's last device column, so the right edge is framed
    // by a whole line.
    const int width = std::max(1, qRound(ratio));
    const int left = deviceEdge(origin.x(), ratio);
    const int top = deviceEdge(origin.y(), ratio);
    const int right = deviceEdge(origin.x() + PictureCell::Step, ratio);
    const int bottom = deviceEdge(origin.y() + PictureCell::Step, ratio);
    return {{QRect(left, top, right - left + width, width), QRect(left, top, width, bottom - top),
             QRect(right, top, width, bottom - top + width),
             QRect(left, bottom, right - left, width)},
            QRect(QPoint(left + width, top + width), QPoint(right - 1, bottom - 1))};
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
    // Where the cell lies on what is painted: its window, or a grabbed image.
    const QPointF deviceOrigin = painter.deviceTransform().map(QPointF());
    const DeviceTile tile = deviceTile((deviceOrigin / ratio).toPoint(), ratio);
    // From here on one unit is one device pixel of the window.
    painter.scale(1 / ratio, 1 / ratio);
    painter.translate(-deviceOrigin);
    // The square's colour first, over all the cell may paint, so that no pixel
    // is left unpainted wherever the lines fall.
    painter.fillRect(QRectF(deviceOrigin, QSizeF(size()) * ratio), toQColor(backColor_, palette()));
    // The classic black window-frame line, dark on every colour scheme.
    for (const QRect& line : tile.lines) {
        painter.fillRect(line, Qt::black);
    }
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
