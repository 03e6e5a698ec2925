#include "page_cell.h"

#include "bitmap_rules.h"
#include "layout.h"
#include "page.h"
#include "wording.h"

#include <cmath>
#include <vector>

namespace {

// A system colour takes the scheme's highlight-text colour for its index, and
// the page's own colour for any other, as the window's colour does on the
// desktop.
int toRgb(ColourValue value) {
    if (isSystemColour(value)) {
        return tarvik_scheme_colour(
            systemColourIndex(value) == SystemColourHighlightText ? "HighlightText" : "Canvas");
    }
    return redOf(value) << 16 | greenOf(value) << 8 | blueOf(value);
}

void fill(const Layout::PixelRect& rect, int rgb) {
    tarvik_fill(rect.x, rect.y, rect.width, rect.height, rgb);
}

[[noreturn]] void fail(const std::string& path, const std::string& reason) {
    throw PictureLoadError(Wording::pictureLoadFailure(path, reason));
}

// The server's deadline for a whole file, through the worker or not: twice
// the worker's, so that where the worker keeps a copy, the copy comes first.
constexpr int FileDeadlineMs = 2 * TARVIK_SERVER_DEADLINE_MS;
// One byte more than any bitmap may hold at most, so that the rules can tell
// a larger file.
constexpr int FileLimit = int(BitmapLimits::MaxFileBytes + 1);
constexpr int NoAnswer = -1;

// Why the server's answer is not the file: its status, 0 when unreachable.
std::string unanswered(int status) {
    using namespace Wording::Reason;
    if (status == NoAnswer) {
        return ServerDidNotAnswer;
    }
    if (status == 404 || status == 410) {
        return NotFound;
    }
    if (status == 401 || status == 403) {
        return NoPermission;
    }
    return status == 0 ? ServerUnreachable : serverAnswered(status);
}

std::vector<unsigned char> fetchFile(const std::string& path) {
    int status = 0;
    const int size = tarvik_fetch_file(path.c_str(), FileLimit, FileDeadlineMs, &status);
    if (size < 0) {
        fail(path, unanswered(status));
    }
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
    tarvik_take_file(bytes.data());
    return bytes;
}

} // namespace

void askForPictures(const Board& board, Coord row, Coord col) {
    for (const std::string* path : board.picturesFor(row, col)) {
        if (path != nullptr) {
            tarvik_ask_for_file(path->c_str(), FileLimit, FileDeadlineMs);
        }
    }
}

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

// Nothing decodes a file that the rules refuse.
void PageCell::loadPicture(const std::string& fullPath) {
    const std::vector<unsigned char> bytes = fetchFile(fullPath);
    if (const std::string refusal = bitmapRefusal(bytes); !refusal.empty()) {
        fail(fullPath, refusal);
    }
    const int picture = tarvik_decode_picture(bytes.data(), static_cast<int>(bytes.size()));
    if (picture == 0) {
        fail(fullPath, Wording::Reason::Undecodable);
    }
    releasePicture();
    picture_ = picture;
    paint();
}

void PageCell::clearPicture() {
    if (picture_ == 0) {
        return; // nothing to repaint
    }
    releasePicture();
    paint();
}

// Only the inside: the frame lines never change, and the board paints them
// all at once (frmMain::sizeBoard).
void PageCell::paint() const {
    const double ratio = tarvik_device_ratio();
    const Layout::PixelRect inner =
        Layout::deviceTile(Layout::leftOfCell(number_), Layout::topOfCell(number_), ratio).inner;
    fill(inner, toRgb(backColor_));
    if (picture_ != 0) {
        // Natural size; pixel doubling would make uneven rows at fractional zooms.
        const bool whole = ratio == std::floor(ratio);
        tarvik_draw_picture(picture_, inner.x, inner.y, inner.width, inner.height, ratio, !whole);
    }
}
