#include "location/LocationSelection.h"

#include "common/ShownText.h"
#include "common/UserError.h"
#include "location/CityDatabase.h"

#include <QSet>
#include <algorithm>

namespace {

bool IsItem(const std::vector<int>& list, int comboIndex) {
    return comboIndex >= 0 && static_cast<std::size_t>(comboIndex) < list.size();
}

QString TimetableFolderOf(const LocationSelection& selection, const QString& startFolder) {
    return startFolder + QStringLiteral("data/%1/%2/%3/")
                             .arg(selection.ProvinceIndex)
                             .arg(selection.CityIndex)
                             .arg(selection.CountyIndex);
}

// The database and the province list disagree about the county: it cannot be chosen.
Problem Inconsistent(int countyIndex, const QString& form) {
    return Problem(QStringLiteral("county-inconsistent"), form)
        .Set(QStringLiteral("county"), countyIndex);
}

int ItemOf(const std::vector<int>& list, int index) {
    const auto found = std::find(list.begin(), list.end(), index);
    return found == list.end() ? -1 : static_cast<int>(found - list.begin());
}

} // namespace

// Single precision first, so that the text matches the device's own rounding of the value.
QString CoordinateText(double degrees) {
    return QString::number(static_cast<double>(static_cast<float>(degrees)), 'f', 2);
}

QStringList ChooseProvince(LocationSelection& selection, CityDatabase& db, int comboIndex) {
    selection.ProvinceIndex = comboIndex + 1;
    const std::vector<CityRow> rows = db.RowsOfProvince(selection.ProvinceIndex);
    QStringList names;
    std::vector<int> indexes;
    QSet<QString> listed;
    for (const CityRow& row : rows) {
        if (listed.contains(row.CityName)) {
            continue;
        }
        listed.insert(row.CityName);
        names.append(row.CityName);
        indexes.push_back(row.City);
    }
    selection.CityIndexList = std::move(indexes);
    return names;
}

std::optional<QStringList> ChooseCity(LocationSelection& selection, CityDatabase& db,
                                      int comboIndex) {
    if (!IsItem(selection.CityIndexList, comboIndex)) {
        return std::nullopt;
    }
    selection.CityIndex = selection.CityIndexList[static_cast<std::size_t>(comboIndex)];
    const std::vector<CityRow> rows = db.RowsOfCity(selection.CityIndex);
    QStringList names;
    std::vector<int> indexes;
    for (const CityRow& row : rows) {
        names.append(row.CountyName);
        indexes.push_back(row.County);
    }
    selection.CountyIndexList = std::move(indexes);
    return names;
}

std::optional<CountyChoice> ChooseCounty(LocationSelection& selection, CityDatabase& db,
                                         int comboIndex, const QString& startFolder) {
    if (!IsItem(selection.CountyIndexList, comboIndex)) {
        return std::nullopt;
    }
    selection.CountyIndex = selection.CountyIndexList[static_cast<std::size_t>(comboIndex)];
    const std::vector<CityRow> rows = db.RowsOfCounty(selection.CountyIndex);
    const CityRow row = rows.empty() ? CityRow{} : rows.front();
    CountyChoice choice;
    choice.CountyIndexText = QString::number(selection.CountyIndex);
    choice.LongitudeText = CoordinateText(row.Longitude);
    choice.LatitudeText = CoordinateText(row.Latitude);
    choice.CountyName = row.CountyName;
    choice.Approximate = row.Approximate;
    selection.GlyphCodes = EncodeCountyName(row.CountyName);
    selection.TimetableFolder = TimetableFolderOf(selection, startFolder);
    selection.Latitude = row.Latitude;
    selection.Longitude = row.Longitude;
    return choice;
}

CountySelection SelectCountyByIndex(LocationSelection& selection, CityDatabase& db, int countyIndex,
                                    const QString& startFolder, const QStringList& provinces) {
    const std::vector<CityRow> rows = db.RowsOfCounty(countyIndex);
    if (rows.empty()) {
        throw UserError(Problem(QStringLiteral("no-such-county"), QStringLiteral("index"))
                            .Set(QStringLiteral("county"), countyIndex)
                            .Set(QStringLiteral("database"), db.Path()));
    }
    const CityRow& county = rows.front();
    CountySelection result;
    result.ProvinceItem = county.Province - 1;
    if (result.ProvinceItem < 0 || result.ProvinceItem >= provinces.size()) {
        throw UserError(Inconsistent(countyIndex, QStringLiteral("province-missing"))
                            .Set(QStringLiteral("province"), county.Province)
                            .Set(QStringLiteral("lines"), static_cast<qint64>(provinces.size())));
    }
    result.ProvinceName = provinces.at(result.ProvinceItem);

    // Work on a copy, so that a refusal half-way leaves the caller's selection whole.
    LocationSelection work = selection;
    result.CityNames = ChooseProvince(work, db, result.ProvinceItem);
    result.CityItem = ItemOf(work.CityIndexList, county.City);
    if (result.CityItem < 0) {
        const auto sameName = result.CityNames.indexOf(county.CityName);
        throw UserError(
            Inconsistent(countyIndex, QStringLiteral("city-name-shared"))
                .Set(QStringLiteral("city_name"), ShownValue(county.CityName))
                .Set(QStringLiteral("city"), county.City)
                .Set(QStringLiteral("other_city"),
                     sameName >= 0 ? work.CityIndexList[static_cast<std::size_t>(sameName)] : 0)
                .Set(QStringLiteral("province"), county.Province));
    }
    result.CountyNames = ChooseCity(work, db, result.CityItem).value_or(QStringList());
    result.CountyItem = ItemOf(work.CountyIndexList, countyIndex);
    if (result.CountyItem < 0) {
        throw UserError(Inconsistent(countyIndex, QStringLiteral("not-in-city"))
                            .Set(QStringLiteral("city"), county.City)
                            .Set(QStringLiteral("database"), db.Path()));
    }
    result.Choice = ChooseCounty(work, db, result.CountyItem, startFolder).value_or(CountyChoice{});
    selection = std::move(work);
    return result;
}
