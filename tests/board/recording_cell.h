#pragma once

#include "board.h"
#include "invariants.h"

#include <array>
#include <memory>
#include <set>
#include <string>
#include <vector>

// What the cells were asked to do, in order, e.g. "load 6 2 /app/Kon_W.bmp".
struct CellLog {
    std::vector<std::string> entries;
    std::set<std::string> failingPaths;
};

// The board's stand-in for a window cell: records every operation and can be
// told to fail loading chosen files, as a missing bitmap would.
class RecordingCell : public Cell {
public:
    RecordingCell(CellLog& log, Coord row, Coord col);

    void setBackColor(ColourValue colour) override;
    void loadPicture(const std::string& fullPath) override;
    void clearPicture() override;

    ColourValue backColor = 0;
    std::string picture; // the loaded path, empty for the empty picture

private:
    std::string where() const;

    CellLog& log_;
    Coord row_;
    Coord col_;
};

// A board bound to 64 recording cells with the paths and colours that
// start-up gives it, in the starting position (or only set up, before any
// picture), its log emptied.
struct TestBoard {
    static constexpr const char* Folder = "/app";

    explicit TestBoard(bool startingPosition = true);

    RecordingCell& cell(Coord row, Coord col) {
        return *cells[static_cast<std::size_t>((row - 1) * 8 + col - 1)];
    }
    // 8 lines of 8: K a knight picture, x a mark picture, . empty.
    std::string pictures() const;
    // 8 lines of 8 from Visited: K the knight's square, x other 1, . 0.
    std::string visited() const;
    // Every way the four board invariants are broken, one line each.
    std::string invariantViolations() const;

    CellLog log;
    std::vector<std::unique_ptr<RecordingCell>> cells;
    Board board;
};

std::string path(const char* fileName);
