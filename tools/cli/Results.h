#pragma once

#include "device/Upgrade.h"
#include "device/Upload.h"

#include <QString>

// The last line of an apply: "N of 316 blocks confirmed" and, when not all were, each
// unconfirmed block's device address with what went wrong, neighbours alike taken as a range.
QString UploadResultText(const UploadResult& result);

// The last line of an upgrade: "N of 256 pages confirmed, Finished" (or Failed, or the lost
// connection's "Failed: ...", as the window's status bar ends).
QString UpgradeResultText(const UpgradeResult& result);
