#include "tools/cli/CountyNames.h"

#include "common/CommandLine.h"
#include "common/ShownText.h"
#include "common/TextFiles.h"
#include "common/UserError.h"
#include "location/CityDatabase.h"
#include "location/LocationSelection.h"
#include "location/StartFolder.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

QStringList Provinces(const QString& startFolder) {
    return ReadLines1256(startFolder + ProvinceFileName);
}

} // namespace

std::vector<CountyListing> CountiesContaining(const QString& startFolder, const QString& text) {
    const QStringList provinces = Provinces(startFolder);
    CityDatabase db(CityDatabase::PathIn(startFolder));
    return CountiesMatching(db, provinces, text);
}

Problem NoCountyProblem(const QString& text, const QString& form) {
    return Problem(QStringLiteral("no-such-county"), form)
        .Set(QStringLiteral("name"), ShownValue(text));
}

QString CountyLine(const CountyListing& county) {
    QStringList columns{QString::number(county.County),
                        county.ProvinceName,
                        county.CityName,
                        county.CountyName,
                        CoordinateText(county.Longitude),
                        CoordinateText(county.Latitude)};
    if (county.Approximate) {
        columns.append(ApproximateMark);
    }
    return columns.join(u'\t');
}

Problem ApproximateCoordinates(int countyIndex) {
    return Problem(QStringLiteral("approximate-coordinates"))
        .Set(QStringLiteral("county"), countyIndex);
}

int CountyOfValue(const QString& startFolder, const QString& value, Console& console) {
    if (const std::optional<int> index = WholeNumberOf(value)) {
        return *index;
    }
    if (value.trimmed().isEmpty()) {
        throw UserError(Problem(QStringLiteral("usage"), QStringLiteral("county-empty")));
    }
    const QStringList provinces = Provinces(startFolder);
    CityDatabase db(CityDatabase::PathIn(startFolder));
    const std::vector<CountyListing> found = CountiesNamed(db, provinces, value);
    if (found.size() == 1) {
        // A part of a name may choose a county the user did not think of: say which it is.
        const CountyListing& county = found.front();
        console.Note(
            ToolMessage(QStringLiteral("county %1: %2 / %3 / %4")
                            .arg(county.County)
                            .arg(county.ProvinceName, county.CityName, county.CountyName)));
        return county.County;
    }
    if (found.empty()) {
        throw UserError(NoCountyProblem(value, QStringLiteral("name")));
    }
    QJsonArray candidates;
    for (const CountyListing& county : found) {
        candidates.append(QJsonObject{{QStringLiteral("index"), county.County},
                                      {QStringLiteral("province"), county.ProvinceName},
                                      {QStringLiteral("city"), county.CityName},
                                      {QStringLiteral("county"), county.CountyName},
                                      {QStringLiteral("longitude"), county.Longitude},
                                      {QStringLiteral("latitude"), county.Latitude}});
    }
    throw UserError(Problem(QStringLiteral("ambiguous-county"))
                        .Set(QStringLiteral("name"), ShownValue(value))
                        .Set(QStringLiteral("count"), static_cast<qint64>(found.size()))
                        .Set(QStringLiteral("candidates"), candidates));
}

QString CountyNamesSuffix(const QString& startFolder, int countyIndex) {
    try {
        const QStringList provinces = Provinces(startFolder);
        CityDatabase db(CityDatabase::PathIn(startFolder));
        const auto county = CountyByIndex(db, provinces, countyIndex);
        if (!county) {
            return {};
        }
        return QStringLiteral(" (%1 / %2 / %3)")
            .arg(county->ProvinceName, county->CityName, county->CountyName);
    } catch (const UserError&) {
        return {};
    }
}
