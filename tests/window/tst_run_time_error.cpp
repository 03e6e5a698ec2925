#include "window_fixture.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QFile>
#include <QTest>

// A failure inside a handler must reach the report without crossing Qt's event
// delivery, and end the loop with failure.
class RunTimeErrorTest : public QObject {
    Q_OBJECT

private slots:
    void aBitmapDeletedMidGameIsReportedAtTheMoveThatNeedsIt_data() {
        QTest::addColumn<bool>("pressedByAssistiveTechnology");
        QTest::addColumn<QString>("folderName");
        QTest::newRow("clicked") << false << QString();
        QTest::newRow("pressed by assistive technology") << true << QString();
        // Too long to wrap: the box shortens it, the details keep it whole.
        QTest::newRow("folder name wider than the box") << false << QString(120, QChar(u'д'));
    }

    void aBitmapDeletedMidGameIsReportedAtTheMoveThatNeedsIt() {
        QFETCH(bool, pressedByAssistiveTechnology);
        QFETCH(QString, folderName);
        BitmapFolder folder(AllBitmaps, folderName);
        auto window = startedWindow(folder.path());
        menuAction(*window, "mnuAllBoard")->trigger();
        click(*window, 6, 2);
        QFile::remove(folder.file("Trelk_W.bmp"));
        click(*window, 8, 1); // refused: needs nothing
        QCOMPARE(window->board().KnightRow, Coord{6});

        SeenBox report;
        answerNextBox(report);
        QCOMPARE(runInEventLoop([&] {
                     if (pressedByAssistiveTechnology) {
                         QAccessible::queryAccessibleInterface(cellAt(*window, 7, 4))
                             ->actionInterface()
                             ->doAction(QAccessibleActionInterface::pressAction());
                     } else {
                         click(*window, 7, 4);
                     }
                 }),
                 EXIT_FAILURE);

        QVERIFY(report.opened);
        const QString whole = report.detailedText.isEmpty() ? report.text : report.detailedText;
        QVERIFY2(whole.contains(folder.file("Trelk_W.bmp")), qPrintable(whole));
        QCOMPARE(report.text.contains(folderName), folderName.isEmpty());
        // A path that can wrap at its separators, "\\" ones too, is never shortened.
        QCOMPARE(report.text.contains(QChar(u'…')), !folderName.isEmpty());
        QVERIFY(report.selectable);
        QCOMPARE(report.icon, QMessageBox::Critical);
        QCOMPARE(report.title, QStringLiteral("Ошибка выполнения"));
        // The knight stands on (7, 4) and still on (6, 2), where the mark could not go.
        QCOMPARE(shownBitmap(cellAt(*window, 7, 4)), "Kon_W2.bmp");
        QCOMPARE(shownBitmap(cellAt(*window, 6, 2)), "Kon_W.bmp");

        QVERIFY(!window->isVisible());
    }
};

QTEST_MAIN(RunTimeErrorTest)
#include "tst_run_time_error.moc"
