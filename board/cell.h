#pragma once

#include "colour.h"

#include <cstdint>
#include <stdexcept>
#include <string>

// How large a bitmap file, and the picture decoded from it, may be.
namespace BitmapLimits {
constexpr std::int64_t MaxFileBytes = 8 * 1024 * 1024;
// What the decoded picture may take at four bytes a pixel, as it will once it
// is drawn, whatever depth the file stores.
constexpr std::int64_t MaxPictureBytes = 16 * 1024 * 1024;

constexpr bool fitsInPicture(std::int64_t width, std::int64_t height) {
    return width * height * 4 <= MaxPictureBytes;
}
} // namespace BitmapLimits

// Raised by Cell::loadPicture; the message names the file's full path and why
// it could not be loaded.
class PictureLoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The only ways the board paints a square. The window's picture cells
// implement it; the tests implement it with a recording fake.
class Cell {
public:
    virtual ~Cell() = default;

    virtual void setBackColor(ColourValue colour) = 0;
    // Reads and decodes the file at this call, every time: never from a cache.
    // Throws PictureLoadError and leaves the cell as it was when that fails.
    virtual void loadPicture(const std::string& fullPath) = 0;
    virtual void clearPicture() = 0;
};
