#pragma once

#include "square_table.h"

#include <algorithm>
#include <cmath>

// Where the cells lie, in the window's pixels at 100 %. Cell N shows the square
// in row (N - 1) div 8 + 1, column (N - 1) mod 8 + 1.
namespace Layout {

constexpr int CellCount = BoardSize * BoardSize;
constexpr int CellSide = 57;
constexpr int CellStep = CellSide - 1; // neighbours share their frame line
// The bottom frame line of the lowest row lies outside the client area.
constexpr int ClientWidth = BoardSize * CellStep + 1;
constexpr int ClientHeight = BoardSize * CellStep;

constexpr Coord rowOfCell(int number) {
    return static_cast<Coord>((number - 1) / BoardSize + 1);
}
constexpr Coord colOfCell(int number) {
    return static_cast<Coord>((number - 1) % BoardSize + 1);
}
// The top-left corner of cell N in the client area.
constexpr int leftOfCell(int number) {
    return (colOfCell(number) - 1) * CellStep;
}
constexpr int topOfCell(int number) {
    return (rowOfCell(number) - 1) * CellStep;
}

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// A cell's four frame lines and its inner area in device pixels, for a cell
// whose top-left corner lies at `left`, `top` (unscaled pixels) at `ratio`
// device pixels to one. Every edge comes from a board position shared with
// the neighbour, rounded once, so that at any scale neighbours meet on the
// same pixel and every line is equally wide.
struct DeviceTile {
    PixelRect lines[4];
    PixelRect inner;
};

inline DeviceTile deviceTile(int left, int top, double ratio) {
    const auto edge = [ratio](int position) {
        return static_cast<int>(std::lround(position * ratio));
    };
    // As wide as the board's last device column, so the right edge is framed
    // by a whole line.
    const int line = std::max(1, static_cast<int>(std::lround(ratio)));
    const int x0 = edge(left);
    const int y0 = edge(top);
    const int x1 = edge(left + CellStep);
    const int y1 = edge(top + CellStep);
    return {{{x0, y0, x1 - x0 + line, line},
             {x0, y0, line, y1 - y0},
             {x1, y0, line, y1 - y0 + line},
             {x0, y1, x1 - x0, line}},
            {x0 + line, y0 + line, x1 - x0 - line, y1 - y0 - line}};
}

} // namespace Layout
