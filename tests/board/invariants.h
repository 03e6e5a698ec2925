#pragma once

#include "board.h"

#include <functional>
#include <string>

// The file name of the bitmap a square's cell shows ("Kon_W.bmp"), "" for the
// empty picture.
using ShownPicture = std::function<std::string(Coord row, Coord col)>;

// The file name at the end of a full path, after its last "/" or "\\".
std::string fileNameOf(const std::string& path);

// Every way the four board invariants are broken, one line each: the knight on
// the board and on a taken square, its cell the only knight picture, every
// other taken square a mark picture of its colour, every free square empty.
std::string invariantViolations(const Board& board, const ShownPicture& shown);
