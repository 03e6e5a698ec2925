#pragma once

// The rules and sizes the tests check the program against, written once here
// and not taken from the program's own code.

#include <array>
#include <utility>

namespace TestRules {

constexpr std::array<std::pair<int, int>, 8> KnightJumps{
    {{1, 2}, {2, 1}, {-1, 2}, {-2, 1}, {1, -2}, {2, -1}, {-1, -2}, {-2, -1}}};

constexpr bool isGreySquare(int row, int col) {
    return (row + col) % 2 != 0;
}
constexpr int GreyValue = 192; // red, green and blue of a grey square

// The board in pixels at 100 %: cells 57 wide, each 56 from the last so that
// neighbours share their frame line, the bottom line hidden.
constexpr int CellStep = 56;
constexpr int CellSide = 57;
constexpr int InnerSide = 55;
constexpr int ClientWidth = 449;
constexpr int ClientHeight = 448;

constexpr std::array<const char*, 4> BitmapNames{"Kon_W.bmp", "Kon_W2.bmp", "Trelk_W.bmp",
                                                 "Trelk.bmp"};

} // namespace TestRules
