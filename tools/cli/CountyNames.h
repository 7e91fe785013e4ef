#pragma once

#include <QString>
#include <QStringList>

// The command line's side of counties by name; each works on the start folder's ostan.txt and
// city database, and throws UserError when they cannot be read.

// Prints the counties whose names contain text (all when it is empty), one tab-separated line
// each: index, province, city, county, longitude, latitude. Returns the exit status: 0, or 1
// when none matches.
int PrintCounties(const QString& startFolder, const QString& text);

// The county a --county value means: an index as it stands, else the one county the name
// chooses. Throws UserError listing the candidates when the name chooses none or several.
int CountyOfValue(const QString& startFolder, const QString& value);

// " (province / city / county)" for a county the database has; empty when it lacks it or
// cannot be read, since the names only accompany the index.
QString CountyNamesSuffix(const QString& startFolder, int countyIndex);
