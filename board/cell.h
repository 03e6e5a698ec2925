#pragma once

#include "colour.h"

#include <cstdint>
#include <stdexcept>
#include <string>

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
