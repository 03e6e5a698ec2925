// make bench: start-up, moves and memory of Tarvik against the floor the
// toolkit itself sets, and of the page against a page doing the same work by
// hand, measured in one run and printed as ratios.
// Needs a display; `make bench` gives it a private Xvfb.

#include "moves.h"
#include "startup.h"
#ifdef TARVIK_WEB_SITE
#include "web.h"
#endif

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
#ifdef TARVIK_WEB_SITE
    const int webLongRun = qEnvironmentVariableIntValue("TARVIK_BENCH_WEB_LONG_RUN") >= 1000
                               ? qEnvironmentVariableIntValue("TARVIK_BENCH_WEB_LONG_RUN")
                               : 10'000;
    const std::vector<Row> web = measureWeb(runs, webLongRun);
    rows.insert(rows.end(), web.begin(), web.end());
#endif
    printTable(rows);
    return 0;
}
