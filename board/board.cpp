#include "board.h"

#include "kept_game.h"
#include "layout.h"

#include <cstdlib>

void Board::startUp(const PathOf& applicationPath, const CellOf& cell) {
    setUp(applicationPath, cell);
    ResetBoard();
}

void Board::setUp(const PathOf& applicationPath, const CellOf& cell) {
    MarkOnWhitePath = applicationPath("Trelk_W.bmp");
    MarkOnGreyPath = applicationPath("Trelk.bmp");
    for (int number = 1; number <= Layout::CellCount; ++number) {
        Squares(Layout::rowOfCell(number), Layout::colOfCell(number)) = cell(number);
    }
    GreySquareColor = 0xC0C0C0;
    WhiteSquareColor = SystemColourFlag | SystemColourHighlightText;
    SetColor();
    KnightOnWhitePath = applicationPath("Kon_W.bmp");
    KnightOnGreyPath = applicationPath("Kon_W2.bmp");
}

void Board::SetColor() {
    for (Coord row = 1; row <= BoardSize; ++row) {
        for (Coord col = 1; col <= BoardSize; ++col) {
            Squares(row, col)->setBackColor(isGreySquare(row, col) ? GreySquareColor
                                                                   : WhiteSquareColor);
        }
    }
}

void Board::ResetBoard() {
    for (Coord row = 1; row <= BoardSize; ++row) {
        for (Coord col = 1; col <= BoardSize; ++col) {
            Visited(row, col) = 0;
        }
    }
    KnightRow = 8;
    KnightCol = 1;
    Visited(8, 1) = 1;
    for (Coord row = 1; row <= BoardSize; ++row) {
        for (Coord col = 1; col <= BoardSize; ++col) {
            Squares(row, col)->clearPicture();
        }
    }
    // (8, 1) is a grey square, so the grey-square knight is always right here.
    Squares(KnightRow, KnightCol)->loadPicture(KnightOnGreyPath);
}

void Board::SquareClick(Coord row, Coord col) {
    if (TaskMode == TaskKnightMove) {
        MoveKnight(row, col);
    } else if (TaskMode == TaskTour) {
        TourMove(row, col);
    }
}

std::array<const std::string*, 2> Board::picturesFor(Coord row, Coord col) const {
    if ((TaskMode != TaskKnightMove && TaskMode != TaskTour) || !isMove(row, col)) {
        return {};
    }
    if (TaskMode == TaskKnightMove) {
        return {&knightPath(row, col)};
    }
    return {&knightPath(row, col), &markPath(KnightRow, KnightCol)};
}

void Board::resume(const KeptGame& game) {
    TaskMode = game.taskMode;
    KnightRow = game.knightRow;
    KnightCol = game.knightCol;
    for (Coord row = 1; row <= BoardSize; ++row) {
        for (Coord col = 1; col <= BoardSize; ++col) {
            Visited(row, col) = game.marked(row, col);
            if (row == KnightRow && col == KnightCol) {
                Squares(row, col)->loadPicture(knightPath(row, col));
            } else if (Visited(row, col) != 0) {
                Squares(row, col)->loadPicture(markPath(row, col));
            }
        }
    }
}

bool Board::isMove(Coord row, Coord col) const {
    // Visited first, so that a square off the board is always an error.
    const bool free = Visited(row, col) == 0;
    const int rowDistance = std::abs(row - KnightRow);
    const int colDistance = std::abs(col - KnightCol);
    return free && rowDistance != 0 && colDistance != 0 && rowDistance + colDistance == 3;
}

const std::string& Board::knightPath(Coord row, Coord col) const {
    return isGreySquare(row, col) ? KnightOnGreyPath : KnightOnWhitePath;
}

const std::string& Board::markPath(Coord row, Coord col) const {
    return isGreySquare(row, col) ? MarkOnGreyPath : MarkOnWhitePath;
}

// Each step below is done in this order on purpose: when a picture cannot be
// loaded, the steps before it stay done and the ones after it never happen.
void Board::MoveKnight(Coord row, Coord col) {
    if (!isMove(row, col)) {
        return;
    }
    Squares(row, col)->loadPicture(knightPath(row, col));
    Visited(row, col) = 1;
    Squares(KnightRow, KnightCol)->clearPicture();
    Visited(KnightRow, KnightCol) = 0;
    KnightRow = row;
    KnightCol = col;
}

void Board::TourMove(Coord row, Coord col) {
    if (!isMove(row, col)) {
        return;
    }
    Squares(row, col)->loadPicture(knightPath(row, col));
    Visited(row, col) = 1;
    Squares(KnightRow, KnightCol)->loadPicture(markPath(KnightRow, KnightCol));
    Visited(KnightRow, KnightCol) = 1;
    KnightRow = row;
    KnightCol = col;
}
