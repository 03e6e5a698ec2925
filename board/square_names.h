#pragma once

#include "board.h"
#include "layout.h"

#include <array>
#include <string>

// What a screen reader says of each square: where it is and what stands on
// it, as the board has it now. Only names that changed are handed on, to
// rename(int cellNumber, const std::string& name).
class SquareNames {
public:
    template <typename Rename> void update(const Board& board, Rename rename) {
        for (int number = 1; number <= Layout::CellCount; ++number) {
            const char*& state = states_[number - 1];
            if (const char* now = stateOf(board, number); now != state) {
                state = now;
                rename(number, nameOf(number, now));
            }
        }
    }

private:
    static const char* stateOf(const Board& board, int number);
    static std::string nameOf(int number, const char* state);

    std::array<const char*, Layout::CellCount> states_{};
};
