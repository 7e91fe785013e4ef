#pragma once

#include "comm/PortInfo.h"
#include "device/SettingsBlock.h"
#include "device/Upgrade.h"
#include "device/Upload.h"
#include "location/CountySearch.h"
#include "tools/cli/Devices.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <vector>

// --format json: one document on standard output when the command ends, for scripts. It holds
// the command, its exit status, what it found (ports, counties, devices) and, when it was
// refused, why:
//   {"command": "apply", "status": 0, "devices": [{"port": ..., "firmware": ..., ...}]}
class JsonReport {
public:
    explicit JsonReport(const QString& command);

    // The command's findings under their name ("ports", "counties", "devices").
    void Set(const QString& key, const QJsonValue& value);
    // What ended the command before it came to a result.
    void SetError(const QString& text);
    // The whole document, with the exit status, and a line break after it.
    QByteArray Document(int status) const;

private:
    QJsonObject object_;
};

// Each device's entry: port, firmware version, result, exit status, seconds taken, the stop
// signal that cut it short (null when none did) and the facts its job added (blocks or pages
// confirmed of their total, the unconfirmed addresses and why, the settings read).
QJsonArray DevicesJson(const std::vector<DeviceSummary>& devices);

// Each port with what the system knows of it.
QJsonArray PortsJson(const std::vector<PortDetails>& ports);

// Each county with its names and coordinates.
QJsonArray CountiesJson(const std::vector<CountyListing>& counties);

// The blocks of an apply: {"blocks": {"confirmed", "total"}, "unconfirmed": [{"address",
// "reason"}], "incomplete"}, one entry per block not confirmed, in device order; incomplete
// when a stop or a lost line cut the run short and the same apply again completes it.
QJsonObject UploadJson(const UploadResult& result);

// The pages of an upgrade: {"pages": {"confirmed", "total"}, "completed", "link_lost",
// "upgrade_stage"}, the last when the device is left waiting in its upgrade stage.
QJsonObject UpgradeJson(const UpgradeResult& result);

// The settings a device holds, under the names read-settings prints them by.
QJsonObject SettingsJson(const StoredSettings& stored);
