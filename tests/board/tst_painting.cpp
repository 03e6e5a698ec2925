#include "recording_cell.h"
#include "test_rules.h"

#include <QTest>

// SetColor, ResetBoard and the checked tables.
class PaintingTest : public QObject {
    Q_OBJECT

private slots:
    void setColorPaintsEverySquareOnceInRowOrder() {
        TestBoard t;
        t.board.SetColor();
        QCOMPARE(t.log.entries.size(), 64u);
        int grey = 0;
        for (Coord row = 1; row <= 8; ++row) {
            for (Coord col = 1; col <= 8; ++col) {
                const bool odd = TestRules::isGreySquare(row, col);
                grey += odd ? 1 : 0;
                const std::string expected = "colour " + std::to_string(row) + " " +
                                             std::to_string(col) + (odd ? " C0C0C0" : " 8000000E");
                QCOMPARE(t.log.entries[static_cast<std::size_t>((row - 1) * 8 + col - 1)],
                         expected);
            }
        }
        QCOMPARE(grey, 32);
        QCOMPARE(t.cell(1, 1).backColor, 0x8000000Eu);
        QCOMPARE(t.cell(8, 8).backColor, 0x8000000Eu);
        QCOMPARE(t.cell(1, 8).backColor, 0xC0C0C0u);
        QCOMPARE(t.cell(8, 1).backColor, 0xC0C0C0u);
    }

    void resetBoardClearsInRowOrderThenLoadsTheGreyKnight() {
        TestBoard t;
        t.board.TaskMode = TaskTour;
        t.board.SquareClick(6, 2);
        t.log.entries.clear();

        t.board.ResetBoard();

        QCOMPARE(t.log.entries.size(), 65u);
        for (std::size_t i = 0; i < 64; ++i) {
            QCOMPARE(t.log.entries[i],
                     "clear " + std::to_string(i / 8 + 1) + " " + std::to_string(i % 8 + 1));
        }
        QCOMPARE(t.log.entries[64], "load 8 1 " + path("Kon_W2.bmp"));
        QCOMPARE(t.visited(), std::string("........\n........\n........\n........\n"
                                          "........\n........\n........\nK.......\n"));
        QCOMPARE(t.pictures(), t.visited());
        QCOMPARE(t.board.TaskMode, TaskTour);
        QCOMPARE(t.invariantViolations(), std::string());
    }

    void resetBoardWithTheKnightAtHomeLoadsItAfresh() {
        TestBoard t;
        t.board.ResetBoard();
        t.board.ResetBoard();
        QCOMPARE(t.log.entries.size(), 130u);
        QCOMPARE(t.log.entries[64], t.log.entries[129]);
        QCOMPARE(t.log.entries[63], std::string("clear 8 8"));
    }

    void resetBoardLeavesBackgroundsAlone() {
        TestBoard t;
        t.board.ResetBoard();
        for (const auto& entry : t.log.entries) {
            QVERIFY2(entry.rfind("colour", 0) != 0, entry.c_str());
        }
    }

    void failingKnightLoadInResetLeavesTheBoardClearedWithTheKnightHome() {
        TestBoard t;
        t.board.TaskMode = TaskTour;
        t.board.SquareClick(6, 2);
        t.log.failingPaths.insert(path("Kon_W2.bmp"));
        try {
            t.board.ResetBoard();
            QFAIL("ResetBoard did not report the missing knight bitmap");
        } catch (const PictureLoadError& error) {
            QVERIFY(std::string(error.what()).find(path("Kon_W2.bmp")) != std::string::npos);
        }
        QCOMPARE(t.visited(), std::string("........\n........\n........\n........\n"
                                          "........\n........\n........\nK.......\n"));
        QCOMPARE(t.pictures(), std::string("........\n........\n........\n........\n"
                                           "........\n........\n........\n........\n"));
    }

    void indexesOffTheBoardAreErrors_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::newRow("row 0") << 0 << 1;
        QTest::newRow("row 9") << 9 << 1;
        QTest::newRow("column 0") << 1 << 0;
        QTest::newRow("column 9") << 8 << 9;
        QTest::newRow("negative") << -1 << -1;
        QTest::newRow("far") << 32767 << 4;
    }

    void indexesOffTheBoardAreErrors() {
        QFETCH(int, row);
        QFETCH(int, col);
        const auto r = static_cast<Coord>(row);
        const auto c = static_cast<Coord>(col);
        TestBoard t;
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, t.board.Visited(r, c));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, t.board.Squares(r, c));
        for (const auto task : {TaskKnightMove, TaskTour}) {
            t.board.TaskMode = task;
            try {
                t.board.SquareClick(r, c);
                QFAIL("a click off the board was taken");
            } catch (const std::out_of_range& error) {
                QVERIFY(std::string(error.what()).find("subscript out of range") !=
                        std::string::npos);
            }
        }
        QVERIFY(t.log.entries.empty());
    }
};

QTEST_APPLESS_MAIN(PaintingTest)
#include "tst_painting.moc"
