#include "square_names.h"

const char* SquareNames::stateOf(const Board& board, int number) {
    const Coord row = Layout::rowOfCell(number);
    const Coord col = Layout::colOfCell(number);
    if (row == board.KnightRow && col == board.KnightCol) {
        return "конь";
    }
    return board.Visited(row, col) != 0 ? "пройдена" : "свободна";
}

std::string SquareNames::nameOf(int number, const char* state) {
    return "Ряд " + std::to_string(Layout::rowOfCell(number)) + ", столбец " +
           std::to_string(Layout::colOfCell(number)) + ": " + state;
}
