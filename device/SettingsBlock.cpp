#include "device/SettingsBlock.h"

#include "device/DeviceTexts.h"

#include <algorithm>

namespace {

constexpr int ByteMax = 255;
constexpr int CountyIndexMax = 65535;
constexpr int MaxNumberDigits = 9; // always fits an int; longer numbers lie outside every range

constexpr std::size_t CountyHighAt = 0;
constexpr std::size_t CountyLowAt = 1;
constexpr std::size_t ProvinceAt = 2;
constexpr std::size_t LongitudeAt = 3; // degrees, then hundredths
constexpr std::size_t LatitudeAt = 5;
constexpr std::size_t GlyphsAt = 7;
constexpr std::size_t MarkerAt = 48; // always 1
constexpr std::size_t YearsAt = 49;
constexpr std::size_t PlayFlagsAAt = 60;
constexpr std::size_t PlayFlagsBAt = 61;
constexpr std::array<std::size_t, 4> FillerAt = {88, 89, 98, 99}; // always 255

// The year bytes count from 1300 in 8 bits, which the device reads back as 1300..1555.
constexpr int YearByteOffset = TimetableYearBase % 256;

// Which flag bits one prayer row gives: Quran before the call (its check box), a supplication
// (its number above 0) and random call (its check box).
struct PrayerRow {
    bool SettingsFields::*Quran;
    std::uint8_t QuranBit;
    QString SettingsFields::*Supplication;
    const char* SupplicationControl;
    std::uint8_t SupplicationBit;
    bool SettingsFields::*Random;
    std::uint8_t RandomBit;
};

constexpr std::array<PrayerRow, 3> PrayerRows = {{
    {&SettingsFields::DawnQuran, 0x01, &SettingsFields::DawnSupplication, "LabeledEdit6", 0x02,
     &SettingsFields::DawnRandom, 0x01},
    {&SettingsFields::NoonQuran, 0x04, &SettingsFields::NoonSupplication, "LabeledEdit12", 0x08,
     &SettingsFields::NoonRandom, 0x02},
    {&SettingsFields::SunsetQuran, 0x10, &SettingsFields::SunsetSupplication, "LabeledEdit15", 0x20,
     &SettingsFields::SunsetRandom, 0x04},
}};

// One byte from byte 62 up: a number field (Text) or a track bar (Level). The table runs in
// ascending byte order, which is also the order in which errors are found.
struct FieldByte {
    std::size_t At;
    const char* Control;
    QString SettingsFields::*Text;
    int Width; // digits the window shows, zero-padded; 0 for a plain number
    int SettingsFields::*Level;
};

constexpr FieldByte Number(std::size_t at, const char* control, QString SettingsFields::*text,
                           int width) {
    return {at, control, text, width, nullptr};
}

constexpr FieldByte Level(std::size_t at, const char* control, int SettingsFields::*level) {
    return {at, control, nullptr, 0, level};
}

constexpr auto FieldBytes = std::to_array<FieldByte>({
    Number(62, "LabeledEdit10", &SettingsFields::CallFileCount, 0),
    Number(63, "LabeledEdit5", &SettingsFields::QuranFileCount, 0),
    Level(70, "TrackBar3", &SettingsFields::DawnQuranLevel),
    Level(71, "TrackBar2", &SettingsFields::DawnCallLevel),
    Level(72, "TrackBar1", &SettingsFields::DawnSupplicationLevel),
    Number(73, "LabeledEdit4", &SettingsFields::DawnCall, 3),
    Number(74, "LabeledEdit6", &SettingsFields::DawnSupplication, 3),
    Level(75, "TrackBar6", &SettingsFields::NoonQuranLevel),
    Level(76, "TrackBar5", &SettingsFields::NoonCallLevel),
    Level(77, "TrackBar4", &SettingsFields::NoonSupplicationLevel),
    Number(78, "LabeledEdit11", &SettingsFields::NoonCall, 3),
    Number(79, "LabeledEdit12", &SettingsFields::NoonSupplication, 3),
    Level(80, "TrackBar9", &SettingsFields::SunsetQuranLevel),
    Level(81, "TrackBar8", &SettingsFields::SunsetCallLevel),
    Level(82, "TrackBar7", &SettingsFields::SunsetSupplicationLevel),
    Number(83, "LabeledEdit14", &SettingsFields::SunsetCall, 3),
    Number(84, "LabeledEdit15", &SettingsFields::SunsetSupplication, 3),
    Level(85, "TrackBar10", &SettingsFields::Option1Level),
    Number(86, "LabeledEdit17", &SettingsFields::Option1Folder, 3),
    Number(87, "LabeledEdit19", &SettingsFields::Option1File, 3),
    Level(95, "TrackBar11", &SettingsFields::Option2Level),
    Number(96, "LabeledEdit18", &SettingsFields::Option2Folder, 3),
    Number(97, "LabeledEdit20", &SettingsFields::Option2File, 3),
});

QString NotAnIntegerMessage(const QString& text) {
    return QString(NotAnIntegerTemplate).replace(QStringLiteral("%s"), text);
}

QString OutOfRangeMessage(const QString& text, int low, int high) {
    return QStringLiteral("'%1' is not a value from %2 to %3")
        .arg(text, QString::number(low), QString::number(high));
}

bool IsAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool AllDigits(QStringView text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), IsAsciiDigit);
}

// The value of a run of ASCII digits, or -1 when it has too many digits for any range here.
int DigitsValue(QStringView digits) {
    while (digits.size() > 1 && digits.front() == u'0') {
        digits = digits.mid(1);
    }
    if (digits.size() > MaxNumberDigits) {
        return -1;
    }
    int value = 0;
    for (QChar c : digits) {
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

QString CoordinateFormatMessage(const QString& text) {
    return QStringLiteral("'%1' is not a valid coordinate: write degrees and at most two digits "
                          "after the point, as in 51.42")
        .arg(text);
}

QString CoordinateDigitsMessage(const QString& text) {
    return QStringLiteral(
               "'%1' has more than two digits after the point: the device keeps hundredths of a "
               "degree")
        .arg(text);
}

QString CoordinateRangeMessage(const QString& text) {
    return QStringLiteral("'%1' is not a coordinate from 0 to 255.99").arg(text);
}

QString PaddedNumber(int value, int width) {
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

void PutCoordinate(SettingsBlock& block, std::size_t at, const Coordinate& coordinate) {
    block[at] = static_cast<std::uint8_t>(coordinate.Degrees);
    block[at + 1] = static_cast<std::uint8_t>(coordinate.Hundredths);
}

Coordinate TakeCoordinate(const SettingsBlock& block, std::size_t at) {
    return {block[at], block[at + 1]};
}

} // namespace

SettingsFields DefaultSettingsFields() {
    return SettingsFields{};
}

int ReadNumberField(const QString& text, int low, int high, const QString& control) {
    QStringView digits(text);
    const bool negative = digits.startsWith(u'-');
    if (negative || digits.startsWith(u'+')) {
        digits = digits.mid(1);
    }
    if (!AllDigits(digits)) {
        throw SettingsError(NotAnIntegerMessage(text), control);
    }
    const int magnitude = DigitsValue(digits);
    const int value = negative ? -magnitude : magnitude;
    if (magnitude < 0 || value < low || value > high) {
        throw SettingsError(OutOfRangeMessage(text, low, high), control);
    }
    return value;
}

int CheckLevel(int level, const QString& control) {
    if (level < 0 || level > MaxLevel) {
        throw SettingsError(OutOfRangeMessage(QString::number(level), 0, MaxLevel), control);
    }
    return level;
}

Coordinate ReadCoordinate(const QString& text, const QString& control) {
    QStringView whole(text);
    QStringView fraction;
    const auto separator =
        std::find_if(text.begin(), text.end(), [](QChar c) { return c == u'.' || c == u','; });
    if (separator != text.end()) {
        const auto at = separator - text.begin();
        whole = QStringView(text).first(at);
        fraction = QStringView(text).mid(at + 1);
        if (!AllDigits(fraction)) {
            throw SettingsError(CoordinateFormatMessage(text), control);
        }
    }
    const bool negative = whole.startsWith(u'-');
    if (negative || whole.startsWith(u'+')) {
        whole = whole.mid(1);
    }
    if (!AllDigits(whole)) {
        throw SettingsError(CoordinateFormatMessage(text), control);
    }
    if (fraction.size() > 2) {
        throw SettingsError(CoordinateDigitsMessage(text), control);
    }
    const int degrees = DigitsValue(whole);
    if (negative || degrees < 0 || degrees > ByteMax) {
        throw SettingsError(CoordinateRangeMessage(text), control);
    }
    int hundredths = fraction.isEmpty() ? 0 : DigitsValue(fraction);
    if (fraction.size() == 1) {
        hundredths *= 10; // "51.5" is half a degree, not five hundredths
    }
    return {degrees, hundredths};
}

QString CoordinateText(const Coordinate& coordinate) {
    return PaddedNumber(coordinate.Degrees, 2) + u'.' + PaddedNumber(coordinate.Hundredths, 2);
}

SettingsBlock BuildSettingsBlock(const SettingsFields& fields, int countyIndex, int provinceIndex,
                                 const GlyphCodeArray& glyphCodes, int solarYear) {
    SettingsBlock block{};
    if (countyIndex < 0 || countyIndex > CountyIndexMax) {
        throw SettingsError(OutOfRangeMessage(QString::number(countyIndex), 0, CountyIndexMax),
                            QStringLiteral("Combo3"));
    }
    if (provinceIndex < 0 || provinceIndex > ByteMax) {
        throw SettingsError(OutOfRangeMessage(QString::number(provinceIndex), 0, ByteMax),
                            QStringLiteral("Combo1"));
    }
    block[CountyHighAt] = static_cast<std::uint8_t>(countyIndex >> 8);
    block[CountyLowAt] = static_cast<std::uint8_t>(countyIndex & 0xFF);
    block[ProvinceAt] = static_cast<std::uint8_t>(provinceIndex);

    PutCoordinate(block, LongitudeAt,
                  ReadCoordinate(fields.Longitude, QStringLiteral("LabeledEdit1")));
    PutCoordinate(block, LatitudeAt,
                  ReadCoordinate(fields.Latitude, QStringLiteral("LabeledEdit2")));
    std::copy(glyphCodes.begin(), glyphCodes.end(), block.begin() + GlyphsAt);

    block[MarkerAt] = 1;
    // Years outside 1300..1555 wrap, as the device's year bytes do.
    for (int j = 0; j < TimetableYearCount; ++j) {
        block[YearsAt + j] = static_cast<std::uint8_t>(solarYear - YearByteOffset + j);
    }

    std::uint8_t flagsA = 0;
    std::uint8_t flagsB = 0;
    for (const PrayerRow& row : PrayerRows) {
        if (fields.*row.Quran) {
            flagsA |= row.QuranBit;
        }
        if (ReadNumberField(fields.*row.Supplication, 0, ByteMax,
                            QLatin1String(row.SupplicationControl)) > 0) {
            flagsA |= row.SupplicationBit;
        }
    }
    for (const PrayerRow& row : PrayerRows) {
        if (fields.*row.Random) {
            flagsB |= row.RandomBit;
        }
    }
    block[PlayFlagsAAt] = flagsA;
    block[PlayFlagsBAt] = flagsB;

    for (const FieldByte& field : FieldBytes) {
        const QString control = QLatin1String(field.Control);
        const int value = field.Text ? ReadNumberField(fields.*field.Text, 0, ByteMax, control)
                                     : CheckLevel(fields.*field.Level, control);
        block[field.At] = static_cast<std::uint8_t>(value);
    }
    for (std::size_t at : FillerAt) {
        block[at] = ByteMax;
    }
    return block;
}

StoredSettings DecodeSettingsBlock(const SettingsBlock& block) {
    StoredSettings stored;
    stored.CountyIndex = (block[CountyHighAt] << 8) | block[CountyLowAt];
    stored.ProvinceIndex = block[ProvinceAt];
    std::copy_n(block.begin() + GlyphsAt, stored.GlyphCodes.size(), stored.GlyphCodes.begin());
    for (int j = 0; j < TimetableYearCount; ++j) {
        stored.TimetableYears[j] = TimetableYearBase + block[YearsAt + j];
    }

    SettingsFields& fields = stored.Fields;
    fields.Longitude = CoordinateText(TakeCoordinate(block, LongitudeAt));
    fields.Latitude = CoordinateText(TakeCoordinate(block, LatitudeAt));
    // The supplication bits follow from the supplication numbers, read below.
    for (const PrayerRow& row : PrayerRows) {
        fields.*row.Quran = (block[PlayFlagsAAt] & row.QuranBit) != 0;
        fields.*row.Random = (block[PlayFlagsBAt] & row.RandomBit) != 0;
    }
    for (const FieldByte& field : FieldBytes) {
        if (field.Text) {
            fields.*field.Text = field.Width > 0 ? PaddedNumber(block[field.At], field.Width)
                                                 : QString::number(block[field.At]);
        } else {
            fields.*field.Level = block[field.At];
        }
    }
    return stored;
}
