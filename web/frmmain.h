#pragma once

#include "layout.h"
#include "menu_bar.h"
#include "page_cell.h"
#include "square_names.h"
#include "wording.h"

#include <array>
#include <string>

// The board window on the page: owns the board and its 64 cells, the menu bar
// and the start-up sequence. Its first event, StartUp, builds it hidden, runs
// Form_Load and then shows it.
class frmMain : public BoardWindow {
public:
    // What the page hands back when an event comes: the number of the cell
    // clicked, 1..64, a menu item's (FirstMenuItem and those after it, in the
    // menu bar's order), or one of the others.
    enum Event : int {
        FirstMenuItem = Layout::CellCount + 1,
        Rescale = FirstMenuItem + int(MenuBar.size()),
        StartUp
    };

    frmMain();

    // Runs the handler of the event; an error in it ends the program.
    void handle(int event);

private:
    void createCells();
    void createMenus();
    void dispatch(int event);
    void Form_Load();
    void showCentred();
    std::string applicationPath(const char* fileName) const;
    void nameSquares();
    void keepGame();
    void sizeBoard();
    void repaint();

    void Picture_Click(int number);
    void mnuExit_Click() override;

    std::array<PageCell, Layout::CellCount> cells_; // Picture1 .. Picture64
    SquareNames squareNames_;
    std::string keptLine_; // as the tab keeps it
};
