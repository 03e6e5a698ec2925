#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

using Coord = std::int16_t;

constexpr Coord BoardSize = 8;

// An 8x8 table indexed (row, column), both 1..8. Any other index throws
// std::out_of_range instead of touching memory outside the table.
template <typename T> class SquareTable {
public:
    explicit SquareTable(const char* name)
        : name_(name) {}

    T& operator()(Coord row, Coord col) { return entries_[offset(row, col)]; }
    const T& operator()(Coord row, Coord col) const { return entries_[offset(row, col)]; }

private:
    std::size_t offset(Coord row, Coord col) const {
        if (row < 1 || row > BoardSize || col < 1 || col > BoardSize) {
            throw std::out_of_range("subscript out of range: " + std::string(name_) + "(" +
                                    std::to_string(row) + ", " + std::to_string(col) + ")");
        }
        return static_cast<std::size_t>((row - 1) * BoardSize + (col - 1));
    }

    const char* name_;
    std::array<T, BoardSize * BoardSize> entries_{};
};
