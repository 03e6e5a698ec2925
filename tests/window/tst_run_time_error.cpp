#include "window_fixture.h"

#include <QAction>
#include <QFile>
#include <QTest>
#include <QTimer>

// A failure inside a handler must reach the report without crossing Qt's event
// delivery, and end the loop with failure.
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
        QCOMPARE(runInEventLoop([&] { click(*window, 7, 4); }), EXIT_FAILURE);

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

QTEST_MAIN(RunTimeErrorTest)
#include "tst_run_time_error.moc"
