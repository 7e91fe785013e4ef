#pragma once

#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

// The device's key table: 200 slots of 16 bytes, written as 25 blocks of 128.
using KeyTable = std::array<std::uint8_t, 3200>;

constexpr int KeySlotCount = 200;
constexpr std::size_t KeySlotSize = 16;

// The key file in the start folder.
inline const QString KeyFileName = QStringLiteral("encryp.key");

// Reads the key file: one key per line in hexadecimal (LF or CR LF line ends). Slot i belongs to
// line i; a line longer than 31 characters fills it from its leading hex digit pairs, up to the
// first pair that is not one, and at most 16 bytes. Whatever a line does not fill stays 255, as
// do the slots of short lines and of lines the file does not have; lines after the 200th are not
// read. Throws UserError ("Cannot open file <path>") when the file cannot be opened or read, is
// not a regular file, or runs past SettingsFileSizeLimit bytes before its 200th line ends.
KeyTable LoadKeyTable(const QString& path);

// The table of a key file's bytes, read as LoadKeyTable reads the file.
KeyTable ParseKeyTable(QByteArrayView bytes);
