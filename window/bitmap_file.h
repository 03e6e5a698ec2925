#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace BitmapLimits {
constexpr qint64 MaxFileBytes = 8 * 1024 * 1024;
// What the decoded picture may take at four bytes a pixel, as it will once it
// is a pixmap, whatever depth the file stores.
constexpr qint64 MaxPictureBytes = 16 * 1024 * 1024;

constexpr bool fitsInPicture(int width, int height) {
    return qint64{width} * height * 4 <= MaxPictureBytes;
}
} // namespace BitmapLimits

// Reads the BMP file at this call (never from a cache). Throws PictureLoadError
// naming the path and, in Russian, the reason.
QImage readBitmapFile(const QString& path);

// Decodes the bytes of a BMP file. On failure returns a null image and says
// why in `failure`.
QImage decodeBitmap(const QByteArray& bytes, QString& failure);
