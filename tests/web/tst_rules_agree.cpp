#include "bitmap_rules.h"
#include "hostile_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The bitmap rules as the page runs them (its emscripten's WebAssembly, under
// node) and as the desktop runs them give the same answer, word for word, for
// every kind of bytes in the hostile table, every seed of the fuzzer and
// every input it ever found: undefined behaviour would let them differ.
class RulesAgreeTest : public QObject {
    Q_OBJECT

    QTemporaryDir written_;
    QStringList files_;
    QStringList pageSays_;

    static QString desktopSays(const QString& path) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.read(BitmapLimits::MaxFileBytes + 1);
        return QString::fromStdString(
            bitmapRefusal({reinterpret_cast<const unsigned char*>(bytes.constData()),
                           std::size_t(bytes.size())}));
    }

private slots:
    void initTestCase() {
        for (const HostileKind& kind : hostileKinds()) {
            if (kind.bytes) {
                QFile file(written_.filePath(QString::fromLatin1(kind.name).replace('/', '-')));
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kind.bytes()) >= 0);
                files_ << file.fileName();
            }
        }
        for (const char* folder :
             {TARVIK_FUZZ_CORPUS, TARVIK_FUZZ_REGRESSIONS, TARVIK_ASSETS_DIR}) {
            for (const QFileInfo& file : QDir(folder).entryInfoList(
                     {"*.bmp", "crash-*", "leak-*", "oom-*", "timeout-*"}, QDir::Files)) {
                files_ << file.filePath();
            }
        }
        QProcess node;
        node.start(TARVIK_NODE, QStringList(TARVIK_PAGE_RULES) + files_);
        QVERIFY2(node.waitForFinished(60000),
                 "the page's rules did not end under node within 60 s");
        QCOMPARE(node.exitCode(), 0);
        pageSays_ = QString::fromUtf8(node.readAllStandardOutput()).split('\n');
        QCOMPARE(pageSays_.size(), files_.size() + 1); // and the last line's end
    }

    void thePageAndTheDesktopSayTheSame_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("pageSays");
        for (qsizetype index = 0; index < files_.size(); ++index) {
            QTest::newRow(qPrintable(QFileInfo(files_[index]).fileName()))
                << files_[index] << pageSays_[index];
        }
    }

    void thePageAndTheDesktopSayTheSame() {
        QFETCH(QString, path);
        QFETCH(QString, pageSays);
        QCOMPARE(pageSays, desktopSays(path));
    }
};

QTEST_GUILESS_MAIN(RulesAgreeTest)
#include "tst_rules_agree.moc"
