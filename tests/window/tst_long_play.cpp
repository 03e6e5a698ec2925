#include "invariants.h"
#include "test_rules.h"
#include "window_fixture.h"

#include <QAction>
#include <QFile>
#include <QTest>
#include <random>

namespace {

qint64 residentBytes() {
#ifdef Q_OS_LINUX
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (statm.open(QIODevice::ReadOnly)) {
        return statm.readAll().split(' ').value(1).toLongLong() * 4096;
    }
#endif
    return -1;
}

int stepsToPlay() {
    return qEnvironmentVariableIntValue("TARVIK_LONG_PLAY_STEPS") > 0
               ? qEnvironmentVariableIntValue("TARVIK_LONG_PLAY_STEPS")
               : 100'000;
}

int knightSquare(const frmMain& window) {
    return window.board().KnightRow * 8 + window.board().KnightCol;
}

} // namespace

// Random play on the real window for a long time: the board stays sound and
// the program's memory does not grow with the number of moves.
class LongPlayTest : public QObject {
    Q_OBJECT

private slots:
    void randomPlayKeepsTheBoardSoundAndMemoryFlat() {
        BitmapFolder folder;
        auto window = startedWindow(folder.path());
        const ShownPicture shown = [&](Coord row, Coord col) {
            return shownBitmap(cellAt(*window, row, col)).toStdString();
        };
        std::mt19937 random(20261207);
        std::uniform_int_distribution<int> square(1, 8);
        std::uniform_int_distribution<int> percent(0, 999);
        const auto aJumpAway = [&](std::mt19937& r) {
            const auto [dr, dc] = TestRules::KnightJumps[r() % 8];
            return std::pair(std::clamp(window->board().KnightRow + dr, 1, 8),
                             std::clamp(window->board().KnightCol + dc, 1, 8));
        };
        const int steps = stepsToPlay();
        qint64 residentAtThousand = 0;
        int moves = 0;
        for (int step = 1; step <= steps; ++step) {
            const int kind = percent(random);
            if (kind < 10) {
                menuAction(*window, kind < 5 ? "mnuMoveH" : "mnuAllBoard")->trigger();
            } else if (kind < 14) {
                menuAction(*window, "mnuNewGame")->trigger();
            } else {
                const auto [row, col] =
                    kind < 500 ? std::pair(square(random), square(random)) : aJumpAway(random);
                const int before = knightSquare(*window);
                click(*window, row, col);
                moves += before != knightSquare(*window) ? 1 : 0;
            }
            const std::string broken = invariantViolations(window->board(), shown);
            QVERIFY2(broken.empty(), qPrintable(QStringLiteral("step %1\n").arg(step) +
                                                QString::fromStdString(broken)));
            if (step % 1000 == 0) {
                QCoreApplication::processEvents(); // let the cells paint
            }
            if (step == 1000) {
                residentAtThousand = residentBytes();
            }
        }
        const qint64 residentAtEnd = residentBytes();
        qInfo("%d steps, %d moves; resident memory %.1f MiB at 1,000 steps, %.1f MiB at %d", steps,
              moves, double(residentAtThousand) / 1048576, double(residentAtEnd) / 1048576, steps);
        if (residentAtEnd < 0) {
            QSKIP("resident memory is not known on this system");
        }
#ifdef __SANITIZE_ADDRESS__
        QSKIP("AddressSanitizer keeps freed memory in quarantine; LeakSanitizer checks for leaks "
              "here");
#endif
        QVERIFY2(residentAtEnd - residentAtThousand < 16 * 1048576, "memory grows with play");
    }
};

QTEST_MAIN(LongPlayTest)
#include "tst_long_play.moc"
