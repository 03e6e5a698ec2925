#include "bitmap_file.h"

#include "bitmap_rules.h"
#include "program_folder.h"
#include "wording.h"

#include <QBuffer>
#include <QImageReader>
#include <cerrno>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// What the system said when it could not look at or open the file.
std::string systemFailure(std::error_code error) {
    using namespace Wording::Reason;
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted) {
        return NoPermission;
    }
    if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory) {
        return NotFound;
    }
    return CannotOpen;
}

// A folder, a FIFO or a device is refused before it is opened, so that
// opening can never wait. A folder on the way that may not be entered is told
// from a file that is not there.
std::string fileFailure(const fs::path& path) {
    using namespace Wording::Reason;
    std::error_code error;
    const fs::file_status link = fs::symlink_status(path, error);
    if (error == std::errc::permission_denied) {
        return FolderNotEntered;
    }
    const fs::file_status file = fs::status(path, error);
    if (fs::is_symlink(link) && !fs::exists(file)) {
        return DanglingLink;
    }
    if (error) {
        return systemFailure(error);
    }
    if (fs::is_directory(file)) {
        return Folder;
    }
    return fs::is_regular_file(file) ? std::string() : NotRegular;
}

// One byte more than the file should hold tells that it is over the cap or
// grew while being read, without reserving the whole cap.
QByteArray readWholeFile(const fs::path& path, std::string& failure) {
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        failure = systemFailure(std::error_code(errno, std::generic_category()));
        return {};
    }
    std::error_code error;
    const auto size = static_cast<std::int64_t>(fs::file_size(path, error));
    QByteArray bytes(qsizetype(std::min(error ? 0 : size, BitmapLimits::MaxFileBytes) + 1),
                     Qt::Uninitialized);
    file.read(bytes.data(), bytes.size());
    if (file.bad()) {
        failure = Wording::Reason::Unreadable;
    }
    bytes.resize(qsizetype(file.gcount()));
    return bytes;
}

} // namespace

QImage decodeBitmap(const QByteArray& bytes, QString& failure) {
    failure = QString::fromStdString(bitmapRefusal(
        {reinterpret_cast<const unsigned char*>(bytes.constData()), std::size_t(bytes.size())}));
    if (!failure.isEmpty()) {
        return {};
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAllocationLimit(int(BitmapLimits::MaxPictureBytes / (1024 * 1024)));
    QImage image = reader.read();
    if (image.isNull()) {
        failure = QString::fromUtf8(Wording::Reason::Undecodable);
    }
    return image;
}

QImage readBitmapFile(const fs::path& path) {
    std::string failure = fileFailure(path);
    QImage image;
    if (failure.empty()) {
        const QByteArray bytes = readWholeFile(path, failure);
        if (failure.empty()) {
            QString undecoded;
            image = decodeBitmap(bytes, undecoded);
            failure = undecoded.toStdString();
        }
    }
    if (!failure.empty()) {
        throw PictureLoadError(Wording::pictureLoadFailure(heldPath(path), failure));
    }
    return image;
}
