#pragma once

#include "frmmain.h"
#include "test_rules.h"

#include <QDir>
#include <QMessageBox>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

inline const QStringList AllBitmaps(TestRules::BitmapNames.begin(), TestRules::BitmapNames.end());

// A fresh folder holding copies of the project's bitmaps, gone with the object.
class BitmapFolder {
public:
    explicit BitmapFolder(const QStringList& names = AllBitmaps, const QString& subfolder = {});

    QString path() const { return path_; }
    // As the program names it: in the system's own separators.
    QString file(const QString& name) const { return QDir::toNativeSeparators(path_ + "/" + name); }
    static QString asset(const QString& name);

private:
    QTemporaryDir root_;
    QString path_;
};

// While it lives, ends the test process with a failure naming `file` if the
// scope has not ended within OpenDeadlineMs: a FIFO or a device that slipped
// past the reader's checks would block in open() for ever, and no test may
// hang. One at a time.
constexpr int OpenDeadlineMs = 5000;
class OpenDeadline {
public:
    explicit OpenDeadline(const QString& file);
    ~OpenDeadline();
    OpenDeadline(const OpenDeadline&) = delete;
    OpenDeadline& operator=(const OpenDeadline&) = delete;
};

// What a modal message box showed when it opened.
struct SeenBox {
    std::unique_ptr<QTimer> poll; // looks for the box; stops with this object
    bool opened = false;
    QString title;
    QString text;
    QString detailedText;
    bool selectable = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QAbstractButton*>::size_type buttonCount = 0;
    bool okOnly = false;
};

// Presses OK on the next modal message box as soon as it opens, after noting
// what it showed and running `whileOpen`. Gives up, with a warning, when no
// box has opened within BoxDeadlineMs.
constexpr int BoxDeadlineMs = 10000;
void answerNextBox(SeenBox& seen, std::function<void()> whileOpen = {});

// A board window in a fresh bitmap folder, started (credits answered) and shown
// on the given screen, or the primary one.
std::unique_ptr<frmMain> startedWindow(const QString& folder, QScreen* screen = nullptr);

// Runs the action inside the application's event loop, as a user's click
// would run, and returns the status the loop ended with: LoopDidNotEnd, with a
// warning, when the loop did not end by itself: the action returned without
// ending it, or did not return before a deadline.
constexpr int LoopDidNotEnd = -100;
int runInEventLoop(const std::function<void()>& action);

PictureCell* cellAt(const frmMain& window, int row, int col);
// Which of the four bitmaps the cell shows, read from its picture's pixels
// ("Kon_W.bmp"), "" for the empty picture, "?" for any other.
QString shownBitmap(const PictureCell* cell);
QAction* menuAction(const frmMain& window, const char* name);
void click(const frmMain& window, int row, int col);
