#pragma once

#include "location/CityDatabase.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// Builds the city database from the readable source it is kept in: a CSV file as Access export
// tools write it (a header line of column names, commas, text optionally in double quotes with
// "" for a quote, UTF-8 with or without BOM, CR LF or LF line ends). Extra columns are ignored
// and the columns may come in any order. The column Approximate (1 where the coordinates are the
// centre of the county's area, not its seat; 0 or empty otherwise) may be left out.
//
// The file is read as a stream, a line at a time (a line or a record of more than 64 KiB is
// refused), into a new database beside the target, which replaces the target only when every
// row has been checked and written; a refused or failed import leaves the target as it was and
// nothing beside it. A symbolic link to the database stays a link to the new one. A file
// without a county, and the database file itself as the CSV, are refused. Throws UserError
// naming the file, and for a bad value its line and column. Returns the number of rows
// imported.
//
// Each row's province index must be a line of the province list (provinceListPath; empty: the
// ostan.txt beside the database), each coordinate on the earth, each name not empty. A U+FEFF
// in a name is removed: it shows nothing, it is mostly a byte-order mark left over from files
// joined or text pasted, and it would keep the name from being found by what is typed.
int ImportCitiesCsv(const QString& csvPath, const QString& dbPath,
                    const QString& provinceListPath = {});

// The province list a CSV's rows are checked against: its path, for messages, and its lines.
struct ProvinceListSize {
    QString Path;
    qsizetype Lines = 0;
};

// Reads the CSV's bytes as the import does, handing each checked row to the sink; name stands
// for the file in messages. Returns the number of rows. Throws UserError.
int ParseCityCsv(QByteArrayView bytes, const QString& name, const ProvinceListSize& provinces,
                 const std::function<void(const CityRow&)>& sink);

// The CSV's records as the import splits them, the header line's first, each with the line it
// starts on: for tools that read columns the database does not keep. Throws UserError.
void ReadCsvRecords(QByteArrayView bytes, const QString& name,
                    const std::function<void(int line, const QStringList& fields)>& sink);

// The rows as a CSV file that the import takes back whole: a BOM, a header line, the names in
// double quotes, coordinates with every digit they hold, CR LF line ends.
QByteArray CityCsvText(const std::vector<CityRow>& rows);
