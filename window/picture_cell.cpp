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
    pictureChanged();
}

void PictureCell::pictureChanged() {
    if (describe_) {
        setAccessibleName(QStringLiteral("Ряд %1, столбец %2: %3")
                              .arg(row_)
                              .arg(col_)
                              .arg(describe_(picturePath_)));
    }
    update();
}

void PictureCell::setBackColor(ColourValue colour) {
    backColor_ = toQColor(colour, palette());
    update();
}

void PictureCell::loadPicture(const std::string& fullPath) {
    const QString path = QString::fromStdString(fullPath);
    picture_ = QPixmap::fromImage(readBitmapFile(path));
    picturePath_ = path;
    pictureChanged();
}

void PictureCell::clearPicture() {
    picture_ = QPixmap();
    picturePath_.clear();
    pictureChanged();
}

void PictureCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
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
