#include "location/CityImport.h"

#include "common/ShownText.h"
#include "common/TextFiles.h"
#include "common/UserError.h"
#include "files/InputFile.h"
#include "files/SafeSave.h"
#include "location/CityDatabase.h"
#include "location/StartFolder.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QStringList>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <optional>
#include <system_error>
#include <vector>

namespace {

// A record, or a line, longer than this is no county of a city database; the bound keeps a
// file without line ends from filling the memory.
constexpr qsizetype RecordSizeLimit = 64 * 1024;

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

// Splits the text into records as it is fed, a line at a time. A quoted field may hold commas,
// line breaks and "" for a quote. Blank lines between records are skipped. Each record goes to
// the sink as soon as it ends.
class CsvRecords {
public:
    CsvRecords(const QString& csvPath, std::function<void(CsvRecord&)> sink)
        : csvPath_(csvPath), sink_(std::move(sink)) {}

    // Takes text that ends at a line end, or the last text of the file.
    void Feed(QStringView text) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (!recordOpen_) {
                record_.Line = line_;
            }
            if (++recordSize_ > RecordSizeLimit) {
                throw UserError(AtLine(
                    csvPath_, record_.Line,
                    QStringLiteral("a record longer than %1 characters").arg(RecordSizeLimit)));
            }
            if (quoted_) {
                if (c == u'"') {
                    if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                        field_.append(u'"');
                        ++i;
                    } else {
                        quoted_ = false;
                    }
                } else {
                    if (c == u'\n') {
                        ++line_;
                    }
                    field_.append(c);
                }
                continue;
            }
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
                continue; // the line feed ends the record
            }
            if (c == u'\n') {
                EndRecord();
                ++line_;
            } else if (c == u',') {
                recordOpen_ = true;
                EndField();
            } else if (c == u'"' && field_.isEmpty() && !wasQuoted_) {
                recordOpen_ = true;
                quoted_ = true;
                wasQuoted_ = true;
                quoteLine_ = line_;
            } else if (c == u'"') {
                throw UserError(AtLine(csvPath_, line_,
                                       QStringLiteral("a double quote inside a field that is not "
                                                      "in quotes")));
            } else if (wasQuoted_) {
                throw UserError(AtLine(csvPath_, line_,
                                       QStringLiteral("text after the closing double quote of a "
                                                      "field")));
            } else {
                recordOpen_ = true;
                field_.append(c);
            }
        }
    }

    void Finish() {
        if (quoted_) {
            throw UserError(AtLine(csvPath_, quoteLine_,
                                   QStringLiteral("a double quote opens a field that never "
                                                  "closes")));
        }
        EndRecord();
    }

private:
    void EndField() {
        record_.Fields.append(field_);
        field_.clear();
        wasQuoted_ = false;
    }

    void EndRecord() {
        if (recordOpen_) {
            EndField();
            sink_(record_);
        }
        record_ = CsvRecord{};
        recordOpen_ = false;
        recordSize_ = 0;
    }

    QString csvPath_;
    std::function<void(CsvRecord&)> sink_;
    CsvRecord record_;
    QString field_;
    bool quoted_ = false;     // inside a quoted field
    bool wasQuoted_ = false;  // the current field was quoted (it is not blank then)
    bool recordOpen_ = false; // something of the current record has been read
    int line_ = 1;
    int quoteLine_ = 0;
    qsizetype recordSize_ = 0;
};

// Fills the buffer as far as it can; fewer bytes only at the end.
using ReadFunction = std::function<std::size_t(char* data, std::size_t size)>;

// Feeds the file to the records a line at a time, each line checked to be UTF-8 (no byte of a
// multi-byte sequence is 0x0A, so lines decode on their own), so that neither the file nor the
// text of more than one record is held at once.
void ReadCsv(const ReadFunction& read, const QString& csvPath, CsvRecords& records) {
    QByteArray line;
    QByteArray chunk(64 * 1024, Qt::Uninitialized);
    int lineNumber = 1;
    bool first = true;
    const auto feed = [&](bool ended) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = decoder.decode(line);
        if (decoder.hasError()) {
            throw UserError(AtLine(csvPath, lineNumber, QStringLiteral("the text is not UTF-8")));
        }
        if (first && text.startsWith(QChar(0xFEFF))) {
            text.remove(0, 1);
        }
        first = false;
        if (ended) {
            text.append(u'\n');
        }
        records.Feed(text);
        line.clear();
        ++lineNumber;
    };
    for (;;) {
        const std::size_t got = read(chunk.data(), static_cast<std::size_t>(chunk.size()));
        if (got == 0) {
            break;
        }
        QByteArrayView rest(chunk.constData(), static_cast<qsizetype>(got));
        while (!rest.isEmpty()) {
            const qsizetype end = rest.indexOf('\n');
            line += end < 0 ? rest : rest.first(end);
            if (line.size() > RecordSizeLimit) {
                throw UserError(
                    AtLine(csvPath, lineNumber,
                           QStringLiteral("a line longer than %1 bytes").arg(RecordSizeLimit)));
            }
            if (end < 0) {
                break;
            }
            feed(true);
            rest = rest.sliced(end + 1);
        }
    }
    if (!line.isEmpty()) {
        feed(false);
    }
    records.Finish();
}

// Where the column stands in the header; -1 when it is not there.
qsizetype ColumnPosition(const CsvRecord& header, const char* column, const QString& csvPath) {
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
    return found;
}

// Where each column the database needs stands in the header.
std::vector<qsizetype> ColumnPositions(const CsvRecord& header, const QString& csvPath) {
    std::vector<qsizetype> positions;
    QStringList missing;
    for (const char* column : citycolumn::All) {
        const qsizetype found = ColumnPosition(header, column, csvPath);
        if (found < 0) {
            missing.append(QString::fromLatin1(column));
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
    return AtLine(csvPath, line,
                  QStringLiteral("column %1 holds \"%2\", %3")
                      .arg(QString::fromLatin1(column), ShownValue(value), what));
}

// A name is shown in lists, boxes and on the device's display: a control character would cut or
// split its line, or drive a terminal, and a bidirectional control would turn the text around
// it. The joiners and direction marks of Persian text are welcome.
QString Name(QString text, int line, const char* column, const QString& csvPath) {
    text.remove(QChar(0xFEFF));
    if (text.trimmed().isEmpty()) {
        // A county without a name could not be told apart in a box, nor found by a search.
        throw UserError(BadValue(csvPath, line, column, text,
                                 QStringLiteral("but a name cannot be empty or only blanks")));
    }
    const qsizetype at = FirstEscapedAt(text);
    if (at < 0) {
        return text;
    }
    const EscapedKind found = EscapedKindOf(text.at(at).unicode());
    const QString kind = found == EscapedKind::Control ? QStringLiteral("a control character")
                         : found == EscapedKind::LineSeparator
                             ? QStringLiteral("a line separator")
                             : QStringLiteral("a bidirectional control");
    throw UserError(BadValue(
        csvPath, line, column, text,
        QStringLiteral("but a name cannot hold %1 (%2)").arg(kind, EscapedText(text.mid(at, 1)))));
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

// The window's province box holds the lines of the list; a row whose index names none of them
// could never be chosen there, and the device would get a province that is not there.
int Province(const QString& text, int line, const ProvinceListSize& provinces,
             const QString& csvPath) {
    const int value = WholeNumber(text, line, citycolumn::Province, csvPath);
    if (value < 1 || value > provinces.Lines) {
        const QString lines = provinces.Lines == 0
                                  ? QStringLiteral("which has no line")
                                  : QStringLiteral("lines 1 to %1").arg(provinces.Lines);
        throw UserError(BadValue(csvPath, line, citycolumn::Province, text,
                                 QStringLiteral("which is no line of the province list %1 (%2)")
                                     .arg(QDir::toNativeSeparators(provinces.Path), lines)));
    }
    return value;
}

// The mark of approximate coordinates: 1, or 0 or nothing for a county's seat.
bool Flag(const QString& text, int line, const char* column, const QString& csvPath) {
    const QString value = text.trimmed();
    if (value.isEmpty() || value == u'0') {
        return false;
    }
    if (value == u'1') {
        return true;
    }
    throw UserError(
        BadValue(csvPath, line, column, text, QStringLiteral("which is neither 0 nor 1")));
}

// Turns records into rows: the first record is the header; each later one is checked and its
// row handed on at once.
class CityRows {
public:
    CityRows(const QString& csvPath, ProvinceListSize provinces,
             std::function<void(const CityRow&)> sink)
        : csvPath_(csvPath), provinces_(std::move(provinces)), sink_(std::move(sink)) {}

    void Take(CsvRecord& record) {
        if (!header_) {
            at_ = ColumnPositions(record, csvPath_);
            approximateAt_ = ColumnPosition(record, citycolumn::Approximate, csvPath_);
            header_ = std::move(record);
            return;
        }
        if (record.Fields.size() != header_->Fields.size()) {
            throw UserError(AtLine(csvPath_, record.Line,
                                   QStringLiteral("%1 fields where the header has %2")
                                       .arg(record.Fields.size())
                                       .arg(header_->Fields.size())));
        }
        const auto text = [&](std::size_t column) { return record.Fields.at(at_[column]); };
        CityRow row;
        row.Province = Province(text(0), record.Line, provinces_, csvPath_);
        row.City = WholeNumber(text(1), record.Line, citycolumn::City, csvPath_);
        row.County = WholeNumber(text(2), record.Line, citycolumn::County, csvPath_);
        row.CityName = Name(text(3), record.Line, citycolumn::CityName, csvPath_);
        row.CountyName = Name(text(4), record.Line, citycolumn::CountyName, csvPath_);
        row.Longitude = Coordinate(text(5), record.Line, citycolumn::Longitude, 180.0, csvPath_);
        row.Latitude = Coordinate(text(6), record.Line, citycolumn::Latitude, 90.0, csvPath_);
        if (approximateAt_ >= 0) {
            row.Approximate = Flag(record.Fields.at(approximateAt_), record.Line,
                                   citycolumn::Approximate, csvPath_);
        }
        // The county query takes the first row of an index; a second could never be chosen.
        const auto earlier = countyLines_.constFind(row.County);
        if (earlier != countyLines_.constEnd()) {
            throw UserError(AtLine(csvPath_, record.Line,
                                   QStringLiteral("column %1 holds %2, which line %3 already uses")
                                       .arg(QString::fromLatin1(citycolumn::County))
                                       .arg(row.County)
                                       .arg(earlier.value())));
        }
        countyLines_.insert(row.County, record.Line);
        sink_(row);
    }

    // A file without a county would replace the database with an empty one.
    int Finish() const {
        if (!header_) {
            throw UserError(Refusal(csvPath_, QStringLiteral("the file is empty")));
        }
        if (countyLines_.isEmpty()) {
            throw UserError(Refusal(csvPath_, QStringLiteral("the file holds no county below "
                                                             "its header line")));
        }
        return static_cast<int>(countyLines_.size());
    }

private:
    QString csvPath_;
    ProvinceListSize provinces_;
    std::function<void(const CityRow&)> sink_;
    std::optional<CsvRecord> header_;
    std::vector<qsizetype> at_;
    qsizetype approximateAt_ = -1; // the optional column
    QHash<int, int> countyLines_;  // Parts3_index -> line
};

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

void Run(QSqlQuery& query, const QString& statement, const QString& dbPath) {
    if (!query.exec(statement)) {
        throw UserError(CannotWrite(dbPath, query.lastError().text()));
    }
}

// Creates the table and its indexes and returns the prepared insert.
QSqlQuery PrepareTable(QSqlDatabase& db, const QString& dbPath) {
    QSqlQuery query(db);
    Run(query, QStringLiteral("BEGIN"), dbPath);
    Run(query,
        QStringLiteral("CREATE TABLE city (Parts1_index INTEGER NOT NULL, "
                       "Parts2_index INTEGER NOT NULL, Parts3_index INTEGER NOT NULL, "
                       "CountryParts2 TEXT NOT NULL, CountryParts3 TEXT NOT NULL, "
                       "Longitude REAL NOT NULL, Latitude REAL NOT NULL, "
                       "Approximate INTEGER NOT NULL DEFAULT 0)"),
        dbPath);
    // One index for each query of the location boxes.
    Run(query, QStringLiteral("CREATE INDEX city_province ON city (Parts1_index)"), dbPath);
    Run(query, QStringLiteral("CREATE INDEX city_city ON city (Parts2_index)"), dbPath);
    Run(query, QStringLiteral("CREATE UNIQUE INDEX city_county ON city (Parts3_index)"), dbPath);
    if (!query.prepare(QStringLiteral("INSERT INTO city VALUES (?, ?, ?, ?, ?, ?, ?, ?)"))) {
        throw UserError(CannotWrite(dbPath, query.lastError().text()));
    }
    return query;
}

void Insert(QSqlQuery& query, const CityRow& row, const QString& dbPath) {
    query.addBindValue(row.Province);
    query.addBindValue(row.City);
    query.addBindValue(row.County);
    query.addBindValue(row.CityName);
    query.addBindValue(row.CountyName);
    query.addBindValue(row.Longitude);
    query.addBindValue(row.Latitude);
    query.addBindValue(row.Approximate ? 1 : 0);
    if (!query.exec()) {
        throw UserError(CannotWrite(dbPath, query.lastError().text()));
    }
}

// Reads from the bytes, which it moves past what it has read.
ReadFunction ReaderOf(QByteArrayView& bytes) {
    return [&bytes](char* data, std::size_t size) {
        const auto count = std::min(size, static_cast<std::size_t>(bytes.size()));
        std::copy_n(bytes.data(), count, data);
        bytes = bytes.sliced(static_cast<qsizetype>(count));
        return count;
    };
}

// Reads the CSV and hands each checked row to the sink; the number of rows.
int ReadRows(const ReadFunction& read, const QString& csvPath, const ProvinceListSize& provinces,
             const std::function<void(const CityRow&)>& sink) {
    CityRows rows(csvPath, provinces, sink);
    CsvRecords records(csvPath, [&](CsvRecord& record) { rows.Take(record); });
    ReadCsv(read, csvPath, records);
    return rows.Finish();
}

ReadFunction ReaderOf(files::InputFile& file, const QString& csvPath) {
    return [&file, csvPath](char* data, std::size_t size) {
        try {
            return file.Read(data, size);
        } catch (const files::FileError& error) {
            throw UserError(ReadErrorText(error, csvPath));
        }
    };
}

// Builds the table in a new, empty file while the CSV is read. A failure rolls the transaction
// back when the connection closes.
int WriteDatabase(const QString& path, files::InputFile& csv, const QString& csvPath,
                  const ProvinceListSize& provinces, const QString& dbPath) {
    const ScopedConnection connection(QStringLiteral("city-import-") + path);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection.Name());
    db.setDatabaseName(path);
    if (!db.open()) {
        throw UserError(CannotWrite(dbPath, db.lastError().text()));
    }
    int count = 0;
    {
        QSqlQuery insert = PrepareTable(db, dbPath);
        count = ReadRows(ReaderOf(csv, csvPath), csvPath, provinces,
                         [&](const CityRow& row) { Insert(insert, row, dbPath); });
        Run(insert, QStringLiteral("COMMIT"), dbPath);
    }
    db.close();
    return count;
}

} // namespace

int ImportCitiesCsv(const QString& csvPath, const QString& dbPath,
                    const QString& provinceListPath) {
    std::optional<files::InputFile> csv;
    try {
        csv.emplace(FilePath(csvPath));
    } catch (const files::FileError& error) {
        throw UserError(ReadErrorText(error, csvPath));
    }
    // Writing the database over its own source would destroy the source.
    std::error_code sameError;
    if (std::filesystem::equivalent(FilePath(csvPath), FilePath(dbPath), sameError)) {
        throw UserError(Refusal(csvPath, QStringLiteral("it is the database file %1 itself; "
                                                        "name another file for the database")
                                             .arg(dbPath)));
    }
    ProvinceListSize provinces;
    provinces.Path = provinceListPath.isEmpty()
                         ? QFileInfo(dbPath).absoluteDir().filePath(ProvinceFileName)
                         : provinceListPath;
    provinces.Lines = ReadLines1256(provinces.Path).size();
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        throw UserError(
            CannotWrite(dbPath, QStringLiteral("the SQLite driver of Qt is not installed "
                                               "(Debian: libqt6sql6-sqlite)")));
    }
    int count = 0;
    try {
        files::SaveBuiltFile(FilePath(dbPath), [&](const std::filesystem::path& temporary) {
            const QString temporaryPath = QString::fromStdU16String(temporary.u16string());
            try {
                count = WriteDatabase(temporaryPath, *csv, csvPath, provinces, dbPath);
            } catch (...) {
                // A write that failed half-way (a full disk) can leave the rollback journal.
                QFile::remove(temporaryPath + QStringLiteral("-journal"));
                throw;
            }
        });
    } catch (const files::FileError& error) {
        throw UserError(CannotWrite(dbPath, ReasonOf(error)));
    }
    return count;
}

int ParseCityCsv(QByteArrayView bytes, const QString& name, const ProvinceListSize& provinces,
                 const std::function<void(const CityRow&)>& sink) {
    return ReadRows(ReaderOf(bytes), name, provinces, sink);
}

void ReadCsvRecords(QByteArrayView bytes, const QString& name,
                    const std::function<void(int line, const QStringList& fields)>& sink) {
    CsvRecords records(name, [&](const CsvRecord& record) { sink(record.Line, record.Fields); });
    ReadCsv(ReaderOf(bytes), name, records);
}

QByteArray CityCsvText(const std::vector<CityRow>& rows) {
    const auto quoted = [](const QString& text) {
        return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
    };
    // Every digit the value holds, and no more.
    const auto number = [](double value) {
        return QString::number(value, 'g', QLocale::FloatingPointShortest);
    };
    QStringList header;
    for (const char* column : citycolumn::All) {
        header.append(QString::fromLatin1(column));
    }
    header.append(QString::fromLatin1(citycolumn::Approximate));
    // A BOM, so that a spreadsheet opens the Persian names as UTF-8.
    QString text = QChar(0xFEFF) + header.join(u',') + QStringLiteral("\r\n");
    for (const CityRow& row : rows) {
        text += QStringList{QString::number(row.Province), QString::number(row.City),
                            QString::number(row.County),   quoted(row.CityName),
                            quoted(row.CountyName),        number(row.Longitude),
                            number(row.Latitude),          QString::number(row.Approximate ? 1 : 0)}
                    .join(u',') +
                QStringLiteral("\r\n");
    }
    return text.toUtf8();
}
