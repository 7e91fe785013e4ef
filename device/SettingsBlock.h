#pragma once

#include "common/UserError.h"
#include "location/GlyphEncoding.h"

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

// The device's 128-byte settings image: where it stands, the name it shows, the ten solar years
// its timetables cover and what it plays at dawn, noon and sunset. Written at device address 0.
using SettingsBlock = std::array<std::uint8_t, 128>;

constexpr int MaxLevel = 32;            // every track bar spans 0..32
constexpr int TimetableYearCount = 10;  // years covered by one upload
constexpr int TimetableYearBase = 1300; // a year byte counts solar years from here

// The window's fields as the operator left them: texts as typed, check boxes, track bars.
// The member initialisers are the window's start values, which are the device's defaults.
struct SettingsFields {
    QString Longitude = QStringLiteral("00.00");        // LabeledEdit1
    QString Latitude = QStringLiteral("00.00");         // LabeledEdit2
    QString DawnCall = QStringLiteral("010");           // LabeledEdit4
    QString DawnSupplication = QStringLiteral("000");   // LabeledEdit6
    QString NoonCall = QStringLiteral("001");           // LabeledEdit11
    QString NoonSupplication = QStringLiteral("003");   // LabeledEdit12
    QString SunsetCall = QStringLiteral("001");         // LabeledEdit14
    QString SunsetSupplication = QStringLiteral("001"); // LabeledEdit15
    QString CallFileCount = QStringLiteral("35");       // LabeledEdit10, files in folder 010
    QString QuranFileCount = QStringLiteral("100");     // LabeledEdit5, files in folder 011
    QString Option1Folder = QStringLiteral("015");      // LabeledEdit17
    QString Option1File = QStringLiteral("001");        // LabeledEdit19
    QString Option2Folder = QStringLiteral("016");      // LabeledEdit18
    QString Option2File = QStringLiteral("001");        // LabeledEdit20

    bool DawnRandom = false;  // CheckBox1, random call to prayer
    bool NoonRandom = true;   // CheckBox2
    bool SunsetRandom = true; // CheckBox3
    bool DawnQuran = false;   // CheckBox4, Quran before the call to prayer
    bool NoonQuran = true;    // CheckBox5
    bool SunsetQuran = true;  // CheckBox6

    // Track-bar positions, 0..MaxLevel.
    int DawnSupplicationLevel = 0;    // TrackBar1
    int DawnCallLevel = 16;           // TrackBar2
    int DawnQuranLevel = 0;           // TrackBar3
    int NoonSupplicationLevel = 15;   // TrackBar4
    int NoonCallLevel = 25;           // TrackBar5
    int NoonQuranLevel = 20;          // TrackBar6
    int SunsetSupplicationLevel = 15; // TrackBar7
    int SunsetCallLevel = 25;         // TrackBar8
    int SunsetQuranLevel = 20;        // TrackBar9
    int Option1Level = 0;             // TrackBar10
    int Option2Level = 0;             // TrackBar11

    bool operator==(const SettingsFields&) const = default;
};

SettingsFields DefaultSettingsFields();

// A field the block cannot be built from. Control() names the window control that holds it
// (for example "LabeledEdit6"), so that the window can put the focus there.
class SettingsError : public UserError {
public:
    SettingsError(const QString& text, const QString& control)
        : UserError(text), control_(control) {}
    const QString& Control() const { return control_; }

private:
    QString control_;
};

// The whole decimal number in text (an optional sign, ASCII digits, nothing else), refused
// unless it lies in low..high. Throws SettingsError naming the control:
// "'abc' is not a valid integer value", "'300' is not a value from 0 to 255".
int ReadNumberField(const QString& text, int low, int high, const QString& control);

// A track-bar position, refused unless it lies in 0..MaxLevel ("'40' is not a value from 0 to 32").
int CheckLevel(int level, const QString& control);

// A coordinate in degrees with at most two digits after the point (or a comma), the fraction
// read as hundredths: "51" is 51 and 0, "51.5" is 51 and 50, "51.05" is 51 and 5.
struct Coordinate {
    int Degrees = 0;    // 0..255
    int Hundredths = 0; // 0..99
    bool operator==(const Coordinate&) const = default;
};

// Throws SettingsError naming the control when the text is not degrees with at most two
// digits after the separator ("'51.4x' is not a valid coordinate: ..."), has three or more
// ("'51.425' has more than two digits after the point: ..."), or is negative or beyond 255
// degrees ("'-51.42' is not a coordinate from 0 to 255.99").
Coordinate ReadCoordinate(const QString& text, const QString& control);

// "51.42", "05.05", "00.00": the text ReadCoordinate reads back as the same coordinate.
QString CoordinateText(const Coordinate& coordinate);

// Builds the block from the window's fields, the chosen location (county index 0..65535,
// province index 0..255), the county name's display glyphs and the current solar year.
// Fields are read in the order of their bytes (location, coordinates, flags, then the numbers
// and levels from byte 62 up), so the first bad field in that order is the one reported.
// Throws SettingsError; nothing is built then.
SettingsBlock BuildSettingsBlock(const SettingsFields& fields, int countyIndex, int provinceIndex,
                                 const GlyphCodeArray& glyphCodes, int solarYear);

// What a settings block holds, as read back from a device. Building a block from it again
// gives the same bytes for every block BuildSettingsBlock can produce.
struct StoredSettings {
    int CountyIndex = 0;
    int ProvinceIndex = 0;
    GlyphCodeArray GlyphCodes{};
    std::array<int, TimetableYearCount> TimetableYears{}; // solar years, 1300 + the year byte
    SettingsFields Fields;                                // number texts as the window shows them
};

StoredSettings DecodeSettingsBlock(const SettingsBlock& block);
