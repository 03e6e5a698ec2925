#include "desktop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

// The real tarvik.exe under Wine, seen and driven as a Windows user would:
// TARVIK_EXE_DIR holds it with its bitmaps, TARVIK_INSTALLER is its installer,
// WINEPREFIX the Wine prefix to use.

namespace {

const QColor White(255, 255, 255); // Wine's highlight-text colour

QString exeFolder() {
    return qEnvironmentVariable("TARVIK_EXE_DIR");
}

QString prefix() {
    return qEnvironmentVariable("WINEPREFIX");
}

// The exe and its four bitmaps, or some of them, copied into `folder`.
bool copyProgram(const QString& folder, const QStringList& bitmaps = AllBitmapNames) {
    return copyProgram(exeFolder(), "tarvik.exe", folder, bitmaps);
}

// `wine program`, with Qt's messages on standard error (Wine hands WINEQT_*
// to the program as QT_*).
std::unique_ptr<QProcess> startUnderWine(const QString& program,
                                         const QStringList& arguments = {}) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("WINEQT_FORCE_STDERR_LOGGING", "1");
    process->setProcessEnvironment(environment);
    process->start("wine", QStringList{program} + arguments);
    if (!process->waitForStarted(10000)) {
        qWarning("wine %s did not start: %s", qPrintable(program),
                 qPrintable(process->errorString()));
    }
    return process;
}

// Where the board's client area lies on the screen, found from the knight on
// its start square: the one place that shows the grey-square knight.
QRect findBoard(const QImage& screen) {
    const QImage knight = onSquare("Kon_W2.bmp", Grey);
    const QPoint toClient = innerAreaOf({}, 8, 1).topLeft();
    for (int y = toClient.y(); y + knight.height() <= screen.height(); ++y) {
        for (int x = toClient.x(); x + knight.width() <= screen.width(); ++x) {
            if (screen.pixel(x, y) == knight.pixel(0, 0) &&
                screen.copy(x, y, knight.width(), knight.height()) == knight) {
                return {QPoint(x, y) - toClient,
                        QSize(TestRules::ClientWidth, TestRules::ClientHeight)};
            }
        }
    }
    qWarning("the knight on its start square is nowhere on the screen");
    return {};
}

// Answers the credits box and returns the board's client area on screen.
QRect passCredits() {
    const QString credits = Desktop::waitForWindow(Credits, 30000);
    if (credits.isEmpty() || Desktop::isShown(Board)) {
        qWarning("no credits box first");
        return {};
    }
    Desktop::pressReturn(credits);
    if (Desktop::waitForWindow(Board).isEmpty()) {
        return {};
    }
    QTest::qWait(500);
    return findBoard(Desktop::screen());
}

// Opens a heading of the menu bar from the keyboard and chooses an item.
void chooseFromMenu(int heading, int item) {
    QStringList keys{"alt"};
    for (int i = 0; i < heading; ++i) {
        keys << "Right";
    }
    keys << "Down";
    for (int i = 0; i < item; ++i) {
        keys << "Down";
    }
    Desktop::pressKeys(keys << "Return");
    QTest::qWait(300);
}

// A Knight-move click from the start: the knight's new square and the one it
// left, as the screen shows them.
void playsAKnightMove(const QRect& client) {
    chooseFromMenu(1, 0); // Задачи > Ход конём
    Desktop::clickAt(centreOf(client, 6, 2));
    QTest::qWait(500);
    const QImage shot = Desktop::screen();
    QCOMPARE(shot.copy(innerAreaOf(client, 6, 2)), onSquare("Kon_W.bmp", White));
    QVERIFY2(isUniform(shot.copy(innerAreaOf(client, 8, 1)), Grey), "(8, 1) was not cleared");
}

// Runs a Windows command under Wine to its end and returns its status.
int runUnderWine(const QStringList& command, int timeoutMs = 120000) {
    QProcess process;
    process.start("wine", command);
    if (!process.waitForFinished(timeoutMs)) {
        qWarning() << "wine" << command << "did not finish within" << timeoutMs << "ms";
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitCode();
}

// A new Wine server for the prefix, kept running as run_wine_test.sh keeps it:
// Wine takes a monitor's dpi when its server starts.
bool restartWineServer() {
    for (const QString option : {"-k", "-w", "-p"}) {
        QProcess server;
        server.start("wineserver", {option});
        if (!server.waitForFinished(30000) || (option != "-k" && server.exitCode() != 0)) {
            qWarning() << "wineserver" << option << "did not end well within 30 s";
            server.kill();
            server.waitForFinished();
            return false;
        }
    }
    return true;
}

bool waitUntil(const std::function<bool()>& condition, const char* what, int timeoutMs = 30000) {
    if (QTest::qWaitFor(condition, timeoutMs)) {
        return true;
    }
    qWarning("not within %d ms: %s", timeoutMs, what);
    return false;
}

bool isRegistered() {
    return runUnderWine({"reg", "query",
                         R"(HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvik)"}) ==
           0;
}

// Starts the program in `folder` (a Windows path), plays one move and exits.
void startsPlaysAndExits(const QString& program) {
    auto process = startUnderWine(program);
    const QRect client = passCredits();
    QVERIFY(!client.isNull());
    playsAKnightMove(client);
    chooseFromMenu(0, 1); // Файл > Выход
    QVERIFY(finishes(*process, 0, 20000));
}

} // namespace

class WineTest : public QObject {
    Q_OBJECT

private slots:
    void creditsThenTheCentredBoardThenAMoveThenExit() {
        auto program = startUnderWine(exeFolder() + "/tarvik.exe");
        const QRect client = passCredits();
        QVERIFY(!client.isNull());
        const QRect window = Desktop::geometry(Desktop::waitForWindow(Board));
        // Centred as Windows sees it: the title bar and border it counts in
        // are drawn by a window manager, and Xvfb has none, so the client
        // area lies lower by about half their height.
        const QPoint offCentre =
            window.center() - QGuiApplication::primaryScreen()->geometry().center();
        QVERIFY2(
            std::abs(offCentre.x()) <= 1 && offCentre.y() >= 0 && offCentre.y() <= 20,
            qPrintable(QStringLiteral("%1, %2 off centre").arg(offCentre.x()).arg(offCentre.y())));
        // What Wine asks of a window manager: move and close only, and a
        // border, title and system menu without resize handles.
        const QString hints =
            Desktop::properties(Desktop::waitForWindow(Board), {"_MOTIF_WM_HINTS"});
        QVERIFY2(hints.endsWith("= 0x3, 0x24, 0x1a, 0x0, 0x0"), qPrintable(hints));
        Desktop::screen().copy(window.adjusted(-8, -8, 8, 8)).save("wine-board.png");
        playsAKnightMove(client);
        chooseFromMenu(0, 1); // Файл > Выход
        QVERIFY(finishes(*program, 0, 20000));
    }

    void closingTheWindowEndsWithZero() {
        auto program = startUnderWine(exeFolder() + "/tarvik.exe");
        QVERIFY(!passCredits().isNull());
        Desktop::pressKeys({"alt+F4"});
        QVERIFY(finishes(*program, 0, 20000));
    }

    void withoutTheGreySquareKnightTheReportNamesItsWindowsPath() {
        QTemporaryDir folder;
        QVERIFY(copyProgram(folder.path(), {"Kon_W.bmp", "Trelk_W.bmp", "Trelk.bmp"}));
        auto program = startUnderWine(folder.filePath("tarvik.exe"));
        const QString credits = Desktop::waitForWindow(Credits, 30000);
        QVERIFY(!credits.isEmpty());
        Desktop::pressReturn(credits);
        const QString report = Desktop::waitForWindow(Report);
        QVERIFY(!report.isEmpty());
        QVERIFY(!Desktop::isShown(Board));
        Desktop::screen()
            .copy(Desktop::geometry(report).adjusted(-8, -8, 8, 8))
            .save("wine-report.png");
        Desktop::pressReturn(report);
        QVERIFY(finishes(*program, 1, 20000));
        const QString errors = QString::fromUtf8(program->readAllStandardError());
        const QString windowsPath =
            "Z:" + QDir::toNativeSeparators(folder.filePath("Kon_W2.bmp")).replace('/', '\\');
        QVERIFY2(errors.contains(windowsPath), qPrintable(errors));
    }

    void startsAndPlaysFromTheRootOfADrive() {
        QTemporaryDir root;
        QVERIFY(copyProgram(root.path()));
        const QString drive = prefix() + "/dosdevices/t:";
        QFile::remove(drive);
        QVERIFY(QFile::link(root.path(), drive));
        startsPlaysAndExits(R"(T:\tarvik.exe)");
        QFile::remove(drive);
    }

    void thePortableZipStartsAndPlaysWhereItIsUnpacked() {
        QTemporaryDir folder;
        QString zip = qEnvironmentVariable("TARVIK_INSTALLER");
        zip.replace(QRegularExpression("\\.exe$"), ".zip");
        QProcess unpack;
        unpack.setWorkingDirectory(folder.path());
        unpack.start("cmake", {"-E", "tar", "xf", zip});
        QVERIFY2(unpack.waitForFinished(30000) && unpack.exitCode() == 0, qPrintable(zip));
        const QString unpacked = folder.filePath(QFileInfo(zip).completeBaseName());
        for (const QString& name :
             AllBitmapNames + QStringList{"LICENSE.txt", "qt.conf", "translations/qtbase_ru.qm",
                                          "qt-licenses/LGPL-3.0-only.txt"}) {
            QVERIFY2(QFile::exists(unpacked + "/" + name), qPrintable(name + " is not in the zip"));
        }
        startsPlaysAndExits(unpacked + "/tarvik.exe");
    }

    void theInstallerInstallsForEveryUserAndTheUninstallerLeavesNothing() {
        const QString installed = prefix() + "/drive_c/Program Files/Tarvik";
        const QString shortcut = prefix() + QStringLiteral("/drive_c/ProgramData/Microsoft/Windows/"
                                                           "Start Menu/Programs/Тарвик/Тарвик.lnk");
        QCOMPARE(runUnderWine({qEnvironmentVariable("TARVIK_INSTALLER"), "/S"}), 0);
        for (const QString& name : AllBitmapNames + QStringList{"tarvik.exe", "Uninstall.exe"}) {
            QVERIFY2(QFile::exists(installed + "/" + name), qPrintable(name + " is not installed"));
        }
        QVERIFY2(QFile::exists(shortcut), "no «Тарвик» in the Start menu");
        QVERIFY2(isRegistered(), "no uninstaller registered with Windows");

        startsPlaysAndExits(R"(C:\Program Files\Tarvik\tarvik.exe)");

        QCOMPARE(runUnderWine({R"(C:\Program Files\Tarvik\Uninstall.exe)", "/S"}), 0);
        // The uninstaller works on from a copy of itself, so its end is seen in its work.
        const QString menuFolder = QFileInfo(shortcut).path();
        QVERIFY(waitUntil(
            [&] { return !QFileInfo::exists(installed) && !QFileInfo::exists(menuFolder); },
            "the uninstaller removed the program's folder and its Start-menu folder"));
        QVERIFY2(!isRegistered(), "the uninstaller is still registered");
    }

    void whiteSquaresFollowTheSchemesHighlightTextColour() {
        const QString colours = R"(HKCU\Control Panel\Colors)";
        QCOMPARE(runUnderWine({"reg", "add", colours, "/v", "HilightText", "/t", "REG_SZ", "/d",
                               "255 255 0", "/f"}),
                 0);
        auto program = startUnderWine(exeFolder() + "/tarvik.exe");
        const QString credits = Desktop::waitForWindow(Credits, 30000);
        QVERIFY(!credits.isEmpty());
        Desktop::pressReturn(credits);
        QVERIFY(!Desktop::waitForWindow(Board).isEmpty());
        QTest::qWait(500);
        const QRect window = Desktop::geometry(Desktop::waitForWindow(Board));
        const QRect client(window.bottomLeft() - QPoint(0, TestRules::ClientHeight - 1),
                           QSize(TestRules::ClientWidth, TestRules::ClientHeight));
        QVERIFY2(isUniform(Desktop::screen().copy(innerAreaOf(client, 1, 1)), QColor(255, 255, 0)),
                 "the white square (1, 1) is not in the scheme's highlight-text colour");
        Desktop::pressKeys({"alt+F4"});
        QVERIFY(finishes(*program, 0, 20000));
        QCOMPARE(runUnderWine({"reg", "delete", colours, "/v", "HilightText", "/f"}), 0);
    }

    void theBoardScalesWithWindowsDpi_data() {
        QTest::addColumn<int>("dpi");
        for (const int dpi : {120, 144, 192}) {
            QTest::addRow("%d dpi", dpi) << dpi;
        }
    }

    void theBoardScalesWithWindowsDpi() {
        QFETCH(int, dpi);
        const QString desktop = R"(HKCU\Control Panel\Desktop)";
        QCOMPARE(runUnderWine({"reg", "add", desktop, "/v", "LogPixels", "/t", "REG_DWORD", "/d",
                               QString::number(dpi), "/f"}),
                 0);
        QVERIFY(restartWineServer());
        auto program = startUnderWine(exeFolder() + "/tarvik.exe");
        const QString credits = Desktop::waitForWindow(Credits, 30000);
        QVERIFY(!credits.isEmpty());
        Desktop::pressReturn(credits);
        const QString board = Desktop::waitForWindow(Board);
        QVERIFY(!board.isEmpty());
        QTest::qWait(500);
        const QRect window = Desktop::geometry(board);
        Desktop::screen().copy(window).save(QStringLiteral("wine-board-%1dpi.png").arg(dpi));
        QCOMPARE(window.width(), qRound(TestRules::ClientWidth * dpi / 96.0));
        Desktop::pressKeys({"alt+F4"});
        QVERIFY(finishes(*program, 0, 20000));
        QCOMPARE(runUnderWine({"reg", "delete", desktop, "/v", "LogPixels", "/f"}), 0);
    }
};

QTEST_MAIN(WineTest)
#include "tst_wine.moc"
