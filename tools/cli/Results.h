#pragma once

#include "device/SettingsBlock.h"
#include "device/Upgrade.h"
#include "device/Upload.h"

#include <QString>

// What went wrong with a block, in the words of the result line: "echo differs", "no reply", ...
QString BlockOutcomeText(BlockOutcome outcome);

// The codes of the county's display name, in hexadecimal: "0A 1B ...".
QString DisplayGlyphsText(const StoredSettings& stored);

// What an apply cut short by a stop or a lost line leaves in the device, with the remedy: "149
// of 316 blocks confirmed; the configuration is incomplete: run apply again".
QString IncompleteApplyText(int confirmed);

// What an upgrade cut short by a stop or a lost line leaves in the device, with the remedy.
QString UpgradeStageLeftText(int pagesConfirmed);

// The last line of an apply: "N of 316 blocks confirmed" (cut short: IncompleteApplyText) and,
// when not all were, each unconfirmed block's device address with what went wrong, neighbours
// alike taken as a range.
QString UploadResultText(const UploadResult& result);

// The last line of an upgrade: "N of 256 pages confirmed, Finished" (or Failed, or the lost
// connection's "Failed: ...", as the window's status bar ends); cut short with the device in its
// upgrade stage, followed by what that leaves and the remedy.
QString UpgradeResultText(const UpgradeResult& result);

// The result of a device the program was asked to stop before its command sent anything: "stopped
// by SIGTERM before the device was changed".
QString StoppedBeforeCommandText(int signal);

// set-clock asked to stop before the clock frame left.
QString ClockNotSetStoppedText();
