#include "frmmain.h"

#include "run_time_error.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>

namespace {

constexpr ColourValue Grey = 0xC0C0C0;
constexpr ColourValue HighlightText = SystemColourFlag | SystemColourHighlightText;

Coord rowOfCell(int number) {
    return static_cast<Coord>((number - 1) / BoardSize + 1);
}
Coord colOfCell(int number) {
    return static_cast<Coord>((number - 1) % BoardSize + 1);
}

} // namespace

frmMain::frmMain(FolderSource applicationFolder)
    : applicationFolder_(std::move(applicationFolder)) {
    setWindowTitle(QStringLiteral("Тарвик"));
    // A fixed single border where the system draws one (Windows), not a
    // resizable frame that merely refuses to resize.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    createCells();
    createMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

// A handler that may change the board: an error ends the program, and
// afterwards the squares' spoken names follow the board.
std::function<void()> frmMain::changingBoard(std::function<void()> change) {
    return guarded([this, change] {
        change();
        nameSquares();
    });
}

void frmMain::createCells() {
    auto* boardArea = new QWidget(this);
    boardArea->setFixedSize(ClientWidth, ClientHeight);
    boardArea->setAccessibleName(QStringLiteral("Доска"));
    setCentralWidget(boardArea);
    for (int number = 1; number <= BoardSize * BoardSize; ++number) {
        const Coord row = rowOfCell(number);
        const Coord col = colOfCell(number);
        auto* cell = new PictureCell(boardArea);
        cell->setObjectName(QStringLiteral("Picture%1").arg(number));
        cell->move((col - 1) * PictureCell::Step, (row - 1) * PictureCell::Step);
        connect(cell, &PictureCell::clicked, this,
                changingBoard([this, row, col] { board_.SquareClick(row, col); }));
        cells_[number - 1] = cell;
    }
}

void frmMain::createMenus() {
    QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("Файл"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFile
        ->addAction(QStringLiteral("Новая игра"), this,
                    changingBoard([this] { mnuNewGame_Click(); }))
        ->setObjectName(QStringLiteral("mnuNewGame"));
    mnuFile->addAction(QStringLiteral("Выход"), this, guarded([this] { mnuExit_Click(); }))
        ->setObjectName(QStringLiteral("mnuExit"));

    QMenu* mnuTasks = menuBar()->addMenu(QStringLiteral("Задачи"));
    mnuTasks->setObjectName(QStringLiteral("mnuTasks"));
    mnuTasks->addAction(QStringLiteral("Ход конём"), this, guarded([this] { mnuMoveH_Click(); }))
        ->setObjectName(QStringLiteral("mnuMoveH"));
    mnuTasks
        ->addAction(QStringLiteral("Обойти всю доску"), this,
                    guarded([this] { mnuAllBoard_Click(); }))
        ->setObjectName(QStringLiteral("mnuAllBoard"));
}

void frmMain::Form_Load() {
    showCredits();
    board_.MarkOnWhitePath = applicationPath("Trelk_W.bmp");
    board_.MarkOnGreyPath = applicationPath("Trelk.bmp");
    for (int number = 1; number <= BoardSize * BoardSize; ++number) {
        board_.Squares(rowOfCell(number), colOfCell(number)) = cells_[number - 1];
    }
    board_.GreySquareColor = Grey;
    board_.WhiteSquareColor = HighlightText;
    board_.SetColor();
    board_.KnightOnWhitePath = applicationPath("Kon_W.bmp");
    board_.KnightOnGreyPath = applicationPath("Kon_W2.bmp");
    board_.ResetBoard();
    nameSquares();
}

void frmMain::showCredits() {
    QMessageBox credits(
        QMessageBox::NoIcon, QStringLiteral("Авторы"),
        QStringLiteral("Тарвик, головоломка о ходе коня. Сделано командой Тарвика.") +
            QStringLiteral("\n\r") + QStringLiteral("https://tarvik.example.org"));
    // A plain OK button: the standard one looks up an icon theme first, which
    // was a third of the start-up work.
    credits.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    credits.exec();
}

// Nothing is normalised: the folder as the platform gives it, one separator,
// the name; in the system's own separators, as the error report shows them.
std::string frmMain::applicationPath(const char* fileName) const {
    return (QDir::toNativeSeparators(applicationFolder_()) + QDir::separator() +
            QLatin1String(fileName))
        .toStdString();
}

// What a screen reader says of each square: where it is and what stands on
// it, as the board has it now.
void frmMain::nameSquares() {
    for (int number = 1; number <= BoardSize * BoardSize; ++number) {
        const Coord row = rowOfCell(number);
        const Coord col = colOfCell(number);
        const QString state = row == board_.KnightRow && col == board_.KnightCol
                                  ? QStringLiteral("конь")
                              : board_.Visited(row, col) != 0 ? QStringLiteral("пройдена")
                                                              : QStringLiteral("свободна");
        QString& spoken = spokenStates_[number - 1];
        if (state != spoken) {
            spoken = state;
            cells_[number - 1]->setAccessibleName(
                QStringLiteral("Ряд %1, столбец %2: %3").arg(row).arg(col).arg(state));
        }
    }
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

void frmMain::mnuNewGame_Click() {
    board_.ResetBoard();
}

void frmMain::mnuExit_Click() {
    QCoreApplication::exit(EXIT_SUCCESS);
}

void frmMain::mnuMoveH_Click() {
    board_.TaskMode = TaskKnightMove;
}

void frmMain::mnuAllBoard_Click() {
    board_.TaskMode = TaskTour;
}

void frmMain::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}

void frmMain::Form_Unload() {
    QCoreApplication::exit(EXIT_SUCCESS);
}
