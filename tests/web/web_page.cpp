#include "web_page.h"

#include "bitmap_file.h"
#include "desktop.h"
#include "program_folder.h"
#include "test_rules.h"

#include <QDateTime>
#include <QDir>
#include <QJsonArray>
#include <QRegularExpression>
#include <QTest>

namespace {

// What went wrong in the page that no box shows: script errors, and whatever
// its security policy blocked.
const char* const Recorder = R"(
    window.unseen = [];
    addEventListener('error', (e) => unseen.push('error: ' + e.message));
    document.addEventListener('securitypolicyviolation',
        (e) => unseen.push('blocked by ' + e.violatedDirective + ': ' + (e.blockedURI || e.sample)));)";

// Starting a browser takes most of a short row's time, so one serves row
// after row while they ask for the same window and drive it only through the
// page. Each row's server has a port of its own, so its page is an origin of
// its own, with its own worker, copies and storage.
struct KeptBrowser {
    std::unique_ptr<Browser> browser;
    Window window;
};
KeptBrowser& kept() {
    static KeptBrowser spare;
    return spare;
}

std::unique_ptr<Browser> browserFor(const Visit& visit) {
    KeptBrowser& spare = kept();
    if (spare.browser && spare.window == visit.window && visit.beforeLoad.isEmpty()) {
        return std::move(spare.browser);
    }
    spare.browser.reset();
    std::unique_ptr<Browser> browser = startBrowser(engine(), visit.window);
    if (can(engine(), Facility::BeforeLoad)) {
        browser->runBeforeEveryPage(Recorder + visit.beforeLoad);
    }
    return browser;
}

template <typename T> Visit with(Visit visit, T Visit::*field, T value) {
    visit.*field = std::move(value);
    return visit;
}

} // namespace

Engine engine() {
    static const Engine chosen = engineFromEnvironment();
    return chosen;
}

bool engineCan(std::initializer_list<Facility> facilities) {
    return std::all_of(facilities.begin(), facilities.end(),
                       [](Facility facility) { return can(engine(), facility); });
}

Visit Visit::at(double zoom, QSize size, bool phone) const {
    Visit changed = *this;
    changed.window.zoom = zoom;
    changed.window.size = size;
    changed.window.phone = phone;
    return changed;
}

Visit Visit::dark() const {
    Visit changed = *this;
    changed.window.dark = true;
    return changed;
}

Visit Visit::fromHost(const QString& name) const {
    Visit changed = *this;
    changed.window.host = name;
    return changed;
}

Visit Visit::redirectingIndex() const {
    return with(*this, &Visit::redirectIndex, true);
}

Visit Visit::running(const QString& script) const {
    return with(*this, &Visit::beforeLoad, script);
}

Page::Page(const Visit& visit)
    : window_(visit.window)
    , keepable_(visit.beforeLoad.isEmpty())
    , browser_(browserFor(visit))
    , touch_(visit.window.phone)
    , host_(visit.window.host.isEmpty() ? QStringLiteral("127.0.0.1") : visit.window.host) {
    copySite(PageFolder);
    server_ = serveOnItsOwnPort("python3",
                                {"-u", TARVIK_SERVE, visit.redirectIndex ? "--redirect-index" : ""},
                                root_.path(), port_);
    open(folderUrl() + "/index.html");
}

// A row that failed may have left anything behind.
Page::~Page() {
    if (keepable_ && !browserHandedOut_ && !QTest::currentTestFailed()) {
        kept() = {std::move(browser_), window_};
    }
}

void Page::endKeptBrowser() {
    kept().browser.reset();
}

// A year old, so that a browser cache would take them as fresh.
void Page::copySite(const QString& folder) {
    QDir().mkpath(root_.filePath(folder));
    for (const QString& name : QDir(TARVIK_SITE).entryList(QDir::Files)) {
        QFile copy(root_.filePath(folder + "/" + name));
        QFile::copy(TARVIK_SITE "/" + name, copy.fileName());
        copy.open(QIODevice::Append);
        copy.setFileTime(QDateTime::currentDateTime().addYears(-1),
                         QFileDevice::FileModificationTime);
    }
}

QString Page::file(const QString& name) const {
    return root_.filePath(PageFolder + "/" + name);
}

QString Page::folderUrl(const QString& folder) const {
    return QStringLiteral("http://%1:%2/%3").arg(host_).arg(port_).arg(folder);
}

// Where no script can run before the page's own, the errors are recorded
// from when it is there.
void Page::open(const QString& url) {
    browser_->open(url);
    recordWhereNeeded();
}

void Page::reload() {
    browser_->reload();
    recordWhereNeeded();
}

void Page::openInNewTab() {
    browserHandedOut_ = true; // the tab before it stays open
    browser_->openInNewTab(folderUrl() + "/index.html");
    recordUnseen(); // Chromium runs a tab's scripts before its pages in that tab only
}

void Page::recordWhereNeeded() {
    if (!can(engine(), Facility::BeforeLoad)) {
        recordUnseen();
    }
}

void Page::recordUnseen() {
    run(Recorder);
}

bool Page::passCredits(bool byPointer) {
    if (!waitFor("document.getElementById('credits').open") || boardShown() ||
        text("#credits h1") != Credits || !text("#credits p").contains("\n\r")) {
        qWarning("no credits box first, alone, at %s: %s",
                 qPrintable(run("return location.href").toString()),
                 qPrintable(run("return document.body?.innerText.slice(0, 200)").toString()));
        return false;
    }
    answer("credits", byPointer);
    return waitFor("!document.getElementById('frmMain').hidden") &&
           run("return document.title").toString() == Board &&
           waitFor("(r => Math.abs(r.x + r.width / 2 - innerWidth / 2) <= 1 &&"
                   "Math.abs(r.y + r.height / 2 - innerHeight / 2) <= 1)("
                   "document.getElementById('frmMain').getBoundingClientRect())");
}

// Return on the box's OK button, which has the focus; where the driver's keys
// do not activate a button (Firefox's), or `byPointer`, a click on it.
void Page::answer(const QString& box, bool byPointer) {
    if (!byPointer && engineCan({Facility::KeysActivateButtons})) {
        browser_->press({Return});
        return;
    }
    run("document.querySelector('#" + box + " button').id = '" + box + "OK'");
    browser_->click(box + "OK");
}

bool Page::comesBack(int deadlineMs) {
    return waitFor("!document.getElementById('frmMain').hidden", deadlineMs) &&
           run("return document.getElementById('credits').open") == false;
}

void Page::serve(const QString& mode) {
    QFile file(root_.filePath(".mode"));
    if (mode.isEmpty()) {
        file.remove();
    } else if (!file.open(QIODevice::WriteOnly) || file.write(mode.toUtf8()) != mode.size()) {
        qWarning("could not tell the server to %s", qPrintable(mode));
    }
}

void Page::reopenOffline(const QString& url) {
    stopServer();
    open(url);
}

bool Page::workerActive() {
    return waitFor("!!navigator.serviceWorker.controller");
}

void Page::play(const QString& moves) {
    const auto press = [this](const QString& id) {
        touch_ ? browser_->tap(id) : browser_->click(id);
    };
    for (const QString& move : moves.split(' ', Qt::SkipEmptyParts)) {
        if (move.startsWith("mnu")) {
            press(move == "mnuNewGame" || move == "mnuExit" ? "mnuFile" : "mnuTasks");
        }
        press(move.startsWith("mnu") ? move : "Picture" + move);
    }
}

bool Page::knightIsOn(int row, int col) {
    return waitFor(QStringLiteral("document.getElementById('Picture%1').ariaLabel.endsWith('конь')")
                       .arg((row - 1) * 8 + col));
}

int Page::requests(const QString& name) {
    log_ += QString::fromUtf8(server_->readAll());
    return int(log_.count(QRegularExpression("\"GET [^ ]*/" + name + " ")));
}

QString Page::text(const QString& selector) {
    return run("return document.querySelector('" + selector + "').textContent").toString();
}

bool Page::boardShown() {
    return run("return !!document.getElementById('frmMain')?.checkVisibility()") == true;
}

QString Page::unseen() {
    return run("return unseen.join('\\n')").toString();
}

QImage Page::screenshot() {
    twoFrames();
    return browser_->screenshot();
}

QImage Page::squares() {
    const QString png = run("return document.getElementById('squares').toDataURL()").toString();
    return QImage::fromData(QByteArray::fromBase64(png.section(',', 1).toLatin1()))
        .convertToFormat(QImage::Format_RGB32);
}

void Page::twoFrames() {
    browser_->runAsync("requestAnimationFrame(() => requestAnimationFrame(arguments[0]))", 5000);
}

double Page::zoom() {
    return run("return devicePixelRatio").toDouble();
}

QRect Page::client() {
    const double ratio = zoom();
    const QJsonObject r =
        run("return document.getElementById('board').getBoundingClientRect().toJSON()").toObject();
    return {qRound(r["x"].toDouble() * ratio), qRound(r["y"].toDouble() * ratio),
            qRound(r["width"].toDouble() * ratio), qRound(r["height"].toDouble() * ratio)};
}

QColor Page::highlightText() {
    const QJsonArray rgb = run("const i = document.body.appendChild(document.createElement('i'));"
                               "i.style.color = 'HighlightText';"
                               "const rgb = getComputedStyle(i).color.match(/\\d+/g).map(Number);"
                               "i.remove();" // the page's layout as it was
                               "return rgb;")
                               .toArray();
    return QColor(rgb[0].toInt(), rgb[1].toInt(), rgb[2].toInt());
}

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
// otherwise than Qt, by two steps at most (Firefox's; Chromium's by one); a
// wrong picture or square differs by far more.
bool looksLike(const QImage& shown, const QImage& expected) {
    for (int y = 0; y < shown.height() && shown.size() == expected.size(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb a = shown.pixel(x, y), b = expected.pixel(x, y);
            if (qAbs(qRed(a) - qRed(b)) > 2 || qAbs(qGreen(a) - qGreen(b)) > 2 ||
                qAbs(qBlue(a) - qBlue(b)) > 2) {
                return false;
            }
        }
    }
    return shown.size() == expected.size();
}

// The widths of the runs of black pixels along a line of the screen, and of
// the gaps between them.
QList<int> blackRuns(const QImage& screen, QPoint from, QPoint step, int length, QList<int>* gaps) {
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
