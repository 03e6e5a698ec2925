#include "startup.h"

#include "app_identity.h"
#include "frmmain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <cstdio>

namespace {

// Prints the peak memory and ends the process at the first paint of `target`.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->objectName() == target) {
            std::printf("painted %lld\n", static_cast<long long>(peakResidentBytes()));
            std::fflush(stdout);
            std::_Exit(0);
        }
        return false;
    }
    QString target;
};

void answerCreditsAtOnce() {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->accept();
        }
    });
    poll->start(0);
}

} // namespace

int runStartupChild(int argc, char* argv[], bool bare) {
    QApplication app(argc, argv);
    FirstPaint firstPaint;
    app.installEventFilter(&firstPaint);
    if (bare) {
        QWidget window;
        window.setObjectName(QStringLiteral("bare"));
        window.setFixedSize(Layout::ClientWidth, Layout::ClientHeight);
        firstPaint.target = window.objectName();
        window.show();
        return app.exec();
    }
    answerCreditsAtOnce();
    identifyApplication(); // as the program does
    frmMain window([] { return std::filesystem::path(TARVIK_BIN_DIR); });
    firstPaint.target = QStringLiteral("Picture57");
    window.Form_Load();
    window.showCentred();
    return app.exec();
}

namespace {

struct Startup {
    double milliseconds = 0;
    double peakBytes = 0;
};

Startup startOnce(const QString& self, const char* mode) {
    QProcess child;
    QElapsedTimer clock;
    clock.start();
    child.start(self, {QStringLiteral("--startup-child"), QString::fromLatin1(mode)});
    child.waitForReadyRead(30000);
    const double milliseconds = double(clock.nsecsElapsed()) / 1e6;
    const QByteArray line = child.readLine().trimmed();
    child.waitForFinished(5000);
    return {milliseconds, line.split(' ').value(1).toDouble()};
}

} // namespace

std::vector<Row> measureStartup(const QString& self, int runs) {
    std::vector<double> ourTimes, bareTimes, ourPeaks, barePeaks;
    startOnce(self, "bare"); // warm the file cache
    startOnce(self, "tarvik");
    for (int run = 0; run < runs; ++run) {
        const Startup bare = startOnce(self, "bare");
        const Startup ours = startOnce(self, "tarvik");
        bareTimes.push_back(bare.milliseconds);
        ourTimes.push_back(ours.milliseconds);
        barePeaks.push_back(bare.peakBytes / 1048576);
        ourPeaks.push_back(ours.peakBytes / 1048576);
    }
    return {{"start-up to first painted window", "ms", median(ourTimes), median(bareTimes), 1.3},
            {"start-up peak memory", "MiB", median(ourPeaks), median(barePeaks), 1.2}};
}
