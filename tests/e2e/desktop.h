#pragma once

#include "test_rules.h"

#include <QColor>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>

inline const QStringList AllBitmapNames(TestRules::BitmapNames.begin(),
                                        TestRules::BitmapNames.end());

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

// The titles of the program's windows.
const QString Credits = QStringLiteral("Авторы");
const QString Board = QStringLiteral("Тарвик");
const QString Report = QStringLiteral("Ошибка выполнения");

// What the player sees of the board, worked out from its client area on screen.
const QColor Grey(TestRules::GreyValue, TestRules::GreyValue, TestRules::GreyValue);
QRect innerAreaOf(const QRect& client, int row, int col);
QPoint centreOf(const QRect& client, int row, int col);
// A bitmap as it shows on its square at 100 %: drawn over the square's colour.
QImage onSquare(const QString& name, const QColor& square);
bool isUniform(const QImage& image, QColor colour);

// Copies the program and its four bitmaps, or some of them, between folders.
bool copyProgram(const QString& from, const QString& program, const QString& to,
                 const QStringList& bitmaps = AllBitmapNames);
// Whether the program ends, or has ended, with the status, within the time.
bool finishes(QProcess& program, int expectedStatus, int timeoutMs = 10000);
