#include "bitmap_file.h"

#include "wording.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>
#include <cstdlib>

namespace {

// A folder, a FIFO or a device is refused before it is opened, so that
// opening can never wait.
QString fileFailure(const QFileInfo& file) {
    if (file.isSymLink() && !file.exists()) {
        return QStringLiteral("символическая ссылка ведёт в никуда");
    }
    if (!file.exists()) {
        return QString::fromUtf8(Wording::Reason::NotFound);
    }
    if (file.isDir()) {
        return QStringLiteral("это папка, а не файл");
    }
    if (!file.isFile()) {
        return QStringLiteral("это не обычный файл");
    }
    return {};
}

QByteArray readWholeFile(const QString& path, QString& failure) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failure = file.error() == QFileDevice::PermissionsError
                      ? QString::fromUtf8(Wording::Reason::NoPermission)
                      : QStringLiteral("файл не удалось открыть");
        return {};
    }
    // One byte more than the file should hold tells that it is over the cap
    // or grew while being read, without reserving the whole cap.
    QByteArray bytes = file.read(std::min<qint64>(file.size(), BitmapLimits::MaxFileBytes) + 1);
    if (file.error() != QFileDevice::NoError) {
        failure = QString::fromUtf8(Wording::Reason::Unreadable);
    } else if (bytes.isEmpty()) {
        failure = QString::fromUtf8(Wording::Reason::Empty);
    } else if (bytes.size() > BitmapLimits::MaxFileBytes) {
        failure = QString::fromStdString(Wording::Reason::largerThan(BitmapLimits::MaxFileBytes));
    }
    return bytes;
}

template <typename T> T field(const QByteArray& bytes, qsizetype offset) {
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

// Qt decodes a file that ends before its last pixel row, or whose data is not
// compressed the way its header says, into a garbage picture instead of
// failing; so the rows are counted here, and compressed files are refused.
QString rowsFailure(const QByteArray& bytes, QSize size) {
    constexpr qsizetype HeadersBytes = 14 + 40;
    constexpr quint32 InfoHeaderOs2 = 12;
    constexpr quint32 Uncompressed = 0;
    constexpr quint32 BitFields = 3;
    if (bytes.size() < HeadersBytes) {
        return QStringLiteral("файл обрезан: в нём %1 байт, меньше заголовка").arg(bytes.size());
    }
    const bool os2 = field<quint32>(bytes, 14) == InfoHeaderOs2;
    const quint32 compression = os2 ? Uncompressed : field<quint32>(bytes, 30);
    if (compression != Uncompressed && compression != BitFields) {
        return QStringLiteral("сжатый BMP не поддерживается (способ сжатия %1)").arg(compression);
    }
    const qint64 bitsPerPixel = field<quint16>(bytes, os2 ? 24 : 28);
    const qint64 stride = (size.width() * bitsPerPixel + 31) / 32 * 4;
    const qint64 needed = std::max<qint64>(field<quint32>(bytes, 10) + stride * size.height(),
                                           field<quint32>(bytes, 2));
    if (bytes.size() < needed) {
        return QStringLiteral("файл обрезан: в нём %1 байт из %2").arg(bytes.size()).arg(needed);
    }
    return {};
}

QString headerFailure(QImageReader& reader, const QByteArray& bytes) {
    if (!reader.canRead()) {
        return QString::fromUtf8(Wording::Reason::NotBitmap);
    }
    // A top-down file reports its height as negative.
    const QSize size(reader.size().width(), std::abs(reader.size().height()));
    if (size.isEmpty()) {
        return QStringLiteral("заголовок BMP неверен: недопустимый размер или глубина цвета");
    }
    if (!BitmapLimits::fitsInPicture(size.width(), size.height())) {
        return QString::fromStdString(
            Wording::Reason::pictureTooLarge(size.width(), size.height()));
    }
    return rowsFailure(bytes, size);
}

} // namespace

QImage decodeBitmap(const QByteArray& bytes, QString& failure) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAllocationLimit(int(BitmapLimits::MaxPictureBytes / (1024 * 1024)));
    failure = headerFailure(reader, bytes);
    if (!failure.isEmpty()) {
        return {};
    }
    QImage image = reader.read();
    if (image.isNull()) {
        failure = QString::fromUtf8(Wording::Reason::Undecodable);
    }
    return image;
}

QImage readBitmapFile(const QString& path) {
    QString failure = fileFailure(QFileInfo(path));
    QImage image;
    if (failure.isEmpty()) {
        const QByteArray bytes = readWholeFile(path, failure);
        if (failure.isEmpty()) {
            image = decodeBitmap(bytes, failure);
        }
    }
    if (!failure.isEmpty()) {
        throw PictureLoadError(
            Wording::pictureLoadFailure(path.toStdString(), failure.toStdString()));
    }
    return image;
}
