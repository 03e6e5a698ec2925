#include "desktop.h"
#include "hostile_files.h"
#include "web_page.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTest>
#include <cmath>

// The page as a player meets it, in each engine the README promises. A row
// that needs what only some engines' drivers can do runs there, and its name
// says where.

namespace {

// What comes before the moves: a return visit, offline, after the first has
// installed the worker (and the browser has stopped it), or the player's
// system in the dark scheme.
// Or, once it is installed, a network that takes every request and never
// answers, as on a train: from the next move on, or from opening the page.
enum class Before { Nothing, Offline, OfflineWorkerStopped, ServerHangs, OpenedWhileServerHangs };

// What the worker waits for before its copy answers, a request at a time.
constexpr int WorkerDeadlineMs = 5000;

// The row's name, and where it runs when not everywhere.
QByteArray rowName(const char* name, std::initializer_list<Facility> needs) {
    if (needs.size() == 0) {
        return name;
    }
    QStringList engines;
    for (const Engine each : {Engine::Chromium, Engine::Firefox, Engine::WebKit}) {
        if (std::all_of(needs.begin(), needs.end(), [&](Facility f) { return can(each, f); })) {
            engines << engineName(each);
        }
    }
    return QByteArray(name) + " (" + engines.join(", ").toUtf8() + ")";
}

} // namespace

Q_DECLARE_METATYPE(Before)
Q_DECLARE_METATYPE(Visit)

class WebTest : public QObject {
    Q_OBJECT

    // The whole window on the screen, the page neither scrolled nor zoomed
    // out; every grid line equally wide, in whole device pixels, and every
    // square exactly as large; the bottom line lies outside the client area.
    void checkBoardGeometry(Page& page, const QImage& screen, const QRect& client) {
        QCOMPARE(page.run("return (r => r.left >= 0 && r.top >= 0 && r.right <= innerWidth &&"
                          "r.bottom <= innerHeight)(document.getElementById('frmMain')"
                          ".getBoundingClientRect()) && visualViewport.scale == 1 &&"
                          "document.documentElement.scrollWidth <= innerWidth &&"
                          "document.documentElement.scrollHeight <= innerHeight"),
                 true);
        const double scale = client.width() / 449.0;
        const int middle = qRound(28 * scale); // of the first row, of the second column
        const int line = qMax(1, qRound(scale));
        QList<int> across, down;
        QCOMPARE(blackRuns(screen, client.topLeft() + QPoint(0, middle), {1, 0}, client.width(),
                           &across),
                 QList<int>(9, line));
        QCOMPARE(blackRuns(screen, client.topLeft() + QPoint(qRound(56 * scale) + middle, 0),
                           {0, 1}, client.height(), &down),
                 QList<int>(8, line));
        QVERIFY2(allEqual(across + down),
                 qPrintable(QStringLiteral("squares %1 across, %2 down")
                                .arg(QDebug::toString(across), QDebug::toString(down))));
    }

    // The first square that does not show its colour alone or the picture the
    // board says, or an empty text.
    QString squareAmiss(Page& page, const QImage& screen, const QRect& client,
                        const QString& board) {
        const double scale = client.width() / 449.0;
        const QColor white = page.highlightText();
        for (int row = 1; row <= 8; ++row) {
            for (int col = 1; col <= 8; ++col) {
                const QRect inner = innerAreaOf({}, row, col);
                const QImage shown =
                    screen.copy(QRect(inner.topLeft() * scale, inner.size() * scale)
                                    .translated(client.topLeft()));
                const QColor square = TestRules::isGreySquare(row, col) ? Grey : white;
                const QString picture = pictureOn(board, row, col);
                if (!(picture.isEmpty()
                          ? isUniform(shown, square)
                          : looksLike(shown, onSquare(picture, square).scaled(shown.size())))) {
                    return QStringLiteral("(%1, %2) does not show %3")
                        .arg(row)
                        .arg(col)
                        .arg(picture.isEmpty() ? "its colour alone" : picture);
                }
            }
        }
        return {};
    }

    // Every square shows what the board says, once every move has been
    // handled: where the knight ends on a square it stood on before, the
    // square may still bear the earlier move's name while a later move, a new
    // game say, is being painted.
    void checkSquares(Page& page, const QRect& client, const QString& board) {
        QString amiss;
        for (QDeadlineTimer deadline(Browser::DeadlineMs);
             !(amiss = squareAmiss(page, page.screenshot(), client, board)).isEmpty() &&
             !deadline.hasExpired();) {
            QTest::qWait(50);
        }
        QVERIFY2(amiss.isEmpty(), qPrintable(amiss));
    }

    // Where the window is too small for the board, the largest board that
    // fits: one device pixel more a square would not.
    void checkFitsLargest(Page& page) {
        QCOMPARE(page.run("const f = document.getElementById('frmMain').getBoundingClientRect();"
                          "const grow = 8 / devicePixelRatio;"
                          "return f.width + grow > innerWidth || f.height + grow > innerHeight"),
                 true);
    }

    // On a touch screen: a tap opens a menu, a tap on the other heading opens
    // that one instead, headings and items are big enough for a finger, and a
    // tap on the board closes the menu without reaching a task.
    void checkMenusByTouch(Page& page) {
        page.browser().tap("mnuFile");
        page.browser().tap("mnuTasks");
        QVERIFY(page.waitFor("document.getElementById('mnuAllBoard').checkVisibility() &&"
                             "!document.getElementById('mnuNewGame').checkVisibility()"));
        QCOMPARE(page.run("return [...document.querySelectorAll('#menubar [role=menuitem]')]"
                          ".filter(e => e.checkVisibility()).map(e => e.offsetHeight >= 44)"
                          ".join()")
                     .toString(),
                 "true,true,true,true");
        page.browser().tap("Picture1");
        QVERIFY(page.waitFor("!document.getElementById('mnuAllBoard').checkVisibility()"));
    }

    void comeBefore(Page& page, Before before) {
        if (before == Before::Nothing) {
            return;
        }
        QVERIFY(page.workerActive());
        if (before == Before::ServerHangs || before == Before::OpenedWhileServerHangs) {
            page.serve("hang");
            if (before == Before::OpenedWhileServerHangs) { // the page, its code, the knight
                page.open(page.folderUrl() + "/index.html");
                QVERIFY(page.comesBack(4 * WorkerDeadlineMs));
            }
            return;
        }
        if (engineCan({Facility::DevTools})) {
            QCOMPARE(
                page.browser().devTools("Page.getInstallabilityErrors")["installabilityErrors"],
                QJsonArray());
        }
        if (before == Before::OfflineWorkerStopped) { // only what the worker stored is left
            page.browser().devTools("ServiceWorker.enable");
            page.browser().devTools("ServiceWorker.stopAllWorkers");
        }
        page.reopenOffline(page.folderUrl() + "/index.html");
        QVERIFY(page.comesBack());
    }

    // What the browser or the player does to the page after a tour of five
    // moves, the knight on (2, 6).
    void leave(Page& page, const QString& step) {
        if (step == "reload") {
            page.reload();
        } else if (step == "crash") { // as a phone's system ends a background tab's renderer
            page.browser().crashAndReload();
            page.recordUnseen();     // the new session runs nothing before the page's scripts
        } else if (step == "back") { // the page itself again, not a new one from what was kept
            page.run("window.stayed = true");
            page.open(page.folderUrl() + "/manifest.webmanifest");
            page.run("history.back()");
            QVERIFY(page.waitFor("window.stayed === true"));
        } else if (step == "tab") {
            page.openInNewTab();
        } else if (step == "report") { // the knight's next picture cannot be loaded
            QVERIFY(QFile::rename(page.file("Kon_W2.bmp"), page.file("gone")));
            page.play("31");
            QVERIFY(page.waitFor("document.getElementById('report').open"));
            page.answer("report");
            QVERIFY(QFile::rename(page.file("gone"), page.file("Kon_W2.bmp")));
        } else if (step == "damage") {
            page.run("sessionStorage.setItem(KeptGame.key, sessionStorage.getItem(KeptGame.key)"
                     ".replace('K', 'KK'))");
        } else {
            page.play(step);
            QVERIFY(page.waitFor(step == "mnuExit" ? "!document.getElementById('frmMain')"
                                                   : "document.getElementById('Picture57')"
                                                     ".ariaLabel.endsWith('конь')"));
        }
    }

    // Shift+Tab that many times, from the cell after the menu bar's heading
    // and the cells before it; where the driver cannot send it, the focus put
    // there.
    void backToTheMenuBar(Page& page, int cells) {
        if (engineCan({Facility::BackwardTab})) {
            page.browser().press(QStringList(cells, Shift + Tab));
        } else {
            page.run("document.getElementById('mnuFile').focus()");
        }
    }

private slots:
    void cleanupTestCase() { Page::endKeptBrowser(); }

    void playsAsTheBoardSays_data() {
        QTest::addColumn<Visit>("visit");
        QTest::addColumn<Before>("before");
        QTest::addColumn<QString>("moves");
        QTest::addColumn<bool>("turned"); // the phone, after the moves
        QTest::addColumn<QString>("board");
        const auto row = [](const char* name, std::initializer_list<Facility> needs,
                            const Visit& visit, Before before, const char* moves, bool turned,
                            const char* board) {
            if (engineCan(needs)) {
                QTest::newRow(rowName(name, needs))
                    << visit << before << QString(moves) << turned << QString(board);
            }
        };
        const Visit desk;
        const Before no = Before::Nothing;
        row("start", {}, desk, no, "", false, "K81");
        row("no task, no move", {}, desk, no, "42", false, "K81");
        row("refused knight move", {}, desk, no, "mnuMoveH 28", false, "K81");
        row("knight move", {}, desk, no, "mnuMoveH 42", false, "K62");
        row("knight move and back", {}, desk, no, "mnuMoveH 42 57", false, "K81");
        row("tour", {}, desk, no, "mnuAllBoard 42 25 10", false, "x81 x62 x41 K22");
        row("tour refuses a mark", {}, desk, no, "mnuAllBoard 42 57", false, "x81 K62");
        row("new game keeps the task", {}, desk, no, "mnuAllBoard 42 mnuNewGame 42", false,
            "x81 K62");
        row("tour at 125 %", {Facility::FractionalZoom}, desk.at(1.25), no, "mnuAllBoard 42 25",
            false, "x81 x62 K41");
        row("tour at 150 %", {Facility::FractionalZoom}, desk.at(1.5), no, "mnuAllBoard 42 25",
            false, "x81 x62 K41");
        row("tour at 200 %", {}, desk.at(2), no, "mnuAllBoard 42 25", false, "x81 x62 K41");
        row("tour in a window too small for the board", {}, desk.at(1, {447, 470}), no,
            "mnuAllBoard 42 25", false, "x81 x62 K41");
        row("tour by touch on a 390 x 844 phone at 3", {Facility::PhoneScreen},
            desk.at(3, {390, 844}, true), no, "mnuAllBoard 42 25 10 mnuNewGame 42", false,
            "x81 K62");
        row("412 x 915 phone at 2.625", {Facility::PhoneScreen}, desk.at(2.625, {412, 915}, true),
            no, "mnuMoveH 42", false, "K62");
        row("844 x 390 phone, sideways, at 3", {Facility::PhoneScreen},
            desk.at(3, {844, 390}, true), no, "mnuAllBoard 42", false, "x81 K62");
        row("390 x 844 phone turned after a move", {Facility::PhoneScreen},
            desk.at(3, {390, 844}, true), no, "mnuMoveH 42", true, "K62");
        row("320 x 568 phone at 2", {Facility::PhoneScreen}, desk.at(2, {320, 568}, true), no,
            "mnuAllBoard 42", false, "x81 K62");
        row("installed, then a tour offline", {}, desk, Before::Offline, "mnuAllBoard 42 25", false,
            "x81 x62 K41");
        row("installed, the worker stopped, then a tour offline", {Facility::DevTools}, desk,
            Before::OfflineWorkerStopped, "mnuAllBoard 42 25", false, "x81 x62 K41");
        row("tour in the dark scheme", {}, desk.dark(), no, "mnuAllBoard 42 25", false,
            "x81 x62 K41");
        row("installed, then a tour while the server hangs", {}, desk, Before::ServerHangs,
            "mnuAllBoard 42", false, "x81 K62");
        row("installed, then opened and a tour while the server hangs", {}, desk,
            Before::OpenedWhileServerHangs, "mnuAllBoard 42", false, "x81 K62");
    }
    void playsAsTheBoardSays() {
        QFETCH(Visit, visit);
        QFETCH(Before, before);
        QFETCH(QString, moves);
        QFETCH(bool, turned);
        QFETCH(QString, board);
        Page page(visit);
        QVERIFY(page.passCredits());
        comeBefore(page, before);
        if (page.touch()) {
            checkMenusByTouch(page);
        }
        page.play(moves);
        const QString knight = board.split(' ').filter("K").first();
        QVERIFY(page.knightIsOn(knight[1].digitValue(), knight[2].digitValue()));
        if (turned) { // the window fits the turned screen anew
            page.browser().resize(visit.window.size.transposed(), visit.window.zoom);
            QVERIFY(page.waitFor("document.getElementById('frmMain').getBoundingClientRect()"
                                 ".bottom <= innerHeight"));
        }
        if (page.touch()) { // as wide as the screen
            QCOMPARE(page.run("return innerWidth").toInt(),
                     (turned ? visit.window.size.transposed() : visit.window.size).width());
        }
        const QImage screen = page.screenshot();
        const QRect client = page.client();
        checkBoardGeometry(page, screen, client);
        if (client.width() < qRound(449 * page.zoom())) {
            checkFitsLargest(page);
        }
        if (client.width() % 449 == 0) { // else pictures are smoothed between device pixels
            checkSquares(page, client, board);
        }
        QCOMPARE(page.unseen(), QString()); // nothing failed, nothing blocked
    }

    void menusAndKeysAsOnTheDesktop() {
        Page page;
        QVERIFY(page.passCredits());
        QVERIFY(page.workerActive()); // it has fetched every file once
        const int knightFetched = page.requests("Kon_W.bmp");
        QCOMPARE(page.run("return [...document.querySelectorAll('#menubar [role=menuitem]')]"
                          ".map(e => e.id + ' ' + e.textContent + ' ' + e.closest("
                          "'[role=menu],[role=menubar]').getAttribute('role')).join(', ')")
                     .toString(),
                 "mnuFile Файл menubar, mnuNewGame Новая игра menu, mnuExit Выход menu, "
                 "mnuTasks Задачи menubar, mnuMoveH Ход конём menu, "
                 "mnuAllBoard Обойти всю доску menu");
        // As on the desktop, the first square has the focus, and a screen
        // reader meets the board and its menu bar by name, never the canvas.
        QCOMPARE(page.run("return document.activeElement.id").toString(), "Picture1");
        QCOMPARE(page.run("return ['menubar', 'board'].map(id => document.getElementById(id)"
                          ".ariaLabel).join() + ' ' + document.getElementById('squares')"
                          ".ariaHidden")
                     .toString(),
                 "Меню,Доска true");
        const QImage unfocused = page.screenshot();
        // Where each Tab has taken the focus (a window without the system's
        // focus, as a headless browser's, gets no focus events).
        backToTheMenuBar(page, 1);
        page.run("window.order = [document.activeElement.id]; addEventListener('keyup',"
                 "e => e.key == 'Tab' && order.push(document.activeElement.id))");
        page.browser().press(QStringList(64, Tab));
        QStringList order{"mnuFile"};
        for (int number = 1; number <= 64; ++number) {
            order << QStringLiteral("Picture%1").arg(number);
        }
        QCOMPARE(page.run("return order.join(' ')").toString(), order.join(' '));
        QCOMPARE(page.screenshot(), unfocused); // a focused cell shows nothing
        // Back to the menu bar, along to Задачи, open it and choose Ход конём;
        // then on a focused cell a knight's move away, no key moves the knight.
        backToTheMenuBar(page, 64);
        page.browser().press({Right, Return, Return});
        page.browser().press(QStringList(42, Tab) << Return << " " << Down << PageDown);
        QCOMPARE(page.run("return document.activeElement.id").toString(), "Picture42");
        QTest::qWait(500);
        QCOMPARE(page.requests("Kon_W.bmp"), knightFetched);
        page.play("42 64"); // the second, on the bottom row, is refused
        QVERIFY(page.knightIsOn(6, 2));
        QTest::qWait(300);
        QCOMPARE(page.run("return [...document.querySelectorAll('*')].every("
                          "e => !e.scrollTop && !e.scrollLeft) && !scrollX && !scrollY"),
                 true);
        // A second click on an open heading closes its menu, and so does
        // Escape, as on the desktop.
        const QString tasksOpen = "document.getElementById('mnuMoveH').checkVisibility()";
        for (const QString& closing : {QStringLiteral("click"), Escape}) {
            page.browser().click("mnuTasks");
            QVERIFY(page.waitFor(tasksOpen));
            closing == "click" ? page.browser().click("mnuTasks") : page.browser().press({Escape});
            QVERIFY2(page.waitFor("!" + tasksOpen), qPrintable(closing));
        }
        page.play("mnuExit");
        QVERIFY(page.waitFor("!document.getElementById('frmMain')"));
    }

    // The page states its own policy, which allows no inline script or style
    // but its own, no eval, no plugins and no other base.
    void aStrictSecurityPolicy() {
        Page page;
        const QString policy =
            page.run("return document.querySelector('meta[http-equiv=Content-Security-Policy]')"
                     ".content")
                .toString();
        for (const char* part : {"default-src 'none'", "object-src 'none'", "base-uri 'none'",
                                 "'wasm-unsafe-eval'", "script-src 'sha256-"}) {
            QVERIFY2(policy.contains(part), qPrintable(policy));
        }
        for (const char* loose : {"'unsafe-inline'", "'unsafe-eval'", "script-src 'self'", "*"}) {
            QVERIFY2(!policy.contains(loose), qPrintable(policy));
        }
    }

    // Also through the worker, which the server never hides behind.
    void everyPaintReadsItsFileAnew_data() {
        QTest::addColumn<QString>("host");
        QTest::newRow("through the worker") << "127.0.0.1";
        if (engineCan({Facility::HostName})) {
            QTest::newRow(
                rowName("no worker, files a browser may cache for a month", {Facility::HostName}))
                << "tarvik.test";
        }
    }
    void everyPaintReadsItsFileAnew() {
        QFETCH(QString, host);
        const bool worker = host == "127.0.0.1";
        Page page(Visit().fromHost(host));
        QVERIFY(page.passCredits());
        QVERIFY(worker ? page.workerActive() : page.run("return !navigator.serviceWorker") == true);
        const int knightOnGrey = page.requests("Kon_W2.bmp"), knight = page.requests("Kon_W.bmp");
        page.play("mnuMoveH 42 57");
        QVERIFY(page.knightIsOn(8, 1));
        QFile::remove(page.file("Kon_W.bmp"));
        QVERIFY(QFile::copy(page.file("Trelk_W.bmp"), page.file("Kon_W.bmp")));
        page.play("42");
        QVERIFY(page.knightIsOn(6, 2));
        const QRect square = innerAreaOf(page.client(), 6, 2);
        QVERIFY(looksLike(page.screenshot().copy(square),
                          onSquare("Trelk_W.bmp", page.highlightText())));
        QCOMPARE(page.requests("Kon_W2.bmp") - knightOnGrey, 1);
        QCOMPARE(page.requests("Kon_W.bmp") - knight, 2);
        // Through the worker, a new page on the server is what a reload
        // shows, though the old one looks fresh for months; a missing
        // picture is reported.
        page.play("57");
        QVERIFY(page.knightIsOn(8, 1));
        QFile::remove(page.file("Kon_W.bmp"));
        if (worker) {
            QFile index(page.file("index.html"));
            QVERIFY(index.open(QIODevice::Append) &&
                    index.write("<template id=\"new\"></template>") > 0);
            index.close();
            page.open(page.folderUrl() + "/index.html");
            QVERIFY(page.waitFor("!!document.getElementById('new')"));
            QVERIFY(page.comesBack());
        }
        page.play("42");
        QVERIFY(page.waitFor("document.getElementById('report').open"));
        QVERIFY(page.text("#report p").endsWith("Kon_W.bmp»: файл не найден."));
        page.answer("report");
        if (worker) { // offline, the page and pictures the server last sent
            page.reopenOffline(page.folderUrl() + "/index.html");
            QVERIFY(page.passCredits()); // the report ended the run
            QVERIFY(page.waitFor("!!document.getElementById('new')"));
            page.play("mnuMoveH 42");
            QVERIFY(page.knightIsOn(6, 2));
            QVERIFY(looksLike(page.screenshot().copy(square),
                              onSquare("Trelk_W.bmp", page.highlightText())));
        }
    }

    // Every kind of bytes the desktop refuses, the page refuses too, with the
    // desktop's words for the same file.
    // What the board shows behind the report: a Tour move asks for both its
    // files at once, yet a knight that fails changes nothing, and a mark that
    // fails leaves the knight on both squares.
    void aPictureThatCannotBeLoadedEndsTheProgram_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("moves");
        QTest::addColumn<QString>("board");
        for (const HostileKind& kind : hostileKinds()) {
            // The header's edges, only the rules' words, are checked in the
            // page's build word for word by tst_rules_agree.
            if ((kind.bytes && !kind.headerEdge) || kind.name == "missing") {
                QTest::addRow("Kon_W2.bmp %s", kind.name.constData())
                    << "Kon_W2.bmp" << QString::fromLatin1(kind.name) << ""
                    << "";
            }
        }
        QTest::newRow("Kon_W.bmp missing") << "Kon_W.bmp"
                                           << "missing"
                                           << "mnuMoveH 42"
                                           << "K81";
        QTest::newRow("Kon_W.bmp missing, in a tour") << "Kon_W.bmp"
                                                      << "missing"
                                                      << "mnuAllBoard 42"
                                                      << "K81";
        QTest::newRow("Trelk.bmp missing") << "Trelk.bmp"
                                           << "missing"
                                           << "mnuAllBoard 42"
                                           << "K81 K62";
    }
    void aPictureThatCannotBeLoadedEndsTheProgram() {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        QFETCH(QString, moves);
        QFETCH(QString, board);
        Page page;
        QVERIFY(makeHostileFile(kind, page.file(file)));
        QVERIFY(page.waitFor("document.getElementById('credits').open"));
        page.answer("credits");
        if (!moves.isEmpty()) {
            QVERIFY(page.waitFor("!document.getElementById('frmMain').hidden"));
            page.play(moves);
        }
        QVERIFY(page.waitFor("document.getElementById('report').open"));
        QCOMPARE(page.boardShown(), !moves.isEmpty()); // never, when start-up fails
        QCOMPARE(page.text("#report h1"), Report);
        QCOMPARE(page.text("#report p"),
                 QStringLiteral("Не удалось загрузить рисунок «%1/%2»: %3.")
                     .arg(page.folderUrl(), file, desktopReason(page.file(file))));
        if (!board.isEmpty()) {
            const QImage squares = page.squares();
            QCOMPARE(squareAmiss(page, squares, squares.rect(), board), QString());
        }
        page.answer("report");
        QVERIFY(page.waitFor("!document.getElementById('frmMain')"));
    }

    // Where the worker has no copy of a file and the server takes the
    // request and never answers, the move ends in the report, by a deadline.
    void aServerThatNeverAnswersEndsInTheReport() {
        Page page;
        QVERIFY(page.passCredits());
        QVERIFY(page.workerActive());
        QVERIFY(page.waitFor("(caches.keys().then(k => caches.open(k[0])).then(c =>"
                             "c.delete(new URL('Kon_W.bmp', location)).then(d => window.gone = d)),"
                             "window.gone)"));
        page.serve("hang");
        page.play("mnuMoveH 42");
        QVERIFY(page.waitFor("document.getElementById('report').open", 4 * WorkerDeadlineMs));
        QCOMPARE(page.text("#report p"),
                 QStringLiteral("Не удалось загрузить рисунок «%1/Kon_W.bmp»: файл не удалось "
                                "прочитать: сервер не ответил.")
                     .arg(page.folderUrl()));
        page.answer("report");
        QVERIFY(page.waitFor("!document.getElementById('frmMain')"));
    }

    // A phone's browser ends background pages and reloads them when the
    // player comes back, which looks to the page like a reload: within one
    // tab the run goes on, as the player left it, with no credits box again
    // and the task's rules for the next click. A run the player ended, a new
    // tab, or a kept game that cannot be read starts afresh.
    void theTabKeepsTheGameInProgress_data() {
        QTest::addColumn<QString>("then");
        QTest::addColumn<QString>("board"); // as it comes back, "" afresh
        QTest::addColumn<QString>("next");  // a click and what it leaves
        QTest::addColumn<QString>("after");
        const char* const toured = "x81 x62 x41 x22 x14 K26";
        const char* const onward = "x81 x62 x41 x22 x14 x26 K47";
        const auto row = [](const char* name, std::initializer_list<Facility> needs,
                            const char* then, const char* board, const char* next,
                            const char* after) {
            if (engineCan(needs)) {
                QTest::newRow(rowName(name, needs)) << then << board << next << after;
            }
        };
        row("a reload", {}, "reload", toured, "31", onward);
        row("a killed renderer, then a reload", {Facility::DevTools}, "crash", toured, "31",
            onward);
        row("back and forward, from the browser's cache", {}, "back", toured, "31", onward);
        row("a new game, then a reload", {}, "mnuNewGame reload", "K81", "42", "x81 K62");
        // Afresh, no task is chosen: the first click does nothing.
        const char* const noTask = "42 mnuMoveH 42";
        row("a new tab", {}, "tab", "", noTask, "K62");
        row("Exit, then a reload", {}, "mnuExit reload", "", noTask, "K62");
        row("the report, then a reload", {}, "report reload", "", noTask, "K62");
        row("a damaged kept game, then a reload", {}, "damage reload", "", noTask, "K62");
    }
    void theTabKeepsTheGameInProgress() {
        QFETCH(QString, then);
        QFETCH(QString, board);
        QFETCH(QString, next);
        QFETCH(QString, after);
        Page page;
        QVERIFY(page.passCredits());
        page.play("mnuAllBoard 42 25 10 4 14");
        QVERIFY(page.knightIsOn(2, 6));
        for (const QString& step : then.split(' ')) {
            leave(page, step);
        }
        // A new tab takes no keys in WebKit's MiniBrowser until it is clicked.
        QVERIFY(board.isEmpty() ? page.passCredits(then == "tab") : page.comesBack());
        checkSquares(page, page.client(), board.isEmpty() ? "K81" : board);
        page.play(next);
        checkSquares(page, page.client(), after);
        QCOMPARE(page.unseen(), QString());
    }

    // What the program cannot catch itself still ends in the report.
    void aScriptFailureIsNeverSilent_data() {
        QTest::addColumn<QString>("beforeLoad");
        QTest::addColumn<bool>("creditsFirst");
        if (!engineCan({Facility::BeforeLoad})) {
            QSKIP("the engine's driver runs no script before the page's own");
        }
        QTest::newRow(rowName("WebAssembly not instantiated", {Facility::BeforeLoad}))
            << "WebAssembly.instantiateStreaming = WebAssembly.instantiate ="
               " () => Promise.reject(new Error('сломано'))"
            << false;
        QTest::newRow(rowName("drawing throws in start-up's handler", {Facility::BeforeLoad}))
            << "CanvasRenderingContext2D.prototype.drawImage ="
               " () => { throw new Error('сломано'); }"
            << true;
    }
    void aScriptFailureIsNeverSilent() {
        QFETCH(QString, beforeLoad);
        QFETCH(bool, creditsFirst);
        Page page(Visit().running(beforeLoad));
        if (creditsFirst) {
            QVERIFY(page.waitFor("document.getElementById('credits').open"));
            page.answer("credits");
        }
        QVERIFY(page.waitFor("document.getElementById('report').open"));
        QCOMPARE(page.text("#report h1"), Report);
        QVERIFY2(page.text("#report p").contains("сломано"), qPrintable(page.text("#report p")));
        QVERIFY(!page.boardShown());
        page.answer("report");
        QVERIFY(page.waitFor("!document.getElementById('frmMain')"));
    }

    // Once the program has ended, turning the window, zooming and a new
    // colour scheme do nothing: no second report, no script error, the board
    // left alone.
    void nothingRunsAfterTheEnd_data() {
        QTest::addColumn<bool>("byReport");
        QTest::newRow("after Exit") << false;
        QTest::newRow("after the report") << true;
    }
    void nothingRunsAfterTheEnd() {
        QFETCH(bool, byReport);
        const QSize window(470, 420);
        Page page(Visit().at(1, window));
        QVERIFY(page.passCredits());
        page.run("window.left = document.getElementById('frmMain')");
        if (byReport) {
            QFile::remove(page.file("Kon_W.bmp"));
            page.play("mnuMoveH 42");
            QVERIFY(page.waitFor("document.getElementById('report').open"));
            page.answer("report");
        } else {
            page.play("mnuExit");
        }
        QVERIFY(page.waitFor("!document.getElementById('frmMain')"));
        const QString left = "left.style.cssText + ' ' + left.querySelector('canvas').width";
        const QString lastSeen = page.run("return " + left).toString();
        page.browser().resize(window.transposed(), 1);
        page.browser().resize(window, engineCan({Facility::FractionalZoom}) ? 2 : 1);
        if (engineCan({Facility::DevTools})) {
            page.browser().devTools(
                "Emulation.setEmulatedMedia",
                {{"features",
                  QJsonArray{QJsonObject{{"name", "prefers-color-scheme"}, {"value", "dark"}}}}});
        }
        page.twoFrames();
        QCOMPARE(page.run("return document.getElementById('report').open"), false);
        QCOMPARE(page.unseen(), QString());
        QCOMPARE(page.run("return " + left).toString(), lastSeen);
    }

    // On a host that answers index.html with a redirect to its folder, the
    // page opens by either, online and offline, once the worker is installed.
    void opensOnAHostThatRedirectsIndex() {
        Page page(Visit().redirectingIndex());
        QVERIFY(page.passCredits());
        QVERIFY(page.workerActive());
        const QStringList addresses{page.folderUrl() + "/index.html", page.folderUrl() + "/"};
        for (const QString& address : addresses) {
            page.open(address);
            QVERIFY2(page.comesBack(), qPrintable(address));
        }
        page.stopServer();
        for (const QString& address : addresses) {
            page.open(address);
            QVERIFY2(page.comesBack(), qPrintable(address + " offline"));
        }
        page.play("mnuAllBoard 42");
        QVERIFY(page.knightIsOn(6, 2));
    }

    // A new release is taken at the next visit, in place of the one before it
    // or beside it on the same host; each installed copy keeps its own, and
    // plays offline.
    void aNewRelease_data() {
        QTest::addColumn<bool>("beside");
        QTest::newRow("in place of the old one") << false;
        QTest::newRow("beside the old one on the same host") << true;
    }
    void aNewRelease() {
        QFETCH(bool, beside);
        Page page;
        QVERIFY(page.passCredits());
        QVERIFY(page.workerActive());
        const QString next = beside ? PageFolder + " 1.1" : PageFolder;
        page.copySite(next);
        QFile worker(page.root().filePath(next + "/worker.js"));
        QVERIFY(worker.open(QIODevice::ReadOnly));
        const QByteArray script = worker.readAll().replace(TARVIK_VERSION, TARVIK_VERSION ".1");
        worker.close();
        QVERIFY(worker.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                worker.write(script) > 0);
        worker.close();
        page.open(page.folderUrl(next) + "/index.html");
        QVERIFY(beside ? page.passCredits() : page.comesBack()); // each folder keeps its own
        // The new worker has its copy; the old one's stays only beside it.
        const QString copies = beside ? "tarvik-" TARVIK_VERSION ",tarvik-" TARVIK_VERSION ".1"
                                      : "tarvik-" TARVIK_VERSION ".1";
        QVERIFY(page.waitFor("(caches.keys().then(k => window.copies = k.map(n => n.split(' ')[0])"
                             ".sort().join()), window.copies == '" +
                             copies + "')"));
        page.reopenOffline(page.folderUrl() + "/index.html");
        QVERIFY(page.comesBack());
        page.play("mnuAllBoard 42");
        QVERIFY(page.knightIsOn(6, 2));
    }

    // While a box is open, the board and its menus take no click, and a click
    // beside the box leaves it open.
    void theBoxesAreModal() {
        Page page;
        QVERIFY(page.waitFor("document.getElementById('credits').open"));
        page.browser().click("squares"); // hidden: the page's corner, beside the box
        QVERIFY(page.run("return document.getElementById('credits').matches(':modal')") == true);
        page.answer("credits", true);
        QVERIFY(page.waitFor("!document.getElementById('frmMain').hidden"));
        QFile::remove(page.file("Kon_W.bmp"));
        page.play("mnuMoveH 42");
        QVERIFY(page.waitFor("document.getElementById('report').open"));
        page.play("mnuAllBoard 57");
        QCOMPARE(page.run("return document.getElementById('report').matches(':modal') + ' ' +"
                          "document.getElementById('mnuTasks').ariaExpanded")
                     .toString(),
                 "true false");
        page.answer("report", true);
        QVERIFY(page.waitFor("!document.getElementById('frmMain')"));
    }

    // Long play leaves nothing behind in the page: as many elements as at the
    // start, every picture it drew and replaced let go, and the board still
    // answers.
    void longPlayLeavesNothingBehind() {
        Page page;
        QVERIFY(page.passCredits());
        page.play("mnuMoveH");
        const QJsonValue elements = page.run("return document.querySelectorAll('*').length");
        const char* const play = R"(
            const done = arguments[0], cell = n => document.getElementById('Picture' + n);
            const knightOn = n => cell(n).ariaLabel.endsWith('конь');
            const decode = createImageBitmap, close = ImageBitmap.prototype.close;
            window.held = 0; // pictures decoded from here on, less those closed
            createImageBitmap = (...what) => decode(...what).then(p => (++held, p));
            ImageBitmap.prototype.close = function () { --held; close.call(this); };
            (async () => {
                for (let move = 0; move < 500; ++move) {
                    const to = move % 2 ? 57 : 42;
                    cell(to).click();
                    while (!knightOn(to)) await new Promise(r => setTimeout(r));
                }
                done(true);
            })();)";
        QCOMPARE(page.browser().runAsync(play, 120000), QJsonValue(true));
        QCOMPARE(page.run("return document.querySelectorAll('*').length"), elements);
        QCOMPARE(page.run("return held").toInt(), 0); // one knight, as at the start
        page.play("42");
        QVERIFY(page.knightIsOn(6, 2));
        QCOMPARE(page.unseen(), QString());
    }
};

QTEST_MAIN(WebTest)
#include "tst_web.moc"
