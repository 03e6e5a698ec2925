#include "window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

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

void answerNextBox(SeenBox& seen, std::function<void()> whileOpen) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &seen, whileOpen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        seen.opened = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
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

std::unique_ptr<frmMain> startedWindow(const QString& folder) {
    auto window = std::make_unique<frmMain>([folder] { return folder; });
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
    QTimer::singleShot(0, action);
    return QCoreApplication::exec();
}

PictureCell* cellAt(const frmMain& window, int row, int col) {
    return window.findChild<PictureCell*>(QStringLiteral("Picture%1").arg((row - 1) * 8 + col));
}

QAction* menuAction(const frmMain& window, const char* name) {
    return window.findChild<QAction*>(QString::fromLatin1(name));
}

void click(const frmMain& window, int row, int col) {
    QTest::mouseClick(cellAt(window, row, col), Qt::LeftButton, {}, QPoint(28, 28));
}
