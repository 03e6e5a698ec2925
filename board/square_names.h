#pragma once

#include "board.h"
#include "layout.h"

#include <array>
#include <functional>
#include <string>

// What a screen reader says of each square: where it is and what stands on
// it, as the board has it now. Only names that changed are handed on.
class SquareNames {
public:
    using Rename = std::function<void(int cellNumber, const std::string& name)>;

    void update(const Board& board, const Rename& rename);

private:
    std::array<const char*, Layout::CellCount> states_{};
};
