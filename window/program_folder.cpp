#include "program_folder.h"

#include <QCoreApplication>

std::filesystem::path programFolder() {
#ifdef Q_OS_LINUX
    // Qt carries the name as text, and a name that is not UTF-8 does not
    // survive that: Qt then answers with no folder at all.
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        return program.parent_path();
    }
#endif
    return pathFromText(QCoreApplication::applicationDirPath());
}

std::filesystem::path pathFromText(const QString& text) {
    return std::filesystem::path(text.toStdU16String());
}

std::string heldPath(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return {name.begin(), name.end()};
}

std::filesystem::path pathFromHeld(const std::string& held) {
    return std::filesystem::path(std::u8string(held.begin(), held.end()));
}
