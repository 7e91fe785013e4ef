#pragma once

#include <QString>

// Builds the city database from the readable source it is kept in: a CSV file as Access export
// tools write it (a header line of column names, commas, text optionally in double quotes with
// "" for a quote, UTF-8 with or without BOM, CR LF or LF line ends). Extra columns are ignored
// and the columns may come in any order.
//
// The whole file is checked before anything is written, and the database is built beside the
// target and renamed over it only when complete, so a refused or failed import leaves the
// target as it was. Throws UserError naming the file, and for a bad value its line and column.
// Returns the number of rows imported.
int ImportCitiesCsv(const QString& csvPath, const QString& dbPath);
