#include "device/SettingsBlock.h"

#include "common/ShownText.h"
#include "device/DeviceTexts.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int MaxNumberDigits = 9; // always fits an int; longer numbers lie outside every range

constexpr std::size_t GlyphsAt = 7;
constexpr std::size_t MarkerAt = 48; // always 1
constexpr std::size_t YearsAt = 49;
constexpr std::array<std::size_t, 4> FillerAt = {88, 89, 98, 99}; // always 255

// The year bytes count from 1300 in 8 bits, which the device reads back as 1300..1555.
constexpr int YearByteOffset = TimetableYearBase % 256;

Problem OutOfRange(const QString& text, int low, int high) {
    return Problem(QStringLiteral("field-out-of-range"))
        .Set(QStringLiteral("value"), ShownValue(text))
        .Set(QStringLiteral("low"), low)
        .Set(QStringLiteral("high"), high);
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

// coordinate-invalid: "format", "digits" or "range".
[[noreturn]] void RefuseCoordinate(const QString& text, const QString& form,
                                   const QString& control) {
    throw SettingsError(Problem(QStringLiteral("coordinate-invalid"), form)
                            .Set(QStringLiteral("value"), ShownValue(text)),
                        control);
}

int CheckRange(int value, int low, int high, const QString& control) {
    if (value < low || value > high) {
        throw SettingsError(OutOfRange(QString::number(value), low, high), control);
    }
    return value;
}

// The byte a field is first read at: a supplication's flag bit comes before its number.
std::size_t FirstByte(const SettingsField& field) {
    return field.Sets.Bit != 0 ? std::min(field.At, field.Sets.At) : field.At;
}

// The table in the order of the bytes the fields are first read at.
const std::vector<const SettingsField*>& InByteOrder() {
    static const std::vector<const SettingsField*> order = [] {
        std::vector<const SettingsField*> fields;
        for (const SettingsField& field : SettingsFieldTable) {
            fields.push_back(&field);
        }
        std::stable_sort(fields.begin(), fields.end(), [](const auto* a, const auto* b) {
            return FirstByte(*a) < FirstByte(*b);
        });
        return fields;
    }();
    return order;
}

// An index above 255 takes two bytes, the high one first.
int IndexSize(const SettingsField& field) {
    return field.High > ByteMax ? 2 : 1;
}

void PutIndex(SettingsBlock& block, const SettingsField& field, int index) {
    for (int k = IndexSize(field) - 1; k >= 0; --k, index >>= 8) {
        block[field.At + k] = static_cast<std::uint8_t>(index & 0xFF);
    }
}

int TakeIndex(const SettingsBlock& block, const SettingsField& field) {
    int index = 0;
    for (int k = 0; k < IndexSize(field); ++k) {
        index = (index << 8) | block[field.At + k];
    }
    return index;
}

void PutField(SettingsBlock& block, const SettingsField& field, const StoredSettings& given) {
    const QString control = QLatin1String(field.Control);
    const SettingsFields& fields = given.Fields;
    switch (field.Kind) {
    case FieldKind::Index:
        PutIndex(block, field, CheckRange(given.*field.Index, field.Low, field.High, control));
        break;
    case FieldKind::Coordinate: {
        const Coordinate coordinate = ReadCoordinate(fields.*field.Text, control);
        block[field.At] = static_cast<std::uint8_t>(coordinate.Degrees);
        block[field.At + 1] = static_cast<std::uint8_t>(coordinate.Hundredths);
        break;
    }
    case FieldKind::Number: {
        const int value = ReadNumberField(fields.*field.Text, field.Low, field.High, control);
        block[field.At] = static_cast<std::uint8_t>(value);
        if (field.Sets.Bit != 0 && value > 0) {
            block[field.Sets.At] |= field.Sets.Bit;
        }
        break;
    }
    case FieldKind::Level:
        block[field.At] = static_cast<std::uint8_t>(
            CheckRange(fields.*field.Level, field.Low, field.High, control));
        break;
    case FieldKind::Flag:
        if (fields.*field.Checked) {
            block[field.At] |= field.Bit;
        }
        break;
    }
}

} // namespace

Problem NotAnInteger(const QString& text) {
    return Problem(QStringLiteral("field-not-a-number"))
        .Set(QStringLiteral("value"), ShownValue(text));
}

int ReadNumberField(const QString& text, int low, int high, const QString& control) {
    QStringView digits(text);
    const bool negative = digits.startsWith(u'-');
    if (negative || digits.startsWith(u'+')) {
        digits = digits.mid(1);
    }
    if (!AllDigits(digits)) {
        throw SettingsError(NotAnInteger(text), control);
    }
    const int magnitude = DigitsValue(digits);
    const int value = negative ? -magnitude : magnitude;
    if (magnitude < 0 || value < low || value > high) {
        throw SettingsError(OutOfRange(text, low, high), control);
    }
    return value;
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
            RefuseCoordinate(text, QStringLiteral("format"), control);
        }
    }
    const bool negative = whole.startsWith(u'-');
    if (negative || whole.startsWith(u'+')) {
        whole = whole.mid(1);
    }
    if (!AllDigits(whole)) {
        RefuseCoordinate(text, QStringLiteral("format"), control);
    }
    if (fraction.size() > 2) {
        RefuseCoordinate(text, QStringLiteral("digits"), control);
    }
    const int degrees = DigitsValue(whole);
    if (negative || degrees < 0 || degrees > ByteMax) {
        RefuseCoordinate(text, QStringLiteral("range"), control);
    }
    int hundredths = fraction.isEmpty() ? 0 : DigitsValue(fraction);
    if (fraction.size() == 1) {
        hundredths *= 10; // "51.5" is half a degree, not five hundredths
    }
    return {degrees, hundredths};
}

SettingsBlock BuildSettingsBlock(const SettingsFields& fields, int countyIndex, int provinceIndex,
                                 const GlyphCodeArray& glyphCodes, int solarYear) {
    StoredSettings given;
    given.CountyIndex = countyIndex;
    given.ProvinceIndex = provinceIndex;
    given.Fields = fields;
    SettingsBlock block{};
    for (const SettingsField* field : InByteOrder()) {
        PutField(block, *field, given);
    }
    std::copy(glyphCodes.begin(), glyphCodes.end(), block.begin() + GlyphsAt);
    block[MarkerAt] = 1;
    // Years outside 1300..1555 wrap, as the device's year bytes do.
    for (int j = 0; j < TimetableYearCount; ++j) {
        block[YearsAt + j] = static_cast<std::uint8_t>(solarYear - YearByteOffset + j);
    }
    for (std::size_t at : FillerAt) {
        block[at] = ByteMax;
    }
    return block;
}

StoredSettings DecodeSettingsBlock(const SettingsBlock& block) {
    StoredSettings stored;
    std::copy_n(block.begin() + GlyphsAt, stored.GlyphCodes.size(), stored.GlyphCodes.begin());
    for (int j = 0; j < TimetableYearCount; ++j) {
        stored.TimetableYears[j] = TimetableYearBase + block[YearsAt + j];
    }
    // A supplication's bit follows from its number.
    for (const SettingsField& field : SettingsFieldTable) {
        if (field.Kind == FieldKind::Index) {
            stored.*field.Index = TakeIndex(block, field);
        } else if (field.Kind == FieldKind::Flag) {
            ShowFieldValue(stored.Fields, field, block[field.At] & field.Bit);
        } else {
            const bool coordinate = field.Kind == FieldKind::Coordinate;
            ShowFieldValue(stored.Fields, field, block[field.At],
                           coordinate ? block[field.At + 1] : 0);
        }
    }
    return stored;
}
