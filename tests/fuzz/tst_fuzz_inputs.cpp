#include "bitmap_file.h"
#include "bitmap_rules.h"
#include "cell.h"
#include "program_folder.h"

#include <QDir>
#include <QTest>

// Every input the fuzzer ever found troublesome, and its seeds, read as a
// cell reads a bitmap: an image within the limits, or a PictureLoadError.
class FuzzInputsTest : public QObject {
    Q_OBJECT

private slots:
    void everyKeptInputIsReadOrRefused_data() {
        QTest::addColumn<QString>("path");
        const QFileInfoList inputs =
            QDir(TARVIK_FUZZ_REGRESSIONS)
                .entryInfoList({"crash-*", "leak-*", "oom-*", "timeout-*"}, QDir::Files) +
            QDir(TARVIK_ASSETS_DIR).entryInfoList({"*.bmp"}, QDir::Files);
        for (const QFileInfo& file : inputs) {
            QTest::newRow(qPrintable(file.fileName())) << file.filePath();
        }
    }

    void everyKeptInputIsReadOrRefused() {
        QFETCH(QString, path);
        try {
            const QImage image = readBitmapFile(pathFromText(path));
            QVERIFY(!image.isNull());
            QVERIFY(BitmapLimits::fitsInPicture(image.width(), image.height()));
        } catch (const PictureLoadError& error) {
            QVERIFY(QString::fromStdString(error.what()).contains(path));
        }
    }
};

QTEST_GUILESS_MAIN(FuzzInputsTest)
#include "tst_fuzz_inputs.moc"
