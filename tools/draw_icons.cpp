// Draws the application icon, our knight on a grey and white tile, at every
// size the hicolor theme uses: draw_icons FOLDER makes FOLDER/NxN/apps/tarvik.png.
// draw_icons --web FOLDER draws the web app's instead: icon-192.png,
// icon-512.png and icon-maskable.png, whose tile fills the whole square and
// whose knight keeps inside the middle 80 %, for launchers that cut their own
// shape.

#include "knight_drawing.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <string_view>

namespace {

constexpr int Sizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

void drawChequers(QPainter& painter, const QRectF& area) {
    const QSizeF quarter = area.size() / 2;
    painter.fillRect(area, QColor(0xFF, 0xFF, 0xFF));
    painter.fillRect(QRectF(area.topLeft() + QPointF(quarter.width(), 0), quarter),
                     QColor(0xC0, 0xC0, 0xC0));
    painter.fillRect(QRectF(area.topLeft() + QPointF(0, quarter.height()), quarter),
                     QColor(0xC0, 0xC0, 0xC0));
}

QImage icon(int size, bool maskable = false) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (maskable) {
        drawChequers(painter, QRectF(0, 0, size, size));
        painter.translate(size * 0.1, size * 0.1);
        painter.scale(size * 0.8 / 55, size * 0.8 / 55);
        drawKnight(painter, Qt::white);
        return image;
    }
    painter.scale(size / 55.0, size / 55.0);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(1, 1, 53, 53), 8, 8);
    painter.setClipPath(tile);
    drawChequers(painter, QRectF(0, 0, 55, 55));
    painter.setClipping(false);
    painter.setPen(QPen(QColor(0x60, 0x60, 0x68), 1.2));
    painter.drawPath(tile);
    drawKnight(painter, Qt::white);
    return image;
}

bool save(const QImage& image, const QDir& root, const QString& name) {
    const bool saved =
        root.mkpath(QFileInfo(root.filePath(name)).path()) && image.save(root.filePath(name));
    if (!saved) {
        std::fprintf(stderr, "draw_icons: cannot write %s\n", qPrintable(root.filePath(name)));
    }
    return saved;
}

} // namespace

int main(int argc, char* argv[]) {
    const bool web = argc == 3 && argv[1] == std::string_view("--web");
    if (argc != 2 && !web) {
        std::fputs("usage: draw_icons [--web] FOLDER\n", stderr);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[argc - 1]));
    if (web) {
        return save(icon(192), root, "icon-192.png") && save(icon(512), root, "icon-512.png") &&
                       save(icon(512, true), root, "icon-maskable.png")
                   ? 0
                   : 1;
    }
    for (const int size : Sizes) {
        if (!save(icon(size), root, QStringLiteral("%1x%1/apps/tarvik.png").arg(size))) {
            return 1;
        }
    }
    return 0;
}
