#include "common/UserError.h"
#include "device/KeyTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray Key32 = "00112233445566778899AABBCCDDEEFF";
const QByteArray Unused(16, '\xFF');

QByteArray Slot(const KeyTable& table, int i) {
    return QByteArray(reinterpret_cast<const char*>(table.data()) + std::ptrdiff_t{16} * i, 16);
}

KeyTable Load(const QByteArray& content) {
    QTemporaryDir dir;
    const QString path = dir.filePath(KeyFileName);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    file.close();
    return LoadKeyTable(path);
}

// Line i of the file "many lines" holds a key made from i.
QByteArray KeyOf(int i) {
    return QByteArray::number(i, 16).rightJustified(4, '0').repeated(8);
}

} // namespace

class KeyTableTest : public QObject {
    Q_OBJECT

private slots:
    void lines_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("slot0");
        QTest::addColumn<QByteArray>("slot1");
        const QByteArray key = QByteArray::fromHex(Key32);
        QTest::newRow("32 digits") << Key32 + "\n" << key << Unused;
        QTest::newRow("lower case") << Key32.toLower() + "\n" << key << Unused;
        QTest::newRow("no last line end") << Key32 << key << Unused;
        QTest::newRow("CR LF") << Key32 + "\r\n" + Key32 + "\r\n" << key << key;
        QTest::newRow("31 characters") << Key32.left(31) + "\n" << Unused << Unused;
        QTest::newRow("31 characters and CR") << Key32.left(31) + "\r\n" << Unused << Unused;
        QTest::newRow("40 digits: first 16 bytes") << Key32 + "01234567\n" << key << Unused;
        QTest::newRow("very long line")
            << Key32 + QByteArray(300000, 'A') + "\n" + Key32 << key << key;
        QTest::newRow("odd: 31 digits and a letter") << Key32.left(31) + "G\n"
                                                     << key.left(15) + '\xFF' << Unused;
        QTest::newRow("33 digits") << Key32 + "7\n" << key << Unused;
        QTest::newRow("stops at pair 5") << Key32.left(10) + "X" + Key32.mid(11) + "\n"
                                         << key.left(5) + QByteArray(11, '\xFF') << Unused;
        QTest::newRow("stops at a bad low digit") << Key32.left(11) + "g" + Key32.mid(12) + "\n"
                                                  << key.left(5) + QByteArray(11, '\xFF') << Unused;
        QTest::newRow("blank first") << " " + Key32 + "\n" << Unused << Unused;
        QTest::newRow("trailing blanks count as length") << Key32.left(30) + "  \n"
                                                         << key.left(15) + '\xFF' << Unused;
        QTest::newRow("binary") << QByteArray("\x00\xFF\x80\x0D\x1A", 5).repeated(8) + "\n" + Key32
                                << Unused << key;
        QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + Key32 + "\n" << key << Unused;
        QTest::newRow("empty file") << QByteArray() << Unused << Unused;
        QTest::newRow("empty lines") << "\n\n" + Key32 << Unused << Unused;
    }

    void lines() {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, slot0);
        QFETCH(QByteArray, slot1);
        const KeyTable table = Load(content);
        QCOMPARE(Slot(table, 0), slot0);
        QCOMPARE(Slot(table, 1), slot1);
        QCOMPARE(Slot(table, 199), Unused);
    }

    // A 32-digit line, a 10-character line, a 40-digit line: slot i stays with line i.
    void slotFollowsLine() {
        const QByteArray forty = "0102030405060708090A0B0C0D0E0F1011121314";
        const KeyTable table = Load(Key32 + "\r\n0123456789\r\n" + forty + "\r\n");
        QCOMPARE(Slot(table, 0), QByteArray::fromHex(Key32));
        QCOMPARE(Slot(table, 1), Unused);
        QCOMPARE(Slot(table, 2), QByteArray::fromHex(forty).left(16));
        for (int i = 3; i < KeySlotCount; ++i) {
            QCOMPARE(Slot(table, i), Unused);
        }
    }

    // Lines after the 200th are not read, whatever they hold.
    void manyLines() {
        QByteArray content;
        for (int i = 0; i < 250; ++i) {
            content += KeyOf(i) + "\n";
        }
        content += QByteArray(8 << 20, '\0'); // no line end in 8 MiB of junk
        const KeyTable table = Load(content);
        for (int i = 0; i < KeySlotCount; ++i) {
            QCOMPARE(Slot(table, i), QByteArray::fromHex(KeyOf(i)));
        }
    }

    void cannotOpen_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "encryp.key"
                                 << "file-not-found";
        QTest::newRow("a folder") << "folder"
                                  << "not-a-file";
    }

    void cannotOpen() {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        const QString path = dir.filePath(name);
        try {
            LoadKeyTable(path);
            QFAIL("no error");
        } catch (const UserError& error) {
            QCOMPARE(error.Reported().Kind, kind);
            QVERIFY2(error.Text().startsWith("Cannot open file " + path), qPrintable(error.Text()));
        }
    }
};

QTEST_GUILESS_MAIN(KeyTableTest)
#include "tst_keytable.moc"
