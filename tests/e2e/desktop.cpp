#include "desktop.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QThread>

QString Desktop::run(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(10000)) {
        qWarning() << tool << arguments << "did not finish within 10 s";
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString Desktop::xdotool(const QStringList& arguments) {
    return run(QStringLiteral("xdotool"), arguments);
}

QString Desktop::properties(const QString& windowId, const QStringList& names) {
    return run(QStringLiteral("xprop"), QStringList{"-id", windowId} + names);
}

QString Desktop::waitForWindow(const QString& title, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        const QString ids = xdotool({"search", "--onlyvisible", "--name", "^" + title + "$"});
        if (!ids.isEmpty()) {
            return ids.section('\n', 0, 0);
        }
        QThread::msleep(50);
    }
    qWarning("no visible window titled «%s» within %d ms", qPrintable(title), timeoutMs);
    return {};
}

bool Desktop::isShown(const QString& title) {
    return !xdotool({"search", "--onlyvisible", "--name", "^" + title + "$"}).isEmpty();
}

QRect Desktop::geometry(const QString& windowId) {
    QRect rect;
    for (const QString& line : xdotool({"getwindowgeometry", "--shell", windowId}).split('\n')) {
        const int value = line.section('=', 1).toInt();
        const QString key = line.section('=', 0, 0);
        if (key == "X") {
            rect.moveLeft(value);
        } else if (key == "Y") {
            rect.moveTop(value);
        } else if (key == "WIDTH") {
            rect.setWidth(value);
        } else if (key == "HEIGHT") {
            rect.setHeight(value);
        }
    }
    return rect;
}

void Desktop::pressReturn(const QString& windowId) {
    xdotool({"windowfocus", windowId});
    xdotool({"key", "Return"});
}

void Desktop::clickAt(QPoint point) {
    xdotool({"mousemove", QString::number(point.x()), QString::number(point.y()), "click", "1"});
}

void Desktop::pressKeys(const QStringList& keys) {
    xdotool(QStringList{"key"} + keys);
}

QImage Desktop::screen() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
}

namespace {

bool isInk(QRgb pixel, QRgb paper) {
    return std::abs(qRed(pixel) - qRed(paper)) + std::abs(qGreen(pixel) - qGreen(paper)) +
               std::abs(qBlue(pixel) - qBlue(paper)) >
           40;
}

} // namespace

QList<QRect> menuBarItems(const QImage& screen, const QRect& bar) {
    const QRgb paper = screen.pixel(bar.right() - 2, bar.center().y());
    QList<QRect> items;
    int lastInk = -100;
    for (int x = bar.left(); x <= bar.right(); ++x) {
        bool ink = false;
        for (int y = bar.top() + 2; y <= bar.bottom() - 2 && !ink; ++y) {
            ink = isInk(screen.pixel(x, y), paper);
        }
        if (!ink) {
            continue;
        }
        if (x - lastInk > 6) {
            items.append(QRect(x, bar.top(), 1, bar.height()));
        } else {
            items.last().setRight(x);
        }
        lastInk = x;
    }
    return items;
}

std::unique_ptr<QProcess> startProgram(const QString& folder) {
    auto process = std::make_unique<QProcess>();
    process->setProgram(folder + "/tarvik");
    process->start();
    if (!process->waitForStarted(10000)) {
        qWarning("%s did not start: %s", qPrintable(process->program()),
                 qPrintable(process->errorString()));
    }
    return process;
}

QRect innerAreaOf(const QRect& client, int row, int col) {
    return {client.topLeft() +
                QPoint((col - 1) * TestRules::CellStep + 1, (row - 1) * TestRules::CellStep + 1),
            QSize(TestRules::InnerSide, TestRules::InnerSide)};
}

QPoint centreOf(const QRect& client, int row, int col) {
    return innerAreaOf(client, row, col).center();
}

QImage onSquare(const QString& name, const QColor& square) {
    QImage shown(TestRules::InnerSide, TestRules::InnerSide, QImage::Format_RGB32);
    shown.fill(square);
    QPainter(&shown).drawImage(0, 0, QImage(QStringLiteral(TARVIK_ASSETS_DIR "/") + name));
    return shown;
}

bool isUniform(const QImage& image, QColor colour) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != colour) {
                return false;
            }
        }
    }
    return true;
}

bool copyProgram(const QString& from, const QString& program, const QString& to,
                 const QStringList& bitmaps) {
    for (const QString& name : QStringList{program} + bitmaps) {
        if (!QFile::copy(from + "/" + name, to + "/" + name)) {
            qWarning("cannot copy %s from %s into %s", qPrintable(name), qPrintable(from),
                     qPrintable(to));
            return false;
        }
    }
    return true;
}

bool finishes(QProcess& program, int expectedStatus, int timeoutMs) {
    const bool finished =
        program.state() == QProcess::NotRunning || program.waitForFinished(timeoutMs);
    if (!finished || program.exitStatus() != QProcess::NormalExit ||
        program.exitCode() != expectedStatus) {
        qWarning() << "finished:" << finished << program.exitStatus() << "status"
                   << program.exitCode() << "expected" << expectedStatus
                   << program.readAllStandardError();
        return false;
    }
    return true;
}
