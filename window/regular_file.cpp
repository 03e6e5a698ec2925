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

QString missing(bool danglingLink) {
    return danglingLink ? tr("символическая ссылка ведёт в никуда") : tr("файл не найден");
}

QString notRegular(bool folder) {
    return folder ? tr("это папка, а не файл") : tr("это не обычный файл");
}

} // namespace

#ifdef Q_OS_UNIX

namespace {

QString describeErrno(int error) {
    switch (error) {
    case ENOENT:
        return missing(false);
    case EACCES:
        return tr("нет прав на чтение файла");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

// Opening without O_NONBLOCK would wait forever on a FIFO, so the type is
// checked on the descriptor itself, after a non-blocking open.
FileContents readOpenFile(int fd, qint64 maxBytes) {
    struct stat status {};
    if (fstat(fd, &status) != 0) {
        return {{}, describeErrno(errno)};
    }
    if (!S_ISREG(status.st_mode)) {
        return {{}, notRegular(S_ISDIR(status.st_mode))};
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
        return {{}, error == ENOENT ? missing(QFileInfo(path).isSymLink()) : describeErrno(error)};
    }
    FileContents contents = readOpenFile(fd, maxBytes);
    ::close(fd);
    return contents;
}

#else

FileContents readRegularFile(const QString& path, qint64 maxBytes) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return {{}, missing(info.isSymLink())};
    }
    if (!info.isFile()) {
        return {{}, notRegular(info.isDir())};
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
