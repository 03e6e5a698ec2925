// The bitmap rules as the page has them, compiled by the same emscripten, run
// under node: for each file named, one line with what the rules say of its
// first bytes, as many as the page fetches ("" when a decoder may have them).
// The tests compare every line with the desktop build's answer.

#include "bitmap_rules.h"

#include <cstdio>
#include <fstream>
#include <vector>

int main(int argc, char** argv) {
    for (int index = 1; index < argc; ++index) {
        std::vector<unsigned char> bytes(std::size_t(BitmapLimits::MaxFileBytes + 1));
        std::ifstream file(argv[index], std::ios::binary);
        file.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
        bytes.resize(std::size_t(file.gcount()));
        std::printf("%s\n", bitmapRefusal(bytes).c_str());
    }
}
