#include "tools/cli/JsonReport.h"

#include "common/StopSignals.h"
#include "device/DeviceTexts.h"
#include "device/Profile.h"
#include "tools/cli/Results.h"

#include <QJsonDocument>
#include <cmath>

namespace {

QJsonValue TextOrNull(const QString& text) {
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QJsonObject ConfirmedOfTotal(int confirmed, int total) {
    return {{QStringLiteral("confirmed"), confirmed}, {QStringLiteral("total"), total}};
}

} // namespace

JsonReport::JsonReport(const QString& command) {
    object_.insert(QStringLiteral("command"), command);
}

void JsonReport::Set(const QString& key, const QJsonValue& value) {
    object_.insert(key, value);
}

void JsonReport::SetError(const QString& text) {
    object_.insert(QStringLiteral("error"), text);
}

QByteArray JsonReport::Document(int status) const {
    QJsonObject object = object_;
    object.insert(QStringLiteral("status"), status);
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

QJsonArray DevicesJson(const std::vector<DeviceSummary>& devices) {
    QJsonArray array;
    for (const DeviceSummary& device : devices) {
        QJsonObject entry = device.Outcome.Facts;
        entry.insert(QStringLiteral("port"), TextOrNull(device.Port));
        entry.insert(QStringLiteral("firmware"), TextOrNull(device.Version));
        entry.insert(QStringLiteral("result"), device.Outcome.Result);
        entry.insert(QStringLiteral("status"), device.Outcome.Status);
        entry.insert(QStringLiteral("seconds"), std::round(device.Seconds * 1000.0) / 1000.0);
        const int signal = device.Outcome.StopSignal;
        entry.insert(QStringLiteral("stopped"),
                     signal != 0 ? QJsonValue(StopSignalName(signal)) : QJsonValue());
        array.append(entry);
    }
    return array;
}

QJsonArray PortsJson(const std::vector<PortDetails>& ports) {
    QJsonArray array;
    for (const PortDetails& port : ports) {
        array.append(QJsonObject{{QStringLiteral("path"), port.Path},
                                 {QStringLiteral("description"), TextOrNull(port.Description)},
                                 {QStringLiteral("manufacturer"), TextOrNull(port.Manufacturer)},
                                 {QStringLiteral("vendor_id"), TextOrNull(HexId(port.VendorId))},
                                 {QStringLiteral("product_id"), TextOrNull(HexId(port.ProductId))},
                                 {QStringLiteral("serial_number"), TextOrNull(port.SerialNumber)},
                                 {QStringLiteral("problem"), TextOrNull(port.Problem)}});
    }
    return array;
}

QJsonArray CountiesJson(const std::vector<CountyListing>& counties) {
    QJsonArray array;
    for (const CountyListing& county : counties) {
        array.append(QJsonObject{{QStringLiteral("index"), county.County},
                                 {QStringLiteral("province"), county.ProvinceName},
                                 {QStringLiteral("city"), county.CityName},
                                 {QStringLiteral("county"), county.CountyName},
                                 {QStringLiteral("longitude"), county.Longitude},
                                 {QStringLiteral("latitude"), county.Latitude},
                                 {QStringLiteral("approximate"), county.Approximate}});
    }
    return array;
}

QJsonObject UploadJson(const UploadResult& result) {
    QJsonArray unconfirmed;
    for (const UnconfirmedBlock& block : result.Unconfirmed) {
        unconfirmed.append(
            QJsonObject{{QStringLiteral("address"), BlockAddressText(block.Address)},
                        {QStringLiteral("reason"), BlockOutcomeText(block.Outcome)}});
    }
    return {{QStringLiteral("blocks"), ConfirmedOfTotal(result.BlocksConfirmed, UploadBlockCount)},
            {QStringLiteral("unconfirmed"), unconfirmed},
            {QStringLiteral("incomplete"), result.Interrupted()}};
}

QJsonObject UpgradeJson(const UpgradeResult& result) {
    return {{QStringLiteral("pages"), ConfirmedOfTotal(result.PagesConfirmed, FirmwarePageCount)},
            {QStringLiteral("completed"), result.Completed},
            {QStringLiteral("link_lost"), result.LinkLost},
            {QStringLiteral("upgrade_stage"), result.InUpgradeStage}};
}

QJsonObject SettingsJson(const StoredSettings& stored) {
    QJsonArray years;
    for (const int year : stored.TimetableYears) {
        years.append(year);
    }
    QJsonObject settings = {{QStringLiteral("province"), stored.ProvinceIndex},
                            {QStringLiteral("timetable_years"), years},
                            {QStringLiteral("display_glyphs"), DisplayGlyphsText(stored)}};
    for (const ProfileEntry& entry : ProfileEntries(stored.Fields, stored.CountyIndex)) {
        settings.insert(entry.Section + u'.' + entry.Key, entry.Value);
    }
    return {{QStringLiteral("settings"), settings}};
}
