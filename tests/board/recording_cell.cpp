#include "recording_cell.h"

#include <sstream>

RecordingCell::RecordingCell(CellLog& log, Coord row, Coord col)
    : log_(log)
    , row_(row)
    , col_(col) {}

std::string RecordingCell::where() const {
    return std::to_string(row_) + " " + std::to_string(col_);
}

void RecordingCell::setBackColor(ColourValue colour) {
    std::ostringstream entry;
    entry << "colour " << where() << " " << std::hex << std::uppercase << colour;
    log_.entries.push_back(entry.str());
    backColor = colour;
}

void RecordingCell::loadPicture(const std::string& fullPath) {
    if (log_.failingPaths.count(fullPath) != 0) {
        throw PictureLoadError("cannot load " + fullPath + ": file not found");
    }
    log_.entries.push_back("load " + where() + " " + fullPath);
    picture = fullPath;
}

void RecordingCell::clearPicture() {
    log_.entries.push_back("clear " + where());
    picture.clear();
}

std::string path(const char* fileName) {
    return std::string(TestBoard::Folder) + "/" + fileName;
}

// Started as the window starts it, in the program's own order.
TestBoard::TestBoard(bool startingPosition) {
    for (int number = 1; number <= 64; ++number) {
        cells.push_back(std::make_unique<RecordingCell>(log, Coord((number - 1) / 8 + 1),
                                                        Coord((number - 1) % 8 + 1)));
    }
    const auto pathOf = [](const char* fileName) { return path(fileName); };
    const auto cellOf = [this](int number) { return cells[std::size_t(number - 1)].get(); };
    if (startingPosition) {
        board.startUp(pathOf, cellOf);
    } else {
        board.setUp(pathOf, cellOf);
    }
    log.entries.clear();
}

namespace {

char pictureLetter(const std::string& picture) {
    if (picture.empty()) {
        return '.';
    }
    return picture.find("/Kon_") != std::string::npos ? 'K' : 'x';
}

} // namespace

std::string TestBoard::pictures() const {
    std::string text;
    for (const auto& cell : cells) {
        text += pictureLetter(cell->picture);
        if (text.size() % 9 == 8) {
            text += '\n';
        }
    }
    return text;
}

std::string TestBoard::visited() const {
    std::string text;
    for (Coord row = 1; row <= 8; ++row) {
        for (Coord col = 1; col <= 8; ++col) {
            const bool knight = row == board.KnightRow && col == board.KnightCol;
            text += knight ? 'K' : (board.Visited(row, col) == 0 ? '.' : 'x');
        }
        text += '\n';
    }
    return text;
}

std::string TestBoard::invariantViolations() const {
    return ::invariantViolations(board, [this](Coord row, Coord col) {
        return fileNameOf(cells[static_cast<std::size_t>((row - 1) * 8 + col - 1)]->picture);
    });
}
