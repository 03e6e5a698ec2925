#include "invariants.h"

#include "test_rules.h"

#include <sstream>

namespace {

// What the tests' own rules say a square shows.
std::string expectedPicture(const Board& b, Coord row, Coord col) {
    const bool grey = TestRules::isGreySquare(row, col);
    if (row == b.KnightRow && col == b.KnightCol) {
        return grey ? "Kon_W2.bmp" : "Kon_W.bmp";
    }
    if (b.Visited(row, col) == 1) {
        return grey ? "Trelk.bmp" : "Trelk_W.bmp";
    }
    return {};
}

} // namespace

std::string fileNameOf(const std::string& path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string invariantViolations(const Board& b, const ShownPicture& shown) {
    std::ostringstream out;
    if (b.KnightRow < 1 || b.KnightRow > 8 || b.KnightCol < 1 || b.KnightCol > 8) {
        return "knight off the board\n";
    }
    if (b.Visited(b.KnightRow, b.KnightCol) != 1) {
        out << "knight's square not taken\n";
    }
    for (Coord row = 1; row <= 8; ++row) {
        for (Coord col = 1; col <= 8; ++col) {
            if (b.Visited(row, col) != 0 && b.Visited(row, col) != 1) {
                out << "Visited(" << row << ", " << col << ") is " << b.Visited(row, col) << "\n";
            }
            const std::string expected = expectedPicture(b, row, col);
            const std::string actual = shown(row, col);
            if (actual != expected) {
                out << "(" << row << ", " << col << ") shows '" << actual << "', not '" << expected
                    << "'\n";
            }
        }
    }
    return out.str();
}
