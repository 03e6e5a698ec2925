// Reads one bitmap file as a cell does and prints why it could not, for the
// tests that must read as an ordinary user: read_bitmap PATH

#include "bitmap_file.h"
#include "program_folder.h"

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: read_bitmap PATH\n", stderr);
        return 2;
    }
    try {
        readBitmapFile(std::filesystem::path(argv[1]));
        std::puts("read");
    } catch (const PictureLoadError& error) {
        std::puts(error.what());
    }
    return 0;
}
