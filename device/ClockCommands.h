#pragma once

#include "calendar/CalendarClock.h"
#include "calendar/ZoneCheck.h"
#include "comm/CommLink.h"
#include "common/Problem.h"

#include <array>

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

// What is wrong with the PC's time zone for the device, with the remedy (time-zone, a warning:
// the clock is set all the same); empty when it is Iran Standard Time without daylight saving.
Problem ZoneProblem(const ZoneCheck& zone);
