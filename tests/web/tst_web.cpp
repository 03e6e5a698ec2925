#include "bitmap_file.h"
#include "desktop.h"
#include "hostile_files.h"
#include "program_folder.h"
#include "webdriver.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

// The real page in headless Chromium, driven through chromedriver with the
// pointer and the keys, served by python3's http.server from a folder whose
// name has a space and Cyrillic letters.

namespace {

const QString PageFolder = QStringLiteral("Тарвик в сети");
// WebDriver's codes of the keys.
const QString Tab("\uE004"), Return("\uE006"), Shift("\uE008"), PageDown("\uE00F"), Right("\uE014"),
    Down("\uE015");

// How a player comes to the page: a desktop browser's window at a zoom, or
// with `phone` a phone's screen of that many CSS pixels, with touch, `zoom`
// device pixels to one; from a `host` name, which from anywhere but this
// machine is not secure over plain http, so the browser offers no service
// worker; from a server that answers index.html with a redirect to its
// folder, where `redirectIndex`; with `beforeLoad` run in the page before its
// own scripts.
struct Visit {
    double zoom = 1;
    QSize phone;
    QString host = QStringLiteral("127.0.0.1");
    bool redirectIndex = false;
    QString beforeLoad;

    Visit at(double ratio, QSize phoneScreen = {}) const {
        return with(&Visit::zoom, ratio).with(&Visit::phone, phoneScreen);
    }
    Visit fromHost(const QString& name) const { return with(&Visit::host, name); }
    Visit redirectingIndex() const { return with(&Visit::redirectIndex, true); }
    Visit running(const QString& script) const { return with(&Visit::beforeLoad, script); }

private:
    template <typename T> Visit with(T Visit::*field, T value) const {
        Visit changed = *this;
        changed.*field = std::move(value);
        return changed;
    }
};

// The browser's own scale is the phone's, so that the page is laid out in
// device pixels, as phones' browsers lay it out, not scaled to them afterwards.
QStringList browserArguments(const Visit& visit) {
    const QStringList common{QStringLiteral("--force-device-scale-factor=%1").arg(visit.zoom),
                             "--host-resolver-rules=MAP " + visit.host + " 127.0.0.1"};
    return visit.phone.isEmpty() ? common + QStringList{"--window-size=801,900"} : common;
}

QJsonObject emulation(const Visit& visit) {
    if (visit.phone.isEmpty()) {
        return {};
    }
    return {{"deviceMetrics", QJsonObject{{"width", visit.phone.width()},
                                          {"height", visit.phone.height()},
                                          {"pixelRatio", visit.zoom},
                                          {"touch", true}}}};
}

// What went wrong in the page that no box shows: script errors, and whatever
// its security policy blocked.
const char* const Recorder = R"(
    window.unseen = [];
    addEventListener('error', (e) => unseen.push('error: ' + e.message));
    document.addEventListener('securitypolicyviolation',
        (e) => unseen.push('blocked by ' + e.violatedDirective + ': ' + (e.blockedURI || e.sample)));)";

// The page, its server and the browser that shows it.
struct Page : WebDriver {
    QTemporaryDir root;
    int port = 0;
    Server server;
    QString log;
    bool touch = false;
    QString host;

    explicit Page(const Visit& visit = {})
        : WebDriver(browserArguments(visit), emulation(visit))
        , touch(!visit.phone.isEmpty())
        , host(visit.host) {
        copySite(PageFolder);
        server = serveOnFreePort(
            "python3", {"-u", TARVIK_SERVE, "%1", visit.redirectIndex ? "--redirect-index" : ""},
            root.path(), port);
        devTools("Page.addScriptToEvaluateOnNewDocument",
                 {{"source", Recorder + visit.beforeLoad}});
        open(folderUrl() + "/index.html");
    }

    // A year old, so that a browser cache would take them as fresh.
    void copySite(const QString& folder) {
        QDir().mkpath(root.filePath(folder));
        for (const QString& name : QDir(TARVIK_SITE).entryList(QDir::Files)) {
            QFile copy(root.filePath(folder + "/" + name));
            QFile::copy(TARVIK_SITE "/" + name, copy.fileName());
            copy.open(QIODevice::Append);
            copy.setFileTime(QDateTime::currentDateTime().addYears(-1),
                             QFileDevice::FileModificationTime);
        }
    }
    QString file(const QString& name) const { return root.filePath(PageFolder + "/" + name); }
    bool workerActive() { return waitFor("!!navigator.serviceWorker.controller"); }
    QString folderUrl(const QString& folder = PageFolder) const {
        return QStringLiteral("http://%1:%2/%3").arg(host).arg(port).arg(folder);
    }
    int requests(const QString& name) {
        log += QString::fromUtf8(server->readAll());
        return int(log.count(QRegularExpression("\"GET [^ ]*/" + name + " ")));
    }
    QString text(const QString& selector) {
        return run("return document.querySelector('" + selector + "').textContent").toString();
    }
    bool boardShown() {
        return run("return !!document.getElementById('frmMain')?.checkVisibility()") == true;
    }
    // Script errors and blocked loads since the page was opened, one a line.
    QString unseen() { return run("return unseen.join('\\n')").toString(); }
    // After the frame that is being painted and the one after it.
    void twoFrames() {
        runAsync("requestAnimationFrame(() => requestAnimationFrame(arguments[0]))", 5000);
    }
    // The credits box first and alone, then the board, centred.
    bool passCredits() {
        if (!waitFor("document.getElementById('credits').open") || boardShown() ||
            text("#credits h1") != Credits || !text("#credits p").contains("\n\r")) {
            qWarning("no credits box first, alone, at %s: %s",
                     qPrintable(run("return location.href").toString()),
                     qPrintable(run("return document.body?.innerText.slice(0, 200)").toString()));
            return false;
        }
        press({Return}); // on its OK button
        return waitFor("!document.getElementById('frmMain').hidden") &&
               run("return document.title").toString() == Board &&
               waitFor("(r => Math.abs(r.x + r.width / 2 - innerWidth / 2) <= 1 &&"
                       "Math.abs(r.y + r.height / 2 - innerHeight / 2) <= 1)("
                       "document.getElementById('frmMain').getBoundingClientRect())");
    }
    // The page opened anew, the server gone.
    bool reopenOffline(const QString& url) {
        server.reset();
        open(url);
        return passCredits();
    }
    // Menu items by id and cells by number, one after the other, clicked or
    // tapped; the page takes them in turn.
    void play(const QString& moves) {
        const auto press = [this](const QString& id) { touch ? tap(id) : click(id); };
        for (const QString& move : moves.split(' ', Qt::SkipEmptyParts)) {
            if (move.startsWith("mnu")) {
                press(move == "mnuNewGame" || move == "mnuExit" ? "mnuFile" : "mnuTasks");
            }
            press(move.startsWith("mnu") ? move : "Picture" + move);
        }
    }
    bool knightIsOn(int row, int col) {
        return waitFor(
            QStringLiteral("document.getElementById('Picture%1').ariaLabel.endsWith('конь')")
                .arg((row - 1) * 8 + col));
    }
    QRect client(double zoom) { // in device pixels
        const QJsonObject r =
            run("return document.getElementById('board').getBoundingClientRect().toJSON()")
                .toObject();
        return {qRound(r["x"].toDouble() * zoom), qRound(r["y"].toDouble() * zoom),
                qRound(r["width"].toDouble() * zoom), qRound(r["height"].toDouble() * zoom)};
    }
    QColor highlightText() {
        const QJsonArray rgb =
            run("const i = document.body.appendChild(document.createElement('i'));"
                "i.style.color = 'HighlightText';"
                "return getComputedStyle(i).color.match(/\\d+/g).map(Number);")
                .toArray();
        return QColor(rgb[0].toInt(), rgb[1].toInt(), rgb[2].toInt());
    }
    // A phone turned, or a window resized, to `size`.
    void resize(QSize size, double zoom) {
        devTools("Emulation.setDeviceMetricsOverride", {{"width", size.width()},
                                                        {"height", size.height()},
                                                        {"deviceScaleFactor", zoom},
                                                        {"mobile", true}});
    }
    void darkScheme() {
        devTools("Emulation.setEmulatedMedia",
                 {{"features",
                   QJsonArray{QJsonObject{{"name", "prefers-color-scheme"}, {"value", "dark"}}}}});
    }
};

// "K62 x81": the knight on (6, 2) and a visited mark on (8, 1); the rest empty.
QString pictureOn(const QString& board, int row, int col) {
    const bool grey = TestRules::isGreySquare(row, col);
    for (const QString& square : board.split(' ')) {
        if (square.mid(1) == QStringLiteral("%1%2").arg(row).arg(col)) {
            return square[0] == 'K' ? (grey ? "Kon_W2.bmp" : "Kon_W.bmp")
                                    : (grey ? "Trelk.bmp" : "Trelk_W.bmp");
        }
    }
    return {};
}

// The browser blends a picture's translucent edge over its square rounding
// otherwise than Qt, by one step at most; a wrong picture or square differs
// by far more.
bool looksLike(const QImage& shown, const QImage& expected) {
    for (int y = 0; y < shown.height() && shown.size() == expected.size(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb a = shown.pixel(x, y), b = expected.pixel(x, y);
            if (qAbs(qRed(a) - qRed(b)) > 1 || qAbs(qGreen(a) - qGreen(b)) > 1 ||
                qAbs(qBlue(a) - qBlue(b)) > 1) {
                return false;
            }
        }
    }
    return shown.size() == expected.size();
}

// The widths of the runs of black pixels along a line of the screen, and of
// the gaps between them.
QList<int> blackRuns(const QImage& screen, QPoint from, QPoint step, int length,
                     QList<int>* gaps = nullptr) {
    QList<int> runs{0}, between{0};
    for (int i = 0; i < length; ++i) {
        if (screen.pixel(from + step * i) == qRgb(0, 0, 0)) {
            ++runs.back();
        } else if (runs.back() > 0) {
            runs << 0;
            between << 1;
        } else {
            ++between.back();
        }
    }
    runs.removeAll(0);
    if (gaps) {
        *gaps = between.mid(1, runs.size() - 1);
    }
    return runs;
}

bool allEqual(const QList<int>& sizes) {
    return !sizes.isEmpty() && sizes.count(sizes.front()) == sizes.size();
}

// Why the desktop refuses the file: its words after the path.
QString desktopReason(const QString& path) {
    try {
        readBitmapFile(pathFromText(path));
    } catch (const PictureLoadError& error) {
        const QString message = QString::fromStdString(error.what());
        return message.mid(message.indexOf("»: ") + 3).chopped(1);
    }
    return QStringLiteral("(the desktop reads %1)").arg(path);
}

} // namespace

// What comes before the moves: a return visit, offline, after the first has
// installed the worker (and the browser has stopped it), or the player's
// system turning dark.
enum class Before { Nothing, Offline, OfflineWorkerStopped, DarkScheme };
Q_DECLARE_METATYPE(Before)

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

    // Every square shows its colour alone or the picture the board says.
    void checkSquares(Page& page, const QImage& screen, const QRect& client, const QString& board) {
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
                QVERIFY2(picture.isEmpty()
                             ? isUniform(shown, square)
                             : looksLike(shown, onSquare(picture, square).scaled(shown.size())),
                         qPrintable(QStringLiteral("(%1, %2) does not show %3")
                                        .arg(row)
                                        .arg(col)
                                        .arg(picture.isEmpty() ? "its colour alone" : picture)));
            }
        }
    }

    // On a touch screen: a tap opens a menu, a tap on the other heading opens
    // that one instead, headings and items are big enough for a finger, and a
    // tap on the board closes the menu without reaching a task.
    void checkMenusByTouch(Page& page) {
        page.tap("mnuFile");
        page.tap("mnuTasks");
        QVERIFY(page.waitFor("document.getElementById('mnuAllBoard').checkVisibility() &&"
                             "!document.getElementById('mnuNewGame').checkVisibility()"));
        QCOMPARE(page.run("return [...document.querySelectorAll('#menubar [role=menuitem]')]"
                          ".filter(e => e.checkVisibility()).map(e => e.offsetHeight >= 44)"
                          ".join()")
                     .toString(),
                 "true,true,true,true");
        page.tap("Picture1");
        QVERIFY(page.waitFor("!document.getElementById('mnuAllBoard').checkVisibility()"));
    }

    void comeBefore(Page& page, Before before) {
        if (before == Before::DarkScheme) {
            page.darkScheme();
        }
        if (before != Before::Offline && before != Before::OfflineWorkerStopped) {
            return;
        }
        QCOMPARE(page.devTools("Page.getInstallabilityErrors")["installabilityErrors"],
                 QJsonArray());
        QVERIFY(page.workerActive());
        if (before == Before::OfflineWorkerStopped) { // only what the worker stored is left
            page.devTools("ServiceWorker.enable");
            page.devTools("ServiceWorker.stopAllWorkers");
        }
        QVERIFY(page.reopenOffline(page.folderUrl() + "/index.html"));
    }

private slots:
    void playsAsTheBoardSays_data() {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QSize>("phone");
        QTest::addColumn<Before>("before");
        QTest::addColumn<QString>("moves");
        QTest::addColumn<bool>("turned"); // the phone, after the moves
        QTest::addColumn<QString>("board");
        const auto row = [](const char* name, double zoom, QSize phone, Before before,
                            const char* moves, bool turned, const char* board) {
            QTest::newRow(name) << zoom << phone << before << QString(moves) << turned
                                << QString(board);
        };
        const QSize desk;
        row("start", 1, desk, Before::Nothing, "", false, "K81");
        row("no task, no move", 1, desk, Before::Nothing, "42", false, "K81");
        row("refused knight move", 1, desk, Before::Nothing, "mnuMoveH 28", false, "K81");
        row("knight move", 1, desk, Before::Nothing, "mnuMoveH 42", false, "K62");
        row("knight move and back", 1, desk, Before::Nothing, "mnuMoveH 42 57", false, "K81");
        row("tour", 1, desk, Before::Nothing, "mnuAllBoard 42 25 10", false, "x81 x62 x41 K22");
        row("tour refuses a mark", 1, desk, Before::Nothing, "mnuAllBoard 42 57", false, "x81 K62");
        row("new game keeps the task", 1, desk, Before::Nothing, "mnuAllBoard 42 mnuNewGame 42",
            false, "x81 K62");
        row("tour at 125 %", 1.25, desk, Before::Nothing, "mnuAllBoard 42 25", false,
            "x81 x62 K41");
        row("tour at 150 %", 1.5, desk, Before::Nothing, "mnuAllBoard 42 25", false, "x81 x62 K41");
        row("tour at 200 %", 2, desk, Before::Nothing, "mnuAllBoard 42 25", false, "x81 x62 K41");
        row("tour by touch on a 390 x 844 phone at 3", 3, {390, 844}, Before::Nothing,
            "mnuAllBoard 42 25 10 mnuNewGame 42", false, "x81 K62");
        row("412 x 915 phone at 2.625", 2.625, {412, 915}, Before::Nothing, "mnuMoveH 42", false,
            "K62");
        row("844 x 390 phone, sideways, at 3", 3, {844, 390}, Before::Nothing, "mnuAllBoard 42",
            false, "x81 K62");
        row("390 x 844 phone turned after a move", 3, {390, 844}, Before::Nothing, "mnuMoveH 42",
            true, "K62");
        row("320 x 568 phone at 2", 2, {320, 568}, Before::Nothing, "mnuAllBoard 42", false,
            "x81 K62");
        row("installed, then a tour offline", 1, desk, Before::Offline, "mnuAllBoard 42 25", false,
            "x81 x62 K41");
        row("installed, the worker stopped, then a tour offline", 1, desk,
            Before::OfflineWorkerStopped, "mnuAllBoard 42 25", false, "x81 x62 K41");
        row("tour in the dark scheme", 1, desk, Before::DarkScheme, "mnuAllBoard 42 25", false,
            "x81 x62 K41");
    }
    void playsAsTheBoardSays() {
        QFETCH(double, zoom);
        QFETCH(QSize, phone);
        QFETCH(Before, before);
        QFETCH(QString, moves);
        QFETCH(bool, turned);
        QFETCH(QString, board);
        Page page(Visit().at(zoom, phone));
        QVERIFY(page.passCredits());
        comeBefore(page, before);
        if (page.touch) {
            checkMenusByTouch(page);
        }
        page.play(moves);
        const QString knight = board.split(' ').filter("K").first();
        QVERIFY(page.knightIsOn(knight[1].digitValue(), knight[2].digitValue()));
        if (turned) { // the window fits the turned screen anew
            phone.transpose();
            page.resize(phone, zoom);
            QVERIFY(page.waitFor("document.getElementById('frmMain').getBoundingClientRect()"
                                 ".bottom <= innerHeight"));
        }
        if (page.touch) { // as wide as the screen
            QCOMPARE(page.run("return innerWidth"), phone.width());
        }
        const QImage screen = page.screenshot();
        const QRect client = page.client(zoom);
        checkBoardGeometry(page, screen, client);
        if (client.width() % 449 == 0) { // else pictures are smoothed between device pixels
            checkSquares(page, screen, client, board);
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
        page.run("window.order = []; addEventListener('focusin', e => order.push(e.target.id))");
        page.press(QStringList{Shift + Tab} + QStringList(64, Tab));
        QStringList order{"mnuFile"};
        for (int number = 1; number <= 64; ++number) {
            order << QStringLiteral("Picture%1").arg(number);
        }
        QCOMPARE(page.run("return order.join(' ')").toString(), order.join(' '));
        QCOMPARE(page.screenshot(), unfocused); // a focused cell shows nothing
        // Back to the menu bar, along to Задачи, open it and choose Ход конём;
        // then on a focused cell a knight's move away, no key moves the knight.
        page.press(QStringList(64, Shift + Tab) << Right << Return << Return);
        page.press(QStringList(42, Tab) << Return << " " << Down << PageDown);
        QCOMPARE(page.run("return document.activeElement.id").toString(), "Picture42");
        QTest::qWait(500);
        QCOMPARE(page.requests("Kon_W.bmp"), knightFetched);
        page.play("42 64"); // the second, on the bottom row, is refused
        QVERIFY(page.knightIsOn(6, 2));
        QTest::qWait(300);
        QCOMPARE(page.run("return [...document.querySelectorAll('*')].every("
                          "e => !e.scrollTop && !e.scrollLeft) && !scrollX && !scrollY"),
                 true);
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
        QTest::newRow("no worker, files a browser may cache for a month") << "tarvik.test";
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
        QVERIFY(looksLike(page.screenshot().copy(innerAreaOf(page.client(1), 6, 2)),
                          onSquare("Trelk_W.bmp", page.highlightText())));
        QCOMPARE(page.requests("Kon_W2.bmp") - knightOnGrey, 1);
        QCOMPARE(page.requests("Kon_W.bmp") - knight, 2);
        // Through the worker, a new page on the server is what a reload
        // shows, though the old one looks fresh for months; a missing
        // picture is reported.
        QFile::remove(page.file("Kon_W.bmp"));
        if (worker) {
            QFile index(page.file("index.html"));
            QVERIFY(index.open(QIODevice::Append) &&
                    index.write("<template id=\"new\"></template>") > 0);
            index.close();
            page.open(page.folderUrl() + "/index.html");
            QVERIFY(page.waitFor("!!document.getElementById('new')"));
            QVERIFY(page.passCredits());
        }
        page.play(worker ? "mnuMoveH 42" : "57 42");
        QVERIFY(page.waitFor("document.getElementById('report').open"));
        QVERIFY(page.text("#report p").endsWith("Kon_W.bmp»: файл не найден."));
        if (worker) { // offline, the page and pictures the server last sent
            QVERIFY(page.reopenOffline(page.folderUrl() + "/index.html"));
            QVERIFY(page.waitFor("!!document.getElementById('new')"));
            page.play("mnuMoveH 42");
            QVERIFY(looksLike(page.screenshot().copy(innerAreaOf(page.client(1), 6, 2)),
                              onSquare("Trelk_W.bmp", page.highlightText())));
        }
    }

    // Every kind of bytes the desktop refuses, the page refuses too, with the
    // desktop's words for the same file.
    void aPictureThatCannotBeLoadedEndsTheProgram_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("moves");
        for (const HostileKind& kind : hostileKinds()) {
            if (kind.bytes != nullptr || kind.name == QLatin1String("missing")) {
                QTest::addRow("Kon_W2.bmp %s", kind.name) << "Kon_W2.bmp" << kind.name << "";
            }
        }
        QTest::newRow("Kon_W.bmp missing") << "Kon_W.bmp"
                                           << "missing"
                                           << "mnuMoveH 42";
        QTest::newRow("Trelk.bmp missing") << "Trelk.bmp"
                                           << "missing"
                                           << "mnuAllBoard 42";
    }
    void aPictureThatCannotBeLoadedEndsTheProgram() {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        QFETCH(QString, moves);
        Page page;
        QVERIFY(makeHostileFile(kind, page.file(file)));
        QVERIFY(page.waitFor("document.getElementById('credits').open"));
        page.press({Return});
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
        page.press({Return});
        QVERIFY(page.waitFor("!document.getElementById('frmMain')"));
    }

    // What the program cannot catch itself still ends in the report.
    void aScriptFailureIsNeverSilent_data() {
        QTest::addColumn<QString>("beforeLoad");
        QTest::addColumn<bool>("creditsFirst");
        QTest::newRow("WebAssembly not instantiated")
            << "WebAssembly.instantiateStreaming = WebAssembly.instantiate ="
               " () => Promise.reject(new Error('сломано'))"
            << false;
        QTest::newRow("drawing throws in start-up's handler")
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
            page.press({Return});
        }
        QVERIFY(page.waitFor("document.getElementById('report').open"));
        QCOMPARE(page.text("#report h1"), Report);
        QVERIFY2(page.text("#report p").contains("сломано"), qPrintable(page.text("#report p")));
        QVERIFY(!page.boardShown());
        page.press({Return});
        QVERIFY(page.waitFor("!document.getElementById('frmMain')"));
    }

    // Once the program has ended, turning the phone, zooming and a new colour
    // scheme do nothing: no second report, no script error.
    void nothingRunsAfterTheEnd_data() {
        QTest::addColumn<bool>("byReport");
        QTest::newRow("after Exit") << false;
        QTest::newRow("after the report") << true;
    }
    void nothingRunsAfterTheEnd() {
        QFETCH(bool, byReport);
        const QSize phone(390, 844);
        Page page(Visit().at(3, phone));
        QVERIFY(page.passCredits());
        page.run("window.left = document.getElementById('frmMain')");
        if (byReport) {
            QFile::remove(page.file("Kon_W.bmp"));
            page.play("mnuMoveH 42");
            QVERIFY(page.waitFor("document.getElementById('report').open"));
            page.press({Return});
        } else {
            page.play("mnuExit");
        }
        QVERIFY(page.waitFor("!document.getElementById('frmMain')"));
        const QString left = "left.style.cssText + ' ' + left.querySelector('canvas').width";
        const QString lastSeen = page.run("return " + left).toString();
        page.resize(phone.transposed(), 3);
        page.resize(phone, 2);
        page.darkScheme();
        page.twoFrames();
        QCOMPARE(page.run("return document.getElementById('report').open"), false);
        QCOMPARE(page.unseen(), QString());
        QCOMPARE(page.run("return " + left).toString(), lastSeen); // the board left alone
    }

    // On a host that answers index.html with a redirect to its folder, the
    // page opens by either, online and offline, once the worker is installed.
    void opensOnAHostThatRedirectsIndex() {
        Page page(Visit().redirectingIndex());
        QVERIFY(page.passCredits());
        QVERIFY(page.workerActive());
        for (const bool online : {true, false}) {
            for (const QString& address :
                 {page.folderUrl() + "/index.html", page.folderUrl() + "/"}) {
                if (online) {
                    page.open(address);
                    QVERIFY2(page.passCredits(), qPrintable(address));
                } else {
                    QVERIFY2(page.reopenOffline(address), qPrintable(address));
                }
            }
        }
        page.play("mnuAllBoard 42");
        QVERIFY(page.knightIsOn(6, 2));
    }

    // Two releases side by side on one host each keep their own offline copy.
    void twoReleasesOnOneHostKeepTheirOwn() {
        Page page;
        QVERIFY(page.passCredits());
        QVERIFY(page.workerActive());
        const QString next = PageFolder + " 1.1";
        page.copySite(next);
        QFile worker(page.root.filePath(next + "/worker.js"));
        QVERIFY(worker.open(QIODevice::ReadOnly));
        const QByteArray script = worker.readAll().replace(TARVIK_VERSION, TARVIK_VERSION ".1");
        worker.close();
        QVERIFY(worker.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                worker.write(script) > 0);
        worker.close();
        page.open(page.folderUrl(next) + "/index.html");
        QVERIFY(page.passCredits());
        QVERIFY(page.workerActive());
        QVERIFY(page.waitFor(
            "caches.keys().then(k => window.copies = k.length) && window.copies == 2"));
        QVERIFY(page.reopenOffline(page.folderUrl() + "/index.html"));
        page.play("mnuAllBoard 42");
        QVERIFY(page.knightIsOn(6, 2));
    }
};

QTEST_MAIN(WebTest)
#include "tst_web.moc"
