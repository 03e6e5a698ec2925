#include "regular_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("RegularFile", text);
}

QString tooLarge(qint64 maxBytes) {
    return tr("файл больше %1 байт").arg(maxBytes);
}

#ifdef Q_OS_UNIX

QString describeErrno(int error) {
    switch (error) {
    case ENOENT:
        return tr("файл не найден");
    case EACCES:
        return tr("нет прав на чтение файла");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

QString describeNonRegular(mode_t mode) {
    return S_ISDIR(mode) ? tr("это папка, а не файл") : tr("это не обычный файл");
}

// Opening without O_NONBLOCK would wait forever on a FIFO, so the type is
// checked on the descriptor itself, after a non-blocking open.
FileContents readOpenFile(int fd, qint64 maxBytes) {
    struct stat status {};
    if (fstat(fd, &status) != 0) {
        return {{}, describeErrno(errno)};
    }
    if (!S_ISREG(status.st_mode)) {
        return {{}, describeNonRegular(status.st_mode)};
    }
    if (status.st_size > maxBytes) {
        return {{}, tooLarge(maxBytes)};
    }
    QByteArray bytes(static_cast<qsizetype>(status.st_size) + 1, Qt::Uninitialized);
    qsizetype total = 0;
    while (total < bytes.size()) {
        const ssize_t got =
            ::read(fd, bytes.data() + total, static_cast<size_t>(bytes.size() - total));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return {{}, describeErrno(errno)};
        }
        if (got == 0) {
            break;
        }
        total += got;
    }
    if (total > maxBytes) {
        return {{}, tooLarge(maxBytes)};
    }
    bytes.truncate(total);
    return {bytes, {}};
}

} // namespace

FileContents readRegularFile(const QString& path, qint64 maxBytes) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT && QFileInfo(path).isSymLink()) {
            return {{}, tr("символическая ссылка ведёт в никуда")};
        }
        return {{}, describeErrno(error)};
    }
    FileContents contents = readOpenFile(fd, maxBytes);
    ::close(fd);
    return contents;
}

#else

} // namespace

FileContents readRegularFile(const QString& path, qint64 maxBytes) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return {{},
                info.isSymLink() ? tr("символическая ссылка ведёт в никуда")
                                 : tr("файл не найден")};
    }
    if (!info.isFile()) {
        return {{}, info.isDir() ? tr("это папка, а не файл") : tr("это не обычный файл")};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {{}, file.errorString()};
    }
    QByteArray bytes = file.read(maxBytes + 1);
    if (bytes.size() > maxBytes) {
        return {{}, tooLarge(maxBytes)};
    }
    return {bytes, {}};
}

#endif
