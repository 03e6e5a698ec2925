#include "frmmain.h"

#include "kept_game.h"
#include "page.h"
#include "run_time_error.h"

#include <algorithm>
#include <cmath>

namespace {

using Layout::colOfCell;
using Layout::rowOfCell;

// What a primitive that writes a string into a buffer writes, whatever its
// length; "" when it has none (-1).
std::string pageString(int (*primitive)(char* buffer, int size)) {
    std::string text(256, '\0');
    int length = primitive(text.data(), static_cast<int>(text.size()));
    if (length >= static_cast<int>(text.size())) {
        text.resize(static_cast<std::size_t>(length) + 1);
        length = primitive(text.data(), static_cast<int>(text.size()));
    }
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return text;
}

} // namespace

// The menu bar first: the board's scale on a small screen leaves room for it.
// The squares are named at once, while the credits box is open, so that after
// OK only the knight's square is named anew.
frmMain::frmMain() {
    createMenus();
    createCells();
    nameSquares();
}

void frmMain::createCells() {
    for (int number = 1; number <= Layout::CellCount; ++number) {
        cells_[number - 1].place(number);
        tarvik_add_cell(number, Layout::leftOfCell(number), Layout::topOfCell(number),
                        Layout::CellSide, number);
    }
    tarvik_on_rescale(Rescale, Layout::ClientWidth, Layout::ClientHeight, Layout::CellStep);
    sizeBoard();
}

void frmMain::createMenus() {
    for (std::size_t index = 0; index < MenuBar.size(); ++index) {
        const MenuEntry& entry = MenuBar[index];
        if (opensHeading(index)) {
            tarvik_add_menu(entry.heading.name, entry.heading.caption);
        }
        tarvik_add_menu_item(entry.heading.name, entry.item.name, entry.item.caption,
                             FirstMenuItem + int(index));
    }
}

// Every handler ends here: an error ends the program, and afterwards the
// squares' spoken names follow the board.
void frmMain::handle(int event) {
    try {
        dispatch(event);
        nameSquares();
        keepGame();
    } catch (...) {
        endWithRunTimeError();
    }
}

// Written at every change, not when the page is hidden: a phone's browser
// may end a background page without telling it.
void frmMain::keepGame() {
    if (std::string line = keptGame(board_, TARVIK_RELEASE); line != keptLine_) {
        tarvik_keep_game(line.c_str());
        keptLine_ = std::move(line);
    }
}

void frmMain::dispatch(int event) {
    if (event >= FirstMenuItem && event < Rescale) {
        return (this->*MenuBar[std::size_t(event - FirstMenuItem)].handler)();
    }
    switch (event) {
    case Rescale:
        return repaint();
    case StartUp:
        Form_Load();
        return showCentred();
    default:
        return Picture_Click(event);
    }
}

// A game the tab kept comes back as the player left it, without the credits
// box; anything else kept is dropped, and the run starts afresh.
void frmMain::Form_Load() {
    const std::optional<KeptGame> kept = readKeptGame(pageString(tarvik_kept_game), TARVIK_RELEASE);
    if (!kept) {
        tarvik_show_credits();
    }
    board_.setUp([this](const char* fileName) { return applicationPath(fileName); },
                 [this](int number) { return &cells_[number - 1]; });
    kept ? board_.resume(*kept) : board_.ResetBoard();
}

// The first square takes the focus, as the window's first focus stop does
// on the desktop.
void frmMain::showCentred() {
    tarvik_show_window();
    tarvik_focus_cell(1);
}

// The page's folder is the program's: nothing is normalised, one "/" and the
// name are added.
std::string frmMain::applicationPath(const char* fileName) const {
    return pageString(tarvik_page_folder) + "/" + fileName;
}

void frmMain::nameSquares() {
    squareNames_.update(board_, [](int number, const std::string& name) {
        tarvik_name_cell(number, name.c_str());
    });
}

// The canvas, cleared by its new size, is all the classic black frame line
// until the cells paint their insides over it.
void frmMain::sizeBoard() {
    constexpr int Black = 0x000000;
    const double ratio = tarvik_device_ratio();
    const int width = static_cast<int>(std::lround(Layout::ClientWidth * ratio));
    const int height = static_cast<int>(std::lround(Layout::ClientHeight * ratio));
    tarvik_size_board(width, height);
    tarvik_fill(0, 0, width, height, Black);
}

// At a new zoom every cell is painted again, in the new device pixels.
void frmMain::repaint() {
    sizeBoard();
    for (const PageCell& cell : cells_) {
        cell.paint();
    }
}

void frmMain::Picture_Click(int number) {
    askForPictures(board_, rowOfCell(number), colOfCell(number));
    board_.SquareClick(rowOfCell(number), colOfCell(number));
}

void frmMain::mnuExit_Click() {
    tarvik_end_program();
}
