// make bench: start-up, moves and memory of Tarvik against the floor the
// toolkit itself sets, measured in one run and printed as ratios.
// Needs a display; `make bench` gives it a private Xvfb.

#include "moves.h"
#include "startup.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    if (argc == 3 && std::strcmp(argv[1], "--startup-child") == 0) {
        return runStartupChild(argc, argv, std::strcmp(argv[2], "bare") == 0);
    }
    const int runs = qEnvironmentVariableIntValue("TARVIK_BENCH_RUNS") > 0
                         ? qEnvironmentVariableIntValue("TARVIK_BENCH_RUNS")
                         : 25;
    QApplication app(argc, argv);
    std::vector<Row> rows = measureStartup(QCoreApplication::applicationFilePath(), runs);
    const int longRun = qEnvironmentVariableIntValue("TARVIK_BENCH_LONG_RUN") > 0
                            ? qEnvironmentVariableIntValue("TARVIK_BENCH_LONG_RUN")
                            : 100'000;
    const std::vector<Row> moves = measureMoves(runs * 80, longRun);
    rows.insert(rows.end(), moves.begin(), moves.end());
    printTable(rows);
    return 0;
}
