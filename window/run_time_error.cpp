#include "run_time_error.h"

#include "wording.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTextBoundaryFinder>
#include <QTranslator>
#include <QWidget>
#include <cstdlib>
#include <exception>

namespace {

// Wider than this, a run of text with nowhere to break it (a long folder name)
// would be cut at the box's edge.
constexpr int WidestRun = 400;

QString currentErrorMessage() {
    try {
        throw;
    } catch (const std::exception& error) {
        return QString::fromStdString(error.what());
    } catch (...) {
        return QString::fromUtf8(Wording::UnknownError);
    }
}

// The message with every run too wide to wrap shortened in the middle. Paths
// wrap at their separators, so only an overlong name is shortened. Text
// layout breaks after "/" but not after "\\", so a zero-width space after each
// "\\" lets a Windows path wrap too.
QString fittedToBox(const QString& message, const QFontMetrics& metrics) {
    QString breakable = message;
    breakable.replace(QLatin1Char('\\'), QStringLiteral("\\\u200B"));
    QString fitted;
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, breakable);
    qsizetype start = 0;
    while (start < breakable.size()) {
        const qsizetype end = breaks.toNextBoundary();
        const QString run = breakable.mid(start, end - start);
        fitted += metrics.horizontalAdvance(run) > WidestRun
                      ? metrics.elidedText(run, Qt::ElideMiddle, WidestRun)
                      : run;
        start = end;
    }
    return fitted;
}

// Qt's own words in the box ("Show Details...", "Copy") in the program's
// language, where the system has Qt's translations.
void speakRussian() {
    static QTranslator qtWords;
    if (qtWords.isEmpty() && qtWords.load(QStringLiteral("qtbase_ru"),
                                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&qtWords);
    }
}

} // namespace

int reportRunTimeError() {
    const QString message = currentErrorMessage();
    qCritical("tarvik: %s", qUtf8Printable(message));
    speakRussian();
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(Wording::ReportTitle), message,
                    QMessageBox::Ok);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    const QString fitted = fittedToBox(message, box.fontMetrics());
    if (fitted != message) {
        box.setText(fitted);
        box.setDetailedText(message); // whole, to select and copy
    }
    box.exec();
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
