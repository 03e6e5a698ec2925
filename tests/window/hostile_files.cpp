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

// A seed of the fuzzer's, one of each kind of info header.
QByteArray seed(const QString& name) {
    QFile file(QStringLiteral(TARVIK_FUZZ_CORPUS "/") + name);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QByteArray topDown(QByteArray bytes) {
    const qint32 height = qFromLittleEndian<qint32>(bytes.constData() + Height);
    return patched(bytes, Height, -height);
}

// Each header field at the edges of what it can hold, in our own bitmap
// (55 × 55, 32 bits with bit fields, a 108-byte header) or in a seed of
// another kind of header; an edge at which the file is still sound has no row.
struct Field {
    int offset;
    qint64 value;
    int size = 4; // bytes
};
struct FieldEdge {
    const char* name;
    const char* reason;
    QList<Field> fields;
    const char* seed = nullptr; // or our own bitmap
};

constexpr qint64 Int32Max = std::numeric_limits<qint32>::max();
constexpr qint64 Int32Min = std::numeric_limits<qint32>::min();
constexpr qint64 Uint32Max = std::numeric_limits<quint32>::max();
constexpr int CoreWidth = 18, CoreHeight = 20; // 16 bits each in OS/2's first header
const char* const Core24 = "header-12-24bit.bmp";

const QList<FieldEdge> fieldEdges{
    {"width -1 (0xFFFFFFFF)", "недопустимый размер -1 × 55", {{Width, -1}}},
    {"width INT32_MIN", "недопустимый размер -2147483648 × 55", {{Width, Int32Min}}},
    {"width INT32_MAX", "слишком большой размер рисунка: 2147483647 × 55", {{Width, Int32Max}}},
    {"height INT32_MAX", "слишком большой размер рисунка: 55 × 2147483647", {{Height, Int32Max}}},
    {"height -INT32_MAX, top-down",
     "слишком большой размер рисунка: 55 × 2147483647",
     {{Height, -Int32Max}}},
    {"INT32_MAX x INT32_MAX at 32 bits",
     "слишком большой размер рисунка: 2147483647 × 2147483647",
     {{Width, Int32Max}, {Height, Int32Max}}},
    {"INT32_MAX x INT32_MAX at 32 bits, top-down",
     "слишком большой размер рисунка: 2147483647 × 2147483647",
     {{Width, Int32Max}, {Height, -Int32Max}}},
    {"INT32_MAX x INT32_MAX at 24 bits",
     "слишком большой размер рисунка: 2147483647 × 2147483647",
     {{Width, Int32Max}, {Height, Int32Max}},
     "header-40-24bit.bmp"},
    {"INT32_MAX x INT32_MAX at 24 bits, top-down",
     "слишком большой размер рисунка: 2147483647 × 2147483647",
     {{Width, Int32Max}, {Height, -Int32Max}},
     "header-124-24bit.bmp"},
    {"60000 x 60000, top-down",
     "слишком большой размер рисунка: 60000 × 60000",
     {{Width, 60000}, {Height, -60000}}},
    {"OS/2 header, width -1", "недопустимый размер -1 × 3", {{CoreWidth, 0xFFFF, 2}}, Core24},
    {"OS/2 header, height INT16_MIN, top-down",
     "файл обрезан: в нём 74 байт из 524314",
     {{CoreHeight, 0x8000, 2}},
     Core24},
    {"OS/2 header, INT16_MAX x INT16_MAX",
     "слишком большой размер рисунка: 32767 × 32767",
     {{CoreWidth, 0x7FFF, 2}, {CoreHeight, 0x7FFF, 2}},
     Core24},
    {"planes 0", "плоскостей 0, а не одна", {{Planes, 0, 2}}},
    {"planes 65535", "плоскостей 65535, а не одна", {{Planes, 0xFFFF, 2}}},
    {"depth 0", "недопустимая глубина цвета 0", {{BitsPerPixel, 0, 2}}},
    {"depth 1 with bit fields", "битовые маски при глубине цвета 1", {{BitsPerPixel, 1, 2}}},
    {"depth 65535", "недопустимая глубина цвета 65535", {{BitsPerPixel, 0xFFFF, 2}}},
    {"compression INT32_MAX",
     "сжатый BMP не поддерживается (способ сжатия 2147483647)",
     {{Compression, Int32Max}}},
    {"compression UINT32_MAX",
     "сжатый BMP не поддерживается (способ сжатия 4294967295)",
     {{Compression, Uint32Max}}},
    {"a table of 257 colours", "таблица из 257 цветов", {{ColoursUsed, 257}}, "header-40-8bit.bmp"},
    {"a table of INT32_MAX colours",
     "таблица из 2147483647 цветов",
     {{ColoursUsed, Int32Max}},
     "header-40-8bit.bmp"},
    {"pixel offset 0", "внутри заголовка, со смещения 0", {{PixelsOffset, 0}}},
    {"pixel offset 1", "внутри заголовка, со смещения 1", {{PixelsOffset, 1}}},
    {"pixel offset INT32_MAX",
     "файл обрезан: в нём 12222 байт из 2147495747",
     {{PixelsOffset, Int32Max}}},
    {"pixel offset UINT32_MAX",
     "файл обрезан: в нём 12222 байт из 4294979395",
     {{PixelsOffset, Uint32Max}}},
    {"pixels inside the masks of a 3.x header",
     "внутри заголовка, со смещения 58",
     {{PixelsOffset, 58}},
     "header-40-16bit-bitfields.bmp"},
    {"declared file size INT32_MAX",
     "файл обрезан: в нём 12222 байт из 2147483647",
     {{DeclaredFileSize, Int32Max}}},
    {"declared file size UINT32_MAX",
     "файл обрезан: в нём 12222 байт из 4294967295",
     {{DeclaredFileSize, Uint32Max}}},
    {"header size 0", "заголовок неизвестного вида, 0 байт", {{HeaderSize, 0}}},
    {"header size UINT32_MAX",
     "файл обрезан: в нём 12222 байт, меньше заголовка",
     {{HeaderSize, Uint32Max}}},
};

QByteArray withFields(QByteArray bytes, const QList<Field>& fields) {
    for (const Field& field : fields) {
        bytes = field.size == 2 ? with16(bytes, field.offset, quint16(field.value))
                                : patched(bytes, field.offset, qint32(field.value));
    }
    return bytes;
}

// Where the colour table starts after each kind of header, in the seed of
// 8 bits: the pixels said to start four bytes into it.
constexpr std::pair<int, int> TableStarts[] = {
    {12, 26}, {40, 54}, {64, 78}, {108, 122}, {124, 138}};

QList<HostileKind> headerEdges() {
    QList<HostileKind> kinds;
    for (const FieldEdge& edge : fieldEdges) {
        kinds << HostileKind{
            edge.name,
            edge.reason,
            [edge] { return withFields(edge.seed ? seed(edge.seed) : soundBitmap(), edge.fields); },
            nullptr,
            false,
            true};
    }
    for (const auto& [header, table] : TableStarts) {
        const int inside = table + 4;
        kinds << HostileKind{
            "pixels inside the colour table, " + QByteArray::number(header) + "-byte header",
            "внутри заголовка, со смещения " + QByteArray::number(inside),
            [header, inside] {
                return patched(seed(QStringLiteral("header-%1-8bit.bmp").arg(header)), PixelsOffset,
                               inside);
            },
            nullptr,
            false,
            true};
    }
    return kinds;
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

namespace {

// What a whole program may meet in a file's place.
QList<HostileKind> fileKinds() {
    return {
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
        {"one pixel row short, top-down", "файл обрезан: в нём 12002 байт из 12222",
         [] { return topDown(oneRowShort()); }, nullptr, false},
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
}

} // namespace

const QList<HostileKind>& hostileKinds() {
    static const QList<HostileKind> kinds = fileKinds() + headerEdges();
    return kinds;
}

void addHostileKindRows(bool withOrdinaryUserKinds, bool withHeaderEdges) {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    for (const auto& kind : hostileKinds()) {
        if ((kind.asOrdinaryUser && !withOrdinaryUserKinds) ||
            (kind.headerEdge && !withHeaderEdges)) {
            continue;
        }
        QTest::newRow(kind.name.constData())
            << QString::fromLatin1(kind.name) << QString::fromUtf8(kind.reason);
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
