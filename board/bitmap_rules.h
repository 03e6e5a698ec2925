#pragma once

#include <cstdint>
#include <span>
#include <string>

// How large a bitmap file, and the picture decoded from it, may be.
namespace BitmapLimits {
constexpr std::int64_t MaxFileBytes = 8 * 1024 * 1024;
// What the decoded picture may take at four bytes a pixel, as it will once it
// is drawn, whatever depth the file stores.
constexpr std::int64_t MaxPictureBytes = 16 * 1024 * 1024;

// For a width and a height of 0 or more, up to any value a header can hold:
// divided, never multiplied, so that no product can overflow.
constexpr bool fitsInPicture(std::int64_t width, std::int64_t height) {
    return height == 0 || width <= MaxPictureBytes / 4 / height;
}
} // namespace BitmapLimits

// The one set of rules every front end applies to a bitmap file's bytes
// before anything decodes them: "" when a decoder may have them, else why
// not, in the program's words. Only the headers are read, so a file that
// declares a huge picture is refused at once, whatever it holds. `bytes` may
// hold one byte more than BitmapLimits::MaxFileBytes, to tell a larger file.
std::string bitmapRefusal(std::span<const unsigned char> bytes);
