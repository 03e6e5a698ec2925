#include "frmmain.h"

#include "run_time_error.h"

#include <QCloseEvent>
#include <QCoreApplication>
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
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    createCells();
    createMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void frmMain::createCells() {
    auto* boardArea = new QWidget(this);
    boardArea->setFixedSize(ClientWidth, ClientHeight);
    setCentralWidget(boardArea);
    for (int number = 1; number <= BoardSize * BoardSize; ++number) {
        const Coord row = rowOfCell(number);
        const Coord col = colOfCell(number);
        auto* cell = new PictureCell(boardArea);
        cell->setObjectName(QStringLiteral("Picture%1").arg(number));
        cell->move((col - 1) * CellStep, (row - 1) * CellStep);
        cell->setSquare(row, col,
                        [this](const std::string& path) { return describePicture(path); });
        connect(cell, &PictureCell::clicked, this,
                guarded([this, row, col] { board_.SquareClick(row, col); }));
        cells_[number - 1] = cell;
    }
}

void frmMain::createMenus() {
    QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("Файл"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFile->addAction(QStringLiteral("Новая игра"), this, guarded([this] { mnuNewGame_Click(); }))
        ->setObjectName(QStringLiteral("mnuNewGame"));
    mnuFile->addAction(QStringLiteral("Выход"), this, guarded([this] { mnuExit_Click(); }))
        ->setObjectName(QStringLiteral("mnuExit"));

    QAction* mnuTest = menuBar()->addAction(QStringLiteral("Test"));
    mnuTest->setObjectName(QStringLiteral("mnuTest"));
    mnuTest->setEnabled(false);

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
// the name.
std::string frmMain::applicationPath(const char* fileName) const {
    return (applicationFolder_() + QLatin1Char('/') + QLatin1String(fileName)).toStdString();
}

QString frmMain::describePicture(const std::string& picturePath) const {
    if (picturePath.empty()) {
        return QStringLiteral("свободна");
    }
    if (picturePath == board_.KnightOnWhitePath || picturePath == board_.KnightOnGreyPath) {
        return QStringLiteral("конь");
    }
    return QStringLiteral("пройдена");
}

void frmMain::showCentred() {
    adjustSize();
    const QRect screenArea = screen()->geometry();
    move(screenArea.center() - frameGeometry().center() + pos());
    show();
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
