#include "common/ShownText.h"
#include "common/TextFiles.h"
#include "common/UserError.h"
#include "files/CodePage1256.h"
#include "tests/PortableCases.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <string>

namespace {

QByteArray Bytes(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

} // namespace

class TextFilesTest : public QObject {
    Q_OBJECT

private slots:
    void encoding_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << "Saturday , March(03)" << QByteArray("Saturday , March(03)");
        QTest::newRow("arabic yeh") << QStringLiteral("\u064A") << QByteArray("\xED");
        QTest::newRow("farsi yeh as yeh") << QStringLiteral("\u06CC") << QByteArray("\xED");
        QTest::newRow("keheh kept") << QStringLiteral("\u06A9") << QByteArray("\x98");
        QTest::newRow("gaf peh tcheh jeh")
            << QStringLiteral("\u06AF\u067E\u0686\u0698") << QByteArray("\x90\x81\x8D\x8E");
        QTest::newRow("zero-width non-joiner") << QStringLiteral("\u200C") << QByteArray("\x9D");
        QTest::newRow("persian digits")
            << QStringLiteral("\u06F1\u06F4\u06F0\u06F5") << QByteArray("1405");
        QTest::newRow("arabic-indic digits") << QStringLiteral("\u0663") << QByteArray("3");
    }

    void encoding() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(ToWindows1256(text), bytes);
    }

    // What the code page holds comes back unchanged.
    void roundTrip() {
        const QString text = QStringLiteral("\u0646\u0631\u0645 \u0627\u0641\u0632\u0627\u0631 "
                                            "\u067E\u064A\u06A9\u0631 2026");
        QCOMPARE(FromWindows1256(ToWindows1256(text)), text);
    }

    // The shared table, which the Windows test program holds the system's converter to as well:
    // every byte read and written back, and no other character written.
    void windows1256Table() {
        std::string bytes;
        for (int b = 0; b < 256; ++b) {
            bytes.push_back(static_cast<char>(b));
        }
        const QByteArray all(bytes.data(), 256);
        const QString characters(reinterpret_cast<const QChar*>(cases::Windows1256), 256);
        const QString read = FromWindows1256(all);
        QCOMPARE(read.size(), 256);
        for (int b = 0; b < 256; ++b) {
            QVERIFY2(read[b] == characters[b], qPrintable(QString::number(b, 16)));
        }
        QCOMPARE(ToWindows1256(characters), all);
        const std::u16string inTable(std::begin(cases::Windows1256), std::end(cases::Windows1256));
        for (char32_t c = 0; c <= 0xFFFF; ++c) {
            if (inTable.find(static_cast<char16_t>(c)) != std::u16string::npos) {
                continue;
            }
            const char16_t text[] = {u'a', static_cast<char16_t>(c)};
            try {
                files::EncodeWindows1256(std::u16string_view(text, 2));
                QFAIL(qPrintable(QStringLiteral("U+%1 written").arg(unsigned{c}, 4, 16)));
            } catch (const files::Unmappable& error) {
                QCOMPARE(error.Position(), std::size_t{1});
                QCOMPARE(unsigned{error.CodePoint()}, unsigned{c});
            }
        }
        const QByteArray persian(cases::Windows1256PersianBytes);
        const QString persianText = QString::fromUtf16(cases::Windows1256PersianText);
        QCOMPARE(ToWindows1256(persianText), persian);
        QCOMPARE(FromWindows1256(persian), persianText);
    }

    // A character the code page lacks even as a look-alike: refused in words by the plain
    // conversion, kept as an escape in a file's lines, whose other characters stay as they are.
    void characterTheCodePageLacks() {
        const QString face = QString::fromUtf8("\xF0\x9F\x98\x80");
        try {
            ToWindows1256(QStringLiteral("a\u0110"));
            QFAIL("no error");
        } catch (const UserError& error) {
            QVERIFY2(error.Text().contains(QStringLiteral("U+0110")), qPrintable(error.Text()));
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("log.txt"));
        SaveLines1256(path,
                      {QStringLiteral("\u0110\u06CC"), "a" + face + "b", QString(QChar(0xD800))});
        QCOMPARE(Bytes(path), QByteArray("\\u0110\xED\r\na\\U0001F600b\r\n\\uD800\r\n"));
    }

    void readLines_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("LF, no last newline") << QByteArray("a\nb") << QStringList{"a", "b"};
        QTest::newRow("empty lines kept")
            << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("persian") << QByteArray("\xE3\xD1\xF3\r\n")
                                 << QStringList{QStringLiteral("\u0645\u0631\u064E")};
    }

    void readLines() {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f.txt"));
        Write(path, content);
        QCOMPARE(ReadLines1256(path), lines);
    }

    void missingFileNamesThePath() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ostan.txt"));
        try {
            ReadLines1256(path);
            QFAIL("no error");
        } catch (const UserError& error) {
            QCOMPARE(error.Text(), QStringLiteral("Cannot open file ") + path);
        }
    }

    void saveReplacesWhole() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("log.txt"));
        Write(path, QByteArray("old line that is longer than the new content\r\n"));
        SaveLines1256(path, {QStringLiteral("\u06CC"), QStringLiteral("x")});
        QCOMPARE(Bytes(path), QByteArray("\xED\r\nx\r\n"));
        SaveLines1256(path, {});
        QCOMPARE(Bytes(path), QByteArray());
    }

    // A save that cannot be completed leaves the old file as it was.
    void failedSaveKeepsOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("log.txt"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("log.txt"))); // a folder in the way
        QVERIFY_THROWS_EXCEPTION(UserError, SaveLines1256(path, {QStringLiteral("x")}));
        QVERIFY(QFileInfo(path).isDir());
        const QString missingFolder = dir.filePath(QStringLiteral("no/such/log.txt"));
        QVERIFY_THROWS_EXCEPTION(UserError, SaveLines1256(missingFolder, {QStringLiteral("x")}));
    }

    void append() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("log.txt"));
        AppendLines1256(path, {QStringLiteral("a")});
        AppendLines1256(path, {QStringLiteral("b"), QStringLiteral("c")});
        QCOMPARE(ReadLines1256(path), (QStringList{"a", "b", "c"}));
    }

    // A value in a message: what could drive the terminal or turn the line around is escaped,
    // and a long value is cut, a character beyond the first plane never in two.
    void shownValue_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("limit"); // -1: EscapedText, which never cuts
        QTest::addColumn<QString>("shown");
        const QString face = QString::fromUtf8("\xF0\x9F\x98\x80");
        QTest::newRow("a tab, cut after the limit") << "a\tbcdef" << 4 << "a\\tb...";
        QTest::newRow("a pair at the cut") << "ab" + face + "c" << 3 << "ab" + face + "...";
        QTest::newRow("an override after a lone high surrogate")
            << QString(QChar(0xD800)) + QChar(0x202E) + u'a' << 60
            << QString(QChar(0xD800)) + "\\u202Ea";
        QTest::newRow("escaped whole") << QString(100, u'x') + "\n"
                                       << -1 << QString(100, u'x') + "\\n";
    }

    void shownValue() {
        QFETCH(QString, value);
        QFETCH(int, limit);
        QFETCH(QString, shown);
        QCOMPARE(limit < 0 ? EscapedText(value) : ShownValue(value, limit), shown);
    }
};

QTEST_GUILESS_MAIN(TextFilesTest)
#include "tst_textfiles.moc"
