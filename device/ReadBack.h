#pragma once

#include "comm/CommLink.h"
#include "device/SettingsBlock.h"

#include <optional>

// Asks the device for its stored settings block; nothing unless the whole reply arrived.
std::optional<SettingsBlock> ReadStoredSettings(CommLink& link);

// A block of all 0xFF: the device's memory is erased, it was never configured. Such a block
// holds no settings, and a profile made from it would be refused.
bool HoldsNoSettings(const SettingsBlock& block);

// The settings block of the reply in RxBuffer: a reply of the whole length counts, whatever its
// header holds.
std::optional<SettingsBlock> SettingsOfReply(const CommLink& link);
