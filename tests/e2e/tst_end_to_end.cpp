#include "desktop.h"
#include "hostile_files.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPalette>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

namespace {

QColor whiteSquare() {
    return QGuiApplication::palette().color(QPalette::HighlightedText);
}

// The program under test: the build's, or one installed elsewhere.
QString programFolder() {
    const QString installed = qEnvironmentVariable("TARVIK_PROGRAM_DIR");
    return installed.isEmpty() ? QStringLiteral(TARVIK_BIN_DIR) : installed;
}

// The running board window: where its client area and menu bar lie on screen.
struct BoardOnScreen {
    QString id;
    QRect window;
    QRect client() const {
        return {window.left(), window.bottom() + 1 - TestRules::ClientHeight, window.width(),
                TestRules::ClientHeight};
    }
    QRect menuBar() const {
        return {window.left(), window.top(), window.width(),
                window.height() - TestRules::ClientHeight};
    }
    QPoint centreOf(int row, int col) const { return ::centreOf(client(), row, col); }
    QRect innerArea(int row, int col) const { return innerAreaOf(client(), row, col); }
};

// Waits for the credits box, answers it and returns the board window.
BoardOnScreen passCredits() {
    const QString credits = Desktop::waitForWindow(Credits);
    if (credits.isEmpty()) {
        qWarning("no credits box");
        return {};
    }
    if (Desktop::isShown(Board)) {
        qWarning("the board was shown before the credits box was answered");
        return {};
    }
    Desktop::pressReturn(credits);
    const QString id = Desktop::waitForWindow(Board);
    return {id, Desktop::geometry(id)};
}

void chooseFromMenu(const BoardOnScreen& board, int heading, int item) {
    const QList<QRect> items = menuBarItems(Desktop::screen(), board.menuBar());
    QCOMPARE(items.size(), 2);
    Desktop::clickAt(items[heading].center());
    QTest::qWait(300);
    QStringList keys;
    for (int i = 0; i <= item; ++i) {
        keys << "Down";
    }
    Desktop::pressKeys(keys << "Return");
    QTest::qWait(300);
}

// The program and its four bitmaps, copied into `folder`.
bool copyProgram(const QString& folder) {
    return copyProgram(QStringLiteral(TARVIK_BIN_DIR), "tarvik", folder);
}

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void theBoardComesAfterTheCreditsCentredAndPaintedCellByCell() {
        auto program = startProgram(programFolder());
        const BoardOnScreen board = passCredits();
        QCOMPARE(board.client().size(), QSize(TestRules::ClientWidth, TestRules::ClientHeight));
        const QSize screen = QGuiApplication::primaryScreen()->size();
        QVERIFY(std::abs(board.window.center().x() - screen.width() / 2) <= 1);
        QVERIFY(std::abs(board.window.center().y() - screen.height() / 2) <= 1);
        // Docks and switchers find the program's icon and desktop entry.
        const QString identity = Desktop::properties(board.id, {"WM_CLASS", "_NET_WM_ICON"});
        QVERIFY2(identity.contains(R"(WM_CLASS(STRING) = "tarvik", "tarvik")") &&
                     identity.contains("Icon (16 x 16)") && identity.contains("Icon (128 x 128)"),
                 qPrintable(identity.left(200)));
        QTest::qWait(200);

        const QImage shot = Desktop::screen();
        shot.copy(board.window).save(QStringLiteral(TARVIK_SCREENSHOT));
        for (int row = 1; row <= 8; ++row) {
            for (int col = 1; col <= 8; ++col) {
                const QImage inner = shot.copy(board.innerArea(row, col));
                if (row == 8 && col == 1) {
                    QCOMPARE(inner, onSquare("Kon_W2.bmp", Grey));
                } else {
                    QVERIFY2(
                        isUniform(inner, TestRules::isGreySquare(row, col) ? Grey : whiteSquare()),
                        qPrintable(QStringLiteral("cell (%1, %2)").arg(row).arg(col)));
                }
            }
        }
        chooseFromMenu(board, 0, 1); // File > Exit
        QVERIFY(finishes(*program, 0));
    }

    void knightMoveFromTheMenuThenAClick() {
        auto program = startProgram(programFolder());
        const BoardOnScreen board = passCredits();
        chooseFromMenu(board, 1, 0); // Tasks > Knight move
        Desktop::clickAt(board.centreOf(6, 2));
        QTest::qWait(300);
        const QImage shot = Desktop::screen();
        QCOMPARE(shot.copy(board.innerArea(6, 2)), onSquare("Kon_W.bmp", whiteSquare()));
        QVERIFY(isUniform(shot.copy(board.innerArea(8, 1)), Grey));
        chooseFromMenu(board, 0, 1);
        QVERIFY(finishes(*program, 0));
    }

    void aBadGreySquareKnightEndsTheProgramThroughTheReport_data() { addHostileKindRows(); }

    void aBadGreySquareKnightEndsTheProgramThroughTheReport() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir copy;
        QVERIFY(copyProgram(copy.path()));
        QVERIFY(makeHostileFile(kind, copy.filePath("Kon_W2.bmp")));
        auto program = startProgram(copy.path());
        const QString credits = Desktop::waitForWindow(Credits);
        QVERIFY(!credits.isEmpty());
        Desktop::pressReturn(credits);
        const QString report = Desktop::waitForWindow(Report);
        QVERIFY(!report.isEmpty());
        QVERIFY(!Desktop::isShown(Board));
        Desktop::pressReturn(report);
        QVERIFY(finishes(*program, 1));
        QVERIFY(!Desktop::isShown(Board));
        const QString errors = QString::fromUtf8(program->readAllStandardError());
        QVERIFY2(errors.contains(copy.filePath("Kon_W2.bmp")) && errors.contains(reason),
                 qPrintable(errors));
    }

    // The folder's name as the system has it, in bytes: what an old archive
    // unpacked as it is gives is not UTF-8, and the program must still read
    // its bitmaps from there.
    void startsFromAnyFolderThroughALink_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("spaces and Cyrillic")
            << QStringLiteral("Мои игры/Тарвик 2.0 (копия)").toUtf8();
        QTest::newRow("named in KOI8-R") << QByteArray("\xf4\xc1\xd2\xd7\xc9\xcb");
    }

    void startsFromAnyFolderThroughALink() {
        QFETCH(QByteArray, name);
        namespace fs = std::filesystem;
        QTemporaryDir root;
        const fs::path folder = fs::path(root.path().toStdString()) / name.toStdString();
        const fs::path elsewhere = fs::path(root.path().toStdString()) / "ярлыки";
        fs::create_directories(folder);
        fs::create_directories(elsewhere);
        for (const QString& file : QStringList{"tarvik"} + AllBitmapNames) {
            fs::copy_file((programFolder() + "/" + file).toStdString(),
                          folder / file.toStdString());
        }
        fs::create_symlink(folder / "tarvik", elsewhere / "tarvik");
        auto program = startProgram(QString::fromStdString(elsewhere.string()));
        const BoardOnScreen board = passCredits();
        QVERIFY2(!board.id.isEmpty(), program->readAllStandardError().constData());
        chooseFromMenu(board, 1, 1); // Tasks > Tour
        Desktop::clickAt(board.centreOf(6, 2));
        QTest::qWait(300);
        const QImage shot = Desktop::screen();
        QCOMPARE(shot.copy(board.innerArea(6, 2)), onSquare("Kon_W.bmp", whiteSquare()));
        QCOMPARE(shot.copy(board.innerArea(8, 1)), onSquare("Trelk.bmp", Grey));
        chooseFromMenu(board, 0, 1);
        QVERIFY(finishes(*program, 0));
    }
};

QTEST_MAIN(EndToEndTest)
#include "tst_end_to_end.moc"
