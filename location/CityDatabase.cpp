#include "location/CityDatabase.h"

#include "common/ShownText.h"
#include "common/UserError.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

const QString DriverName = QStringLiteral("QSQLITE");

QString ColumnList(bool withApproximate) {
    QStringList names;
    for (const char* column : citycolumn::All) {
        names.append(QString::fromLatin1(column));
    }
    if (withApproximate) {
        names.append(QString::fromLatin1(citycolumn::Approximate));
    }
    return names.join(QStringLiteral(", "));
}

QString Problem(const QString& path, const QString& what) {
    return QStringLiteral("The city database %1 cannot be used: %2").arg(path, what);
}

// The column names of table city, or none when the table is missing.
QStringList TableColumns(QSqlDatabase& db, const QString& path) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA table_info(city)"))) {
        throw UserError(Problem(path, QStringLiteral("it is not a readable SQLite database (%1)")
                                          .arg(query.lastError().text())));
    }
    QStringList columns;
    while (query.next()) {
        columns.append(query.value(1).toString());
    }
    return columns;
}

void CheckColumns(const QStringList& columns, const QString& path) {
    if (columns.isEmpty()) {
        throw UserError(Problem(path, QStringLiteral("it has no table city")));
    }
    QStringList missing;
    for (const char* column : citycolumn::All) {
        if (!columns.contains(QString::fromLatin1(column), Qt::CaseInsensitive)) {
            missing.append(QString::fromLatin1(column));
        }
    }
    if (!missing.isEmpty()) {
        throw UserError(Problem(
            path,
            QStringLiteral("table city has no column %1").arg(missing.join(QStringLiteral(", ")))));
    }
}

int IntegerAt(const QSqlQuery& query, int field, const QString& path) {
    bool ok = false;
    const int value = query.value(field).toInt(&ok);
    if (!ok || query.isNull(field)) {
        throw UserError(Problem(path, QStringLiteral("a row of table city has %1 \"%2\", "
                                                     "which is not a whole number")
                                          .arg(QString::fromLatin1(citycolumn::All.at(field)),
                                               ShownValue(query.value(field).toString()))));
    }
    return value;
}

double NumberAt(const QSqlQuery& query, int field, const QString& path) {
    bool ok = false;
    const double value = query.value(field).toDouble(&ok);
    if (!ok || query.isNull(field)) {
        throw UserError(Problem(path, QStringLiteral("a row of table city has %1 \"%2\", "
                                                     "which is not a number")
                                          .arg(QString::fromLatin1(citycolumn::All.at(field)),
                                               ShownValue(query.value(field).toString()))));
    }
    return value;
}

// The optional mark: NULL or 0 is none, 1 marked.
bool FlagAt(const QSqlQuery& query, int field, const QString& path) {
    if (query.isNull(field)) {
        return false;
    }
    bool ok = false;
    const int value = query.value(field).toInt(&ok);
    if (!ok || (value != 0 && value != 1)) {
        throw UserError(Problem(path, QStringLiteral("a row of table city has %1 \"%2\", "
                                                     "which is neither 0 nor 1")
                                          .arg(QString::fromLatin1(citycolumn::Approximate),
                                               ShownValue(query.value(field).toString()))));
    }
    return value == 1;
}

CityRow RowOf(const QSqlQuery& query, const QString& path, bool withApproximate) {
    CityRow row;
    row.Province = IntegerAt(query, 0, path);
    row.City = IntegerAt(query, 1, path);
    row.County = IntegerAt(query, 2, path);
    row.CityName = query.value(3).toString();
    row.CountyName = query.value(4).toString();
    row.Longitude = NumberAt(query, 5, path);
    row.Latitude = NumberAt(query, 6, path);
    row.Approximate = withApproximate && FlagAt(query, 7, path);
    return row;
}

} // namespace

CityDatabase::CityDatabase(const QString& path)
    // Unique among live instances; the connection goes with its instance.
    : path_(path),
      connectionName_(QStringLiteral("city-%1").arg(reinterpret_cast<quintptr>(this), 0, 16)) {}

CityDatabase::~CityDatabase() {
    Close();
}

void CityDatabase::Close() {
    if (!QSqlDatabase::contains(connectionName_)) {
        return;
    }
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
    open_ = false;
}

void CityDatabase::Open() {
    if (open_) {
        return;
    }
    const QFileInfo file(path_);
    if (!file.exists()) {
        throw UserError(Problem(path_, QStringLiteral("the file does not exist")));
    }
    if (!file.isFile()) {
        throw UserError(Problem(path_, QStringLiteral("it is not a file")));
    }
    if (!file.isReadable()) {
        throw UserError(Problem(path_, QStringLiteral("the file is not readable")));
    }
    if (!QSqlDatabase::isDriverAvailable(DriverName)) {
        throw UserError(Problem(path_, QStringLiteral("the SQLite driver of Qt is not "
                                                      "installed (Debian: libqt6sql6-sqlite)")));
    }
    try {
        QSqlDatabase db = QSqlDatabase::addDatabase(DriverName, connectionName_);
        db.setDatabaseName(path_);
        // Read-only also keeps SQLite from creating a file that is not there.
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            throw UserError(Problem(path_, db.lastError().text()));
        }
        const QStringList columns = TableColumns(db, path_);
        CheckColumns(columns, path_);
        hasApproximate_ =
            columns.contains(QString::fromLatin1(citycolumn::Approximate), Qt::CaseInsensitive);
    } catch (...) {
        Close();
        throw;
    }
    open_ = true;
}

std::vector<CityRow> CityDatabase::RowsWhere(const char* column, int index) {
    Open();
    QSqlQuery query(QSqlDatabase::database(connectionName_, false));
    query.setForwardOnly(true);
    const QString condition =
        column ? QStringLiteral(" WHERE %1 = ?").arg(QString::fromLatin1(column)) : QString();
    const QString text = QStringLiteral("SELECT %1 FROM city%2 ORDER BY rowid")
                             .arg(ColumnList(hasApproximate_), condition);
    if (!query.prepare(text)) {
        throw UserError(Problem(path_, query.lastError().text()));
    }
    if (column) {
        query.addBindValue(index);
    }
    if (!query.exec()) {
        throw UserError(Problem(path_, query.lastError().text()));
    }
    std::vector<CityRow> rows;
    while (query.next()) {
        rows.push_back(RowOf(query, path_, hasApproximate_));
    }
    if (query.lastError().isValid()) {
        throw UserError(Problem(path_, query.lastError().text()));
    }
    return rows;
}

std::vector<CityRow> CityDatabase::RowsOfProvince(int provinceIndex) {
    return RowsWhere(citycolumn::Province, provinceIndex);
}

std::vector<CityRow> CityDatabase::RowsOfCity(int cityIndex) {
    return RowsWhere(citycolumn::City, cityIndex);
}

std::vector<CityRow> CityDatabase::RowsOfCounty(int countyIndex) {
    return RowsWhere(citycolumn::County, countyIndex);
}

std::vector<CityRow> CityDatabase::AllRows() {
    return RowsWhere(nullptr, 0);
}
