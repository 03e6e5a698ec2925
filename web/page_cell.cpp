#include "page_cell.h"

#include "layout.h"
#include "page.h"
#include "wording.h"

#include <cmath>

namespace {

constexpr int Black = 0x000000;

int toRgb(ColourValue value) {
    if (isSystemColour(value)) {
        return tarvik_system_colour(systemColourIndex(value));
    }
    return redOf(value) << 16 | greenOf(value) << 8 | blueOf(value);
}

void fill(const Layout::PixelRect& rect, int rgb) {
    tarvik_fill(rect.x, rect.y, rect.width, rect.height, rgb);
}

std::string reason(LoadFailure failure, const int details[2]) {
    using namespace Wording::Reason;
    switch (failure) {
    case LoadFailure::NotFound:
        return NotFound;
    case LoadFailure::NoPermission:
        return NoPermission;
    case LoadFailure::HttpStatus:
        return "сервер ответил кодом " + std::to_string(details[0]);
    case LoadFailure::Network:
        return std::string(Unreadable) + ": сервер недоступен";
    case LoadFailure::Empty:
        return Empty;
    case LoadFailure::TooLarge:
        return largerThan(BitmapLimits::MaxFileBytes);
    case LoadFailure::NotBitmap:
        return NotBitmap;
    case LoadFailure::PictureTooLarge:
        return pictureTooLarge(details[0], details[1]);
    case LoadFailure::Undecodable:
        break;
    }
    return Undecodable;
}

} // namespace

PageCell::~PageCell() {
    releasePicture();
}

void PageCell::releasePicture() {
    if (picture_ != 0) {
        tarvik_release_picture(picture_);
        picture_ = 0;
    }
}

void PageCell::setBackColor(ColourValue colour) {
    backColor_ = colour;
    paint();
}

void PageCell::loadPicture(const std::string& fullPath) {
    int details[2] = {};
    const int loaded = tarvik_load_picture(fullPath.c_str(), int(BitmapLimits::MaxFileBytes),
                                           int(BitmapLimits::MaxPictureBytes), details);
    if (loaded < 0) {
        throw PictureLoadError(
            Wording::pictureLoadFailure(fullPath, reason(LoadFailure(-loaded), details)));
    }
    releasePicture();
    picture_ = loaded;
    paint();
}

void PageCell::clearPicture() {
    if (picture_ == 0) {
        return; // nothing to repaint
    }
    releasePicture();
    paint();
}

void PageCell::paint() const {
    const double ratio = tarvik_device_ratio();
    const Layout::DeviceTile tile =
        Layout::deviceTile(Layout::leftOfCell(number_), Layout::topOfCell(number_), ratio);
    const Layout::PixelRect& rightLine = tile.lines[2];
    // The square's colour first, over all the cell may paint, then the
    // classic black frame line over it.
    fill({tile.lines[0].x, tile.lines[0].y, tile.lines[0].width,
          rightLine.y + rightLine.height - tile.lines[0].y},
         toRgb(backColor_));
    for (const Layout::PixelRect& line : tile.lines) {
        fill(line, Black);
    }
    if (picture_ != 0) {
        // Natural size; pixel doubling would make uneven rows at fractional zooms.
        const bool whole = ratio == std::floor(ratio);
        tarvik_draw_picture(picture_, tile.inner.x, tile.inner.y, tile.inner.width,
                            tile.inner.height, ratio, !whole);
    }
}
