#include "location/GlyphEncoding.h"

#include <QTest>

namespace {

// The 30 bytes of a name: the given codes, then no glyph.
QByteArray Expected(const QByteArray& codes) {
    QByteArray bytes = codes;
    bytes.append(static_cast<qsizetype>(GlyphCodeCount) - codes.size(), '\xFF');
    return bytes;
}

QByteArray Bytes(const GlyphCodeArray& codes) {
    return QByteArray(reinterpret_cast<const char*>(codes.data()),
                      static_cast<qsizetype>(codes.size()));
}

QString Repeated(char16_t letter, int count) {
    return QString(count, QChar(letter));
}

const char16_t Beh = 0x0628;

} // namespace

class GlyphEncodingTest : public QObject {
    Q_OBJECT

private slots:
    void letterTable_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("beforeLetter");
        QTest::addColumn<int>("wordEnd");
        QTest::newRow("alef with madda above") << 0x0622 << 0x00 << 0x00 << 0x00;
        QTest::newRow("alef with hamza above") << 0x0623 << 0x01 << 0x01 << 0x01;
        QTest::newRow("alef with hamza below") << 0x0625 << 0x01 << 0x01 << 0x01;
        QTest::newRow("alef") << 0x0627 << 0x01 << 0x01 << 0x01;
        QTest::newRow("beh") << 0x0628 << 0x02 << 0x03 << 0x04;
        QTest::newRow("teh marbuta") << 0x0629 << 0x2E << 0x2E << 0x2E;
        QTest::newRow("teh") << 0x062A << 0x08 << 0x09 << 0x0A;
        QTest::newRow("theh") << 0x062B << 0x0B << 0x0C << 0x0D;
        QTest::newRow("jeem") << 0x062C << 0x0E << 0x0E << 0x0F;
        QTest::newRow("hah") << 0x062D << 0x12 << 0x12 << 0x13;
        QTest::newRow("khah") << 0x062E << 0x14 << 0x14 << 0x15;
        QTest::newRow("dal") << 0x062F << 0x17 << 0x16 << 0x17;
        QTest::newRow("thal") << 0x0630 << 0x19 << 0x18 << 0x19;
        QTest::newRow("reh") << 0x0631 << 0x1B << 0x1A << 0x1B;
        QTest::newRow("zain") << 0x0632 << 0x1D << 0x1C << 0x1D;
        QTest::newRow("seen") << 0x0633 << 0x20 << 0x20 << 0x21;
        QTest::newRow("sheen") << 0x0634 << 0x22 << 0x22 << 0x23;
        QTest::newRow("sad") << 0x0635 << 0x24 << 0x24 << 0x25;
        QTest::newRow("dad") << 0x0636 << 0x26 << 0x26 << 0x27;
        QTest::newRow("tah") << 0x0637 << 0x28 << 0x28 << 0x28;
        QTest::newRow("zah") << 0x0638 << 0x29 << 0x29 << 0x29;
        QTest::newRow("ain") << 0x0639 << 0x2B << 0x2A << 0x2C;
        QTest::newRow("ghain") << 0x063A << 0x2E << 0x2D << 0x2F;
        QTest::newRow("tatweel") << 0x0640 << 0xFF << 0xFF << 0xFF;
        QTest::newRow("feh") << 0x0641 << 0x30 << 0x30 << 0x31;
        QTest::newRow("qaf") << 0x0642 << 0x32 << 0x32 << 0x33;
        QTest::newRow("kaf") << 0x0643 << 0x34 << 0x34 << 0x35;
        QTest::newRow("lam") << 0x0644 << 0x38 << 0x38 << 0x39;
        QTest::newRow("meem") << 0x0645 << 0x3A << 0x3A << 0x3B;
        QTest::newRow("noon") << 0x0646 << 0x3C << 0x3C << 0x3D;
        QTest::newRow("heh") << 0x0647 << 0x41 << 0x40 << 0x42;
        QTest::newRow("waw") << 0x0648 << 0x3F << 0x3E << 0x3F;
        QTest::newRow("alef maksura") << 0x0649 << 0x43 << 0x44 << 0x45;
        QTest::newRow("yeh") << 0x064A << 0x43 << 0x44 << 0x45;
        QTest::newRow("peh") << 0x067E << 0x06 << 0x06 << 0x07;
        QTest::newRow("tcheh") << 0x0686 << 0x10 << 0x10 << 0x11;
        QTest::newRow("jeh") << 0x0698 << 0x1F << 0x1E << 0x1F;
        QTest::newRow("gaf") << 0x06AF << 0x36 << 0x36 << 0x37;
    }

    // Each letter straight from the table, and through the encoding loop in a three-letter name,
    // where it stands once at each joining position.
    void letterTable() {
        QFETCH(int, code);
        QFETCH(int, first);
        QFETCH(int, beforeLetter);
        QFETCH(int, wordEnd);
        const auto letter = static_cast<char16_t>(code);
        QCOMPARE(int{LetterToGlyph(letter, joining::First)}, first);
        QCOMPARE(int{LetterToGlyph(letter, joining::BeforeLetter)}, beforeLetter);
        QCOMPARE(int{LetterToGlyph(letter, joining::WordEnd)}, wordEnd);
        for (const int other : {-1, 1, 3, 5, 6, 255}) {
            QCOMPARE(int{LetterToGlyph(letter, other)}, 0x00);
        }
        QByteArray codes;
        codes.append(static_cast<char>(first));
        codes.append(static_cast<char>(beforeLetter));
        codes.append(static_cast<char>(wordEnd));
        QCOMPARE(Bytes(EncodeCountyName(Repeated(letter, 3))), Expected(codes));
    }

    void unknownCodes_data() {
        QTest::addColumn<int>("code");
        QTest::newRow("nul") << 0x0000;
        QTest::newRow("Latin A") << 0x0041;
        QTest::newRow("y with diaeresis") << 0x00FF;
        QTest::newRow("hamza") << 0x0621;
        QTest::newRow("waw with hamza") << 0x0624;
        QTest::newRow("yeh with hamza") << 0x0626;
        QTest::newRow("U+0620") << 0x0620;
        QTest::newRow("between ghain and tatweel") << 0x063B;
        QTest::newRow("fathatan, after yeh") << 0x064B;
        QTest::newRow("keheh") << 0x06A9;
        QTest::newRow("Farsi yeh") << 0x06CC;
        QTest::newRow("after gaf") << 0x06B0;
        QTest::newRow("zero-width non-joiner") << 0x200C;
        QTest::newRow("last code") << 0xFFFF;
    }

    void unknownCodes() {
        QFETCH(int, code);
        for (const int position : {0, 1, 2, 3, 4, 5, -1}) {
            QCOMPARE(int{LetterToGlyph(static_cast<char16_t>(code), position)}, 0xFF);
        }
    }

    void encodeName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("codes"); // before the padding with no glyph
        QTest::newRow("empty") << QString() << QByteArray();
        QTest::newRow("single letter") << QStringLiteral("\u0628") << QByteArray("\x02");
        QTest::newRow("two letters") << QStringLiteral("\u0628\u0628") << QByteArray("\x02\x04");
        QTest::newRow("three letters")
            << QStringLiteral("\u0628\u0628\u0628") << QByteArray("\x02\x03\x04");
        QTest::newRow("two words")
            << QStringLiteral("\u0628\u0628 \u0628\u0628") << QByteArray("\x02\x04\xFF\x03\x04");
        QTest::newRow("zero-width non-joiner")
            << QStringLiteral("\u0628\u0628\u200C\u0628") << QByteArray("\x02\x03\xFF\x04");
        QTest::newRow("Latin first")
            << QStringLiteral("A\u0628\u0628") << QByteArray("\xFF\x03\x04");
        QTest::newRow("digit first") << QStringLiteral("7\u0628") << QByteArray("\xFF\x04");
        QTest::newRow("digit last")
            << QStringLiteral("\u0628\u06287") << QByteArray("\x02\x04\xFF");
        // 255 already joins; 254 does not.
        QTest::newRow("next is U+00FF")
            << QStringLiteral("\u0628\u0628\u00FF") << QByteArray("\x02\x03\xFF");
        QTest::newRow("next is U+00FE")
            << QStringLiteral("\u0628\u0628\u00FE") << QByteArray("\x02\x04\xFF");
        QTest::newRow("tatweel joins")
            << QStringLiteral("\u0628\u0640\u0628") << QByteArray("\x02\xFF\x04");
        QTest::newRow("Farsi yeh as yeh")
            << QStringLiteral("\u06CC\u06CC\u06CC") << QByteArray("\x43\x44\x45");
        QTest::newRow("keheh as kaf")
            << QStringLiteral("\u06A9\u06A9\u06A9") << QByteArray("\x34\x34\x35");
        QTest::newRow("teh heh reh alef noon") << QStringLiteral("\u062A\u0647\u0631\u0627\u0646")
                                               << QByteArray("\x08\x40\x1A\x01\x3D");
        QTest::newRow("exactly 30 letters")
            << Repeated(Beh, 30) << QByteArray("\x02") + QByteArray(28, '\x03') + "\x04";
        QTest::newRow("31st letter joins the 30th")
            << Repeated(Beh, 31) << QByteArray("\x02") + QByteArray(29, '\x03');
        QTest::newRow("31st character a blank")
            << Repeated(Beh, 30) + QStringLiteral(" \u0628")
            << QByteArray("\x02") + QByteArray(28, '\x03') + "\x04";
        QTest::newRow("only blanks and digits") << QStringLiteral(" 12 ") << QByteArray();
    }

    void encodeName() {
        QFETCH(QString, name);
        QFETCH(QByteArray, codes);
        QCOMPARE(Bytes(EncodeCountyName(name)), Expected(codes));
    }
};

QTEST_GUILESS_MAIN(GlyphEncodingTest)
#include "tst_glyphencoding.moc"
