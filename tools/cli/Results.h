#pragma once

#include "device/SettingsBlock.h"
#include "device/Upgrade.h"
#include "device/Upload.h"

#include <QString>

// What went wrong with a block, in the words of the result line: "echo differs", "no reply", ...
QString BlockOutcomeText(BlockOutcome outcome);

// The codes of the county's display name, in hexadecimal: "0A 1B ...".
QString DisplayGlyphsText(const StoredSettings& stored);

// The last line of an apply: "N of 316 blocks confirmed" and, when not all were, each
// unconfirmed block's device address with what went wrong, neighbours alike taken as a range.
QString UploadResultText(const UploadResult& result);

// The last line of an upgrade: "N of 256 pages confirmed, Finished" (or Failed, or the lost
// connection's "Failed: ...", as the window's status bar ends).
QString UpgradeResultText(const UpgradeResult& result);
