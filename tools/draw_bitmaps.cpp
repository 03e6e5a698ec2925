// Draws the four bitmaps of assets/: the knight and the visited mark, each in
// a version for a white and one for a grey square, on a transparent ground so
// that they show no box whatever colour the square takes.
// Usage: draw_bitmaps FOLDER

#include "knight_drawing.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QtEndian>
#include <cstdio>
#include <functional>

namespace {

constexpr int Side = 55;
const QColor GreySquare(0xC0, 0xC0, 0xC0);

// A 32-bit BMP with an alpha channel: a BITMAPV4HEADER whose bit fields name
// the alpha mask, which Qt's reader (and Windows') honours.
QByteArray bmpWithAlpha(const QImage& image) {
    constexpr int FileHeader = 14;
    constexpr int InfoHeader = 108;
    const int pixelBytes = image.width() * image.height() * 4;
    QByteArray bytes(FileHeader + InfoHeader + pixelBytes, '\0');
    char* at = bytes.data();
    const auto put32 = [&](int offset, quint32 value) { qToLittleEndian(value, at + offset); };
    const auto put16 = [&](int offset, quint16 value) { qToLittleEndian(value, at + offset); };
    at[0] = 'B';
    at[1] = 'M';
    put32(2, quint32(bytes.size()));
    put32(10, FileHeader + InfoHeader);
    put32(14, InfoHeader);
    put32(18, quint32(image.width()));
    put32(22, quint32(image.height())); // bottom-up
    put16(26, 1);                       // planes
    put16(28, 32);                      // bits a pixel
    put32(30, 3);                       // BI_BITFIELDS
    put32(34, quint32(pixelBytes));
    put32(38, 2835); // 72 dots an inch
    put32(42, 2835);
    put32(54, 0x00FF0000); // red, green, blue and alpha masks
    put32(58, 0x0000FF00);
    put32(62, 0x000000FF);
    put32(66, 0xFF000000);
    put32(70, 0x73524742); // 'sRGB'
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row =
            reinterpret_cast<const quint32*>(argb.constScanLine(argb.height() - 1 - y));
        for (int x = 0; x < argb.width(); ++x) {
            put32(FileHeader + InfoHeader + (y * argb.width() + x) * 4, row[x]);
        }
    }
    return bytes;
}

void drawMark(QPainter& painter, const QColor& ink) {
    painter.setPen(QPen(ink, 6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(18, 18), QPointF(37, 37));
    painter.drawLine(QPointF(37, 18), QPointF(18, 37));
}

bool save(const QDir& folder, const char* name, const std::function<void(QPainter&)>& draw) {
    QImage image(Side, Side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    QFile file(folder.filePath(QString::fromLatin1(name)));
    const QByteArray bytes = bmpWithAlpha(image);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: draw_bitmaps FOLDER\n", stderr);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    // On a grey square the knight's eye and mane line are cut out in the
    // square's own grey; the mark is a deeper red there, for contrast.
    const bool saved =
        save(folder, "Kon_W.bmp", [](QPainter& p) { drawKnight(p, Qt::white); }) &&
        save(folder, "Kon_W2.bmp", [](QPainter& p) { drawKnight(p, GreySquare); }) &&
        save(folder, "Trelk_W.bmp", [](QPainter& p) { drawMark(p, QColor(0xB4, 0x28, 0x28)); }) &&
        save(folder, "Trelk.bmp", [](QPainter& p) { drawMark(p, QColor(0x8C, 0x14, 0x14)); });
    if (!saved) {
        std::fprintf(stderr, "draw_bitmaps: cannot write the bitmaps into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
