#include "run_time_error.h"
#include "window_fixture.h"

#include <QAction>
#include <QFile>
#include <QTest>
#include <QTimer>

// A failure inside a handler must reach the report through the application's
// one boundary, never cross the event loop, and end the loop with failure.
class RunTimeErrorTest : public QObject {
    Q_OBJECT

private slots:
    void aBitmapDeletedMidGameIsReportedAtTheMoveThatNeedsIt() {
        BitmapFolder folder;
        auto window = startedWindow(folder.path());
        menuAction(*window, "mnuAllBoard")->trigger();
        click(*window, 6, 2);
        QFile::remove(folder.file("Trelk_W.bmp"));
        click(*window, 8, 1); // refused: needs nothing
        QCOMPARE(window->board().KnightRow, Coord{6});

        SeenBox report;
        answerNextBox(report);
        QTimer::singleShot(0, window.get(), [&] { click(*window, 7, 4); });
        QCOMPARE(QCoreApplication::exec(), EXIT_FAILURE);

        QVERIFY(report.opened);
        QVERIFY2(report.text.contains(folder.file("Trelk_W.bmp")), qPrintable(report.text));
        QCOMPARE(report.icon, QMessageBox::Critical);
        QCOMPARE(report.title, QStringLiteral("Ошибка выполнения"));
        // The knight stands on (7, 4) and still on (6, 2), where the mark could not go.
        QCOMPARE(cellAt(*window, 7, 4)->picturePath(), folder.file("Kon_W2.bmp"));
        QCOMPARE(cellAt(*window, 6, 2)->picturePath(), folder.file("Kon_W.bmp"));

        QVERIFY(!window->isVisible());
    }
};

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TarvikApplication app(argc, argv);
    RunTimeErrorTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_run_time_error.moc"
