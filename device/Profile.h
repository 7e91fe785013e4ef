#pragma once

#include "device/SettingsBlock.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// A profile file gives the window's fields by name, as an INI text: each field under the key
// SettingsFieldTable gives it ("dawn.call" is "call = 010" in section [dawn]), and
//   [upload] resend (true: a block not confirmed is sent again, up to three attempts in all)
// Values are the texts as typed into the fields; random and quran are true or false. A key the
// file leaves out keeps the window's start value.
struct Profile {
    SettingsFields Fields;
    std::optional<int> County;
    bool HasLongitude = false; // given: replaces the database's value
    bool HasLatitude = false;
    bool Resend = true;
};

// Throws UserError naming the file, the line and what is wrong (an unknown section or key, a
// key given twice, a line that is not "key = value", a control character, a county or level
// that is not a number, a flag that is neither true nor false, a latitude beyond 90 degrees or a
// longitude beyond 180). The other range checks are left to the settings block. The file must be a
// regular file of at most SettingsFileSizeLimit bytes.
Profile ReadProfile(const QString& path);

// The same for the profile's bytes (UTF-8); name stands for the file in messages.
Profile ParseProfile(const QByteArray& bytes, const QString& name);

// Every key of a profile with its value for these fields and county, in the file's order.
struct ProfileEntry {
    QString Section;
    QString Key;
    QString Value;
};
std::vector<ProfileEntry> ProfileEntries(const SettingsFields& fields, int county);

// "dawn.call" for "LabeledEdit4": where a window control's value stands in a profile; empty for
// a control no profile key holds.
QString ProfileKeyOfControl(const QString& control);

// The profile text of these fields and county, which ReadProfile reads back as the same.
QString ProfileText(const SettingsFields& fields, int county);
