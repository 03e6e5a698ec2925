#include "window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

BitmapFolder::BitmapFolder(const QStringList& names, const QString& subfolder) {
    path_ = subfolder.isEmpty() ? root_.path() : root_.path() + "/" + subfolder;
    QDir().mkpath(path_);
    for (const QString& name : names) {
        QFile::copy(asset(name), file(name));
    }
}

QString BitmapFolder::asset(const QString& name) {
    return QStringLiteral(TARVIK_ASSETS_DIR "/") + name;
}

namespace {

// One watcher thread for the whole process, armed and disarmed by the scopes.
struct OpenWatcher {
    std::mutex mutex;
    std::condition_variable changed;
    std::string file; // "" while disarmed
    std::chrono::steady_clock::time_point deadline;

    static OpenWatcher& instance() {
        static OpenWatcher* watcher = [] {
            auto* created = new OpenWatcher; // lives as long as its thread
            std::thread([created] { created->watch(); }).detach();
            return created;
        }();
        return *watcher;
    }

    void watch() {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [this] { return !file.empty(); });
            if (!changed.wait_until(lock, deadline, [this] { return file.empty(); })) {
                std::fprintf(stderr, "FAIL! opening %s did not end within %d ms: it blocks\n",
                             file.c_str(), OpenDeadlineMs);
                std::_Exit(EXIT_FAILURE);
            }
        }
    }
};

} // namespace

OpenDeadline::OpenDeadline(const QString& file) {
    OpenWatcher& watcher = OpenWatcher::instance();
    {
        const std::lock_guard lock(watcher.mutex);
        watcher.file = file.toStdString();
        watcher.deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(OpenDeadlineMs);
    }
    watcher.changed.notify_all();
}

OpenDeadline::~OpenDeadline() {
    OpenWatcher& watcher = OpenWatcher::instance();
    {
        const std::lock_guard lock(watcher.mutex);
        watcher.file.clear();
    }
    watcher.changed.notify_all();
}

void answerNextBox(SeenBox& seen, std::function<void()> whileOpen) {
    seen.poll = std::make_unique<QTimer>();
    QTimer* poll = seen.poll.get();
    QElapsedTimer waited;
    waited.start();
    QObject::connect(poll, &QTimer::timeout, [poll, waited, &seen, whileOpen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            if (waited.hasExpired(BoxDeadlineMs)) {
                poll->stop();
                qWarning("no message box opened within %d ms", BoxDeadlineMs);
            }
            return;
        }
        poll->stop();
        seen.opened = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.detailedText = box->detailedText();
        seen.selectable = box->textInteractionFlags().testFlag(Qt::TextSelectableByMouse);
        seen.icon = box->icon();
        const auto buttons = box->buttons();
        seen.buttonCount = buttons.size();
        seen.okOnly = buttons.size() == 1 && buttons[0]->text() == QStringLiteral("OK") &&
                      box->buttonRole(buttons[0]) == QMessageBox::AcceptRole;
        if (whileOpen) {
            whileOpen();
        }
        box->buttons().constFirst()->click();
    });
    poll->start(5);
}

std::unique_ptr<frmMain> startedWindow(const QString& folder, QScreen* screen) {
    auto window = std::make_unique<frmMain>([folder] { return pathFromText(folder); });
    if (screen != nullptr) {
        window->setScreen(screen);
    }
    SeenBox credits;
    answerNextBox(credits);
    window->Form_Load();
    window->showCentred();
    if (!QTest::qWaitForWindowExposed(window.get())) {
        qWarning("the board window was not exposed");
    }
    return window;
}

int runInEventLoop(const std::function<void()>& action) {
    constexpr int ActionDeadlineMs = 10000;
    // The program ends its loop from inside the handler, so once the action
    // has returned there is nothing left to wait for.
    constexpr int AfterActionMs = 250;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [] {
        qWarning("the event loop did not end: the program neither failed nor exited");
        QCoreApplication::exit(LoopDidNotEnd);
    });
    deadline.start(ActionDeadlineMs);
    QTimer::singleShot(0, &deadline, [&] {
        action();
        deadline.start(AfterActionMs);
    });
    return QCoreApplication::exec();
}

PictureCell* cellAt(const frmMain& window, int row, int col) {
    return window.findChild<PictureCell*>(QStringLiteral("Picture%1").arg((row - 1) * 8 + col));
}

// A cell's picture is new at every load: each is compared once.
QString shownBitmap(const PictureCell* cell) {
    static const auto bitmaps = [] {
        std::vector<std::pair<QString, QImage>> all;
        for (const QString& name : AllBitmaps) {
            all.emplace_back(name, QImage(BitmapFolder::asset(name))
                                       .convertToFormat(QImage::Format_ARGB32_Premultiplied));
        }
        return all;
    }();
    static QHash<qint64, QString> seen;
    const QPixmap& picture = cell->picture();
    if (picture.isNull()) {
        return {};
    }
    if (const auto known = seen.constFind(picture.cacheKey()); known != seen.cend()) {
        return *known;
    }
    const QImage shown = picture.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QString name = QStringLiteral("?");
    for (const auto& [bitmap, image] : bitmaps) {
        if (image == shown) {
            name = bitmap;
        }
    }
    return seen[picture.cacheKey()] = name;
}

QAction* menuAction(const frmMain& window, const char* name) {
    return window.findChild<QAction*>(QString::fromLatin1(name));
}

void click(const frmMain& window, int row, int col) {
    QTest::mouseClick(cellAt(window, row, col), Qt::LeftButton, {}, QPoint(28, 28));
}
