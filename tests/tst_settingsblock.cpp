#include "common/TextFiles.h"
#include "device/DeviceTexts.h"
#include "device/SettingsBlock.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

namespace {

// Where each window control lands in the block.
template <typename T> struct Control {
    const char* Name;
    T SettingsFields::*Field;
    int At;
};

const Control<QString> TextControls[] = {
    {"LabeledEdit10", &SettingsFields::CallFileCount, 62},
    {"LabeledEdit5", &SettingsFields::QuranFileCount, 63},
    {"LabeledEdit4", &SettingsFields::DawnCall, 73},
    {"LabeledEdit6", &SettingsFields::DawnSupplication, 74},
    {"LabeledEdit11", &SettingsFields::NoonCall, 78},
    {"LabeledEdit12", &SettingsFields::NoonSupplication, 79},
    {"LabeledEdit14", &SettingsFields::SunsetCall, 83},
    {"LabeledEdit15", &SettingsFields::SunsetSupplication, 84},
    {"LabeledEdit17", &SettingsFields::Option1Folder, 86},
    {"LabeledEdit19", &SettingsFields::Option1File, 87},
    {"LabeledEdit18", &SettingsFields::Option2Folder, 96},
    {"LabeledEdit20", &SettingsFields::Option2File, 97},
};
const Control<int> LevelControls[] = {
    {"TrackBar3", &SettingsFields::DawnQuranLevel, 70},
    {"TrackBar2", &SettingsFields::DawnCallLevel, 71},
    {"TrackBar1", &SettingsFields::DawnSupplicationLevel, 72},
    {"TrackBar6", &SettingsFields::NoonQuranLevel, 75},
    {"TrackBar5", &SettingsFields::NoonCallLevel, 76},
    {"TrackBar4", &SettingsFields::NoonSupplicationLevel, 77},
    {"TrackBar9", &SettingsFields::SunsetQuranLevel, 80},
    {"TrackBar8", &SettingsFields::SunsetCallLevel, 81},
    {"TrackBar7", &SettingsFields::SunsetSupplicationLevel, 82},
    {"TrackBar10", &SettingsFields::Option1Level, 85},
    {"TrackBar11", &SettingsFields::Option2Level, 95},
};
const Control<bool> CheckBoxes[] = {
    {"CheckBox1", &SettingsFields::DawnRandom, 61},
    {"CheckBox2", &SettingsFields::NoonRandom, 61},
    {"CheckBox3", &SettingsFields::SunsetRandom, 61},
    {"CheckBox4", &SettingsFields::DawnQuran, 60},
    {"CheckBox5", &SettingsFields::NoonQuran, 60},
    {"CheckBox6", &SettingsFields::SunsetQuran, 60},
};

// Sets the named control: a text, a level given as text, or a ticked check box.
void Set(SettingsFields& fields, const QString& name, const QString& text) {
    if (name == "LabeledEdit1") {
        fields.Longitude = text;
    } else if (name == "LabeledEdit2") {
        fields.Latitude = text;
    }
    for (const auto& c : TextControls) {
        if (name == c.Name) {
            fields.*c.Field = text;
        }
    }
    for (const auto& c : LevelControls) {
        if (name == c.Name) {
            fields.*c.Field = text.toInt();
        }
    }
    for (const auto& c : CheckBoxes) {
        if (name == c.Name) {
            fields.*c.Field = true;
        }
    }
}

GlyphCodeArray Glyphs() {
    GlyphCodeArray glyphs;
    glyphs.fill(0xFF);
    for (int i = 0; i < 12; ++i) {
        glyphs[i] = static_cast<std::uint8_t>(0x40 + i);
    }
    return glyphs;
}

SettingsBlock Build(const SettingsFields& fields, int county = 96, int province = 8,
                    int year = 1392) {
    return BuildSettingsBlock(fields, county, province, Glyphs(), year);
}

QByteArray Bytes(const SettingsBlock& block, int from, int to) {
    return QByteArray(reinterpret_cast<const char*>(block.data()) + from, to - from + 1);
}

SettingsError ErrorOf(const SettingsFields& fields, int county = 96, int province = 8) {
    try {
        Build(fields, county, province);
    } catch (const SettingsError& error) {
        return error;
    }
    return SettingsError(Problem(QStringLiteral("none")), QStringLiteral("none"));
}

} // namespace

class SettingsBlockTest : public QObject {
    Q_OBJECT

private slots:
    void startValues() {
        const SettingsBlock block = Build(SettingsFields{}, 300, 8, 1392);
        QCOMPARE(Bytes(block, 0, 6), QByteArray::fromHex("012c0800000000"));
        QCOMPARE(Bytes(block, 7, 36),
                 QByteArray::fromHex("404142434445464748494a4b") + QByteArray(18, '\xFF'));
        QCOMPARE(Bytes(block, 37, 59),
                 QByteArray(11, '\0') + QByteArray::fromHex("015c5d5e5f60616263646500"));
        QCOMPARE(
            Bytes(block, 60, 99),
            QByteArray::fromHex("3c 06 23 64 00 00 00 00 00 00 00 10 00 0a 00 14 19 0f 01 03"
                                "14 19 0f 01 01 00 0f 01 ff ff 00 00 00 00 00 00 10 01 ff ff"));
        QCOMPARE(Bytes(block, 100, 127), QByteArray(28, '\0'));
    }

    void everyFieldInItsPlace() {
        SettingsFields fields;
        int value = 101;
        for (const auto& c : TextControls) {
            fields.*c.Field = QString::number(value++);
        }
        for (const auto& c : LevelControls) {
            fields.*c.Field = value++ % 33;
        }
        const SettingsBlock block = Build(fields);
        value = 101;
        for (const auto& c : TextControls) {
            QCOMPARE(int{block[c.At]}, value++);
        }
        for (const auto& c : LevelControls) {
            QCOMPARE(int{block[c.At]}, value++ % 33);
        }
    }

    void flagBits_data() {
        QTest::addColumn<QString>("text"); // of a supplication field
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("bit");
        QTest::newRow("none") << QString() << 60 << 0;
        QTest::newRow("CheckBox1") << QString() << 61 << 0x01;
        QTest::newRow("CheckBox2") << QString() << 61 << 0x02;
        QTest::newRow("CheckBox3") << QString() << 61 << 0x04;
        QTest::newRow("CheckBox4") << QString() << 60 << 0x01;
        QTest::newRow("LabeledEdit6") << "001" << 60 << 0x02;
        QTest::newRow("CheckBox5") << QString() << 60 << 0x04;
        QTest::newRow("LabeledEdit12") << "255" << 60 << 0x08;
        QTest::newRow("CheckBox6") << QString() << 60 << 0x10;
        QTest::newRow("LabeledEdit15") << "1" << 60 << 0x20;
        QTest::newRow("LabeledEdit15 -0") << "-0" << 60 << 0;
    }

    // Each condition alone sets its one bit.
    void flagBits() {
        QFETCH(QString, text);
        QFETCH(int, at);
        QFETCH(int, bit);
        SettingsFields fields;
        fields.DawnSupplication = fields.NoonSupplication = fields.SunsetSupplication = "000";
        fields.NoonRandom = fields.SunsetRandom = fields.NoonQuran = fields.SunsetQuran = false;
        Set(fields, QString(QTest::currentDataTag()).section(' ', 0, 0), text);
        const SettingsBlock block = Build(fields);
        QCOMPARE(int{block[at]}, bit);
        QCOMPARE(int{block[at == 60 ? 61 : 60]}, 0);
    }

    void yearBytes_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("1392") << 1392 << QByteArray::fromHex("5c5d5e5f606162636465");
        QTest::newRow("1400") << 1400 << QByteArray::fromHex("6465666768696a6b6c6d");
        QTest::newRow("1547 wraps last") << 1547 << QByteArray::fromHex("f7f8f9fafbfcfdfeff00");
        QTest::newRow("1555") << 1555 << QByteArray::fromHex("ff000102030405060708");
        QTest::newRow("1556 is 1300 again") << 1556 << QByteArray::fromHex("00010203040506070809");
    }

    void yearBytes() {
        QFETCH(int, year);
        QFETCH(QByteArray, bytes);
        const SettingsBlock block = Build(SettingsFields{}, 96, 8, year);
        QCOMPARE(Bytes(block, 49, 58), bytes);
        const StoredSettings stored = DecodeSettingsBlock(block);
        for (int j = 0; j < TimetableYearCount; ++j) {
            QCOMPARE(stored.TimetableYears[j], 1300 + static_cast<std::uint8_t>(bytes[j]));
        }
    }

    void indexRefusals() {
        QCOMPARE(ErrorOf(SettingsFields{}, 65536).Text(), "'65536' is not a value from 0 to 65535");
        QCOMPARE(ErrorOf(SettingsFields{}, -1).Control(), "Combo3");
        QCOMPARE(ErrorOf(SettingsFields{}, 96, 256).Text(), "'256' is not a value from 0 to 255");
        QCOMPARE(ErrorOf(SettingsFields{}, 96, 256).Control(), "Combo1");
        QCOMPARE(Bytes(Build(SettingsFields{}, 65535, 255), 0, 2), QByteArray("\xFF\xFF\xFF"));
    }

    void numberText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value"); // -1: refused with the message
        QTest::addColumn<QString>("message");
        QTest::newRow("0") << "0" << 0 << QString();
        QTest::newRow("255") << "255" << 255 << QString();
        QTest::newRow("padded") << "007" << 7 << QString();
        QTest::newRow("plus") << "+12" << 12 << QString();
        QTest::newRow("256") << "256" << -1 << "'256' is not a value from 0 to 255";
        QTest::newRow("300, not 44") << "300" << -1 << "'300' is not a value from 0 to 255";
        QTest::newRow("-5, not 251") << "-5" << -1 << "'-5' is not a value from 0 to 255";
        QTest::newRow("beyond int")
            << "99999999999" << -1 << "'99999999999' is not a value from 0 to 255";
        QTest::newRow("empty") << "" << -1 << QStringLiteral("'' is not a valid integer value");
        QTest::newRow("letters") << "abc" << -1
                                 << QStringLiteral("'abc' is not a valid integer value");
        QTest::newRow("blank") << " 12" << -1
                               << QStringLiteral("' 12' is not a valid integer value");
        QTest::newRow("point") << "1.5" << -1
                               << QStringLiteral("'1.5' is not a valid integer value");
        QTest::newRow("persian digits")
            << "\u06F1\u06F2" << -1
            << QStringLiteral("'\u06F1\u06F2' is not a valid integer value");
        QTest::newRow("a marker in the text")
            << "%1" << -1 << QStringLiteral("'%1' is not a valid integer value");
    }

    void numberText() {
        QFETCH(QString, text);
        QFETCH(int, value);
        QFETCH(QString, message);
        SettingsFields fields;
        fields.DawnCall = text;
        if (value >= 0) {
            QCOMPARE(int{Build(fields)[73]}, value);
            return;
        }
        const SettingsError error = ErrorOf(fields);
        QCOMPARE(error.Text(), message);
        QCOMPARE(error.Control(), QStringLiteral("LabeledEdit4"));
    }

    void levels_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("0") << 0 << true;
        QTest::newRow("32") << 32 << true;
        QTest::newRow("33") << 33 << false;
        QTest::newRow("-1") << -1 << false;
    }

    void levels() {
        QFETCH(int, level);
        QFETCH(bool, accepted);
        for (const auto& c : LevelControls) {
            SettingsFields fields;
            fields.*c.Field = level;
            if (accepted) {
                QCOMPARE(int{Build(fields)[c.At]}, level);
                continue;
            }
            const SettingsError error = ErrorOf(fields);
            QCOMPARE(error.Control(), QString(c.Name));
            QCOMPARE(error.Text(), QStringLiteral("'%1' is not a value from 0 to 32").arg(level));
        }
    }

    void coordinates_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes"); // empty: refused with the message
        QTest::addColumn<QString>("message");  // %1 = the text
        const QString format = "'%1' is not a valid coordinate: write degrees and at most two "
                               "digits after the point, as in 51.42";
        const QString digits = "'%1' has more than two digits after the point: the device keeps "
                               "hundredths of a degree";
        const QString range = "'%1' is not a coordinate from 0 to 255.99";
        QTest::newRow("start") << "00.00" << QByteArray::fromHex("0000") << QString();
        QTest::newRow("51.42") << "51.42" << QByteArray::fromHex("332a") << QString();
        QTest::newRow("51.05") << "51.05" << QByteArray::fromHex("3305") << QString();
        QTest::newRow("one digit is tenths") << "51.5" << QByteArray::fromHex("3332") << QString();
        QTest::newRow("44.9") << "44.9" << QByteArray::fromHex("2c5a") << QString();
        QTest::newRow("no point") << "51" << QByteArray::fromHex("3300") << QString();
        QTest::newRow("comma") << "51,42" << QByteArray::fromHex("332a") << QString();
        QTest::newRow("largest") << "255.99" << QByteArray::fromHex("ff63") << QString();
        QTest::newRow("three digits") << "51.425" << QByteArray() << digits;
        QTest::newRow("negative") << "-51.42" << QByteArray() << range;
        QTest::newRow("negative, zero degrees") << "-0.5" << QByteArray() << range;
        QTest::newRow("256") << "256.00" << QByteArray() << range;
        QTest::newRow("huge") << "99999999999" << QByteArray() << range;
        QTest::newRow("nothing after the point") << "51." << QByteArray() << format;
        QTest::newRow("empty") << "" << QByteArray() << format;
        QTest::newRow("slash") << "51/42" << QByteArray() << format;
        QTest::newRow("letter") << "51.4a" << QByteArray() << format;
    }

    void coordinates() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        for (const int at : {3, 5}) {
            SettingsFields fields;
            (at == 3 ? fields.Longitude : fields.Latitude) = text;
            if (!bytes.isEmpty()) {
                QCOMPARE(Bytes(Build(fields), at, at + 1), bytes);
                continue;
            }
            const SettingsError error = ErrorOf(fields);
            QCOMPARE(error.Text(), message.arg(text));
            QCOMPARE(error.Control(), at == 3 ? "LabeledEdit1" : "LabeledEdit2");
        }
    }

    void firstErrorWins_data() {
        QTest::addColumn<QStringList>("bad");
        QTest::addColumn<QString>("reported");
        QTest::newRow("county first") << QStringList{"LabeledEdit1", "Combo3"} << "Combo3";
        QTest::newRow("longitude, latitude")
            << QStringList{"LabeledEdit2", "LabeledEdit1"} << "LabeledEdit1";
        QTest::newRow("latitude, flags")
            << QStringList{"LabeledEdit6", "LabeledEdit2"} << "LabeledEdit2";
        QTest::newRow("flags, 62")
            << QStringList{"LabeledEdit10", "LabeledEdit15"} << "LabeledEdit15";
        QTest::newRow("63, 70") << QStringList{"TrackBar3", "LabeledEdit5"} << "LabeledEdit5";
        QTest::newRow("70, 72") << QStringList{"TrackBar1", "TrackBar3"} << "TrackBar3";
        QTest::newRow("73, 75") << QStringList{"TrackBar6", "LabeledEdit4"} << "LabeledEdit4";
        QTest::newRow("85, 86") << QStringList{"LabeledEdit17", "TrackBar10"} << "TrackBar10";
        QTest::newRow("95, 97") << QStringList{"LabeledEdit20", "TrackBar11"} << "TrackBar11";
    }

    void firstErrorWins() {
        QFETCH(QStringList, bad);
        QFETCH(QString, reported);
        SettingsFields fields;
        for (const QString& control : bad) {
            Set(fields, control, control.startsWith("Track") ? "33" : "1x");
        }
        QCOMPARE(ErrorOf(fields, bad.contains("Combo3") ? 65536 : 96).Control(), reported);
    }

    // A line added to the table of fields takes bytes and bits, a control and a profile key that
    // no other field, the display name, the years or the fillers take.
    void fieldsTakeTheirOwnPlaces() {
        SettingsBlock taken{};
        std::fill(taken.begin() + 7, taken.begin() + 59, 0xFF);
        for (const int at : {88, 89, 98, 99}) {
            taken[at] = 0xFF;
        }
        QSet<QString> names;
        for (const SettingsField& field : SettingsFieldTable) {
            for (const char* name : {field.Control, field.ProfileKey}) {
                QVERIFY2(!name || !names.contains(name), name);
                names.insert(name);
            }
            const bool pair = field.Kind == FieldKind::Coordinate || field.High > 255;
            std::vector<std::pair<std::size_t, std::uint8_t>> places = {
                {field.At, field.Kind == FieldKind::Flag ? field.Bit : 0xFF}};
            if (pair) {
                places.emplace_back(field.At + 1, 0xFF);
            }
            if (field.Sets.Bit != 0) {
                places.emplace_back(field.Sets.At, field.Sets.Bit);
            }
            for (const auto& [at, bits] : places) {
                QVERIFY2(at < taken.size() && (taken[at] & bits) == 0, field.Control);
                taken[at] |= bits;
            }
        }
    }

    void decodeStartValues() {
        const StoredSettings stored = DecodeSettingsBlock(Build(SettingsFields{}, 300, 8, 1404));
        QCOMPARE(stored.CountyIndex, 300);
        QCOMPARE(stored.ProvinceIndex, 8);
        QCOMPARE(stored.GlyphCodes, Glyphs());
        QCOMPARE(stored.TimetableYears.front(), 1404);
        QCOMPARE(stored.TimetableYears.back(), 1413);
        QVERIFY(stored.Fields == SettingsFields{}); // the start texts come back as typed
    }

    // Whatever the build accepts, reading the block back and building again gives the same
    // bytes and the same location.
    void roundTrip() {
        QRandomGenerator random(1392);
        const auto number = [&](int high) { return int(random.bounded(high + 1)); };
        const QString separators[] = {".", ","};
        for (int run = 0; run < 2000; ++run) {
            SettingsFields fields;
            for (QString* text : {&fields.Longitude, &fields.Latitude}) {
                const int tenths = number(9);
                *text =
                    QString::number(number(255)) + separators[number(1)] +
                    (number(1) ? QString::number(tenths)
                               : QString::number(tenths * 10 + number(9)).rightJustified(2, '0'));
            }
            for (const auto& c : TextControls) {
                fields.*c.Field = QString::number(number(255)).rightJustified(number(3), '0');
            }
            for (const auto& c : LevelControls) {
                fields.*c.Field = number(MaxLevel);
            }
            for (const auto& c : CheckBoxes) {
                fields.*c.Field = number(1) == 1;
            }
            GlyphCodeArray glyphs;
            for (auto& glyph : glyphs) {
                glyph = static_cast<std::uint8_t>(number(255));
            }
            const int county = number(65535);
            const int province = number(255);
            const int year = 1300 + number(255);
            const SettingsBlock block = BuildSettingsBlock(fields, county, province, glyphs, year);
            const StoredSettings stored = DecodeSettingsBlock(block);
            QCOMPARE(stored.CountyIndex, county);
            QCOMPARE(stored.ProvinceIndex, province);
            QCOMPARE(stored.TimetableYears.front(), year);
            QCOMPARE(ReadCoordinate(stored.Fields.Longitude, {}),
                     ReadCoordinate(fields.Longitude, {}));
            const SettingsBlock again =
                BuildSettingsBlock(stored.Fields, stored.CountyIndex, stored.ProvinceIndex,
                                   stored.GlyphCodes, stored.TimetableYears.front());
            QCOMPARE(Bytes(again, 0, 127), Bytes(block, 0, 127));
        }
    }

    // The log file is Windows-1256: every text must survive it, the Persian yeh as the code
    // page's yeh and nothing as "?".
    void textsSurviveTheLogFile() {
        for (const QString& text :
             {ReceiveErrorText, NotChangedCountText, AppliedText, NotFullyAppliedText,
              YearFileNotFoundText, YearFileShortTemplate, DeviceSilentText, ConnectDeviceText,
              ChooseCountyText}) {
            QVERIFY(!text.isEmpty());
            QCOMPARE(FromWindows1256(ToWindows1256(text)), ToWindows1256Repertoire(text));
        }
    }
};

QTEST_GUILESS_MAIN(SettingsBlockTest)
#include "tst_settingsblock.moc"
