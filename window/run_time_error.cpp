#include "run_time_error.h"

#include <QMessageBox>
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

// Once the report has been shown, the user must not reach the board again, and
// closing the window must not turn the failure into a normal end.
bool isUserAction(const QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace

int reportRunTimeError() {
    const QString message = currentErrorMessage();
    qCritical("tarvik: %s", qUtf8Printable(message));
    QMessageBox::critical(nullptr, QStringLiteral("Тарвик"),
                          QStringLiteral("Ошибка выполнения.\n\n") + message);
    return EXIT_FAILURE;
}

bool TarvikApplication::notify(QObject* receiver, QEvent* event) {
    if (ending_ && isUserAction(event)) {
        return true;
    }
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ending_ = true;
        exit(reportRunTimeError());
        return true;
    }
}
