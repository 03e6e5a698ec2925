#pragma once

#include "browser.h"
#include "server.h"

#include <QColor>
#include <QImage>
#include <QJsonObject>
#include <QRect>
#include <QTemporaryDir>
#include <memory>

// The real page in one engine (TARVIK_WEB_ENGINE), driven with the pointer
// and the keys, served by Python's own server from a folder whose name has a
// space and Cyrillic letters.

inline const QString PageFolder = QStringLiteral("Тарвик в сети");
// WebDriver's codes of the keys.
inline const QString Tab("\uE004"), Return("\uE006"), Shift("\uE008"), Escape("\uE00C"),
    PageDown("\uE00F"), Right("\uE014"), Down("\uE015");

// The engine this run of the suite drives.
Engine engine();
// Whether it has all of these, for the rows that need them.
bool engineCan(std::initializer_list<Facility> facilities);

// How a player comes to the page: in a browser's window (or on a phone, at a
// zoom, in a dark scheme, by a host name, which from anywhere but this
// machine is not secure over plain http, so that the browser offers no
// service worker); from a server that answers index.html with a redirect to
// its folder, where `redirectIndex`; with `beforeLoad` run in the page
// before its own scripts.
struct Visit {
    Window window;
    bool redirectIndex = false;
    QString beforeLoad;

    Visit at(double zoom, QSize size = {801, 700}, bool phone = false) const;
    Visit dark() const;
    Visit fromHost(const QString& name) const;
    Visit redirectingIndex() const;
    Visit running(const QString& script) const;
};

// The page, its server and the browser that shows it.
class Page {
public:
    explicit Page(const Visit& visit = {});
    ~Page();

    // The browser itself: a row that drives it so may leave it changed, and
    // it then ends with the row instead of serving the next one.
    Browser& browser() {
        browserHandedOut_ = true;
        return *browser_;
    }
    // Ends the browser kept for the next row, while the application runs.
    static void endKeptBrowser();
    bool touch() const { return touch_; }
    QTemporaryDir& root() { return root_; }

    // The site copied into another folder of the same server.
    void copySite(const QString& folder);
    QString file(const QString& name) const;
    QString folderUrl(const QString& folder = PageFolder) const;
    void open(const QString& url);
    // The page loaded again, as the browser's reload does.
    void reload();
    // index.html in a new tab, driven from now on.
    void openInNewTab();
    // The credits box first and alone, then the board, centred.
    bool passCredits(bool byPointer = false);
    // Presses OK on the box ("credits" or "report") as a user would.
    void answer(const QString& box, bool byPointer = false);
    // The board, as the tab left it: no credits box again.
    bool comesBack(int deadlineMs = Browser::DeadlineMs);
    // The page opened anew in the tab, the server gone.
    void reopenOffline(const QString& url);
    void stopServer() { server_.reset(); }
    // How the server answers from now on (serve.py): "hang", "late MS", or
    // "" as it should.
    void serve(const QString& mode);
    bool workerActive();
    // Menu items by id and cells by number, one after the other, clicked or
    // tapped; the page takes them in turn.
    void play(const QString& moves);
    bool knightIsOn(int row, int col);
    // How many times the server was asked for the file.
    int requests(const QString& name);

    QJsonValue run(const QString& script) { return browser_->run(script); }
    bool waitFor(const QString& expression, int deadlineMs = Browser::DeadlineMs) {
        return browser_->waitFor(expression, deadlineMs);
    }
    QString text(const QString& selector);
    bool boardShown();
    // Script errors and blocked loads since the page was opened, one a line,
    // recorded from the page's start, or from recordUnseen().
    QString unseen();
    void recordUnseen();
    // What the page shows once it has been painted.
    QImage screenshot();
    // The board's squares as painted, whatever lies over them (a box).
    QImage squares();
    // After the frame that is being painted and the one after it.
    void twoFrames();
    double zoom();  // device pixels to one CSS pixel
    QRect client(); // the board's client area, in device pixels
    QColor highlightText();

private:
    void recordWhereNeeded();

    Window window_;
    bool keepable_;
    bool browserHandedOut_ = false;
    std::unique_ptr<Browser> browser_;
    bool touch_ = false;
    QString host_;
    QTemporaryDir root_;
    int port_ = 0;
    Server server_;
    QString log_;
};

// "K62 x81": the knight on (6, 2) and a visited mark on (8, 1); the rest empty.
QString pictureOn(const QString& board, int row, int col);
// The same picture, as the engine blends a translucent edge.
bool looksLike(const QImage& shown, const QImage& expected);
// The widths of the runs of black pixels along a line of the screen, and of
// the gaps between them.
QList<int> blackRuns(const QImage& screen, QPoint from, QPoint step, int length,
                     QList<int>* gaps = nullptr);
bool allEqual(const QList<int>& sizes);
// Why the desktop refuses the file: its words after the path.
QString desktopReason(const QString& path);
