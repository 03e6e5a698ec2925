#include "kept_game.h"
#include "recording_cell.h"

#include <QTest>

Q_DECLARE_METATYPE(std::int16_t)

namespace {

const std::string Start = "........\n"
                          "........\n"
                          "........\n"
                          "........\n"
                          "........\n"
                          "........\n"
                          "........\n"
                          "K.......\n";

std::string load(int row, int col, const char* file) {
    return "load " + std::to_string(row) + " " + std::to_string(col) + " " + path(file);
}

void clickAll(TestBoard& t, std::initializer_list<std::pair<int, int>> squares) {
    for (const auto& [row, col] : squares) {
        t.board.SquareClick(static_cast<Coord>(row), static_cast<Coord>(col));
    }
}

} // namespace

class MovesTest : public QObject {
    Q_OBJECT

private slots:
    void refusedClicksChangeNothing_data() {
        QTest::addColumn<std::int16_t>("task");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<bool>("afterTour");
        const std::pair<std::int16_t, const char*> tasks[] = {{TaskKnightMove, "knight move"},
                                                              {TaskTour, "tour"}};
        for (const auto& [task, name] : tasks) {
            // The knight stands on (5, 4) after a few moves; (6, 2) is marked when toured.
            const auto row = [&](const char* what, int r, int c, bool afterTour = false) {
                QTest::addRow("%s: %s", name, what) << task << r << c << afterTour;
            };
            row("own square", 5, 4);
            row("distance 2,2", 3, 2);
            row("distance 1,1", 6, 5);
            row("distance 3,0", 8, 4);
            row("distance 0,3", 5, 1);
            row("distance 0,1", 5, 5);
            row("distance 1,0", 4, 4);
            row("far corner", 1, 8);
            row("marked square", 6, 2, true);
        }
        QTest::newRow("no task: knight's move") << TaskNone << 7 << 3 << false;
        QTest::newRow("no task: own square") << TaskNone << 5 << 4 << false;
        QTest::newRow("unknown task") << std::int16_t{3} << 7 << 3 << false;
        QTest::newRow("negative task") << std::int16_t{-1} << 7 << 3 << false;
    }

    void refusedClicksChangeNothing() {
        QFETCH(std::int16_t, task);
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(bool, afterTour);
        TestBoard t;
        t.board.TaskMode = afterTour ? TaskTour : TaskKnightMove;
        clickAll(t, {{6, 2}, {7, 4}, {5, 3}});
        t.board.TaskMode = TaskKnightMove;
        clickAll(t, {{6, 5}, {5, 3}, {6, 5}, {4, 4}, {5, 2}, {7, 3}, {5, 4}});
        QCOMPARE(t.board.KnightRow, Coord{5});
        QCOMPARE(t.board.KnightCol, Coord{4});
        t.board.TaskMode = task;
        const std::string pictures = t.pictures();
        const std::string visited = t.visited();
        t.log.entries.clear();

        t.board.SquareClick(static_cast<Coord>(row), static_cast<Coord>(col));

        QVERIFY(t.log.entries.empty());
        QCOMPARE(t.pictures(), pictures);
        QCOMPARE(t.visited(), visited);
        QCOMPARE(t.board.TaskMode, task);
    }

    // A kept game is read only as this release wrote it, of a board play can
    // reach: anything else is dropped, and the page starts afresh.
    void onlyAKeptGameOfThisReleaseIsRead_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("read");
        const QString start = QString(56, '0') + 'K' + QString(7, '0');
        const QString toured = QString(41, '0') + "K000000000000001" + QString(7, '0');
        QTest::newRow("the start") << "1.0.0 0 " + start << true;
        QTest::newRow("a tour") << "1.0.0 2 " + toured << true;
        QTest::newRow("another release") << "1.0.1 2 " + toured << false;
        QTest::newRow("an earlier release's prefix") << "1.0 2 " + toured << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("a square short") << "1.0.0 2 " + toured.chopped(1) << false;
        QTest::newRow("a square more") << "1.0.0 2 " + toured + '0' << false;
        QTest::newRow("no knight") << "1.0.0 2 " + QString(toured).replace('K', '1') << false;
        QTest::newRow("two knights") << "1.0.0 2 " + QString(toured).replace('1', 'K') << false;
        QTest::newRow("task 3") << "1.0.0 3 " + toured << false;
        QTest::newRow("no task, but marks") << "1.0.0 0 " + toured << false;
        QTest::newRow("a strange square")
            << "1.0.0 1 " + QString(start).replace(0, 1, "x") << false;
        QTest::newRow("a tab for a space") << "1.0.0\t2 " + toured << false;
    }

    void onlyAKeptGameOfThisReleaseIsRead() {
        QFETCH(QString, line);
        QFETCH(bool, read);
        const std::optional<KeptGame> game = readKeptGame(line.toStdString(), "1.0.0");
        QCOMPARE(game.has_value(), read);
    }

    void fromANewGameOnlyTwoSquaresAreAccepted() {
        for (const auto task : {TaskKnightMove, TaskTour}) {
            for (Coord row = 1; row <= 8; ++row) {
                for (Coord col = 1; col <= 8; ++col) {
                    TestBoard t;
                    t.board.TaskMode = task;
                    t.board.SquareClick(row, col);
                    const bool accepted = (row == 6 && col == 2) || (row == 7 && col == 3);
                    QCOMPARE(t.board.KnightRow != 8, accepted);
                    QCOMPARE(t.log.entries.empty(), !accepted);
                }
            }
        }
    }

    void knightMoveLoadsTheEnteredSquareThenEmptiesTheOldOne() {
        TestBoard t;
        t.board.TaskMode = TaskKnightMove;
        t.board.SquareClick(6, 2);
        QCOMPARE(t.log.entries, (std::vector<std::string>{load(6, 2, "Kon_W.bmp"), "clear 8 1"}));
        QCOMPARE(t.pictures(), std::string("........\n........\n........\n........\n"
                                           "........\n.K......\n........\n........\n"));
        QCOMPARE(t.visited(), t.pictures());

        t.log.entries.clear();
        t.board.SquareClick(8, 1);
        QCOMPARE(t.log.entries, (std::vector<std::string>{load(8, 1, "Kon_W2.bmp"), "clear 6 2"}));
        QCOMPARE(t.pictures(), Start);
        QCOMPARE(t.visited(), Start);
    }

    void tourMarksEverySquareLeft() {
        TestBoard t;
        t.board.TaskMode = TaskTour;
        t.board.SquareClick(6, 2);
        QCOMPARE(t.log.entries,
                 (std::vector<std::string>{load(6, 2, "Kon_W.bmp"), load(8, 1, "Trelk.bmp")}));
        t.log.entries.clear();
        t.board.SquareClick(8, 1);
        QVERIFY(t.log.entries.empty());
        t.board.SquareClick(7, 4);
        QCOMPARE(t.log.entries,
                 (std::vector<std::string>{load(7, 4, "Kon_W2.bmp"), load(6, 2, "Trelk_W.bmp")}));
        QCOMPARE(t.pictures(), std::string("........\n........\n........\n........\n"
                                           "........\n.x......\n...K....\nx.......\n"));
        QCOMPARE(t.visited(), t.pictures());
    }

    void tourMarksStillBarTheKnightMoveTask() {
        TestBoard t;
        t.board.TaskMode = TaskTour;
        clickAll(t, {{6, 2}, {7, 4}});
        t.board.TaskMode = TaskKnightMove;
        t.log.entries.clear();
        t.board.SquareClick(6, 2);
        QVERIFY(t.log.entries.empty());
        t.board.SquareClick(5, 3);
        QCOMPARE(t.log.entries, (std::vector<std::string>{load(5, 3, "Kon_W.bmp"), "clear 7 4"}));
        QCOMPARE(t.pictures(), std::string("........\n........\n........\n........\n"
                                           "..K.....\n.x......\n........\nx.......\n"));
        QCOMPARE(t.invariantViolations(), std::string());
    }

    void tourAfterKnightMovesMayReenterFreedSquares() {
        TestBoard t;
        t.board.TaskMode = TaskKnightMove;
        clickAll(t, {{6, 2}, {4, 3}});
        t.board.TaskMode = TaskTour;
        clickAll(t, {{6, 2}, {8, 1}});
        QCOMPARE(t.pictures(), std::string("........\n........\n........\n..x.....\n"
                                           "........\n.x......\n........\nK.......\n"));
    }

    void newGameKeepsTheTask() {
        TestBoard t;
        t.board.TaskMode = TaskTour;
        clickAll(t, {{6, 2}, {7, 4}, {5, 5}});
        t.board.ResetBoard();
        QCOMPARE(t.pictures(), Start);
        t.log.entries.clear();
        t.board.SquareClick(7, 3);
        QCOMPARE(t.log.entries,
                 (std::vector<std::string>{load(7, 3, "Kon_W.bmp"), load(8, 1, "Trelk.bmp")}));

        TestBoard idle;
        idle.board.ResetBoard();
        idle.log.entries.clear();
        idle.board.SquareClick(7, 3);
        QVERIFY(idle.log.entries.empty());
    }

    void failingKnightLoadChangesNothing() {
        for (const auto task : {TaskKnightMove, TaskTour}) {
            TestBoard t;
            t.board.TaskMode = task;
            t.log.failingPaths.insert(path("Kon_W.bmp"));
            QVERIFY_THROWS_EXCEPTION(PictureLoadError, t.board.SquareClick(6, 2));
            QCOMPARE(t.pictures(), Start);
            QCOMPARE(t.visited(), Start);
            QVERIFY(t.log.entries.empty());
        }
    }

    void failingMarkLoadLeavesTwoKnightsAndTheKnightWhereItWas() {
        TestBoard t;
        t.board.TaskMode = TaskTour;
        t.log.failingPaths.insert(path("Trelk.bmp"));
        try {
            t.board.SquareClick(6, 2);
            QFAIL("the missing mark bitmap was not reported");
        } catch (const PictureLoadError& error) {
            QVERIFY(std::string(error.what()).find(path("Trelk.bmp")) != std::string::npos);
        }
        QCOMPARE(t.pictures(), std::string("........\n........\n........\n........\n"
                                           "........\n.K......\n........\nK.......\n"));
        QCOMPARE(t.visited(), std::string("........\n........\n........\n........\n"
                                          "........\n.x......\n........\nK.......\n"));
    }
};

QTEST_APPLESS_MAIN(MovesTest)
#include "tst_moves.moc"
