#include "hostile_files.h"

#include "window_fixture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <QtEndian>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr int DeclaredFileSize = 2;
constexpr int PixelsOffset = 10;
constexpr int HeaderSize = 14;
constexpr int Width = 18;
constexpr int Height = 22;
constexpr int Planes = 26;
constexpr int BitsPerPixel = 28;
constexpr int Compression = 30;
constexpr int ImageSize = 34;
constexpr int ColoursUsed = 46;
constexpr int RowBytes = 55 * 4; // our bitmaps: 55 pixels of 32 bits
constexpr qint32 RunLength8 = 1;

QByteArray asPng() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImage(BitmapFolder::asset("Kon_W2.bmp")).save(&buffer, "PNG");
    return bytes;
}

QByteArray with16(QByteArray bytes, int offset, quint16 value) {
    qToLittleEndian<quint16>(value, bytes.data() + offset);
    return bytes;
}

QByteArray withDepth(quint16 bits) {
    return with16(soundBitmap(), BitsPerPixel, bits);
}

// One pixel row fewer than the header says, the headers' sizes telling the
// truth about the shorter file: only the row count shows that it is cut.
QByteArray oneRowShort() {
    const QByteArray sound = soundBitmap();
    const QByteArray cut = sound.left(sound.size() - RowBytes);
    const qint32 pixelBytes = qFromLittleEndian<qint32>(sound.constData() + ImageSize);
    return patched(patched(cut, DeclaredFileSize, qint32(cut.size())), ImageSize,
                   pixelBytes - RowBytes);
}

QByteArray mono4000() {
    QImage huge(4000, 4000, QImage::Format_Mono);
    huge.fill(0);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    huge.save(&buffer, "BMP");
    return bytes;
}

// Two megabytes that a browser would decode into a gigabyte.
QByteArray hugeRunLength() {
    const QByteArray header = patched(
        patched(patched(withDepth(8), Compression, RunLength8), Width, 16384), Height, 16384);
    return header + QByteArray(2 * 1024 * 1024, '\0');
}

bool write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
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
        {"missing", "не найден", nullptr,
         [](const QString& path) { return !QFile::exists(path) || QFile::remove(path); }, false},
        {"empty", "пуст", [] { return QByteArray(); }, nullptr, false},
        {"cut in half", "обрезан", [] { return soundBitmap().left(soundBitmap().size() / 2); },
         nullptr, false},
        {"header only", "байт из",
         [] {
             return soundBitmap().left(qFromLittleEndian<quint32>(soundBitmap().constData() + 10));
         },
         nullptr, false},
        {"text", "не рисунок BMP", [] { return QByteArray("A knight? No, a text file.\n"); },
         nullptr, false},
        {"png renamed", "не рисунок BMP", asPng, nullptr, false},
        {"60000 x 60000", "слишком большой размер рисунка: 60000 × 60000",
         [] { return patched(patched(soundBitmap(), Width, 60000), Height, 60000); }, nullptr,
         false},
        {"zero width", "недопустимый размер 0 × 55",
         [] { return patched(soundBitmap(), Width, 0); }, nullptr, false},
        {"zero height", "недопустимый размер 55 × 0",
         [] { return patched(soundBitmap(), Height, 0); }, nullptr, false},
        {"negative width", "недопустимый размер -55 × 55",
         [] { return patched(soundBitmap(), Width, -55); }, nullptr, false},
        {"lowest height", "недопустимый размер 55 × -2147483648",
         [] { return patched(soundBitmap(), Height, std::numeric_limits<qint32>::min()); }, nullptr,
         false},
        {"4000 x 4000 at 1 bit", "слишком большой размер рисунка: 4000 × 4000", mono4000, nullptr,
         false},
        {"declares a larger file", "байт из 1000000000",
         [] { return patched(soundBitmap(), DeclaredFileSize, 1'000'000'000); }, nullptr, false},
        {"one pixel row short", "файл обрезан: в нём 12002 байт из 12222", oneRowShort, nullptr,
         false},
        {"run-length compressed", "сжатый BMP не поддерживается (способ сжатия 1)",
         [] { return patched(withDepth(8), Compression, RunLength8); }, nullptr, false},
        {"run-length, 16384 x 16384 in 2 MB", "способ сжатия 1", hugeRunLength, nullptr, false},
        {"7 bits a pixel", "глубина цвета 7", [] { return withDepth(7); }, nullptr, false},
        {"bit fields at 24 bits", "битовые маски при глубине цвета 24",
         [] { return withDepth(24); }, nullptr, false},
        {"a table of 2^32 colours", "таблица из 4294967295 цветов",
         [] { return patched(patched(withDepth(8), Compression, 0), ColoursUsed, -1); }, nullptr,
         false},
        {"unknown header", "неизвестного вида, 52 байт",
         [] { return patched(soundBitmap(), HeaderSize, 52); }, nullptr, false},
        {"two planes", "плоскостей 2", [] { return with16(soundBitmap(), Planes, 2); }, nullptr,
         false},
        {"pixels inside the header", "внутри заголовка, со смещения 30",
         [] { return patched(soundBitmap(), PixelsOffset, 30); }, nullptr, false},
        {"larger than any bitmap", "файл больше 8388608 байт",
         [] { return soundBitmap() + QByteArray(9 * 1024 * 1024, '\0'); }, nullptr, false},
        {"folder", "папка", nullptr, [](const QString& path) { return QDir().mkdir(path); }, false},
#ifdef Q_OS_UNIX // Windows has neither
        {"fifo", "не обычный файл", nullptr,
         [](const QString& path) { return mkfifo(QFile::encodeName(path).constData(), 0600) == 0; },
         false},
        {"dangling link", "ссылка", nullptr,
         [](const QString& path) { return QFile::link(path + ".gone", path); }, false},
        {"no read permission", "нет прав на чтение файла", nullptr,
         [](const QString& path) {
             return write(path, soundBitmap()) && QFile::setPermissions(path, QFile::WriteOwner);
         },
         true},
        {"in a folder that may not be entered", "нет прав на вход в папку", nullptr,
         [](const QString& path) {
             return write(path, soundBitmap()) &&
                    QFile::setPermissions(QFileInfo(path).path(),
                                          QFile::ReadOwner | QFile::WriteOwner);
         },
         true},
#endif
    };
    return kinds;
}

void addHostileKindRows(bool withOrdinaryUserKinds) {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    for (const auto& kind : hostileKinds()) {
        if (kind.asOrdinaryUser && !withOrdinaryUserKinds) {
            continue;
        }
        QTest::newRow(kind.name) << QString::fromLatin1(kind.name)
                                 << QString::fromUtf8(kind.reason);
    }
}

QString refusalToAnOrdinaryUser(const QString& path) {
    QString program = QStringLiteral(TARVIK_READ_BITMAP);
    QStringList arguments{path};
#ifdef Q_OS_UNIX
    if (geteuid() == 0) {
        arguments =
            QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", program} + arguments;
        program = QStringLiteral("setpriv");
    }
#endif
    QProcess reader;
    reader.start(program, arguments);
    if (!reader.waitForFinished(10000)) {
        qWarning("%s did not end within 10 s", qPrintable(program));
    }
    return QString::fromUtf8(reader.readAllStandardOutput() + reader.readAllStandardError())
        .trimmed();
}

const HostileKind& hostileKind(const QString& name) {
    for (const HostileKind& kind : hostileKinds()) {
        if (name == QLatin1String(kind.name)) {
            return kind;
        }
    }
    qFatal("no hostile kind %s", qPrintable(name));
}

bool makeHostileFile(const QString& kind, const QString& path) {
    const HostileKind& hostile = hostileKind(kind);
    QFile::remove(path);
    return hostile.bytes != nullptr ? write(path, hostile.bytes()) : hostile.place(path);
}
