#pragma once

#include <QByteArray>
#include <QString>

struct FileContents {
    QByteArray bytes;
    QString failure; // empty when the whole file was read
};

// Reads a whole regular file of at most maxBytes. Anything else (a folder, a
// FIFO, a device, a dangling link, a larger file) fails without blocking and
// without reading more than maxBytes + 1 bytes.
FileContents readRegularFile(const QString& path, qint64 maxBytes);
