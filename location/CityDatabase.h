#pragma once

#include <QString>
#include <array>
#include <vector>

// The city database: SQLite file city.db in the start folder, table city with one row per
// county. The tool reads it only through three queries, one per location box.

inline const QString CityDatabaseFileName = QStringLiteral("city.db");

// The columns the queries read, in the order of CityRow.
namespace citycolumn {
constexpr const char* Province = "Parts1_index";
constexpr const char* City = "Parts2_index";
constexpr const char* County = "Parts3_index";
constexpr const char* CityName = "CountryParts2";
constexpr const char* CountyName = "CountryParts3";
constexpr const char* Longitude = "Longitude";
constexpr const char* Latitude = "Latitude";
constexpr std::array<const char*, 7> All = {Province,   City,      County,  CityName,
                                            CountyName, Longitude, Latitude};
// Not required: 1 where the coordinates are the centre of the county's area, not its seat. A
// database or CSV without it has no county marked.
constexpr const char* Approximate = "Approximate";
} // namespace citycolumn

// One row of table city.
struct CityRow {
    int Province = 0;   // Parts1_index: line of ostan.txt, from 1
    int City = 0;       // Parts2_index
    int County = 0;     // Parts3_index: identifies the row
    QString CityName;   // CountryParts2
    QString CountyName; // CountryParts3
    double Longitude = 0.0;
    double Latitude = 0.0;
    bool Approximate = false; // the point is the centre of the county's area, not its seat
};

class CityDatabase {
public:
    // Opens nothing yet: the file is checked on first use, so a missing database is reported
    // when the user first chooses, and a file put in place later is found.
    explicit CityDatabase(const QString& path);
    ~CityDatabase();
    CityDatabase(const CityDatabase&) = delete;
    CityDatabase& operator=(const CityDatabase&) = delete;

    static QString PathIn(const QString& startFolder) { return startFolder + CityDatabaseFileName; }

    const QString& Path() const { return path_; }

    // Opens the file read-only and checks that it holds table city with every column the
    // queries read. Does nothing when already open. Throws UserError naming the file.
    void Open();

    // Rows in database order. Each opens the file first if needed. Throw UserError.
    std::vector<CityRow> RowsOfProvince(int provinceIndex);
    std::vector<CityRow> RowsOfCity(int cityIndex);
    std::vector<CityRow> RowsOfCounty(int countyIndex);
    // Every county, for tools that work on the whole database.
    std::vector<CityRow> AllRows();

private:
    // Rows whose column holds index; every row when column is null.
    std::vector<CityRow> RowsWhere(const char* column, int index);
    void Close();

    QString path_;
    QString connectionName_;
    bool open_ = false;
    bool hasApproximate_ = false; // the table has the optional column
};
