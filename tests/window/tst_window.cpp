#include "board_pixels.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <deque>
#include <map>

namespace {

// Every cell's picture file name, "" for the empty picture, row by row.
QStringList shownFiles(const frmMain& window) {
    QStringList files;
    for (int row = 1; row <= 8; ++row) {
        for (int col = 1; col <= 8; ++col) {
            files << shownBitmap(cellAt(window, row, col));
        }
    }
    return files;
}

// The squares from (fromRow, fromCol) to the target, by knight's moves.
std::vector<std::pair<int, int>> knightPath(std::pair<int, int> from, std::pair<int, int> to) {
    std::map<std::pair<int, int>, std::pair<int, int>> cameFrom{{from, from}};
    std::deque<std::pair<int, int>> queue{from};
    while (!queue.empty()) {
        const auto [row, col] = queue.front();
        queue.pop_front();
        for (const auto& [dr, dc] : TestRules::KnightJumps) {
            const std::pair next{row + dr, col + dc};
            if (next.first >= 1 && next.first <= 8 && next.second >= 1 && next.second <= 8 &&
                cameFrom.emplace(next, std::pair{row, col}).second) {
                queue.push_back(next);
            }
        }
    }
    std::vector<std::pair<int, int>> path;
    for (auto at = to; at != from; at = cameFrom[at]) {
        path.insert(path.begin(), at);
    }
    return path;
}

QPalette darkPalette() {
    QPalette dark(QColor(0x31, 0x36, 0x3b), QColor(0x2a, 0x2e, 0x32));
    dark.setColor(QPalette::WindowText, QColor(0xfc, 0xfc, 0xfc));
    dark.setColor(QPalette::Text, QColor(0xfc, 0xfc, 0xfc));
    dark.setColor(QPalette::ButtonText, QColor(0xfc, 0xfc, 0xfc));
    dark.setColor(QPalette::Base, QColor(0x1b, 0x1e, 0x20));
    dark.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
    dark.setColor(QPalette::HighlightedText, QColor(0xef, 0xf0, 0xf1));
    return dark;
}

// A wrong palette role cannot pass for the right one here.
QPalette distinctPalette() {
    QPalette palette;
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        palette.setColor(QPalette::ColorRole(role),
                         QColor::fromHsv(role * 359 / QPalette::NColorRoles, 160, 220));
    }
    return palette;
}

QScreen* screenNamed(const QString& name) {
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->name() == name) {
            return screen;
        }
    }
    return nullptr;
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private:
    QPalette defaultPalette_;

private slots:
    void creditsBoxComesBeforeAnythingElse() {
        BitmapFolder folder;
        frmMain window([&] { return pathFromText(folder.path()); });
        bool boardVisible = true;
        bool anythingPainted = true;
        SeenBox credits;
        answerNextBox(credits, [&] {
            boardVisible = window.isVisible();
            anythingPainted =
                cellAt(window, 8, 8)->backColor() != 0 || !cellAt(window, 8, 1)->picture().isNull();
        });
        window.Form_Load();
        QVERIFY(credits.opened);
        QVERIFY(!boardVisible);
        QVERIFY(!anythingPainted);
        QVERIFY(!credits.title.isEmpty());
        QCOMPARE(credits.text.count(QStringLiteral("\n\r")), 1);
        QVERIFY(
            credits.text.section(QStringLiteral("\n\r"), 1).startsWith(QStringLiteral("https://")));
        QCOMPARE(credits.icon, QMessageBox::NoIcon);
        QVERIFY(credits.okOnly);
        QCOMPARE(credits.buttonCount, 1);
    }

    void startUpReadsOnlyTheGreySquareKnight() {
        BitmapFolder folder({"Kon_W2.bmp"});
        auto window = startedWindow(folder.path());
        QStringList expected(64, QString());
        expected[56] = "Kon_W2.bmp";
        QCOMPARE(shownFiles(*window), expected);
    }

    void startUpWithoutTheGreySquareKnightFailsNamingIt() {
        BitmapFolder folder({"Kon_W.bmp", "Trelk_W.bmp", "Trelk.bmp"});
        frmMain window([&] { return pathFromText(folder.path()); });
        SeenBox credits;
        answerNextBox(credits);
        try {
            window.Form_Load();
            QFAIL("start-up went on without Kon_W2.bmp");
        } catch (const PictureLoadError& error) {
            QVERIFY2(QString::fromStdString(error.what()).contains(folder.file("Kon_W2.bmp")),
                     error.what());
        }
        QVERIFY(credits.opened);
        QVERIFY(!window.isVisible());
    }

    void pathsAreTheFolderAsGivenThenOneSeparator() {
        BitmapFolder folder(AllBitmaps, QStringLiteral("Мои игры/Тарвик 2.0 (копия)"));
        const QString endsInSeparator = folder.path() + "/";
        auto window = startedWindow(endsInSeparator);
        const QString twoSeparators = QDir::toNativeSeparators(endsInSeparator) + QDir::separator();
        QCOMPARE(QString::fromStdString(window->board().KnightOnGreyPath),
                 twoSeparators + "Kon_W2.bmp");
        QCOMPARE(QString::fromStdString(window->board().MarkOnWhitePath),
                 twoSeparators + "Trelk_W.bmp");
        QVERIFY(!cellAt(*window, 8, 1)->picture().isNull());
    }

    void cellsLieOnTheGridWithTheBottomLineHidden() {
        BitmapFolder folder;
        auto window = startedWindow(folder.path());
        QCOMPARE(window->centralWidget()->size(),
                 QSize(TestRules::ClientWidth, TestRules::ClientHeight));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        const auto cells = window->centralWidget()->findChildren<PictureCell*>();
        QCOMPARE(cells.size(), 64);
        for (int n = 1; n <= 64; ++n) {
            const auto* cell = cells[n - 1];
            QCOMPARE(cell->objectName(), QStringLiteral("Picture%1").arg(n));
            QCOMPARE(cell->geometry(),
                     QRect((n - 1) % 8 * TestRules::CellStep, (n - 1) / 8 * TestRules::CellStep,
                           TestRules::CellSide, TestRules::CellSide));
        }
        const auto flags = window->windowFlags();
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QCOMPARE(window->windowTitle(), QStringLiteral("Тарвик"));
    }

    void menuBarIsFileThenTasks() {
        BitmapFolder folder;
        auto window = startedWindow(folder.path());
        const auto top = window->menuBar()->actions();
        QCOMPARE(top.size(), 2);
        QCOMPARE(top[0]->text(), QStringLiteral("Файл"));
        QCOMPARE(top[1]->text(), QStringLiteral("Задачи"));
        const auto fileItems = top[0]->menu()->actions();
        const auto taskItems = top[1]->menu()->actions();
        QCOMPARE(fileItems.size(), 2);
        QCOMPARE(taskItems.size(), 2);
        QCOMPARE(fileItems[0], menuAction(*window, "mnuNewGame"));
        QCOMPARE(fileItems[0]->text(), QStringLiteral("Новая игра"));
        QCOMPARE(fileItems[1], menuAction(*window, "mnuExit"));
        QCOMPARE(fileItems[1]->text(), QStringLiteral("Выход"));
        QCOMPARE(taskItems[0], menuAction(*window, "mnuMoveH"));
        QCOMPARE(taskItems[0]->text(), QStringLiteral("Ход конём"));
        QCOMPARE(taskItems[1], menuAction(*window, "mnuAllBoard"));
        QCOMPARE(taskItems[1]->text(), QStringLiteral("Обойти всю доску"));
        for (QAction* item : top + fileItems + taskItems) {
            QVERIFY2(!item->text().contains('&'), qPrintable(item->text()));
            QVERIFY(item->shortcut().isEmpty());
            QVERIFY(!item->isCheckable());
            QVERIFY(!item->isSeparator());
        }
    }

    void everyCellClickReachesItsOwnSquare() {
        BitmapFolder folder;
        auto window = startedWindow(folder.path());
        menuAction(*window, "mnuMoveH")->trigger();
        std::pair knight{8, 1};
        for (int row = 1; row <= 8; ++row) {
            for (int col = 1; col <= 8; ++col) {
                const std::pair target{row == 8 && col == 1 ? 6 : row,
                                       row == 8 && col == 1 ? 2 : col};
                for (const auto& [r, c] : knightPath(knight, target)) {
                    click(*window, r, c);
                    QCOMPARE(
                        std::pair(int{window->board().KnightRow}, int{window->board().KnightCol}),
                        std::pair(r, c));
                }
                knight = target;
            }
        }
        for (const auto& [r, c] : knightPath(knight, {8, 1})) {
            click(*window, r, c);
        }
        QCOMPARE(shownFiles(*window)[56], QStringLiteral("Kon_W2.bmp"));
    }

    void clicksBeforeATaskChangeNothing() {
        BitmapFolder folder;
        auto window = startedWindow(folder.path());
        const QStringList before = shownFiles(*window);
        click(*window, 6, 2);
        click(*window, 7, 3);
        menuAction(*window, "mnuNewGame")->trigger();
        click(*window, 6, 2);
        QCOMPARE(shownFiles(*window), before);
    }

    void newGameKeepsTheTask() {
        BitmapFolder folder;
        auto window = startedWindow(folder.path());
        menuAction(*window, "mnuAllBoard")->trigger();
        click(*window, 6, 2);
        click(*window, 7, 4);
        menuAction(*window, "mnuNewGame")->trigger();
        QStringList start(64, QString());
        start[56] = "Kon_W2.bmp";
        QCOMPARE(shownFiles(*window), start);
        click(*window, 7, 3);
        QCOMPARE(shownFiles(*window)[56], QStringLiteral("Trelk.bmp"));
        QCOMPARE(shownFiles(*window)[50], QStringLiteral("Kon_W.bmp"));
    }

    void taskItemsChangeOnlyTheTask() {
        BitmapFolder folder;
        auto window = startedWindow(folder.path());
        menuAction(*window, "mnuAllBoard")->trigger();
        click(*window, 6, 2);
        const QStringList before = shownFiles(*window);
        const Board& board = window->board();
        for (const char* item : {"mnuMoveH", "mnuMoveH", "mnuAllBoard", "mnuMoveH"}) {
            menuAction(*window, item)->trigger();
            QCOMPARE(shownFiles(*window), before);
            QCOMPARE(board.KnightRow, Coord{6});
        }
        QCOMPARE(board.TaskMode, TaskKnightMove);
        click(*window, 8, 1); // marked during the tour
        QCOMPARE(shownFiles(*window), before);
    }

    void initTestCase() { defaultPalette_ = QApplication::palette(); }
    void cleanup() { QApplication::setPalette(defaultPalette_); }

    // Under each colour scheme and at each scale, what the window really
    // painted: at start-up, after three tour moves, so that the knight and the
    // mark have stood on both square colours, and after a new game and two
    // Knight moves, which clear what they leave.
    void boardIsPaintedExactly_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QPalette>("palette");
        const std::pair<const char*, QPalette> schemes[] = {
            {"default", QApplication::palette()},
            {"dark", darkPalette()},
            {"all roles differ", distinctPalette()}};
        for (const char* screen : {"x100", "x125", "x150", "x175", "x200"}) {
            for (const auto& [scheme, palette] : schemes) {
                QTest::addRow("%s %s", screen, scheme) << QString::fromLatin1(screen) << palette;
            }
        }
    }

    void boardIsPaintedExactly() {
        QFETCH(QString, screen);
        QFETCH(QPalette, palette);
        QScreen* onScreen = screenNamed(screen);
        QVERIFY2(onScreen != nullptr, "no such screen: ctest starts this test with five scales");
        QApplication::setPalette(palette);
        BitmapFolder folder;
        auto window = startedWindow(folder.path(), onScreen);
        QCOMPARE(window->devicePixelRatioF(), screen.mid(1).toDouble() / 100);
        ExpectedBoard expected{palette.color(QPalette::HighlightedText), {{{8, 1}, "Kon_W2.bmp"}}};
        QVERIFY2(QTest::qWaitFor([&] { return boardFaults(*window, expected).isEmpty(); }, 1000),
                 qPrintable(boardFaults(*window, expected)));

        menuAction(*window, "mnuAllBoard")->trigger();
        for (const auto& [row, col] : {std::pair{6, 2}, {7, 4}, {5, 3}}) {
            click(*window, row, col);
        }
        expected.pictures = {{{8, 1}, "Trelk.bmp"},
                             {{6, 2}, "Trelk_W.bmp"},
                             {{7, 4}, "Trelk.bmp"},
                             {{5, 3}, "Kon_W.bmp"}};
        QVERIFY2(QTest::qWaitFor([&] { return boardFaults(*window, expected).isEmpty(); }, 1000),
                 qPrintable(boardFaults(*window, expected)));

        // A new game, then Knight moves: pictures cleared, and the knight
        // leaving each square it enters.
        menuAction(*window, "mnuNewGame")->trigger();
        expected.pictures = {{{8, 1}, "Kon_W2.bmp"}};
        QVERIFY2(QTest::qWaitFor([&] { return boardFaults(*window, expected).isEmpty(); }, 1000),
                 qPrintable(boardFaults(*window, expected)));
        menuAction(*window, "mnuMoveH")->trigger();
        click(*window, 6, 2);
        click(*window, 7, 4);
        expected.pictures = {{{7, 4}, "Kon_W2.bmp"}};
        QVERIFY2(QTest::qWaitFor([&] { return boardFaults(*window, expected).isEmpty(); }, 1000),
                 qPrintable(boardFaults(*window, expected)));
    }

    void onlyALeftPressAndReleaseOnTheCellMoves_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("releaseAt");
        QTest::addColumn<bool>("moves");
        QTest::newRow("left click") << Qt::LeftButton << QPoint(28, 28) << true;
        QTest::newRow("right click") << Qt::RightButton << QPoint(28, 28) << false;
        QTest::newRow("released on the next cell") << Qt::LeftButton << QPoint(84, 28) << false;
        QTest::newRow("released off the board") << Qt::LeftButton << QPoint(28, -200) << false;
    }

    void onlyALeftPressAndReleaseOnTheCellMoves() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, releaseAt);
        QFETCH(bool, moves);
        BitmapFolder folder;
        auto window = startedWindow(folder.path());
        menuAction(*window, "mnuMoveH")->trigger();
        // The cell that took the press gets the release, wherever it happens.
        PictureCell* target = cellAt(*window, 6, 2);
        QTest::mousePress(target, button, {}, QPoint(28, 28));
        QTest::mouseRelease(target, button, {}, releaseAt);
        QCOMPARE(window->board().KnightRow == 6, moves);
    }

    // Tab and Shift+Tab walk the cells in order, Picture1 first; a key on a
    // cell does nothing, and having the focus shows nothing.
    void tabWalksTheCellsInOrderAndKeysDoNothing() {
        BitmapFolder folder;
        auto window = startedWindow(folder.path());
        menuAction(*window, "mnuMoveH")->trigger();
        cellAt(*window, 1, 1)->setFocus();
        const auto focusedCell = [&] { return window->focusWidget()->objectName(); };
        const auto pressOnFocus = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
            QTest::keyClick(window->focusWidget(), key, modifiers);
            QCoreApplication::processEvents();
        };
        for (int n = 2; n <= 64; ++n) {
            pressOnFocus(Qt::Key_Tab);
            QCOMPARE(focusedCell(), QStringLiteral("Picture%1").arg(n));
            for (const auto key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_A}) {
                pressOnFocus(key);
            }
        }
        for (int n = 63; n >= 1; --n) {
            pressOnFocus(Qt::Key_Tab, Qt::ShiftModifier);
            QCOMPARE(focusedCell(), QStringLiteral("Picture%1").arg(n));
        }
        QCOMPARE(window->board().KnightRow, Coord{8});
        const ExpectedBoard start{QApplication::palette().color(QPalette::HighlightedText),
                                  {{{8, 1}, "Kon_W2.bmp"}}};
        QCOMPARE(boardFaults(*window, start), QString());
    }

    void aReplacedBitmapShowsFromItsNextUse() {
        BitmapFolder folder;
        auto window = startedWindow(folder.path());
        menuAction(*window, "mnuMoveH")->trigger();
        QFile::remove(folder.file("Kon_W.bmp"));
        QVERIFY(QFile::copy(BitmapFolder::asset("Trelk_W.bmp"), folder.file("Kon_W.bmp")));
        click(*window, 6, 2);
        const QImage shown = cellAt(*window, 6, 2)->picture().toImage();
        QCOMPARE(shown, QImage(BitmapFolder::asset("Trelk_W.bmp")).convertToFormat(shown.format()));
    }

    void exitAndClosingEndTheEventLoopWithSuccess() {
        BitmapFolder folder;
        for (const bool viaMenu : {true, false}) {
            auto window = startedWindow(folder.path());
            const int status = runInEventLoop([&] {
                if (viaMenu) {
                    menuAction(*window, "mnuExit")->trigger();
                } else {
                    window->close();
                }
            });
            QCOMPARE(status, EXIT_SUCCESS);
        }
    }
};

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
