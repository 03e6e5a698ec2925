#pragma once

#include "cell.h"
#include "colour.h"
#include "square_table.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

constexpr std::int16_t TaskNone = 0;
constexpr std::int16_t TaskKnightMove = 1;
constexpr std::int16_t TaskTour = 2;

struct KeptGame;

// The whole memory of the puzzle and its rules. The window owns one and binds
// its 64 cells into Squares; everything else starts zero or empty.
struct Board {
    SquareTable<Cell*> Squares{"Squares"};
    SquareTable<std::int16_t> Visited{"Visited"}; // 0 free, 1 taken
    Coord KnightRow = 0;
    Coord KnightCol = 0;
    std::int16_t TaskMode = TaskNone;

    std::string KnightOnWhitePath;
    std::string KnightOnGreyPath;
    std::string MarkOnWhitePath;
    std::string MarkOnGreyPath;
    ColourValue GreySquareColor = 0;
    ColourValue WhiteSquareColor = 0;

    using PathOf = std::function<std::string(const char* fileName)>;
    using CellOf = std::function<Cell*(int number)>;

    // Start-up after the credits box, in its order: setUp, then ResetBoard.
    void startUp(const PathOf& applicationPath, const CellOf& cell);
    // The two mark paths, the 64 cells bound, the two colours, SetColor and
    // the two knight paths. Paths are built by applicationPath(fileName);
    // cell(N) is the cell numbered N, 1..64.
    void setUp(const PathOf& applicationPath, const CellOf& cell);
    // Paints the chequered backgrounds; called once, at start-up.
    void SetColor();
    // Clears every mark and picture and puts the knight on (8, 1).
    void ResetBoard();
    // A click on the square (row, col), 1..8, handled by the chosen task.
    void SquareClick(Coord row, Coord col);
    // The files SquareClick(row, col) would load, in the order it loads them,
    // then null: none for a click it refuses.
    std::array<const std::string*, 2> picturesFor(Coord row, Coord col) const;
    // On a board just set up: the task, the knight's square and the marks of
    // a game kept from before, each mark and the knight painted from its file
    // in the board's order.
    void resume(const KeptGame& game);

private:
    void MoveKnight(Coord row, Coord col);
    void TourMove(Coord row, Coord col);

    bool isMove(Coord row, Coord col) const;
    const std::string& knightPath(Coord row, Coord col) const;
    const std::string& markPath(Coord row, Coord col) const;
};

constexpr bool isGreySquare(Coord row, Coord col) {
    return (row + col) % 2 != 0;
}
