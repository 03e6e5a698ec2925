#include "frmmain.h"

#include "run_time_error.h"
#include "wording.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>

namespace {

using Layout::colOfCell;
using Layout::rowOfCell;

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

frmMain::frmMain(FolderSource applicationFolder)
    : applicationFolder_(std::move(applicationFolder)) {
    setWindowTitle(text(Wording::Title));
    // A fixed single border where the system draws one (Windows), not a
    // resizable frame that merely refuses to resize.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    createCells();
    createMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

// Every handler of a cell or a menu item: an error ends the program, and
// afterwards the squares' spoken names follow the board.
std::function<void()> frmMain::changingBoard(std::function<void()> change) {
    return guarded([this, change] {
        change();
        nameSquares();
    });
}

void frmMain::createCells() {
    auto* boardArea = new QWidget(this);
    boardArea->setFixedSize(Layout::ClientWidth, Layout::ClientHeight);
    boardArea->setAccessibleName(text(Wording::BoardName));
    setCentralWidget(boardArea);
    for (int number = 1; number <= Layout::CellCount; ++number) {
        const Coord row = rowOfCell(number);
        const Coord col = colOfCell(number);
        auto* cell = new PictureCell(boardArea);
        cell->setObjectName(QStringLiteral("Picture%1").arg(number));
        cell->move(Layout::leftOfCell(number), Layout::topOfCell(number));
        connect(cell, &PictureCell::clicked, this,
                changingBoard([this, row, col] { board_.SquareClick(row, col); }));
        cells_[number - 1] = cell;
    }
}

void frmMain::createMenus() {
    menuBar()->setAccessibleName(text(Wording::MenuBarName));
    QMenu* heading = nullptr;
    for (std::size_t index = 0; index < MenuBar.size(); ++index) {
        const MenuEntry& entry = MenuBar[index];
        if (opensHeading(index)) {
            heading = addMenu(entry.heading);
        }
        addItem(heading, entry.item,
                changingBoard([this, handler = entry.handler] { (this->*handler)(); }));
    }
}

QMenu* frmMain::addMenu(const Wording::MenuItem& heading) {
    QMenu* menu = menuBar()->addMenu(text(heading.caption));
    menu->setObjectName(QLatin1String(heading.name));
    return menu;
}

void frmMain::addItem(QMenu* menu, const Wording::MenuItem& item,
                      const std::function<void()>& handler) {
    menu->addAction(text(item.caption), this, handler)->setObjectName(QLatin1String(item.name));
}

void frmMain::Form_Load() {
    showCredits();
    board_.startUp([this](const char* fileName) { return applicationPath(fileName); },
                   [this](int number) { return cells_[number - 1]; });
    nameSquares();
}

void frmMain::showCredits() {
    QMessageBox credits(QMessageBox::NoIcon, text(Wording::CreditsCaption),
                        text(Wording::CreditsText));
    // A plain OK button: the standard one looks up an icon theme first, which
    // was a third of the start-up work.
    credits.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    credits.exec();
}

// Nothing is normalised: the folder as the platform gives it, one separator,
// the name; in the system's own separators, as the error report shows them.
std::string frmMain::applicationPath(const char* fileName) const {
    std::filesystem::path folder = applicationFolder_();
    return heldPath(folder.make_preferred()) +
           static_cast<char>(std::filesystem::path::preferred_separator) + fileName;
}

void frmMain::nameSquares() {
    squareNames_.update(board_, [this](int number, const std::string& name) {
        cells_[number - 1]->setAccessibleName(QString::fromStdString(name));
    });
}

void frmMain::showCentred() {
    adjustSize();
    centre();
    show();
}

void frmMain::centre() {
    move(screen()->geometry().center() - frameGeometry().center() + pos());
}

// Until the window manager has framed the window its frame is not known, and
// the first centring misses by half the title bar; so once more when it is.
void frmMain::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (!centredInFrame_ && frameGeometry().size() != size()) {
        centredInFrame_ = true;
        centre();
    }
}

void frmMain::mnuExit_Click() {
    QCoreApplication::exit(EXIT_SUCCESS);
}

void frmMain::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}

void frmMain::Form_Unload() {
    QCoreApplication::exit(EXIT_SUCCESS);
}
