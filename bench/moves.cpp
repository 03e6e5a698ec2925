#include "moves.h"

#include "frmmain.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <map>

namespace {

using Square = std::pair<int, int>;

// Counts the paints of the widgets it watches.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints[watched];
        }
        return false;
    }
    // Processes events until every widget given has painted once more.
    void waitForPaint(std::initializer_list<QWidget*> widgets) {
        std::map<QObject*, int> before;
        for (QWidget* widget : widgets) {
            before[widget] = paints[widget];
        }
        for (int round = 0; round < 1000; ++round) {
            QCoreApplication::processEvents();
            bool all = true;
            for (const auto& [widget, count] : before) {
                all = all && paints[widget] > count;
            }
            if (all) {
                return;
            }
        }
        qFatal("a widget was never repainted");
    }
    std::map<QObject*, int> paints;
};

PictureCell* cell(frmMain& window, Square square) {
    return window.findChild<PictureCell*>(
        QStringLiteral("Picture%1").arg((square.first - 1) * 8 + square.second));
}

std::unique_ptr<frmMain> startedWindow(PaintCounter& counter) {
    QTimer::singleShot(0, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->accept();
        }
    });
    auto window = std::make_unique<frmMain>([] { return std::filesystem::path(TARVIK_BIN_DIR); });
    window->Form_Load();
    window->showCentred();
    if (!QTest::qWaitForWindowExposed(window.get())) {
        qFatal("the board window was never shown");
    }
    for (PictureCell* each : window->findChildren<PictureCell*>()) {
        each->installEventFilter(&counter);
    }
    return window;
}

void choose(frmMain& window, const char* item) {
    window.findChild<QAction*>(QString::fromLatin1(item))->trigger();
}

// One timed move: the click, then both cells' repaint.
double timedMove(frmMain& window, PaintCounter& counter, Square to) {
    const Square from{window.board().KnightRow, window.board().KnightCol};
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(cell(window, to), Qt::LeftButton, {}, QPoint(28, 28));
    counter.waitForPaint({cell(window, to), cell(window, from)});
    return double(clock.nsecsElapsed()) / 1000;
}

// A knight's tour from (8, 1) by Warnsdorff's rule: always the square with the
// fewest onward moves.
std::vector<Square> knightsTour() {
    static constexpr Square Jumps[] = {{1, 2},  {2, 1},  {-1, 2},  {-2, 1},
                                       {1, -2}, {2, -1}, {-1, -2}, {-2, -1}};
    bool taken[9][9] = {};
    const auto free = [&](Square s) {
        return s.first >= 1 && s.first <= 8 && s.second >= 1 && s.second <= 8 &&
               !taken[s.first][s.second];
    };
    const auto onward = [&](Square s) {
        int count = 0;
        for (const auto& [dr, dc] : Jumps) {
            count += free({s.first + dr, s.second + dc}) ? 1 : 0;
        }
        return count;
    };
    std::vector<Square> tour;
    Square at{8, 1};
    taken[8][1] = true;
    for (;;) {
        Square best{0, 0};
        for (const auto& [dr, dc] : Jumps) {
            const Square next{at.first + dr, at.second + dc};
            if (free(next) && (best.first == 0 || onward(next) < onward(best))) {
                best = next;
            }
        }
        if (best.first == 0) {
            return tour;
        }
        taken[best.first][best.second] = true;
        tour.push_back(best);
        at = best;
    }
}

// The floor: the same files read into plain labels, then their repaint.
// QPixmap(path) would answer from QPixmapCache after the first time, so the
// file goes through QImage, read afresh like ours.
double timedLabels(std::vector<QLabel*>& labels, PaintCounter& counter,
                   const std::vector<QString>& files) {
    QElapsedTimer clock;
    clock.start();
    for (std::size_t i = 0; i < files.size(); ++i) {
        labels[i]->setPixmap(QPixmap::fromImage(QImage(files[i])));
    }
    if (files.size() == 1) {
        counter.waitForPaint({labels[0]});
    } else {
        counter.waitForPaint({labels[0], labels[1]});
    }
    return double(clock.nsecsElapsed()) / 1000;
}

QString bitmap(const char* name) {
    return QStringLiteral(TARVIK_BIN_DIR "/") + QLatin1String(name);
}

} // namespace

std::vector<Row> measureMoves(int samples, int longRun) {
    PaintCounter counter;
    auto window = startedWindow(counter);
    QWidget floorWindow;
    auto* layout = new QVBoxLayout(&floorWindow);
    std::vector<QLabel*> labels{new QLabel, new QLabel};
    for (QLabel* label : labels) {
        label->setFixedSize(55, 55);
        label->installEventFilter(&counter);
        layout->addWidget(label);
    }
    floorWindow.show();
    if (!QTest::qWaitForWindowExposed(&floorWindow)) {
        qFatal("the floor window was never shown");
    }

    std::vector<double> knight, knightFloor, tour, tourFloor;
    const std::vector<Square> route = knightsTour();
    std::size_t step = 0;
    while (knight.size() < std::size_t(samples)) {
        choose(*window, "mnuMoveH");
        for (int i = 0; i < 50; ++i) {
            knight.push_back(timedMove(
                *window, counter, window->board().KnightRow == 8 ? Square{6, 2} : Square{8, 1}));
            knightFloor.push_back(
                timedLabels(labels, counter, {bitmap(i % 2 ? "Kon_W2.bmp" : "Kon_W.bmp")}));
        }
        choose(*window, "mnuNewGame");
        choose(*window, "mnuAllBoard");
        for (step = 0; step < route.size() && step < 50; ++step) {
            tour.push_back(timedMove(*window, counter, route[step]));
            tourFloor.push_back(
                timedLabels(labels, counter, {bitmap("Kon_W.bmp"), bitmap("Trelk.bmp")}));
        }
        choose(*window, "mnuNewGame");
    }

    choose(*window, "mnuMoveH");
    QElapsedTimer clock;
    clock.start();
    double firstThousand = 0;
    qint64 residentAtThousand = 0;
    double lastThousandStart = 0;
    for (int move = 1; move <= longRun; ++move) {
        timedMove(*window, counter, window->board().KnightRow == 8 ? Square{6, 2} : Square{8, 1});
        if (move == 1000) {
            firstThousand = double(clock.nsecsElapsed()) / 1000 / 1000;
            residentAtThousand = residentBytes();
        }
        if (move == longRun - 1000) {
            lastThousandStart = double(clock.nsecsElapsed()) / 1000;
        }
    }
    const double lastThousand = (double(clock.nsecsElapsed()) / 1000 - lastThousandStart) / 1000;
    const QString longRunText = QLocale(QLocale::English).toString(longRun);
    return {
        {"Knight move, click to both cells repainted", "us", median(knight), median(knightFloor),
         1.5},
        {"Tour move, click to both cells repainted", "us", median(tour), median(tourFloor), 1.5},
        {"time per move at " + longRunText + " vs 1,000 moves", "us", lastThousand, firstThousand,
         1.2},
        {"resident memory at " + longRunText + " vs 1,000 moves", "MiB",
         double(residentBytes()) / 1048576, double(residentAtThousand) / 1048576, 1.05}};
}
