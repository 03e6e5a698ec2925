#include "bitmap_file.h"
#include "bitmap_rules.h"
#include "hostile_files.h"
#include "window_fixture.h"

#include <QAction>
#include <QBuffer>
#include <QTest>

namespace {

QString errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const PictureLoadError& error) {
        return QString::fromStdString(error.what());
    }
    return {};
}

// The moves after which the program first needs each bitmap.
void moveUntilNeeded(frmMain& window, const QString& name) {
    if (name == "Kon_W.bmp") {
        menuAction(window, "mnuMoveH")->trigger();
        click(window, 6, 2);
        return;
    }
    menuAction(window, "mnuAllBoard")->trigger();
    click(window, 6, 2); // leaves the grey (8, 1): Trelk.bmp
    click(window, 7, 4); // leaves the white (6, 2): Trelk_W.bmp
}

QByteArray encoded(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

} // namespace

class HostileBitmapsTest : public QObject {
    Q_OBJECT

private slots:
    void everyHostileFileIsRefusedWithItsReason_data() { addHostileKindRows(true, true); }

    void everyHostileFileIsRefusedWithItsReason() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        BitmapFolder folder(QStringList{});
        const QString path = folder.file("Kon_W.bmp");
        const bool ordinaryUser = hostileKind(kind).asOrdinaryUser;
        const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        if (ordinaryUser) { // whoever reads may enter the folder, unless the kind forbids it
            QFile::setPermissions(folder.path(), open | QFile::ReadOther | QFile::ExeOther);
        }
        QVERIFY(makeHostileFile(kind, path));
        const OpenDeadline deadline(path);
        const QString error = ordinaryUser ? refusalToAnOrdinaryUser(path)
                                           : errorOf([&] { readBitmapFile(pathFromText(path)); });
        QFile::setPermissions(folder.path(), open);
        QVERIFY2(error.contains(path) && error.contains(reason), qPrintable(error));
    }

    // The rules every front end applies before anything decodes, from the
    // bytes alone.
    void theSharedRulesRefuseEveryKindOfBytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        for (const HostileKind& kind : hostileKinds()) {
            if (kind.bytes) {
                QTest::newRow(kind.name.constData())
                    << kind.bytes() << QString::fromUtf8(kind.reason);
            }
        }
    }

    void theSharedRulesRefuseEveryKindOfBytes() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const QString refusal = QString::fromStdString(
            bitmapRefusal({reinterpret_cast<const unsigned char*>(bytes.constData()),
                           std::size_t(bytes.size())}));
        QVERIFY2(refusal.contains(reason), qPrintable(refusal));
    }

    void eachBitmapFailsOnlyWhenFirstNeeded_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        for (const QString& name : AllBitmaps) {
            for (const auto& kind : hostileKinds()) {
                if (kind.asOrdinaryUser || kind.headerEdge) {
                    continue;
                }
                QTest::addRow("%s %s", qPrintable(name), kind.name.constData())
                    << name << QString::fromLatin1(kind.name) << QString::fromUtf8(kind.reason);
            }
        }
    }

    void eachBitmapFailsOnlyWhenFirstNeeded() {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        BitmapFolder folder;
        QVERIFY(makeHostileFile(kind, folder.file(name)));
        const OpenDeadline deadline(folder.file(name));
        QString error;
        if (name == "Kon_W2.bmp") {
            frmMain window([&] { return pathFromText(folder.path()); });
            SeenBox credits;
            answerNextBox(credits);
            error = errorOf([&] { window.Form_Load(); });
        } else {
            auto window = startedWindow(folder.path());
            SeenBox report;
            answerNextBox(report);
            QCOMPARE(runInEventLoop([&] { moveUntilNeeded(*window, name); }), EXIT_FAILURE);
            QVERIFY(report.opened);
            QVERIFY(!window->isVisible());
            error = report.detailedText.isEmpty() ? report.text : report.detailedText;
        }
        QVERIFY2(error.contains(folder.file(name)) && error.contains(reason), qPrintable(error));
    }

    void soundVariantsAreRead_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QImage>("expected");
        const QImage knight(BitmapFolder::asset("Kon_W2.bmp"));
        for (const auto format : {QImage::Format_RGB32, QImage::Format_ARGB32,
                                  QImage::Format_Indexed8, QImage::Format_Mono}) {
            const QImage variant = knight.convertToFormat(format);
            QTest::addRow("format %d", int(format)) << encoded(variant) << variant;
        }
        QByteArray topDown = patched(encoded(knight), 22, -55);
        const int stride = 168; // 55 pixels of 3 bytes, padded to 4
        QByteArray rows;
        for (int row = 54; row >= 0; --row) {
            rows += topDown.mid(54 + row * stride, stride);
        }
        topDown.replace(54, rows.size(), rows);
        QTest::newRow("top-down") << topDown << knight;
    }

    void soundVariantsAreRead() {
        QFETCH(QByteArray, bytes);
        QFETCH(QImage, expected);
        QString failure;
        const QImage image = decodeBitmap(bytes, failure);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(image.convertToFormat(QImage::Format_RGB32),
                 expected.convertToFormat(QImage::Format_RGB32));
    }
};

QTEST_MAIN(HostileBitmapsTest)
#include "tst_hostile_bitmaps.moc"
