#pragma once

#include "common/UserError.h"
#include "device/SettingsFields.h"
#include "location/GlyphEncoding.h"

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

// The device's 128-byte settings image: where it stands, the name it shows, the ten solar years
// its timetables cover and what it plays at dawn, noon and sunset. Written at device address 0.
using SettingsBlock = std::array<std::uint8_t, 128>;

constexpr int TimetableYearCount = 10;  // years covered by one upload
constexpr int TimetableYearBase = 1300; // a year byte counts solar years from here

// A field the block cannot be built from. Control() names the window control that holds it
// (for example "LabeledEdit6"), so that the window can put the focus there.
class SettingsError : public UserError {
public:
    SettingsError(Problem problem, const QString& control)
        : UserError(std::move(problem)), control_(control) {}
    const QString& Control() const { return control_; }

private:
    QString control_;
};

// "'abc' is not a valid integer value" (field-not-a-number), the text quoted as a message shows a
// value.
Problem NotAnInteger(const QString& text);

// The whole decimal number in text (an optional sign, ASCII digits, nothing else), refused
// unless it lies in low..high. Throws SettingsError naming the control: field-not-a-number
// ("'abc' is not a valid integer value"), field-out-of-range ("'300' is not a value from 0 to
// 255").
int ReadNumberField(const QString& text, int low, int high, const QString& control);

// Reads a coordinate in degrees with at most two digits after the point (or a comma), the
// fraction as hundredths: "51" is 51 and 0, "51.5" is 51 and 50, "51.05" is 51 and 5.
// Throws SettingsError (coordinate-invalid) naming the control when the text is not degrees with
// at most two digits after the separator ("'51.4x' is not a valid coordinate: ..."), has three or
// more ("'51.425' has more than two digits after the point: ..."), or is negative or beyond 255
// degrees ("'-51.42' is not a coordinate from 0 to 255.99").
Coordinate ReadCoordinate(const QString& text, const QString& control);

// Builds the block from the window's fields, the chosen location (county index 0..65535,
// province index 0..255), the county name's display glyphs and the current solar year.
// Fields are read in the order of the byte each is first read at (SettingsFieldTable), so the
// first bad field in that order is the one reported; a supplication is read at its flag bit.
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
