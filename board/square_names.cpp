#include "square_names.h"

namespace {

const char* stateOf(const Board& board, Coord row, Coord col) {
    if (row == board.KnightRow && col == board.KnightCol) {
        return "конь";
    }
    return board.Visited(row, col) != 0 ? "пройдена" : "свободна";
}

} // namespace

void SquareNames::update(const Board& board, const Rename& rename) {
    for (int number = 1; number <= Layout::CellCount; ++number) {
        const Coord row = Layout::rowOfCell(number);
        const Coord col = Layout::colOfCell(number);
        const char* state = stateOf(board, row, col);
        if (state != states_[number - 1]) {
            states_[number - 1] = state;
            rename(number, "Ряд " + std::to_string(row) + ", столбец " + std::to_string(col) +
                               ": " + state);
        }
    }
}
