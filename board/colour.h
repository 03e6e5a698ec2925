#pragma once

#include <cstdint>

// A 32-bit colour value. With the top bit clear it is RGB, red in the lowest
// byte; with the top bit set the low byte names a colour of the user's scheme.
using ColourValue = std::uint32_t;

constexpr ColourValue SystemColourFlag = 0x80000000u;
constexpr int SystemColourHighlightText = 14;

constexpr bool isSystemColour(ColourValue value) {
    return (value & SystemColourFlag) != 0;
}
constexpr int systemColourIndex(ColourValue value) {
    return static_cast<int>(value & 0xFFu);
}
constexpr int redOf(ColourValue value) {
    return static_cast<int>(value & 0xFFu);
}
constexpr int greenOf(ColourValue value) {
    return static_cast<int>((value >> 8) & 0xFFu);
}
constexpr int blueOf(ColourValue value) {
    return static_cast<int>((value >> 16) & 0xFFu);
}
