#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>

constexpr int ByteMax = 255; // the most a byte of the settings block holds
constexpr int MaxLevel = 32; // every track bar spans 0..32

// The window's fields as the operator left them: texts as typed, check boxes, track bars.
// A new object holds the window's start values, which are the device's defaults; which control
// holds each field, where its byte lies and its profile key are in SettingsFieldTable.
struct SettingsFields {
    SettingsFields();

    QString Longitude;
    QString Latitude;
    QString DawnCall;
    QString DawnSupplication;
    QString NoonCall;
    QString NoonSupplication;
    QString SunsetCall;
    QString SunsetSupplication;
    QString CallFileCount;  // files in folder 010
    QString QuranFileCount; // files in folder 011
    QString Option1Folder;
    QString Option1File;
    QString Option2Folder;
    QString Option2File;

    bool DawnRandom{}; // random call to prayer
    bool NoonRandom{};
    bool SunsetRandom{};
    bool DawnQuran{}; // Quran before the call to prayer
    bool NoonQuran{};
    bool SunsetQuran{};

    int DawnSupplicationLevel{};
    int DawnCallLevel{};
    int DawnQuranLevel{};
    int NoonSupplicationLevel{};
    int NoonCallLevel{};
    int NoonQuranLevel{};
    int SunsetSupplicationLevel{};
    int SunsetCallLevel{};
    int SunsetQuranLevel{};
    int Option1Level{};
    int Option2Level{};

    bool operator==(const SettingsFields&) const = default;
};

struct StoredSettings;

// How a field is held, which decides how the block, the profile and the window treat it.
enum class FieldKind {
    Index,      // a location index chosen in the boxes, beside the fields; high byte first
    Coordinate, // a text of degrees: whole degrees at At, hundredths at At + 1
    Number,     // a whole number typed as text
    Level,      // a track-bar position
    Flag,       // a check box: bit Bit of byte At
};

// A flag bit that a number sets when it is above 0 (a supplication to play).
struct NumberFlag {
    std::size_t At = 0;
    std::uint8_t Bit = 0; // 0: none
};

// One field: the window control that holds it, its profile key, its place in the settings
// block, the values the block accepts and the window's start value.
struct SettingsField {
    FieldKind Kind;
    const char* Control;
    const char* ProfileKey; // "dawn.call" is key call in section [dawn]; nullptr: no profile key
    std::size_t At;
    int Low = 0;
    int High = 0;
    int Start = 0;        // the number, the level, the whole degrees, 1 for a ticked box
    int Width = 0;        // Number: digits the window shows, zero-padded; 0 for a plain number
    std::uint8_t Bit = 0; // Flag
    NumberFlag Sets{};    // Number
    QString SettingsFields::*Text = nullptr; // Coordinate, Number
    int SettingsFields::*Level = nullptr;    // Level
    bool SettingsFields::*Checked = nullptr; // Flag
    int StoredSettings::*Index = nullptr;    // Index
};

// Every field, in the order of the profile file. A new field is one line here.
extern const std::span<const SettingsField> SettingsFieldTable;

// A coordinate as the block holds it: whole degrees and hundredths of a degree.
struct Coordinate {
    int Degrees = 0;    // 0..255
    int Hundredths = 0; // 0..99
    bool operator==(const Coordinate&) const = default;
};

// "51.42", "05.05", "00.00": the text ReadCoordinate reads back as the same coordinate.
QString CoordinateText(const Coordinate& coordinate);

// Puts a value into its field as the window shows it: a number zero-padded to its width, a
// coordinate from whole degrees and hundredths, a level as it is, a box ticked when value is not
// 0. An index is no field: the fields stay as they are.
void ShowFieldValue(SettingsFields& fields, const SettingsField& field, int value,
                    int hundredths = 0);
