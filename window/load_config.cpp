// Windows looks for the DLLs a program imports in the program's own folder
// first, and anyone who can write beside an unpacked zip could plant one
// there. Only the Known DLLs are exempt, and Qt imports many more. With
// LOAD_LIBRARY_SEARCH_SYSTEM32 in its load configuration's
// DependentLoadFlags, Windows (10 1607 and later) takes every DLL the
// program imports from its own system folder. The linker does not fill in
// the load configuration's directory entry itself; load-config.py does,
// after linking, from this symbol.

#include <windows.h>

namespace {

consteval IMAGE_LOAD_CONFIG_DIRECTORY64 systemFolderOnly() {
    IMAGE_LOAD_CONFIG_DIRECTORY64 config{};
    config.Size = sizeof config;
    config.Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32; // DependentLoadFlags since Windows 10
    return config;
}

} // namespace

extern "C" __attribute__((used)) constinit const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used =
    systemFolderOnly();
