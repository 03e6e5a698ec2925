#include "picture_cell.h"

#include "bitmap_file.h"
#include "qt_colour.h"

#include <QMouseEvent>
#include <QPainter>

PictureCell::PictureCell(QWidget* parent)
    : QWidget(parent) {
    setFixedSize(Side, Side);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureCell::setSquare(int row, int col, Describe describe) {
    row_ = row;
    col_ = col;
    describe_ = std::move(describe);
    pictureChanged(picturePath_.toStdString());
}

void PictureCell::pictureChanged(const std::string& picturePath) {
    if (describe_) {
        setAccessibleName(QStringLiteral("Ряд %1, столбец %2: %3")
                              .arg(row_)
                              .arg(col_)
                              .arg(describe_(picturePath)));
    }
    // The frame line never changes, and repainting it would repaint the
    // neighbours that share it.
    update(innerRect());
}

void PictureCell::setBackColor(ColourValue colour) {
    const QColor newColour = toQColor(colour, palette());
    if (newColour == backColor_) {
        return; // nothing to repaint
    }
    backColor_ = newColour;
    update(innerRect());
}

void PictureCell::loadPicture(const std::string& fullPath) {
    const QString path = QString::fromStdString(fullPath);
    picture_ = QPixmap::fromImage(readBitmapFile(path));
    picturePath_ = path;
    pictureChanged(fullPath);
}

void PictureCell::clearPicture() {
    if (picture_.isNull()) {
        return; // nothing to repaint
    }
    picture_ = QPixmap();
    picturePath_.clear();
    pictureChanged({});
}

void PictureCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Two fills draw the frame line far faster than stroking a rectangle.
    painter.fillRect(rect(), palette().color(QPalette::WindowText));
    const QRect inner = innerRect();
    painter.fillRect(inner, backColor_);
    painter.setClipRect(inner);
    painter.drawPixmap(inner.topLeft(), picture_);
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
        emit clicked();
    }
}
