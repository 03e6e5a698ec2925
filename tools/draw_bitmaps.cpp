// Draws the four bitmaps of assets/: the knight and the visited mark, each on
// the colour of the square it is drawn for, so that it shows no box there.
// Usage: draw_bitmaps FOLDER

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>

namespace {

constexpr int Side = 55;
const QColor GreySquare(0xC0, 0xC0, 0xC0);
const QColor WhiteSquare(0xFF, 0xFF, 0xFF);
const QColor Ink(0x1E, 0x1E, 0x24);
const QColor MarkInk(0xA8, 0x1E, 0x1E);

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

void drawKnight(QPainter& painter) {
    painter.setPen(QPen(Ink, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Ink);
    painter.drawPath(knightOutline());
    painter.drawRoundedRect(QRectF(12, 43, 32, 6), 2, 2); // pedestal
    painter.setPen(QPen(Qt::white, 1.5, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(17, 19), 1.6, 1.6);     // eye
    painter.drawLine(QPointF(26, 14), QPointF(37, 24)); // mane line
    painter.drawLine(QPointF(14, 46), QPointF(42, 46)); // pedestal rim
}

void drawMark(QPainter& painter) {
    painter.setPen(QPen(MarkInk, 6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(18, 18), QPointF(37, 37));
    painter.drawLine(QPointF(37, 18), QPointF(18, 37));
}

bool save(const QDir& folder, const char* name, const QColor& square,
          const std::function<void(QPainter&)>& draw) {
    QImage image(Side, Side, QImage::Format_RGB32);
    image.fill(square);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return image.save(folder.filePath(QString::fromLatin1(name)), "BMP");
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: draw_bitmaps FOLDER\n", stderr);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const bool saved = save(folder, "Kon_W.bmp", WhiteSquare, drawKnight) &&
                       save(folder, "Kon_W2.bmp", GreySquare, drawKnight) &&
                       save(folder, "Trelk_W.bmp", WhiteSquare, drawMark) &&
                       save(folder, "Trelk.bmp", GreySquare, drawMark);
    if (!saved) {
        std::fprintf(stderr, "draw_bitmaps: cannot write the bitmaps into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
