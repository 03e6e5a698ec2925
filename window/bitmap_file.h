#pragma once

#include "cell.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <filesystem>

// Reads the BMP file at this call (never from a cache). Throws PictureLoadError
// naming the path and, in Russian, the reason.
QImage readBitmapFile(const std::filesystem::path& path);

// Decodes the bytes of a BMP file. On failure returns a null image and says
// why in `failure`.
QImage decodeBitmap(const QByteArray& bytes, QString& failure);
