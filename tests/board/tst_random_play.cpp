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

} // namespace

class RandomPlayTest : public QObject {
    Q_OBJECT

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
                t.board.SquareClick(static_cast<Coord>(row), static_cast<Coord>(col));
            }
            const QByteArray where = "step " + QByteArray::number(step);
            QVERIFY2(t.log.entries == expected, where);
            QVERIFY2(t.visited() == model.visited(),
                     where + "\n" + QByteArray::fromStdString(t.visited()));
            QVERIFY2(t.invariantViolations().empty(),
                     where + "\n" + QByteArray::fromStdString(t.invariantViolations()));
        }
    }
};

QTEST_APPLESS_MAIN(RandomPlayTest)
#include "tst_random_play.moc"
