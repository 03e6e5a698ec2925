#include "web.h"

#include "server.h"
#include "webdriver.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryDir>
#include <algorithm>

namespace {

// Runs in every page before its own scripts: notes the first animation frame
// that shows the credits box open, and the first that shows the board with
// the knight drawn on its start square, each once its style and layout are
// done. A frame, not the DOM: a box is open in the DOM well before the
// browser gets round to painting it. And the frame laid out, not its start: a
// page may lay out before the frame (ours must, to put the focus on a square)
// or within it (the floor does), and a player sees the board only after both.
const char* const Watch = R"(
    window.bench = {};
    const knightDrawn = () => {
        const square = document.getElementById('squares').getContext('2d')
            .getImageData(1, 393, 55, 55).data;
        return square.some((value, i) => value != square[i % 4]);
    };
    // Observed from a frame's callbacks, an element is first reported in the
    // same frame, after its layout.
    const whenLaidOut = (element, note) => {
        const watch = new ResizeObserver(() => { watch.disconnect(); note(performance.now()); });
        watch.observe(element);
    };
    (function frame() { requestAnimationFrame(() => {
        const credits = document.getElementById('credits'), board = document.getElementById('frmMain');
        if (credits?.open && !bench.seen) {
            bench.seen = true;
            whenLaidOut(credits, (time) => bench.credits = time);
        }
        if (board && !board.hidden && knightDrawn()) whenLaidOut(board, (time) => bench.board = time);
        else frame();
    }); })();)";

// Presses OK and answers the time from there to the board shown.
const char* const PassCredits = R"(
    const done = arguments[0], ok = performance.now();
    document.querySelector('#credits button').click();
    (function wait() { bench.board ? done(bench.board - ok) : setTimeout(wait); })();)";

// Plays the path of `moves` (cell numbers) over and over in a task, with a new
// game before each new tour, or calls the floor's floorMove with the same
// files; answers the times, to the frame that shows the move, in
// microseconds.
const char* const Moves = R"(
    const [done, task, moves, count] = [arguments[0], %1, [%2], %3];
    const cell = n => document.getElementById('Picture' + n);
    const grey = n => (Math.floor((n - 1) / 8) + (n - 1) % 8) % 2 == 1;
    const named = n => new Promise(resolve => new MutationObserver((_, watch) => {
        watch.disconnect(); resolve();
    }).observe(cell(n), {attributeFilter: ['aria-label']}));
    const frame = () => new Promise(resolve => requestAnimationFrame(() => resolve(performance.now())));
    (async () => {
        const times = [];
        document.getElementById(task)?.click();
        for (let i = 0; i < count; ++i) {
            const step = i % (moves.length - 1), from = moves[step], to = moves[step + 1];
            const knight = grey(to) ? 'Kon_W2.bmp' : 'Kon_W.bmp', mark = grey(from) ? 'Trelk.bmp' : 'Trelk_W.bmp';
            const start = performance.now();
            if (window.floorMove) {
                await floorMove(task == 'mnuAllBoard' ? [knight, mark] : [knight], from, to);
            } else {
                const repainted = named(to);
                cell(to).click();
                await repainted;
            }
            times.push(await frame() - start);
            if (task == 'mnuAllBoard' && step == moves.length - 2) {
                const reset = window.floorMove || named(moves[0]);
                document.getElementById('mnuNewGame')?.click();
                await reset;
            }
        }
        done(times.map(t => t * 1000));
    })().catch(error => done(error.message));)";

std::vector<double> numbers(const QJsonValue& values) {
    if (!values.isArray()) {
        qWarning("the page measured nothing: %s", qPrintable(values.toString()));
    }
    std::vector<double> all;
    for (const QJsonValue& value : values.toArray()) {
        all.push_back(value.toDouble());
    }
    return all;
}

double medianOf(std::vector<double> samples) {
    return samples.empty() ? 0 : median(samples);
}

// The middle half of the samples, ours and the floor's: "p25-p75 vs p25-p75".
QString spread(std::vector<double> ours, std::vector<double> floor) {
    const auto quartiles = [](std::vector<double>& samples) {
        std::sort(samples.begin(), samples.end());
        const auto at = [&](double share) {
            return samples[std::size_t(share * static_cast<double>(samples.size() - 1))];
        };
        return QStringLiteral("%1-%2").arg(at(0.25), 0, 'f', 0).arg(at(0.75), 0, 'f', 0);
    };
    return ours.empty() || floor.empty() ? QString() : quartiles(ours) + " vs " + quartiles(floor);
}

// The resident memory of the browser's processes, the children of chromedriver's.
qint64 browserBytes() {
    qint64 total = 0;
    for (const QFileInfo& process : QDir("/proc").entryInfoList(QDir::Dirs)) {
        QFile command(process.filePath() + "/cmdline");
        if (command.open(QIODevice::ReadOnly) && command.readAll().contains("chromium")) {
            QFile status(process.filePath() + "/status");
            status.open(QIODevice::ReadOnly);
            for (const QByteArray& line : status.readAll().split('\n')) {
                if (line.startsWith("VmRSS:")) {
                    total += line.mid(6).trimmed().split(' ')[0].toLongLong() * 1024;
                }
            }
        }
    }
    return total;
}

// Which page a visit opens: ours, or the floor, with no worker or with the
// least worker that keeps it for offline play.
enum class Opened { Ours, Floor, OfflineFloor };

// The site in a folder of its own, where its worker's scope ends, and each
// floor in another beside it with the same style sheet and bitmaps: no worker
// of ours ever controls a floor.
struct Site {
    QTemporaryDir root;
    int port = 0;
    Server server;
    Site() {
        const QDir folder(root.path()), built(TARVIK_WEB_SITE);
        folder.mkpath("tarvik");
        for (const QFileInfo& file : built.entryInfoList(QDir::Files)) {
            QFile::copy(file.filePath(), folder.filePath("tarvik/" + file.fileName()));
        }
        for (const QString floor : {"floor/", "offline-floor/"}) {
            folder.mkpath(floor);
            for (const QFileInfo& bitmap : built.entryInfoList({"*.bmp"}, QDir::Files)) {
                QFile::copy(bitmap.filePath(), folder.filePath(floor + bitmap.fileName()));
            }
            QFile::copy(TARVIK_BENCH_FLOOR "/floor.html", folder.filePath(floor + "floor.html"));
            QFile::copy(TARVIK_WEB_STYLE, folder.filePath(floor + "tarvik.css"));
        }
        QFile::copy(TARVIK_BENCH_FLOOR "/floor-worker.js",
                    folder.filePath("offline-floor/worker.js"));
        server = serveOnFreePort("python3", {"-m", "http.server", "--bind", "127.0.0.1", "%1"},
                                 root.path(), port);
    }
    QString origin() const { return QStringLiteral("http://127.0.0.1:%1").arg(port); }
    QString url(Opened page) const {
        switch (page) {
        case Opened::Floor:
            return origin() + "/floor/floor.html?board";
        case Opened::OfflineFloor:
            return origin() + "/offline-floor/floor.html?board&offline";
        case Opened::Ours:
            break;
        }
        return origin() + "/tarvik/index.html";
    }
};

qint64 pageCodeBytes() {
    qint64 bytes = 0;
    for (const QFileInfo& file : QDir(TARVIK_WEB_SITE).entryInfoList(QDir::Files)) {
        bytes += file.suffix() == "bmp" || file.suffix() == "png" ? 0 : file.size();
    }
    return bytes;
}

// Opens the page as a player would come to it: on a first visit with
// nothing kept from before, on a return with the site's worker installed and
// stopped, as a browser stops an idle one.
void visit(WebDriver& browser, const Site& site, Opened page, bool returning) {
    if (returning) {
        browser.devTools("ServiceWorker.enable");
        browser.devTools("ServiceWorker.stopAllWorkers");
    } else {
        browser.devTools("Storage.clearDataForOrigin",
                         {{"origin", site.origin()}, {"storageTypes", "all"}});
        browser.devTools("Network.clearBrowserCache");
    }
    browser.open(site.url(page));
    browser.waitFor("window.bench?.credits > 0");
}

// Start-up, ours and the floor's, `runs` times each: navigation to the frame
// that shows the credits box, and OK to the frame that shows the board.
std::vector<Row> measureStartUp(WebDriver& browser, const Site& site, int runs, bool returning,
                                Opened floorPage, int slowdown) {
    browser.devTools("Emulation.setCPUThrottlingRate", {{"rate", slowdown}});
    if (returning) { // each worker installed by one visit, the first with nothing kept
        std::vector<Opened> installed{Opened::Ours};
        if (floorPage == Opened::OfflineFloor) {
            installed.push_back(floorPage);
        }
        for (const Opened page : installed) {
            visit(browser, site, page, page != Opened::Ours);
            browser.runAsync(PassCredits, 10000);
            browser.waitFor("!!navigator.serviceWorker.controller");
        }
    }
    std::vector<double> credits[2], board[2];
    for (int run = 0; run < runs * 2; ++run) {
        const bool floor = run % 2;
        visit(browser, site, floor ? floorPage : Opened::Ours, returning);
        credits[floor].push_back(browser.run("return bench.credits").toDouble());
        board[floor].push_back(browser.runAsync(PassCredits, 10000).toDouble());
    }
    browser.devTools("Emulation.setCPUThrottlingRate", {{"rate", 1}});
    const QString when = QStringLiteral("%1%2%3, middle half ")
                             .arg(returning ? "return visit" : "first visit")
                             .arg(floorPage == Opened::OfflineFloor ? ", floor with a worker" : "")
                             .arg(slowdown > 1 ? QStringLiteral(", CPU / %1").arg(slowdown) : "");
    return {{"web: to credits box painted (" + when + spread(credits[0], credits[1]) + ")", "ms",
             medianOf(credits[0]), medianOf(credits[1]), 1.2},
            {"web: OK to board painted (" + when + spread(board[0], board[1]) + ")", "ms",
             medianOf(board[0]), medianOf(board[1]), 1.2}};
}

// Moves on a page that plays offline, its worker in control: every file of a
// move passes through it, ours as the floor's.
std::vector<double> play(WebDriver& browser, const Site& site, bool floor, const QString& task,
                         const QString& moves, int count) {
    browser.open(site.url(floor ? Opened::OfflineFloor : Opened::Ours));
    browser.waitFor("window.bench?.credits > 0");
    browser.runAsync(PassCredits, 10000);
    browser.waitFor("!!navigator.serviceWorker.controller");
    return numbers(browser.runAsync(
        QString::fromLatin1(Moves).arg(task.isEmpty() ? "''" : "'" + task + "'", moves).arg(count),
        600000));
}

} // namespace

std::vector<Row> measureWeb(int runs, int longRun) {
    Site site;
    Window window;
    window.size = {800, 700};
    WebDriver browser(Engine::Chromium, window);
    browser.devTools("Page.addScriptToEvaluateOnNewDocument", {{"source", Watch}});
    std::vector<Row> rows{{"web: page code (HTML with its JS and CSS, wasm)", "KiB",
                           static_cast<double>(pageCodeBytes()) / 1024, 64, 1.0}};
    // A return visit starts the site's worker, as it starts any offline page's:
    // there the floor is the page with the least offline worker.
    for (const auto& [returning, floorPage] :
         {std::pair{false, Opened::Floor}, {true, Opened::OfflineFloor}}) {
        for (const int slowdown : {1, 4}) {
            const std::vector<Row> startUp =
                measureStartUp(browser, site, runs, returning, floorPage, slowdown);
            rows.insert(rows.end(), startUp.begin(), startUp.end());
        }
    }
    const QString knightMoves = "57,42,57", tourMoves = "57,42,25,10,4,14";
    for (const auto& [task, moves, what] :
         {std::tuple{"mnuMoveH", knightMoves,
                     "web: Knight move, click to frame shown, floor with a worker"},
          std::tuple{"mnuAllBoard", tourMoves,
                     "web: Tour move, click to frame shown, floor with a worker"}}) {
        rows.push_back({what, "us", medianOf(play(browser, site, false, task, moves, runs * 10)),
                        medianOf(play(browser, site, true, task, moves, runs * 10)), 1.2});
    }
    const std::vector<double> all = play(browser, site, false, "mnuMoveH", knightMoves, 1000);
    const qint64 atFirst = browserBytes();
    const std::vector<double> long_ = play(browser, site, false, "mnuMoveH", knightMoves, longRun);
    const qint64 atLong = browserBytes();
    rows.push_back({QStringLiteral("web: time per move at %L1 vs 1,000 moves").arg(longRun), "us",
                    medianOf({long_.end() - 1000, long_.end()}), medianOf(all), 1.2});
    rows.push_back({QStringLiteral("web: browser memory at %L1 vs 1,000 moves").arg(longRun), "MiB",
                    static_cast<double>(atLong) / 1048576, static_cast<double>(atFirst) / 1048576,
                    1.1});
    return rows;
}
