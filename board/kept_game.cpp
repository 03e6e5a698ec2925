#include "kept_game.h"

#include "layout.h"

namespace {

constexpr char Free = '0', Marked = '1', Knight = 'K';

// A game kept before any task was chosen can only be the start, with the
// knight alone on (8, 1): no move is made without a task.
bool reachable(const KeptGame& game) {
    if (game.taskMode != TaskNone) {
        return true;
    }
    for (Coord row = 1; row <= BoardSize; ++row) {
        for (Coord col = 1; col <= BoardSize; ++col) {
            if (game.marked(row, col) != (row == 8 && col == 1 ? 1 : 0)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

std::string keptGame(const Board& board, std::string_view release) {
    std::string line = std::string(release) + ' ' + char('0' + board.TaskMode) + ' ';
    for (Coord row = 1; row <= BoardSize; ++row) {
        for (Coord col = 1; col <= BoardSize; ++col) {
            const bool knight = row == board.KnightRow && col == board.KnightCol;
            line += knight ? Knight : board.Visited(row, col) != 0 ? Marked : Free;
        }
    }
    return line;
}

std::optional<KeptGame> readKeptGame(std::string_view line, std::string_view release) {
    const std::size_t squaresAt = release.size() + 3;
    if (line.size() != squaresAt + Layout::CellCount || !line.starts_with(release) ||
        line[release.size()] != ' ' || line[squaresAt - 1] != ' ') {
        return std::nullopt;
    }
    KeptGame game;
    const char task = line[release.size() + 1];
    if (task < '0' + TaskNone || task > '0' + TaskTour) {
        return std::nullopt;
    }
    game.taskMode = static_cast<std::int16_t>(task - '0');
    int knights = 0;
    for (int number = 1; number <= Layout::CellCount; ++number) {
        const char square = line[squaresAt + std::size_t(number - 1)];
        const Coord row = Layout::rowOfCell(number), col = Layout::colOfCell(number);
        if (square == Knight) {
            ++knights;
            game.knightRow = row;
            game.knightCol = col;
        } else if (square != Marked && square != Free) {
            return std::nullopt;
        }
        game.marked(row, col) = square == Free ? 0 : 1;
    }
    if (knights != 1 || !reachable(game)) {
        return std::nullopt;
    }
    return game;
}
