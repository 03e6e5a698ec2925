#include "app_identity.h"

#include <QApplication>
#include <QIcon>

void identifyApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("tarvik"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Tarvik"));
    QIcon builtIn;
    for (const int size : {16, 32, 48, 64, 128}) {
        builtIn.addFile(QStringLiteral(":/icons/%1x%1/apps/tarvik.png").arg(size));
    }
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tarvik"), builtIn));
}
