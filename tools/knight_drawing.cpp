#include "knight_drawing.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor Ink(0x1E, 0x1E, 0x24);

QPainterPath knightOutline() {
    QPainterPath path;
    path.moveTo(16, 43);
    path.cubicTo(16, 36, 21, 32, 25, 27); // chest
    path.cubicTo(21, 28, 17, 29, 13, 30); // under the jaw
    path.cubicTo(10, 30, 8, 28, 8, 25);   // muzzle
    path.cubicTo(9, 21, 13, 17, 17, 13);  // face
    path.lineTo(19, 6);                   // front ear
    path.lineTo(23, 10);
    path.cubicTo(33, 9, 41, 15, 42, 26);  // mane
    path.cubicTo(43, 33, 41, 38, 40, 43); // back
    path.closeSubpath();
    return path;
}

} // namespace

void drawKnight(QPainter& painter, const QColor& detail) {
    painter.setPen(QPen(Ink, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Ink);
    painter.drawPath(knightOutline());
    painter.drawRoundedRect(QRectF(12, 43, 32, 6), 2, 2); // pedestal
    painter.setPen(QPen(detail, 1.5, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(detail);
    painter.drawEllipse(QPointF(17, 19), 1.6, 1.6);     // eye
    painter.drawLine(QPointF(26, 14), QPointF(37, 24)); // mane line
    painter.drawLine(QPointF(14, 46), QPointF(42, 46)); // pedestal rim
}
