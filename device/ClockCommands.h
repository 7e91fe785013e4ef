#pragma once

#include "calendar/CalendarClock.h"
#include "comm/CommLink.h"
#include "device/SettingsBlock.h"

#include <array>
#include <optional>

using ClockFrame = std::array<std::uint8_t, 12>;

// The clock frame of a sample: seconds, minutes, hours, day, month, year - 2000, each a plain
// byte. While daylight saving is on the sample is an hour behind the PC, and so is the device.
ClockFrame ClockFrameOf(const CalendarClock& clock);

// Samples the PC clock at the turn of a second and writes the clock frame; nothing is read
// back. False when the frame did not go out whole.
bool SetDeviceClock(CommLink& link, CalendarClock& clock);

// What the operator is told after setting the clock: the date and time the device was sent and
// whether daylight saving put it an hour behind the PC; or that the frame did not go out.
QString ClockSetText(const CalendarClock& clock, bool sent);

// Asks the device for its stored settings block; nothing unless the whole reply arrived.
std::optional<SettingsBlock> ReadStoredSettings(CommLink& link);

// A block of all 0xFF: the device's memory is erased, it was never configured. Such a block
// holds no settings, and a profile made from it would be refused.
bool HoldsNoSettings(const SettingsBlock& block);

// The settings block of the reply in RxBuffer: a reply of the whole length counts, whatever its
// header holds.
std::optional<SettingsBlock> SettingsOfReply(const CommLink& link);
