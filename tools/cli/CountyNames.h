#pragma once

#include "location/CountySearch.h"
#include "tools/cli/Console.h"

#include <QString>
#include <QStringList>
#include <vector>

// The command line's side of counties by name; each works on the start folder's ostan.txt and
// city database, and throws UserError when they cannot be read.

// The counties whose names contain text (all when it is empty), in database order.
std::vector<CountyListing> CountiesContaining(const QString& startFolder, const QString& text);

// "no county, city or province name contains '...'" (no-such-county), the text shown as a value;
// form "name" for a --county value, "listing" for a listing.
Problem NoCountyProblem(const QString& text, const QString& form);

// A county's line of a listing: index, province, city, county, longitude, latitude, separated
// by tabs, and ApproximateMark in a seventh column when the point is the county's centre.
QString CountyLine(const CountyListing& county);
inline const QString ApproximateMark = QStringLiteral("approximate");

// Said once when a county with approximate coordinates is chosen for a device (a warning,
// approximate-coordinates).
Problem ApproximateCoordinates(int countyIndex);

// The county a --county value means: an index as it stands (in Latin, Persian or Arabic-Indic
// digits), else the one county the name chooses, which is noted on the console. Throws UserError
// (no-such-county, or ambiguous-county with the candidates) when the name chooses none or
// several.
int CountyOfValue(const QString& startFolder, const QString& value, Console& console);

// " (province / city / county)" for a county the database has; empty when it lacks it or
// cannot be read, since the names only accompany the index.
QString CountyNamesSuffix(const QString& startFolder, int countyIndex);
