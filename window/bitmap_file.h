#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// What this program takes as a readable bitmap: an uncompressed Windows BMP
// ("BM", info header of 40, 108 or 124 bytes, one plane) with 1, 4, 8, 16, 24
// or 32 bits a pixel (bit-field masks allowed at 16 and 32), bottom-up or
// top-down, 1..MaxSide pixels a side, whose file holds every pixel row its
// header declares. Anything else is refused before a pixel is allocated.
namespace BitmapLimits {
constexpr int MaxSide = 1024;
constexpr qint64 MaxFileBytes = 8 * 1024 * 1024;
} // namespace BitmapLimits

// Reads the file at this call (never from a cache). Throws PictureLoadError
// naming the path and the reason.
QImage readBitmapFile(const QString& path);

// Checks and decodes the bytes of a bitmap file. On failure returns a null
// image and says why in `failure`.
QImage decodeBitmap(const QByteArray& bytes, QString& failure);
