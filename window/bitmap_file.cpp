#include "bitmap_file.h"

#include "cell.h"
#include "regular_file.h"

#include <QCoreApplication>
#include <QtEndian>
#include <cstdlib>

namespace {

constexpr qint64 FileHeaderBytes = 14;
constexpr quint32 CompressionNone = 0;
constexpr quint32 CompressionBitFields = 3;
constexpr qint64 BitFieldMaskBytes = 12;

QString tr(const char* text) {
    return QCoreApplication::translate("Bitmap", text);
}

struct BitmapHeader {
    quint32 declaredFileSize;
    quint32 pixelOffset;
    quint32 infoSize;
    qint32 width;
    qint32 height;
    quint16 planes;
    quint16 bitsPerPixel;
    quint32 compression;
    quint32 coloursUsed;
};

template <typename T> T field(const QByteArray& bytes, qint64 offset) {
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

BitmapHeader parseHeader(const QByteArray& bytes) {
    return {field<quint32>(bytes, 2),  field<quint32>(bytes, 10), field<quint32>(bytes, 14),
            field<qint32>(bytes, 18),  field<qint32>(bytes, 22),  field<quint16>(bytes, 26),
            field<quint16>(bytes, 28), field<quint32>(bytes, 30), field<quint32>(bytes, 46)};
}

QString checkFormat(const BitmapHeader& header) {
    if (header.infoSize != 40 && header.infoSize != 108 && header.infoSize != 124) {
        return tr("неизвестный вариант BMP (заголовок %1 байт)").arg(header.infoSize);
    }
    if (header.planes != 1) {
        return tr("неверное число плоскостей (%1)").arg(header.planes);
    }
    switch (header.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (header.compression == CompressionNone) {
            return {};
        }
        break;
    case 16:
    case 32:
        if (header.compression == CompressionNone || header.compression == CompressionBitFields) {
            return {};
        }
        break;
    default:
        return tr("неподдерживаемая глубина цвета (%1 бит)").arg(header.bitsPerPixel);
    }
    return tr("сжатый BMP не поддерживается (способ сжатия %1)").arg(header.compression);
}

QString checkSize(const BitmapHeader& header) {
    const qint64 height = std::llabs(static_cast<qint64>(header.height));
    if (header.width <= 0 || height == 0) {
        return tr("неверный размер рисунка %1 × %2").arg(header.width).arg(header.height);
    }
    if (header.width > BitmapLimits::MaxSide || height > BitmapLimits::MaxSide) {
        return tr("рисунок %1 × %2 больше допустимого %3 × %3")
            .arg(header.width)
            .arg(height)
            .arg(BitmapLimits::MaxSide);
    }
    return {};
}

QString checkLayout(const BitmapHeader& header, qint64 fileSize) {
    qint64 headersEnd = FileHeaderBytes + header.infoSize;
    if (header.compression == CompressionBitFields && header.infoSize == 40) {
        headersEnd += BitFieldMaskBytes;
    }
    if (header.bitsPerPixel <= 8) {
        const qint64 paletteSize =
            header.coloursUsed == 0 ? (1 << header.bitsPerPixel) : header.coloursUsed;
        if (paletteSize > (1 << header.bitsPerPixel)) {
            return tr("слишком большая палитра (%1 цветов)").arg(header.coloursUsed);
        }
    }
    if (header.pixelOffset < headersEnd) {
        return tr("точки рисунка начинаются внутри заголовка");
    }
    const qint64 stride = (static_cast<qint64>(header.width) * header.bitsPerPixel + 31) / 32 * 4;
    const qint64 needed =
        header.pixelOffset + stride * std::llabs(static_cast<qint64>(header.height));
    const qint64 declared = std::max<qint64>(needed, header.declaredFileSize);
    if (fileSize < declared) {
        return tr("файл обрезан: в нём %1 байт из %2").arg(fileSize).arg(declared);
    }
    return {};
}

QString checkHeader(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return tr("файл пуст");
    }
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') {
        return tr("это не рисунок BMP");
    }
    if (bytes.size() < FileHeaderBytes + 40) {
        return tr("файл обрезан: в нём %1 байт, меньше заголовка BMP").arg(bytes.size());
    }
    const BitmapHeader header = parseHeader(bytes);
    QString failure = checkFormat(header);
    if (failure.isEmpty()) {
        failure = checkSize(header);
    }
    if (failure.isEmpty()) {
        failure = checkLayout(header, bytes.size());
    }
    return failure;
}

} // namespace

QImage decodeBitmap(const QByteArray& bytes, QString& failure) {
    failure = checkHeader(bytes);
    if (!failure.isEmpty()) {
        return {};
    }
    QImage image = QImage::fromData(bytes, "BMP");
    if (image.isNull()) {
        failure = tr("рисунок BMP не удалось разобрать");
    }
    return image;
}

QImage readBitmapFile(const QString& path) {
    const FileContents contents = readRegularFile(path, BitmapLimits::MaxFileBytes);
    QString failure = contents.failure;
    QImage image;
    if (failure.isEmpty()) {
        image = decodeBitmap(contents.bytes, failure);
    }
    if (!failure.isEmpty()) {
        throw PictureLoadError(
            tr("Не удалось загрузить рисунок «%1»: %2.").arg(path, failure).toStdString());
    }
    return image;
}
