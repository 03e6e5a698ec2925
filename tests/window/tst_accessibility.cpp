#include "window_fixture.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QMenuBar>
#include <QTest>

namespace {

QString spokenName(QObject* object) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

void press(QObject* object) {
    QAccessibleActionInterface* actions =
        QAccessible::queryAccessibleInterface(object)->actionInterface();
    QVERIFY(actions != nullptr);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
}

QStringList spokenChildren(QObject* object) {
    QStringList names;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
    for (int i = 0; accessible != nullptr && i < accessible->childCount(); ++i) {
        names << accessible->child(i)->text(QAccessible::Name);
    }
    return names;
}

} // namespace

// A screen reader hears the board, each square's place and what stands on it,
// kept current as the knight moves, and the menu items by their captions; it
// or voice control can press a square as a click would.
class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void cellsSayTheirSquareAndWhatStandsOnItAndCanBePressed() {
        BitmapFolder folder;
        auto window = startedWindow(folder.path());
        QCOMPARE(spokenName(window->centralWidget()), QStringLiteral("Доска"));
        QCOMPARE(spokenName(cellAt(*window, 8, 1)), QStringLiteral("Ряд 8, столбец 1: конь"));
        QCOMPARE(spokenName(cellAt(*window, 1, 1)), QStringLiteral("Ряд 1, столбец 1: свободна"));

        menuAction(*window, "mnuAllBoard")->trigger();
        press(cellAt(*window, 6, 2));
        QCOMPARE(window->board().KnightRow, Coord{6});

        QCOMPARE(spokenName(cellAt(*window, 6, 2)), QStringLiteral("Ряд 6, столбец 2: конь"));
        QCOMPARE(spokenName(cellAt(*window, 8, 1)), QStringLiteral("Ряд 8, столбец 1: пройдена"));

        menuAction(*window, "mnuNewGame")->trigger();
        QCOMPARE(spokenName(cellAt(*window, 6, 2)), QStringLiteral("Ряд 6, столбец 2: свободна"));
    }

    void menuItemsSayTheirCaptions() {
        BitmapFolder folder;
        auto window = startedWindow(folder.path());
        QCOMPARE(spokenChildren(window->menuBar()), (QStringList{"Файл", "Задачи"}));
        QCOMPARE(spokenChildren(menuAction(*window, "mnuNewGame")->parent()),
                 (QStringList{"Новая игра", "Выход"}));
        QCOMPARE(spokenChildren(menuAction(*window, "mnuMoveH")->parent()),
                 (QStringList{"Ход конём", "Обойти всю доску"}));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
