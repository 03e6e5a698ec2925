#pragma once

#include "board.h"

#include <functional>
#include <string>

// The full path of the picture a square's cell shows, "" for the empty picture.
using ShownPicture = std::function<std::string(Coord row, Coord col)>;

// Every way the four board invariants are broken, one line each: the knight on
// the board and on a taken square, its cell the only knight picture, every
// other taken square a mark picture of its colour, every free square empty.
std::string invariantViolations(const Board& board, const ShownPicture& shown);
