#pragma once

#include "board.h"
#include "wording.h"

#include <array>
#include <cstddef>
#include <string_view>

// What the board windows of both front ends share: the board, and the menu
// commands that change only the board. Exit ends the program, as each front
// end ends it.
class BoardWindow {
public:
    virtual ~BoardWindow() = default;

    void mnuNewGame_Click() { board_.ResetBoard(); }
    virtual void mnuExit_Click() = 0;
    void mnuMoveH_Click() { board_.TaskMode = TaskKnightMove; }
    void mnuAllBoard_Click() { board_.TaskMode = TaskTour; }

protected:
    Board board_;
};

// The menu bar, stated once: each item under its heading, in the order they
// stand, and the handler it runs.
struct MenuEntry {
    Wording::MenuItem heading;
    Wording::MenuItem item;
    void (BoardWindow::*handler)();
};

inline constexpr std::array<MenuEntry, 4> MenuBar{{
    {Wording::File, Wording::NewGame, &BoardWindow::mnuNewGame_Click},
    {Wording::File, Wording::Exit, &BoardWindow::mnuExit_Click},
    {Wording::Tasks, Wording::MoveH, &BoardWindow::mnuMoveH_Click},
    {Wording::Tasks, Wording::AllBoard, &BoardWindow::mnuAllBoard_Click},
}};

// Whether the entry at `index` is the first under its heading, where the
// heading itself is made.
constexpr bool opensHeading(std::size_t index) {
    return index == 0 ||
           std::string_view(MenuBar[index - 1].heading.name) != MenuBar[index].heading.name;
}
