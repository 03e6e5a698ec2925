// libFuzzer target: the bytes become a bitmap file that is read exactly as a
// cell reads one. Any input must give an image or a PictureLoadError.

#include "bitmap_file.h"
#include "bitmap_rules.h"
#include "cell.h"
#include "program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdlib>

namespace {

QString scratchFile() {
    const QString folder =
        QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    return folder + QStringLiteral("/tarvik-fuzz-%1.bmp").arg(QCoreApplication::applicationPid());
}

} // namespace

// Without an application object Qt looks for image plugins again at every
// read, which makes fuzzing a hundred times slower.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString path = scratchFile();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size)) {
        std::abort();
    }
    file.close();
    try {
        const QImage image = readBitmapFile(pathFromText(path));
        if (image.isNull() || !BitmapLimits::fitsInPicture(image.width(), image.height())) {
            std::abort();
        }
    } catch (const PictureLoadError&) {
    }
    return 0;
}
