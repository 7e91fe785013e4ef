// The city CSV import: any bytes are imported or refused with a message; what is imported is a
// database the location boxes can use, one row per county, a province of the list, names not
// empty, coordinates in range.
#include "common/UserError.h"
#include "fuzz/FuzzTarget.h"
#include "location/CityImport.h"

#include <QSet>
#include <cmath>

namespace {
const ProvinceListSize Provinces{QStringLiteral("ostan.txt"), 31};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QSet<int> counties;
    int rows = 0;
    try {
        rows = ParseCityCsv(QByteArrayView(data, static_cast<qsizetype>(size)),
                            QStringLiteral("fuzz.csv"), Provinces, [&](const CityRow& row) {
                                Require(!counties.contains(row.County), "one row per county");
                                counties.insert(row.County);
                                Require(row.Province >= 1 && row.Province <= Provinces.Lines,
                                        "a province of the list");
                                Require(!row.CityName.trimmed().isEmpty() &&
                                            !row.CountyName.trimmed().isEmpty(),
                                        "names not empty");
                                Require(!row.CityName.contains(QChar(0xFEFF)) &&
                                            !row.CountyName.contains(QChar(0xFEFF)),
                                        "no U+FEFF in a name");
                                Require(std::abs(row.Longitude) <= 180.0, "longitude in range");
                                Require(std::abs(row.Latitude) <= 90.0, "latitude in range");
                            });
    } catch (const UserError& error) {
        Require(error.Text().startsWith(QStringLiteral("Cannot import fuzz.csv: ")),
                "a refusal names the file");
        return 0;
    }
    Require(rows > 0, "an import holds a county");
    Require(rows == counties.size(), "the count is that of the rows");
    return 0;
}
