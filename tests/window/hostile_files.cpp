#include "hostile_files.h"

#include "window_fixture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QtEndian>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

constexpr int DeclaredFileSize = 2;
constexpr int Width = 18;
constexpr int Height = 22;
constexpr int BitsPerPixel = 28; // 16 bits, with planes before it
constexpr int Compression = 30;
constexpr int ImageSize = 34;
constexpr int RowBytes = 55 * 4; // our bitmaps: 55 pixels of 32 bits

bool write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray asPng() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImage(BitmapFolder::asset("Kon_W2.bmp")).save(&buffer, "PNG");
    return bytes;
}

QByteArray withDepth(quint16 bits) {
    QByteArray bytes = soundBitmap();
    qToLittleEndian<quint16>(bits, bytes.data() + BitsPerPixel);
    return bytes;
}

// One pixel row fewer than the header says, the headers' sizes telling the
// truth about the shorter file: only the row count shows that it is cut.
QByteArray oneRowShort(const QByteArray& sound) {
    const QByteArray cut = sound.left(sound.size() - RowBytes);
    const qint32 pixelBytes = qFromLittleEndian<qint32>(sound.constData() + ImageSize);
    return patched(patched(cut, DeclaredFileSize, qint32(cut.size())), ImageSize,
                   pixelBytes - RowBytes);
}

} // namespace

QByteArray soundBitmap() {
    QFile file(BitmapFolder::asset("Kon_W2.bmp"));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QByteArray patched(QByteArray bytes, int offset, qint32 value) {
    qToLittleEndian<qint32>(value, bytes.data() + offset);
    return bytes;
}

const QList<HostileKind>& hostileKinds() {
    static const QList<HostileKind> kinds{
        {"missing", "не найден"},
        {"empty", "пуст"},
        {"cut in half", "обрезан"},
        {"header only", "обрезан"},
        {"text", "не рисунок BMP"},
        {"png renamed", "не рисунок BMP"},
        {"60000 x 60000", "заголовок"},
        {"zero width", "заголовок"},
        {"zero height", "заголовок"},
        {"negative width", "заголовок"},
        {"lowest height", "заголовок"},
        {"4000 x 4000 at 1 bit", "слишком большой размер"},
        {"declares a larger file", "обрезан"},
        {"one pixel row short", "обрезан"},
        {"run-length compressed", "сжат"},
        {"7 bits a pixel", "заголовок"},
        {"larger than any bitmap", "файл больше"},
        {"folder", "папка"},
#ifdef Q_OS_UNIX // Windows has neither
        {"fifo", "не обычный файл"},
        {"dangling link", "ссылка"},
#endif
    };
    return kinds;
}

void addHostileKindRows() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    for (const auto& kind : hostileKinds()) {
        QTest::newRow(kind.name) << QString::fromLatin1(kind.name)
                                 << QString::fromUtf8(kind.reason);
    }
}

bool makeHostileFile(const QString& kind, const QString& path) {
    const QByteArray sound = soundBitmap();
    if (kind == "missing") {
        return !QFile::exists(path) || QFile::remove(path);
    }
    QFile::remove(path);
    if (kind == "empty") {
        return write(path, {});
    }
    if (kind == "cut in half") {
        return write(path, sound.left(sound.size() / 2));
    }
    if (kind == "header only") {
        return write(path, sound.left(qFromLittleEndian<quint32>(sound.constData() + 10)));
    }
    if (kind == "text") {
        return write(path, "A knight? No, a text file.\n");
    }
    if (kind == "png renamed") {
        return write(path, asPng());
    }
    if (kind == "60000 x 60000") {
        return write(path, patched(patched(sound, Width, 60000), Height, 60000));
    }
    if (kind == "zero width") {
        return write(path, patched(sound, Width, 0));
    }
    if (kind == "zero height") {
        return write(path, patched(sound, Height, 0));
    }
    if (kind == "negative width") {
        return write(path, patched(sound, Width, -55));
    }
    if (kind == "lowest height") {
        return write(path, patched(sound, Height, std::numeric_limits<qint32>::min()));
    }
    if (kind == "4000 x 4000 at 1 bit") {
        QImage huge(4000, 4000, QImage::Format_Mono);
        huge.fill(0);
        return huge.save(path, "BMP");
    }
    if (kind == "declares a larger file") {
        return write(path, patched(sound, DeclaredFileSize, 1'000'000'000));
    }
    if (kind == "one pixel row short") {
        return write(path, oneRowShort(sound));
    }
    if (kind == "run-length compressed") {
        return write(path, patched(withDepth(8), Compression, 1));
    }
    if (kind == "7 bits a pixel") {
        return write(path, withDepth(7));
    }
    if (kind == "larger than any bitmap") {
        return write(path, sound + QByteArray(9 * 1024 * 1024, '\0'));
    }
    if (kind == "folder") {
        return QDir().mkdir(path);
    }
    if (kind == "dangling link") {
        return QFile::link(path + ".gone", path);
    }
#ifdef Q_OS_UNIX
    if (kind == "fifo") {
        return mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    }
#endif
    return false;
}
