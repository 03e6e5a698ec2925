// Draws the four bitmaps of assets/: the knight and the visited mark, each on
// the colour of the square it is drawn for, so that it shows no box there.
// Usage: draw_bitmaps FOLDER

#include "knight_drawing.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <functional>

namespace {

constexpr int Side = 55;
const QColor GreySquare(0xC0, 0xC0, 0xC0);
const QColor WhiteSquare(0xFF, 0xFF, 0xFF);
const QColor MarkInk(0xA8, 0x1E, 0x1E);

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
