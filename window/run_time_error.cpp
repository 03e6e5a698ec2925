#include "run_time_error.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <cstdlib>
#include <exception>

namespace {

QString currentErrorMessage() {
    try {
        throw;
    } catch (const std::exception& error) {
        return QString::fromStdString(error.what());
    } catch (...) {
        return QStringLiteral("неизвестная ошибка");
    }
}

} // namespace

int reportRunTimeError() {
    const QString message = currentErrorMessage();
    qCritical("tarvik: %s", qUtf8Printable(message));
    QMessageBox::critical(nullptr, QStringLiteral("Ошибка выполнения"), message);
    return EXIT_FAILURE;
}

void endWithRunTimeError() {
    const int status = reportRunTimeError();
    // Hidden, the board takes no more input before the loop ends, and no close
    // handler can turn the failure into a normal end.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->hide();
    }
    QCoreApplication::exit(status);
}
