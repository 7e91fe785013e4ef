#include "device/SettingsFields.h"

#include "device/SettingsBlock.h" // StoredSettings, whose index members the table names

#include <array>

namespace {

using F = SettingsFields;

QString PaddedNumber(int value, int width) {
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

// The columns every kind has; each maker adds its own.
constexpr SettingsField Field(FieldKind kind, const char* control, const char* key, std::size_t at,
                              int high, int start = 0) {
    return {kind, control, key, at, 0, high, start};
}

constexpr SettingsField Index(const char* control, const char* key, std::size_t at, int high,
                              int StoredSettings::*index) {
    SettingsField field = Field(FieldKind::Index, control, key, at, high);
    field.Index = index;
    return field;
}

constexpr SettingsField Degrees(const char* control, const char* key, std::size_t at,
                                QString F::*text) {
    SettingsField field = Field(FieldKind::Coordinate, control, key, at, ByteMax);
    field.Text = text;
    return field;
}

constexpr SettingsField Number(const char* control, const char* key, std::size_t at, int width,
                               int start, QString F::*text, NumberFlag sets = {}) {
    SettingsField field = Field(FieldKind::Number, control, key, at, ByteMax, start);
    field.Width = width;
    field.Sets = sets;
    field.Text = text;
    return field;
}

constexpr SettingsField Level(const char* control, const char* key, std::size_t at, int start,
                              int F::*level) {
    SettingsField field = Field(FieldKind::Level, control, key, at, MaxLevel, start);
    field.Level = level;
    return field;
}

constexpr SettingsField Flag(const char* control, const char* key, std::size_t at, std::uint8_t bit,
                             bool start, bool F::*checked) {
    SettingsField field = Field(FieldKind::Flag, control, key, at, 1, start ? 1 : 0);
    field.Bit = bit;
    field.Checked = checked;
    return field;
}

// Byte 60 holds the bits of Quran before the call and of a supplication to play, byte 61 those
// of a random call.
constexpr auto Fields = std::to_array<SettingsField>({
    Index("Combo3", "location.county", 0, 65535, &StoredSettings::CountyIndex),
    Index("Combo1", nullptr, 2, ByteMax, &StoredSettings::ProvinceIndex),
    Degrees("LabeledEdit1", "location.longitude", 3, &F::Longitude),
    Degrees("LabeledEdit2", "location.latitude", 5, &F::Latitude),
    Number("LabeledEdit4", "dawn.call", 73, 3, 10, &F::DawnCall),
    Number("LabeledEdit6", "dawn.supplication", 74, 3, 0, &F::DawnSupplication, {60, 0x02}),
    Flag("CheckBox1", "dawn.random", 61, 0x01, false, &F::DawnRandom),
    Flag("CheckBox4", "dawn.quran", 60, 0x01, false, &F::DawnQuran),
    Level("TrackBar2", "dawn.call_level", 71, 16, &F::DawnCallLevel),
    Level("TrackBar1", "dawn.supplication_level", 72, 0, &F::DawnSupplicationLevel),
    Level("TrackBar3", "dawn.quran_level", 70, 0, &F::DawnQuranLevel),
    Number("LabeledEdit11", "noon.call", 78, 3, 1, &F::NoonCall),
    Number("LabeledEdit12", "noon.supplication", 79, 3, 3, &F::NoonSupplication, {60, 0x08}),
    Flag("CheckBox2", "noon.random", 61, 0x02, true, &F::NoonRandom),
    Flag("CheckBox5", "noon.quran", 60, 0x04, true, &F::NoonQuran),
    Level("TrackBar5", "noon.call_level", 76, 25, &F::NoonCallLevel),
    Level("TrackBar4", "noon.supplication_level", 77, 15, &F::NoonSupplicationLevel),
    Level("TrackBar6", "noon.quran_level", 75, 20, &F::NoonQuranLevel),
    Number("LabeledEdit14", "sunset.call", 83, 3, 1, &F::SunsetCall),
    Number("LabeledEdit15", "sunset.supplication", 84, 3, 1, &F::SunsetSupplication, {60, 0x20}),
    Flag("CheckBox3", "sunset.random", 61, 0x04, true, &F::SunsetRandom),
    Flag("CheckBox6", "sunset.quran", 60, 0x10, true, &F::SunsetQuran),
    Level("TrackBar8", "sunset.call_level", 81, 25, &F::SunsetCallLevel),
    Level("TrackBar7", "sunset.supplication_level", 82, 15, &F::SunsetSupplicationLevel),
    Level("TrackBar9", "sunset.quran_level", 80, 20, &F::SunsetQuranLevel),
    Number("LabeledEdit10", "files.call_count", 62, 0, 35, &F::CallFileCount),
    Number("LabeledEdit5", "files.quran_count", 63, 0, 100, &F::QuranFileCount),
    Number("LabeledEdit17", "option1.folder", 86, 3, 15, &F::Option1Folder),
    Number("LabeledEdit19", "option1.file", 87, 3, 1, &F::Option1File),
    Level("TrackBar10", "option1.level", 85, 0, &F::Option1Level),
    Number("LabeledEdit18", "option2.folder", 96, 3, 16, &F::Option2Folder),
    Number("LabeledEdit20", "option2.file", 97, 3, 1, &F::Option2File),
    Level("TrackBar11", "option2.level", 95, 0, &F::Option2Level),
});

} // namespace

constinit const std::span<const SettingsField> SettingsFieldTable = Fields;

SettingsFields::SettingsFields() {
    for (const SettingsField& field : SettingsFieldTable) {
        ShowFieldValue(*this, field, field.Start);
    }
}

QString CoordinateText(const Coordinate& coordinate) {
    return PaddedNumber(coordinate.Degrees, 2) + u'.' + PaddedNumber(coordinate.Hundredths, 2);
}

void ShowFieldValue(SettingsFields& fields, const SettingsField& field, int value, int hundredths) {
    switch (field.Kind) {
    case FieldKind::Index:
        break;
    case FieldKind::Coordinate:
        fields.*field.Text = CoordinateText({value, hundredths});
        break;
    case FieldKind::Number:
        fields.*field.Text =
            field.Width > 0 ? PaddedNumber(value, field.Width) : QString::number(value);
        break;
    case FieldKind::Level:
        fields.*field.Level = value;
        break;
    case FieldKind::Flag:
        fields.*field.Checked = value != 0;
        break;
    }
}
