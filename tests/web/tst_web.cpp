#include "desktop.h"
#include "hostile_files.h"
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

// A desktop browser's window at a zoom, or with `phone` a phone's screen of
// that many CSS pixels, with touch, `zoom` device pixels to one. The browser's
// own scale is the phone's, so that the page is laid out in device pixels, as
// phones' browsers lay it out, not scaled to them afterwards.
QStringList browserArguments(double zoom, QSize phone, const QString& host) {
    const QStringList common{QStringLiteral("--force-device-scale-factor=%1").arg(zoom),
                             "--host-resolver-rules=MAP " + host + " 127.0.0.1"};
    return phone.isEmpty() ? common + QStringList{"--window-size=801,900"} : common;
}

QJsonObject emulation(double zoom, QSize phone) {
    if (phone.isEmpty()) {
        return {};
    }
    return {{"deviceMetrics", QJsonObject{{"width", phone.width()},
                                          {"height", phone.height()},
                                          {"pixelRatio", zoom},
                                          {"touch", true}}}};
}

// The page, its server and the browser that shows it.
struct Page : WebDriver {
    QTemporaryDir root;
    int port = 0;
    Server server;
    QString log;
    bool touch = false;
    QString host;

    // `beforeLoad` runs in the page before its own scripts. From a `host`
    // other than this machine, plain http is not secure: the browser offers
    // no service worker.
    explicit Page(double zoom = 1, const QString& beforeLoad = {}, QSize phone = {},
                  const QString& hostName = "127.0.0.1")
        : WebDriver(browserArguments(zoom, phone, hostName), emulation(zoom, phone))
        , touch(!phone.isEmpty())
        , host(hostName) {
        QDir().mkpath(root.filePath(PageFolder));
        // A year old, so that a browser cache would take them as fresh.
        for (const QString& name : QDir(TARVIK_SITE).entryList(QDir::Files)) {
            QFile copy(file(name));
            QFile::copy(TARVIK_SITE "/" + name, copy.fileName());
            copy.open(QIODevice::Append);
            copy.setFileTime(QDateTime::currentDateTime().addYears(-1),
                             QFileDevice::FileModificationTime);
        }
        server = serveOnFreePort(
            "python3", {"-u", "-m", "http.server", "--bind", "127.0.0.1", "%1"}, root.path(), port);
        if (!beforeLoad.isEmpty()) {
            devTools("Page.addScriptToEvaluateOnNewDocument", {{"source", beforeLoad}});
        }
        open(folderUrl() + "/index.html");
    }

    QString file(const QString& name) const { return root.filePath(PageFolder + "/" + name); }
    bool workerActive() { return waitFor("!!navigator.serviceWorker.controller"); }
    QString folderUrl() const {
        return QStringLiteral("http://%1:%2/%3").arg(host).arg(port).arg(PageFolder);
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
    // The credits box first and alone, then the board, centred.
    bool passCredits() {
        if (!waitFor("document.getElementById('credits').open") || boardShown() ||
            text("#credits h1") != Credits || !text("#credits p").contains("\n\r")) {
            qWarning("no credits box first, alone");
            return false;
        }
        press({Return}); // on its OK button
        return waitFor("!document.getElementById('frmMain').hidden") &&
               run("return document.title").toString() == Board &&
               waitFor("(r => Math.abs(r.x + r.width / 2 - innerWidth / 2) <= 1 &&"
                       "Math.abs(r.y + r.height / 2 - innerHeight / 2) <= 1)("
                       "document.getElementById('frmMain').getBoundingClientRect())");
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

} // namespace

class WebTest : public QObject {
    Q_OBJECT

private slots:
    void playsAsTheBoardSays_data() {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QString>("moves");
        QTest::addColumn<QString>("board");
        QTest::addColumn<QSize>("phone");
        QTest::newRow("start") << 1.0 << ""
                               << "K81" << QSize();
        QTest::newRow("no task, no move") << 1.0 << "42"
                                          << "K81" << QSize();
        QTest::newRow("refused knight move") << 1.0 << "mnuMoveH 28"
                                             << "K81" << QSize();
        QTest::newRow("knight move") << 1.0 << "mnuMoveH 42"
                                     << "K62" << QSize();
        QTest::newRow("knight move and back") << 1.0 << "mnuMoveH 42 57"
                                              << "K81" << QSize();
        QTest::newRow("tour") << 1.0 << "mnuAllBoard 42 25 10"
                              << "x81 x62 x41 K22" << QSize();
        QTest::newRow("tour refuses a mark") << 1.0 << "mnuAllBoard 42 57"
                                             << "x81 K62" << QSize();
        QTest::newRow("new game keeps the task") << 1.0 << "mnuAllBoard 42 mnuNewGame 42"
                                                 << "x81 K62" << QSize();
        QTest::newRow("tour at 125 %") << 1.25 << "mnuAllBoard 42 25"
                                       << "x81 x62 K41" << QSize();
        QTest::newRow("tour at 150 %") << 1.5 << "mnuAllBoard 42 25"
                                       << "x81 x62 K41" << QSize();
        QTest::newRow("tour at 200 %") << 2.0 << "mnuAllBoard 42 25"
                                       << "x81 x62 K41" << QSize();
        QTest::newRow("tour by touch on a 390 x 844 phone at 3")
            << 3.0 << "mnuAllBoard 42 25 10 mnuNewGame 42"
            << "x81 K62" << QSize(390, 844);
        QTest::newRow("412 x 915 phone at 2.625") << 2.625 << "mnuMoveH 42"
                                                  << "K62" << QSize(412, 915);
        QTest::newRow("844 x 390 phone, sideways, at 3") << 3.0 << "mnuAllBoard 42"
                                                         << "x81 K62" << QSize(844, 390);
        QTest::newRow("390 x 844 phone turned after a move") << 3.0 << "mnuMoveH 42 turn"
                                                             << "K62" << QSize(390, 844);
        QTest::newRow("320 x 568 phone at 2") << 2.0 << "mnuAllBoard 42"
                                              << "x81 K62" << QSize(320, 568);
        QTest::newRow("installed, then a tour offline") << 1.0 << "offline mnuAllBoard 42 25"
                                                        << "x81 x62 K41" << QSize();
        // Only what the worker stored is left once the browser has stopped it.
        QTest::newRow("installed, the worker stopped, then a tour offline")
            << 1.0 << "offline stopped mnuAllBoard 42 25"
            << "x81 x62 K41" << QSize();
        QTest::newRow("tour in the dark scheme") << 1.0 << "dark mnuAllBoard 42 25"
                                                 << "x81 x62 K41" << QSize();
    }
    void playsAsTheBoardSays() {
        QFETCH(double, zoom);
        QFETCH(QString, moves);
        QFETCH(QString, board);
        QFETCH(QSize, phone);
        Page page(zoom, {}, phone);
        QVERIFY(page.passCredits());
        if (moves.startsWith("offline")) { // after one visit, the server gone
            QCOMPARE(page.devTools("Page.getInstallabilityErrors")["installabilityErrors"],
                     QJsonArray());
            QVERIFY(page.workerActive());
            if (moves.contains("stopped")) {
                page.devTools("ServiceWorker.enable");
                page.devTools("ServiceWorker.stopAllWorkers");
            }
            page.server.reset();
            page.open(page.folderUrl() + "/index.html");
            QVERIFY(page.passCredits());
        }
        if (page.touch) {
            page.tap("mnuFile");
            page.tap("mnuTasks"); // the other menu, in place of the one open
            QVERIFY(page.waitFor("document.getElementById('mnuAllBoard').checkVisibility() &&"
                                 "!document.getElementById('mnuNewGame').checkVisibility()"));
            QCOMPARE(page.run("return [...document.querySelectorAll('#menubar [role=menuitem]')]"
                              ".filter(e => e.checkVisibility()).map(e => e.offsetHeight >= 44)"
                              ".join()")
                         .toString(),
                     "true,true,true,true"); // headings and items big enough for a finger
            page.tap("Picture1");            // closes it, and no task takes the tap
            QVERIFY(page.waitFor("!document.getElementById('mnuAllBoard').checkVisibility()"));
        }
        if (moves.contains("dark")) { // a player's system turns dark
            page.devTools("Emulation.setEmulatedMedia",
                          {{"features", QJsonArray{QJsonObject{{"name", "prefers-color-scheme"},
                                                               {"value", "dark"}}}}});
        }
        const bool turn = moves.contains("turn");
        page.play(moves.remove("offline").remove("stopped").remove("dark").remove("turn"));
        const QString knight = board.split(' ').filter("K").first();
        QVERIFY(page.knightIsOn(knight[1].digitValue(), knight[2].digitValue()));
        if (turn) { // the window fits the turned screen anew
            phone.transpose();
            page.devTools("Emulation.setDeviceMetricsOverride", {{"width", phone.width()},
                                                                 {"height", phone.height()},
                                                                 {"deviceScaleFactor", zoom},
                                                                 {"mobile", true}});
            QVERIFY(page.waitFor("document.getElementById('frmMain').getBoundingClientRect()"
                                 ".bottom <= innerHeight"));
        }
        // The whole window on the screen, the page neither scrolled nor zoomed
        // out: on a phone, as wide as the screen.
        QCOMPARE(page.run("return (r => r.left >= 0 && r.top >= 0 && r.right <= innerWidth &&"
                          "r.bottom <= innerHeight)(document.getElementById('frmMain')"
                          ".getBoundingClientRect()) && visualViewport.scale == 1 &&"
                          "document.documentElement.scrollWidth <= innerWidth &&"
                          "document.documentElement.scrollHeight <= innerHeight"),
                 true);
        if (page.touch) {
            QCOMPARE(page.run("return innerWidth"), phone.width());
        }
        const QImage screen = page.screenshot();
        const QRect client = page.client(zoom);
        // Every grid line equally wide, in whole device pixels, and every
        // square exactly as large; the bottom line lies outside the client
        // area.
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
        if (scale != std::floor(scale)) {
            return; // pictures are smoothed between device pixels
        }
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
        const QImage unfocused = page.screenshot();
        page.run("window.order = []; addEventListener('focusin', e => order.push(e.target.id))");
        page.press(QStringList(65, Tab));
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

    // Also through the worker, which the server never hides behind.
    void everyPaintReadsItsFileAnew_data() {
        QTest::addColumn<QString>("host");
        QTest::newRow("through the worker") << "127.0.0.1";
        QTest::newRow("no worker, files a browser may cache for a month") << "tarvik.test";
    }
    void everyPaintReadsItsFileAnew() {
        QFETCH(QString, host);
        const bool worker = host == "127.0.0.1";
        Page page(1, {}, {}, host);
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
            page.server.reset();
            page.open(page.folderUrl() + "/index.html");
            QVERIFY(page.waitFor("!!document.getElementById('new')"));
            QVERIFY(page.passCredits());
            page.play("mnuMoveH 42");
            QVERIFY(looksLike(page.screenshot().copy(innerAreaOf(page.client(1), 6, 2)),
                              onSquare("Trelk_W.bmp", page.highlightText())));
        }
    }

    void aPictureThatCannotBeLoadedEndsTheProgram_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("moves");
        QTest::addColumn<QString>("reason");
        const QList<std::pair<const char*, const char*>> kinds{
            {"missing", "файл не найден"},
            {"empty", "файл пуст"},
            {"cut in half", "рисунок BMP не удалось разобрать"},
            {"one pixel row short", "рисунок BMP не удалось разобрать"},
            {"text", "это не рисунок BMP"},
            {"png renamed", "это не рисунок BMP"},
            {"4000 x 4000 at 1 bit", "слишком большой размер рисунка: 4000 × 4000"},
            {"larger than any bitmap", "файл больше 8388608 байт"},
        };
        for (const auto& [kind, reason] : kinds) {
            QTest::addRow("Kon_W2.bmp %s", kind) << "Kon_W2.bmp" << kind << "" << reason;
        }
        QTest::newRow("Kon_W.bmp missing") << "Kon_W.bmp"
                                           << "missing"
                                           << "mnuMoveH 42"
                                           << "файл не найден";
        QTest::newRow("Trelk.bmp missing") << "Trelk.bmp"
                                           << "missing"
                                           << "mnuAllBoard 42"
                                           << "файл не найден";
    }
    void aPictureThatCannotBeLoadedEndsTheProgram() {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        QFETCH(QString, moves);
        QFETCH(QString, reason);
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
        QCOMPARE(page.text("#report p"), QStringLiteral("Не удалось загрузить рисунок «%1/%2»: %3.")
                                             .arg(page.folderUrl(), file, reason));
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
        Page page(1, beforeLoad);
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
};

QTEST_MAIN(WebTest)
#include "tst_web.moc"
