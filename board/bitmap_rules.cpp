#include "bitmap_rules.h"

#include "wording.h"

#include <algorithm>
#include <cstddef>

namespace {

using Bytes = std::span<const unsigned char>;

constexpr std::size_t FileHeaderBytes = 14;
// The info header's kinds by their size: OS/2's first, with 16-bit sizes and
// three-byte colours; Windows' 3.x, OS/2's second, Windows' 4.x and 5.x.
constexpr std::uint32_t CoreHeader = 12;
constexpr std::uint32_t KnownHeaders[] = {CoreHeader, 40, 64, 108, 124};
// From 4.x on, the colour masks are part of the header.
constexpr std::uint32_t HeaderWithMasks = 108;
constexpr std::uint32_t Uncompressed = 0;
constexpr std::uint32_t BitFields = 3;
constexpr std::int64_t MostColours = 256;

std::uint32_t u32(Bytes bytes, std::size_t offset) {
    return std::uint32_t(bytes[offset]) | std::uint32_t(bytes[offset + 1]) << 8 |
           std::uint32_t(bytes[offset + 2]) << 16 | std::uint32_t(bytes[offset + 3]) << 24;
}

std::uint16_t u16(Bytes bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

// What the headers say, as far as the rules need it.
struct Declared {
    std::uint32_t size = 0; // of the info header
    std::int64_t width = 0;
    std::int64_t height = 0; // negative when the rows run top-down
    std::int64_t planes = 0;
    std::int64_t bitsPerPixel = 0;
    std::uint32_t compression = Uncompressed;
    std::int64_t colours = 0; // entries in the colour table
    std::int64_t pixelsOffset = 0;
    std::int64_t declaredFileBytes = 0;

    std::int64_t absoluteHeight() const { return height < 0 ? -height : height; }
    // Where the colour table starts, after the masks a 3.x header leaves out.
    std::int64_t tableOffset() const {
        const bool masks = compression == BitFields && size < HeaderWithMasks;
        return std::int64_t(FileHeaderBytes + size) + (masks ? 12 : 0);
    }
    std::int64_t tableEnd() const { return tableOffset() + colours * (size == CoreHeader ? 3 : 4); }
    std::int64_t rowBytes() const { return (width * bitsPerPixel + 31) / 32 * 4; }
};

// Needs the whole info header.
Declared read(Bytes bytes) {
    Declared header;
    header.size = u32(bytes, 14);
    header.pixelsOffset = u32(bytes, 10);
    header.declaredFileBytes = u32(bytes, 2);
    if (header.size == CoreHeader) {
        header.width = static_cast<std::int16_t>(u16(bytes, 18));
        header.height = static_cast<std::int16_t>(u16(bytes, 20));
        header.planes = u16(bytes, 22);
        header.bitsPerPixel = u16(bytes, 24);
    } else {
        header.width = static_cast<std::int32_t>(u32(bytes, 18));
        header.height = static_cast<std::int32_t>(u32(bytes, 22));
        header.planes = u16(bytes, 26);
        header.bitsPerPixel = u16(bytes, 28);
        header.compression = u32(bytes, 30);
        header.colours = u32(bytes, 46);
    }
    if (header.bitsPerPixel <= 8 && header.colours == 0) {
        header.colours = std::int64_t(1) << header.bitsPerPixel;
    } else if (header.bitsPerPixel > 8) {
        header.colours = 0; // a table there is only a hint, and no decoder needs it
    }
    return header;
}

// What in a header no decoder should be given, or "".
std::string headerFault(const Declared& header) {
    namespace Says = Wording::Reason::Header;
    const auto depth = header.bitsPerPixel;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32) {
        return Says::depth(depth);
    }
    if (header.compression == BitFields && depth != 16 && depth != 32) {
        return Says::bitFields(depth);
    }
    // The lowest height has no positive counterpart.
    if (header.width <= 0 || header.height == 0 || header.height == INT32_MIN) {
        return Says::size(header.width, header.height);
    }
    if (header.planes != 1) {
        return Says::planes(header.planes);
    }
    if (header.colours > MostColours) {
        return Says::colourTable(header.colours);
    }
    if (header.pixelsOffset < header.tableEnd()) {
        return Says::pixelsInsideHeader(header.pixelsOffset);
    }
    return {};
}

// The file's length that the headers promise, for a picture that fits: its
// rows then hold at most a few times MaxPictureBytes, far from overflowing.
std::int64_t promisedBytes(const Declared& header) {
    return std::max(header.pixelsOffset + header.rowBytes() * header.absoluteHeight(),
                    header.declaredFileBytes);
}

} // namespace

std::string bitmapRefusal(Bytes bytes) {
    using namespace Wording::Reason;
    const auto fileBytes = static_cast<std::int64_t>(bytes.size());
    if (bytes.empty()) {
        return Empty;
    }
    if (fileBytes > BitmapLimits::MaxFileBytes) {
        return largerThan(BitmapLimits::MaxFileBytes);
    }
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') {
        return NotBitmap;
    }
    if (bytes.size() < FileHeaderBytes + 4 ||
        fileBytes < std::int64_t(FileHeaderBytes) + u32(bytes, 14)) {
        return cutInHeader(fileBytes);
    }
    const std::uint32_t kind = u32(bytes, 14);
    if (std::find(std::begin(KnownHeaders), std::end(KnownHeaders), kind) ==
        std::end(KnownHeaders)) {
        return Header::unknownKind(kind);
    }
    const Declared header = read(bytes);
    if (header.compression != Uncompressed && header.compression != BitFields) {
        return compressed(header.compression);
    }
    if (std::string fault = headerFault(header); !fault.empty()) {
        return fault;
    }
    if (!BitmapLimits::fitsInPicture(header.width, header.absoluteHeight())) {
        return pictureTooLarge(header.width, header.absoluteHeight());
    }
    if (const std::int64_t promised = promisedBytes(header); fileBytes < promised) {
        return cutShort(fileBytes, promised);
    }
    return {};
}
