#include "tools/cli/CountyNames.h"

#include "common/CommandLine.h"
#include "common/ShownText.h"
#include "common/TextFiles.h"
#include "common/UserError.h"
#include "location/CityDatabase.h"
#include "location/LocationSelection.h"
#include "location/StartFolder.h"

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

QString NoCountyText(const QString& text) {
    return QStringLiteral("no county, city or province name contains '%1'").arg(ShownValue(text));
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

QString ApproximateCoordinatesText(int countyIndex) {
    return QStringLiteral("county %1 has approximate coordinates: the centre of the county, not "
                          "its seat; times may differ by a minute or two")
        .arg(countyIndex);
}

int CountyOfValue(const QString& startFolder, const QString& value, Console& console) {
    if (const std::optional<int> index = WholeNumberOf(value)) {
        return *index;
    }
    if (value.trimmed().isEmpty()) {
        throw UserError(QStringLiteral("--county needs a county's index or name"));
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
        throw UserError(NoCountyText(value) + QStringLiteral("; see 'muezzin-cli counties'"));
    }
    QString text = QStringLiteral("'%1' may mean %2 counties; give one's index with --county:")
                       .arg(ShownValue(value))
                       .arg(found.size());
    for (const CountyListing& county : found) {
        text += u'\n' + CountyLine(county);
    }
    throw UserError(text);
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
