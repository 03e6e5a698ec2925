#pragma once

#include "board.h"

#include <optional>
#include <string>
#include <string_view>

// The game in progress as the page keeps it within its tab, so that a page the
// browser ended comes back as the player left it; the desktop keeps nothing.
// One short line: the release that wrote it, the task, and the 64 squares row
// by row, '0' free, '1' marked, 'K' the knight's.
struct KeptGame {
    std::int16_t taskMode = TaskNone;
    Coord knightRow = 8;
    Coord knightCol = 1;
    SquareTable<std::int16_t> marked{"marked"}; // as Visited
};

std::string keptGame(const Board& board, std::string_view release);
// The game the line keeps, or nothing when it is not one that this release
// wrote and that play could have reached: anything else is dropped.
std::optional<KeptGame> readKeptGame(std::string_view line, std::string_view release);
