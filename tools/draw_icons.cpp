// Draws the application icon, our knight on a grey and white tile, at every
// size the hicolor theme uses: draw_icons FOLDER makes FOLDER/NxN/apps/tarvik.png

#include "knight_drawing.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

constexpr int Sizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QImage icon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 55.0, size / 55.0);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(1, 1, 53, 53), 8, 8);
    painter.setClipPath(tile);
    painter.fillRect(QRectF(0, 0, 55, 55), QColor(0xFF, 0xFF, 0xFF));
    painter.fillRect(QRectF(27.5, 0, 27.5, 27.5), QColor(0xC0, 0xC0, 0xC0));
    painter.fillRect(QRectF(0, 27.5, 27.5, 27.5), QColor(0xC0, 0xC0, 0xC0));
    painter.setClipping(false);
    painter.setPen(QPen(QColor(0x60, 0x60, 0x68), 1.2));
    painter.drawPath(tile);
    drawKnight(painter, Qt::white);
    return image;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: draw_icons FOLDER\n", stderr);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (const int size : Sizes) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        if (!root.mkpath(folder) || !icon(size).save(root.filePath(folder + "/tarvik.png"))) {
            std::fprintf(stderr, "draw_icons: cannot write the %dx%d icon into %s\n", size, size,
                         argv[1]);
            return 1;
        }
    }
    return 0;
}
