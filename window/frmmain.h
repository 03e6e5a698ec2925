#pragma once

#include "layout.h"
#include "menu_bar.h"
#include "picture_cell.h"
#include "program_folder.h"
#include "square_names.h"
#include "wording.h"

#include <QMainWindow>
#include <array>
#include <filesystem>
#include <functional>

class QAction;
class QMenu;

// The board window: owns the board and its 64 cells, the menu bar and the
// start-up sequence. It is created hidden; Form_Load runs before it is shown.
class frmMain : public QMainWindow, public BoardWindow {
    Q_OBJECT

public:
    // Where the four bitmaps are looked for; asked afresh for every path.
    using FolderSource = std::function<std::filesystem::path()>;

    explicit frmMain(FolderSource applicationFolder = &programFolder);

    void Form_Load();
    void showCentred();

    const Board& board() const { return board_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void createCells();
    void createMenus();
    QMenu* addMenu(const Wording::MenuItem& heading);
    void addItem(QMenu* menu, const Wording::MenuItem& item, const std::function<void()>& handler);
    void showCredits();
    std::string applicationPath(const char* fileName) const;
    std::function<void()> changingBoard(std::function<void()> change);
    void nameSquares();
    void centre();

    void mnuExit_Click() override;
    void Form_Unload();

    FolderSource applicationFolder_;
    std::array<PictureCell*, Layout::CellCount> cells_{}; // Picture1 .. Picture64
    SquareNames squareNames_;
    bool centredInFrame_ = false;
};
