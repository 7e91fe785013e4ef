#include "tools/cli/JsonReport.h"

#include "common/StopSignals.h"
#include "common/Translation.h"
#include "device/DeviceTexts.h"
#include "device/Profile.h"
#include "tools/cli/Results.h"

#include <QJsonDocument>
#include <cmath>

namespace {

QJsonObject ConfirmedOfTotal(int confirmed, int total) {
    return {{QStringLiteral("confirmed"), confirmed}, {QStringLiteral("total"), total}};
}

QJsonValue ProblemOrNull(const Problem& problem) {
    return problem.IsEmpty() ? QJsonValue()
                             : QJsonValue(ProblemJson(problem, CommandLineWording()));
}

// A setting's value as its field holds it: a number, a coordinate in degrees, a flag.
QJsonValue TypedValue(const ProfileEntry& entry) {
    const QString key = entry.Section + u'.' + entry.Key;
    for (const SettingsField& field : SettingsFieldTable) {
        if (!field.ProfileKey || key != QLatin1String(field.ProfileKey)) {
            continue;
        }
        if (field.Kind == FieldKind::Flag) {
            return entry.Value == QStringLiteral("true");
        }
        bool ok = false;
        const double number = entry.Value.toDouble(&ok);
        return ok ? QJsonValue(number) : QJsonValue(entry.Value);
    }
    return entry.Value;
}

} // namespace

JsonReport::JsonReport(const QString& command) {
    object_.insert(QStringLiteral("command"), TextOrNull(command));
}

void JsonReport::Set(const QString& key, const QJsonValue& value) {
    const std::lock_guard lock(mutex_);
    object_.insert(key, value);
}

void JsonReport::SetProblem(const Problem& problem, Setting setting) {
    const std::lock_guard lock(mutex_);
    if (!problem.IsEmpty() &&
        (setting == Replace || !object_.contains(QStringLiteral("problem")))) {
        object_.insert(QStringLiteral("problem"), ProblemOrNull(problem));
    }
}

bool JsonReport::HasProblem() const {
    const std::lock_guard lock(mutex_);
    return object_.contains(QStringLiteral("problem"));
}

void JsonReport::AddWarning(const Problem& problem) {
    const std::lock_guard lock(mutex_);
    warnings_.append(ProblemJson(problem, CommandLineWording()));
}

QByteArray JsonReport::Document(int status) const {
    const std::lock_guard lock(mutex_);
    QJsonObject object = object_;
    object.insert(QStringLiteral("status"), status);
    QJsonArray warnings = warnings_;
    // A problem said on the way of a run that succeeded all the same (a device greeted in its
    // upgrade stage after the search found none) did not end it.
    if (status == 0 && object.value(QStringLiteral("problem")).isObject()) {
        warnings.append(object.value(QStringLiteral("problem")));
        object.remove(QStringLiteral("problem"));
    }
    if (!object.contains(QStringLiteral("problem"))) {
        object.insert(QStringLiteral("problem"), QJsonValue());
    }
    object.insert(QStringLiteral("warnings"), warnings);
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
        entry.insert(QStringLiteral("problem"), ProblemOrNull(device.Outcome.Reported));
        const int signal = device.Outcome.StopSignal;
        entry.insert(QStringLiteral("stopped"),
                     signal != 0 ? QJsonValue(StopSignalName(signal)) : QJsonValue());
        array.append(entry);
    }
    return array;
}

QJsonArray PortsJson(const std::vector<PortDetails>& ports, const std::vector<Problem>& problems) {
    QJsonArray array;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const PortDetails& port = ports[i];
        array.append(
            QJsonObject{{QStringLiteral("path"), port.Path},
                        {QStringLiteral("description"), TextOrNull(port.Description)},
                        {QStringLiteral("manufacturer"), TextOrNull(port.Manufacturer)},
                        {QStringLiteral("vendor_id"), TextOrNull(HexId(port.VendorId))},
                        {QStringLiteral("product_id"), TextOrNull(HexId(port.ProductId))},
                        {QStringLiteral("serial_number"), TextOrNull(port.SerialNumber)},
                        {QStringLiteral("problem"),
                         i < problems.size() ? ProblemOrNull(problems[i]) : QJsonValue()}});
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
    QJsonArray glyphs;
    for (const std::uint8_t code : stored.GlyphCodes) {
        glyphs.append(code);
    }
    QJsonObject settings = {{QStringLiteral("province"), stored.ProvinceIndex},
                            {QStringLiteral("timetable_years"), years},
                            {QStringLiteral("display_glyphs"), glyphs}};
    for (const ProfileEntry& entry : ProfileEntries(stored.Fields, stored.CountyIndex)) {
        settings.insert(entry.Section + u'.' + entry.Key, TypedValue(entry));
    }
    return {{QStringLiteral("settings"), settings}};
}
