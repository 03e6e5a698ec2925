#include "kept_game.h"
#include "recording_cell.h"
#include "test_rules.h"

#include <QTest>
#include <array>
#include <random>

namespace {

// The rules again, written independently of the board: knight moves as the
// eight jumps, the tour as a set of marked squares.
class RulesModel {
public:
    void newGame(std::vector<std::string>& expected) {
        marked_ = {};
        row_ = 8;
        col_ = 1;
        for (int i = 0; i < 64; ++i) {
            expected.push_back("clear " + std::to_string(i / 8 + 1) + " " +
                               std::to_string(i % 8 + 1));
        }
        expected.push_back("load 8 1 " + path("Kon_W2.bmp"));
    }

    void click(int task, int row, int col, std::vector<std::string>& expected) {
        if ((task != TaskKnightMove && task != TaskTour) || !isJump(row, col) || marked(row, col)) {
            return;
        }
        const bool enteredWhite = !TestRules::isGreySquare(row, col);
        expected.push_back(at("load", row, col) + path(enteredWhite ? "Kon_W.bmp" : "Kon_W2.bmp"));
        if (task == TaskKnightMove) {
            expected.push_back("clear " + std::to_string(row_) + " " + std::to_string(col_));
        } else {
            expected.push_back(at("load", row_, col_) +
                               path(enteredWhite ? "Trelk.bmp" : "Trelk_W.bmp"));
            marked_[static_cast<std::size_t>((row_ - 1) * 8 + col_ - 1)] = true;
        }
        row_ = row;
        col_ = col;
    }

    std::string visited() const {
        std::string text;
        for (int row = 1; row <= 8; ++row) {
            for (int col = 1; col <= 8; ++col) {
                text += row == row_ && col == col_ ? 'K' : (marked(row, col) ? 'x' : '.');
            }
            text += '\n';
        }
        return text;
    }

private:
    bool isJump(int row, int col) const {
        for (const auto& [dr, dc] : TestRules::KnightJumps) {
            if (row == row_ + dr && col == col_ + dc) {
                return true;
            }
        }
        return false;
    }
    bool marked(int row, int col) const {
        return marked_[static_cast<std::size_t>((row - 1) * 8 + col - 1)];
    }
    static std::string at(const char* op, int row, int col) {
        return std::string(op) + " " + std::to_string(row) + " " + std::to_string(col) + " ";
    }

    std::array<bool, 64> marked_{};
    int row_ = 8;
    int col_ = 1;
};

std::vector<std::string> named(const std::array<const std::string*, 2>& paths) {
    std::vector<std::string> names;
    for (const std::string* path : paths) {
        if (path != nullptr) {
            names.push_back(*path);
        }
    }
    return names;
}

// The files of the "load" entries, in their order.
std::vector<std::string> loadedPaths(const std::vector<std::string>& entries) {
    std::vector<std::string> paths;
    for (const std::string& entry : entries) {
        if (entry.starts_with("load ")) {
            paths.push_back(entry.substr(entry.find('/')));
        }
    }
    return paths;
}

} // namespace

class RandomPlayTest : public QObject {
    Q_OBJECT

    // The game as the page keeps it, resumed on a board just set up, is the
    // game as it was, pictures and all.
    static void checkKeptAndResumed(TestBoard& t, const QByteArray& where) {
        const std::optional<KeptGame> game = readKeptGame(keptGame(t.board, "1.0.0"), "1.0.0");
        QVERIFY2(game.has_value(), where);
        TestBoard resumed(false);
        resumed.board.resume(*game);
        QVERIFY2(resumed.pictures() == t.pictures() && resumed.visited() == t.visited() &&
                     resumed.board.TaskMode == t.board.TaskMode,
                 where + "\n" + QByteArray::fromStdString(resumed.pictures()));
    }

private slots:
    void boardAgreesWithTheModelStepByStep_data() {
        QTest::addColumn<unsigned>("seed");
        for (const unsigned seed : {1u, 7u, 42u, 2026u, 65535u}) {
            QTest::addRow("seed %u", seed) << seed;
        }
    }

    void boardAgreesWithTheModelStepByStep() {
        QFETCH(unsigned, seed);
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> square(1, 8);
        std::uniform_int_distribution<int> percent(0, 99);
        TestBoard t;
        RulesModel model;
        int task = TaskNone;
        for (int step = 0; step < 5000; ++step) {
            std::vector<std::string> expected;
            const QByteArray where = "step " + QByteArray::number(step);
            t.log.entries.clear();
            const int kind = percent(random);
            if (kind < 4) {
                task = kind < 2 ? TaskKnightMove : TaskTour;
                t.board.TaskMode = static_cast<std::int16_t>(task);
            } else if (kind < 5) {
                model.newGame(expected);
                t.board.ResetBoard();
            } else {
                const int row = square(random);
                const int col = square(random);
                model.click(task, row, col, expected);
                QVERIFY2(named(t.board.picturesFor(Coord(row), Coord(col))) ==
                             loadedPaths(expected),
                         where);
                t.board.SquareClick(static_cast<Coord>(row), static_cast<Coord>(col));
            }
            QVERIFY2(t.log.entries == expected, where);
            if (step % 50 == 0) {
                checkKeptAndResumed(t, where);
            }
            QVERIFY2(t.visited() == model.visited(),
                     where + "\n" + QByteArray::fromStdString(t.visited()));
            QVERIFY2(t.invariantViolations().empty(),
                     where + "\n" + QByteArray::fromStdString(t.invariantViolations()));
        }
    }
};

QTEST_APPLESS_MAIN(RandomPlayTest)
#include "tst_random_play.moc"
