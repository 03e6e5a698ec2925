#pragma once

#include "board.h"
#include "cell.h"

// One square of the board on the page: its colour and picture, painted into
// the board's canvas as the desktop cell paints itself, in whole device
// pixels at any zoom.
class PageCell : public Cell {
public:
    PageCell() = default;
    PageCell(const PageCell&) = delete;
    PageCell& operator=(const PageCell&) = delete;
    ~PageCell() override;

    void place(int number) { number_ = number; }

    void setBackColor(ColourValue colour) override;
    void loadPicture(const std::string& fullPath) override;
    void clearPicture() override;

    void paint() const;

private:
    void releasePicture();

    int number_ = 0;
    ColourValue backColor_ = 0;
    int picture_ = 0; // the page's handle; 0 is the empty picture
};

// Asks the server now for every file the click on (row, col) will paint, so
// that they travel together: one round trip, not one a file. Each cell's
// loadPicture then takes its own, in the move's order.
void askForPictures(const Board& board, Coord row, Coord col);
