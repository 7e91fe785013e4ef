// The city CSV import: any bytes are imported or refused with a message; what is imported is a
// database the location boxes can use, one row per county, coordinates in range.
#include "common/UserError.h"
#include "fuzz/FuzzTarget.h"
#include "location/CityImport.h"

#include <QSet>
#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QSet<int> counties;
    int rows = 0;
    try {
        rows = ParseCityCsv(QByteArrayView(data, static_cast<qsizetype>(size)),
                            QStringLiteral("fuzz.csv"), [&](const CityRow& row) {
                                Require(!counties.contains(row.County), "one row per county");
                                counties.insert(row.County);
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
