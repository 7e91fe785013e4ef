#include "location/CityImport.h"

#include "location/CityDatabase.h"
#include "location/TextFiles.h"
#include "location/UserError.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QStringList>
#include <QTemporaryFile>
#include <QVariant>
#include <cmath>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

struct CsvRecord {
    int Line = 0; // where the record starts, from 1
    QStringList Fields;
};

QString Refusal(const QString& csvPath, const QString& what) {
    return QStringLiteral("Cannot import %1: %2").arg(csvPath, what);
}

QString AtLine(const QString& csvPath, int line, const QString& what) {
    return Refusal(csvPath, QStringLiteral("line %1: %2").arg(line).arg(what));
}

// The first line that is not UTF-8. Bytes of a multi-byte sequence are never 0x0A, so the
// file can be split at line feeds before decoding.
int FirstBadUtf8Line(const QByteArray& bytes) {
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = decoder.decode(lines.at(i)); // decodes only when converted
        if (decoder.hasError()) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

QString DecodeUtf8(const QByteArray& bytes, const QString& csvPath) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        throw UserError(
            AtLine(csvPath, FirstBadUtf8Line(bytes), QStringLiteral("the text is not UTF-8")));
    }
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    return text;
}

// Splits the text into records. A quoted field may hold commas, line breaks and "" for a
// quote. Blank lines between records are skipped.
std::vector<CsvRecord> ParseCsv(const QString& text, const QString& csvPath) {
    std::vector<CsvRecord> records;
    CsvRecord record;
    QString field;
    bool quoted = false;     // inside a quoted field
    bool wasQuoted = false;  // the current field was quoted (it is not blank then)
    bool recordOpen = false; // something of the current record has been read
    int line = 1;
    int quoteLine = 0;

    auto endField = [&] {
        record.Fields.append(field);
        field.clear();
        wasQuoted = false;
    };
    auto endRecord = [&] {
        if (recordOpen) {
            endField();
            records.push_back(std::move(record));
        }
        record = CsvRecord{};
        recordOpen = false;
    };

    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!recordOpen) {
            record.Line = line;
        }
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    field.append(u'"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n') {
                    ++line;
                }
                field.append(c);
            }
            continue;
        }
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            continue; // the line feed ends the record
        }
        if (c == u'\n') {
            endRecord();
            ++line;
        } else if (c == u',') {
            recordOpen = true;
            endField();
        } else if (c == u'"' && field.isEmpty() && !wasQuoted) {
            recordOpen = true;
            quoted = true;
            wasQuoted = true;
            quoteLine = line;
        } else if (c == u'"') {
            throw UserError(AtLine(csvPath, line,
                                   QStringLiteral("a double quote inside a field that is not "
                                                  "in quotes")));
        } else if (wasQuoted) {
            throw UserError(AtLine(csvPath, line,
                                   QStringLiteral("text after the closing double quote of a "
                                                  "field")));
        } else {
            recordOpen = true;
            field.append(c);
        }
    }
    if (quoted) {
        throw UserError(AtLine(csvPath, quoteLine,
                               QStringLiteral("a double quote opens a field that never closes")));
    }
    endRecord();
    return records;
}

// Where each column the database needs stands in the header.
std::vector<qsizetype> ColumnPositions(const CsvRecord& header, const QString& csvPath) {
    std::vector<qsizetype> positions;
    QStringList missing;
    for (const char* column : citycolumn::All) {
        const QString name = QString::fromLatin1(column);
        qsizetype found = -1;
        for (qsizetype i = 0; i < header.Fields.size(); ++i) {
            if (header.Fields.at(i).trimmed().compare(name, Qt::CaseInsensitive) != 0) {
                continue;
            }
            if (found >= 0) {
                throw UserError(AtLine(csvPath, header.Line,
                                       QStringLiteral("the column %1 appears twice").arg(name)));
            }
            found = i;
        }
        if (found < 0) {
            missing.append(name);
        }
        positions.push_back(found);
    }
    if (!missing.isEmpty()) {
        throw UserError(AtLine(
            csvPath, header.Line,
            QStringLiteral("the header has no column %1").arg(missing.join(QStringLiteral(", ")))));
    }
    return positions;
}

QString BadValue(const QString& csvPath, int line, const char* column, const QString& value,
                 const QString& what) {
    return AtLine(
        csvPath, line,
        QStringLiteral("column %1 holds \"%2\", %3").arg(QString::fromLatin1(column), value, what));
}

int WholeNumber(const QString& text, int line, const char* column, const QString& csvPath) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok) {
        throw UserError(
            BadValue(csvPath, line, column, text, QStringLiteral("which is not a whole number")));
    }
    return value;
}

double Coordinate(const QString& text, int line, const char* column, double limit,
                  const QString& csvPath) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        throw UserError(
            BadValue(csvPath, line, column, text, QStringLiteral("which is not a number")));
    }
    if (std::abs(value) > limit) {
        throw UserError(BadValue(csvPath, line, column, text,
                                 QStringLiteral("which is beyond %1 degrees").arg(limit)));
    }
    return value;
}

std::vector<CityRow> RowsOf(const std::vector<CsvRecord>& records, const QString& csvPath) {
    if (records.empty()) {
        throw UserError(Refusal(csvPath, QStringLiteral("the file is empty")));
    }
    const CsvRecord& header = records.front();
    const std::vector<qsizetype> at = ColumnPositions(header, csvPath);
    std::vector<CityRow> rows;
    QHash<int, int> countyLines; // Parts3_index -> line
    for (std::size_t r = 1; r < records.size(); ++r) {
        const CsvRecord& record = records[r];
        if (record.Fields.size() != header.Fields.size()) {
            throw UserError(AtLine(csvPath, record.Line,
                                   QStringLiteral("%1 fields where the header has %2")
                                       .arg(record.Fields.size())
                                       .arg(header.Fields.size())));
        }
        const auto text = [&](std::size_t column) { return record.Fields.at(at[column]); };
        CityRow row;
        row.Province = WholeNumber(text(0), record.Line, citycolumn::Province, csvPath);
        row.City = WholeNumber(text(1), record.Line, citycolumn::City, csvPath);
        row.County = WholeNumber(text(2), record.Line, citycolumn::County, csvPath);
        row.CityName = text(3);
        row.CountyName = text(4);
        row.Longitude = Coordinate(text(5), record.Line, citycolumn::Longitude, 180.0, csvPath);
        row.Latitude = Coordinate(text(6), record.Line, citycolumn::Latitude, 90.0, csvPath);
        // The county query takes the first row of an index; a second could never be chosen.
        const auto earlier = countyLines.constFind(row.County);
        if (earlier != countyLines.constEnd()) {
            throw UserError(AtLine(csvPath, record.Line,
                                   QStringLiteral("column %1 holds %2, which line %3 already uses")
                                       .arg(QString::fromLatin1(citycolumn::County))
                                       .arg(row.County)
                                       .arg(earlier.value())));
        }
        countyLines.insert(row.County, record.Line);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<CityRow> ReadCsv(const QString& csvPath) {
    QFile file(csvPath);
    if (!file.open(QIODevice::ReadOnly)) {
        throw UserError(CannotOpenText(csvPath));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw UserError(QStringLiteral("Cannot read file %1: %2").arg(csvPath, file.errorString()));
    }
    return RowsOf(ParseCsv(DecodeUtf8(bytes, csvPath), csvPath), csvPath);
}

// Removes the connection when done, after every handle on it has gone.
class ScopedConnection {
public:
    explicit ScopedConnection(QString name) : name_(std::move(name)) {}
    ~ScopedConnection() { QSqlDatabase::removeDatabase(name_); }
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;
    const QString& Name() const { return name_; }

private:
    QString name_;
};

QString CannotWrite(const QString& dbPath, const QString& why) {
    return QStringLiteral("Cannot write %1: %2").arg(dbPath, why);
}

// An empty field is empty text, not NULL, which the driver would make of a null QString.
QString Text(const QString& field) {
    return field.isNull() ? QString("") : field;
}

void Run(QSqlQuery& query, const QString& statement, const QString& dbPath) {
    if (!query.exec(statement)) {
        throw UserError(CannotWrite(dbPath, query.lastError().text()));
    }
}

void WriteTable(QSqlDatabase& db, const std::vector<CityRow>& rows, const QString& dbPath) {
    QSqlQuery query(db);
    Run(query, QStringLiteral("BEGIN"), dbPath);
    Run(query,
        QStringLiteral("CREATE TABLE city (Parts1_index INTEGER NOT NULL, "
                       "Parts2_index INTEGER NOT NULL, Parts3_index INTEGER NOT NULL, "
                       "CountryParts2 TEXT NOT NULL, CountryParts3 TEXT NOT NULL, "
                       "Longitude REAL NOT NULL, Latitude REAL NOT NULL)"),
        dbPath);
    // One index for each query of the location boxes.
    Run(query, QStringLiteral("CREATE INDEX city_province ON city (Parts1_index)"), dbPath);
    Run(query, QStringLiteral("CREATE INDEX city_city ON city (Parts2_index)"), dbPath);
    Run(query, QStringLiteral("CREATE UNIQUE INDEX city_county ON city (Parts3_index)"), dbPath);
    if (!query.prepare(QStringLiteral("INSERT INTO city VALUES (?, ?, ?, ?, ?, ?, ?)"))) {
        throw UserError(CannotWrite(dbPath, query.lastError().text()));
    }
    for (const CityRow& row : rows) {
        query.addBindValue(row.Province);
        query.addBindValue(row.City);
        query.addBindValue(row.County);
        query.addBindValue(Text(row.CityName));
        query.addBindValue(Text(row.CountyName));
        query.addBindValue(row.Longitude);
        query.addBindValue(row.Latitude);
        if (!query.exec()) {
            throw UserError(CannotWrite(dbPath, query.lastError().text()));
        }
    }
    Run(query, QStringLiteral("COMMIT"), dbPath);
}

// Builds the table in a new, empty file. A failure rolls the transaction back when the
// connection closes.
void WriteDatabase(const QString& path, const std::vector<CityRow>& rows, const QString& dbPath) {
    const ScopedConnection connection(QStringLiteral("city-import-") + path);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection.Name());
    db.setDatabaseName(path);
    if (!db.open()) {
        throw UserError(CannotWrite(dbPath, db.lastError().text()));
    }
    WriteTable(db, rows, dbPath);
    db.close();
}

} // namespace

int ImportCitiesCsv(const QString& csvPath, const QString& dbPath) {
    const std::vector<CityRow> rows = ReadCsv(csvPath);

    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        throw UserError(
            CannotWrite(dbPath, QStringLiteral("the SQLite driver of Qt is not installed "
                                               "(Debian: libqt6sql6-sqlite)")));
    }
    const QFileInfo target(dbPath);
    QTemporaryFile temporary(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                             QStringLiteral(".XXXXXX"));
    if (!temporary.open()) {
        throw UserError(
            CannotWrite(dbPath, QStringLiteral("cannot create a file in %1 (%2)")
                                    .arg(target.absolutePath(), temporary.errorString())));
    }
    temporary.close(); // SQLite opens it by name; an empty file is an empty database
    const QString temporaryPath = temporary.fileName();
    WriteDatabase(temporaryPath, rows, dbPath);
    // A temporary file is private to its owner; the database keeps the rights of the file it
    // replaces, or those of an ordinary file.
    QFile::setPermissions(temporaryPath, target.exists()
                                             ? target.permissions()
                                             : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ReadGroup | QFileDevice::ReadOther);
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(temporaryPath.toStdU16String()),
                            std::filesystem::path(dbPath.toStdU16String()), error);
    if (error) {
        throw UserError(CannotWrite(dbPath, QString::fromStdString(error.message())));
    }
    temporary.setAutoRemove(false); // renamed: nothing left to remove
    return static_cast<int>(rows.size());
}
