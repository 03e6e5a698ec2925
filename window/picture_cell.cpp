#include "picture_cell.h"

#include "bitmap_file.h"
#include "cell_accessible.h"
#include "program_folder.h"
#include "qt_colour.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace {

QRect toQRect(const Layout::PixelRect& rect) {
    return {rect.x, rect.y, rect.width, rect.height};
}

bool isWhole(qreal ratio) {
    return ratio == std::floor(ratio);
}

} // namespace

PictureCell::PictureCell(QWidget* parent)
    : QWidget(parent) {
    installCellAccessibility();
    setFixedSize(Layout::CellSide, Layout::CellSide);
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
    picture_ = QPixmap::fromImage(readBitmapFile(pathFromHeld(fullPath)));
    repaintInside();
}

void PictureCell::clearPicture() {
    if (picture_.isNull()) {
        return; // nothing to repaint
    }
    picture_ = QPixmap();
    repaintInside();
}

void PictureCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    // Where the cell lies on what is painted: its window, or a grabbed image.
    const QPointF deviceOrigin = painter.deviceTransform().map(QPointF());
    const QPoint origin = (deviceOrigin / ratio).toPoint();
    const Layout::DeviceTile tile = Layout::deviceTile(origin.x(), origin.y(), ratio);
    // From here on one unit is one device pixel of the window.
    painter.scale(1 / ratio, 1 / ratio);
    painter.translate(-deviceOrigin);
    // The square's colour first, over all the cell may paint, so that no pixel
    // is left unpainted wherever the lines fall.
    painter.fillRect(QRectF(deviceOrigin, QSizeF(size()) * ratio), toQColor(backColor_, palette()));
    // The classic black window-frame line, dark on every colour scheme.
    for (const Layout::PixelRect& line : tile.lines) {
        painter.fillRect(toQRect(line), Qt::black);
    }
    if (picture_.isNull()) {
        return;
    }
    const QRect inner = toQRect(tile.inner);
    painter.setClipRect(inner);
    // Natural size in device-independent pixels; pixel doubling would make
    // uneven rows at fractional scales.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !isWhole(ratio));
    painter.drawPixmap(QRectF(inner.topLeft(), QSizeF(picture_.size()) * ratio), picture_,
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
