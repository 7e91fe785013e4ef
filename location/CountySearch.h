#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class CityDatabase;

// Names as a person types them: Arabic and Farsi yeh and kaf are one letter each, alef with madda
// or hamza is alef, waw and yeh with hamza are waw and yeh, a hamza alone is left out, Persian
// and Arabic-Indic digits are Latin ones, blanks and the zero-width non-joiner are left out (one
// writes a compound name with a non-joiner, another with a blank) and Latin letters have no
// case. Two spellings of one name fold alike.
QString FoldedName(const QString& name);

// The text with its Persian and Arabic-Indic digits as Latin ones ("۳۷" is "37").
QString WithLatinDigits(const QString& text);

// One county with the names of its province, city and county.
struct CountyListing {
    int County = 0;       // Parts3_index
    QString ProvinceName; // the province's line of ostan.txt; empty when the list lacks it
    QString CityName;
    QString CountyName;
    double Longitude = 0.0;
    double Latitude = 0.0;
    bool Approximate = false; // the point is the centre of the county's area, not its seat
};

// The counties, in database order, whose county, city or province name contains text once both
// are folded; every county when text is empty. provinces are the lines of ostan.txt. Throws
// UserError when the database cannot be read.
std::vector<CountyListing> CountiesMatching(CityDatabase& db, const QStringList& provinces,
                                            const QString& text);

// The counties a name may mean: those whose own name is the name, folded; when there is none,
// every county that CountiesMatching finds. One entry means the name chose its county.
std::vector<CountyListing> CountiesNamed(CityDatabase& db, const QStringList& provinces,
                                         const QString& name);

// The county with the index, when the database has it.
std::optional<CountyListing> CountyByIndex(CityDatabase& db, const QStringList& provinces,
                                           int countyIndex);
