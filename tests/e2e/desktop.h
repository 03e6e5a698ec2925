#pragma once

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>

// The real program in its own process on the test's X server, driven with
// xdotool the way a user would drive it.
class Desktop {
public:
    // Runs xdotool, or xprop, and returns what it printed.
    static QString xdotool(const QStringList& arguments);
    static QString run(const QString& tool, const QStringList& arguments);
    // The id of the visible window with exactly this title, or "" after the time-out.
    static QString waitForWindow(const QString& title, int timeoutMs = 10000);
    static bool isShown(const QString& title);
    static QRect geometry(const QString& windowId);
    // What xprop says of the window's properties.
    static QString properties(const QString& windowId, const QStringList& names);
    static void pressReturn(const QString& windowId);
    static void clickAt(QPoint point);
    static void pressKeys(const QStringList& keys);
    static QImage screen();
};

// Where a menu bar's items lie on the screen, found from the ink of their captions.
QList<QRect> menuBarItems(const QImage& screen, const QRect& bar);

std::unique_ptr<QProcess> startProgram(const QString& folder);
