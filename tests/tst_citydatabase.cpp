#include "common/TextFiles.h"
#include "common/UserError.h"
#include "location/CityDatabase.h"
#include "location/CityImport.h"
#include "location/LocationSelection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

// The sample's list of 31 provinces, which every row here falls in.
const QString Provinces = QStringLiteral(MUEZZIN_SOURCE_DIR "/sample/ostan.txt");

const QByteArray Header =
    "Parts1_index,Parts2_index,Parts3_index,CountryParts2,CountryParts3,Longitude,Latitude\r\n";

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs statements on a database file of a test's own making.
void RunSql(const QString& path, const QStringList& statements) {
    const QString name = QStringLiteral("test-") + path;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const QString& statement : statements) {
            QVERIFY2(query.exec(statement), qPrintable(statement));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

QString ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const UserError& error) {
        return error.Text();
    }
    return QString();
}

QStringList Counties(const std::vector<CityRow>& rows) {
    QStringList names;
    for (const CityRow& row : rows) {
        names.append(row.CountyName);
    }
    return names;
}

} // namespace

class CityDatabaseTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        // Every instance has given its connection back.
        QCOMPARE(QSqlDatabase::connectionNames(), QStringList());
    }

    // The forms Access export tools write all read the same.
    void importForms_data() {
        QTest::addColumn<QByteArray>("csv");
        const QByteArray rows = "1,10,100,\"Alpha\",\"One\",51.42,35.69\r\n"
                                "1,10,101,\"Alpha\",\"Two, with comma\",51.5,35.7\r\n";
        QTest::newRow("CR LF, quoted") << Header + rows;
        QTest::newRow("BOM") << QByteArray("\xEF\xBB\xBF") + Header + rows;
        QByteArray lf = Header + rows;
        lf.replace("\r\n", "\n");
        QTest::newRow("LF, no last line end") << lf.chopped(1);
        QTest::newRow("columns reordered, extra ones")
            << QByteArray("Index,Latitude,CountryParts3,Parts3_index,Note,Longitude,"
                          "CountryParts2,Parts2_index,Parts1_index\r\n"
                          "1,35.69,One,100,x,51.42,Alpha,10,1\r\n"
                          "2,35.7,\"Two, with comma\",101,,51.5,Alpha,10,1\r\n");
        // A byte-order mark left inside a name (files joined, text pasted) shows nothing.
        QTest::newRow("U+FEFF inside names dropped")
            << Header + "1,10,100,Al" + QStringLiteral("\uFEFF").toUtf8() + "pha," +
                   QStringLiteral("\uFEFF").toUtf8() + "One,51.42,35.69\r\n" +
                   rows.sliced(rows.indexOf('\n') + 1);
        QTest::newRow("blank lines, spaces around numbers")
            << Header + "\r\n1, 10 ,100,Alpha,One, 51.42 ,35.69\r\n\r\n"
                        "1,10,101,\"Alpha\",\"Two, with comma\",51.5,35.7\r\n\r\n";
    }

    void importForms() {
        QFETCH(QByteArray, csv);
        QTemporaryDir dir;
        const QString csvPath = dir.filePath(QStringLiteral("city.csv"));
        Write(csvPath, csv);
        const QString dbPath = dir.filePath(QStringLiteral("city.db"));
        QCOMPARE(ImportCitiesCsv(csvPath, dbPath, Provinces), 2);
        CityDatabase db(dbPath);
        const std::vector<CityRow> rows = db.RowsOfProvince(1);
        QCOMPARE(rows.size(), std::size_t{2});
        QCOMPARE(rows[0].City, 10);
        QCOMPARE(rows[0].County, 100);
        QCOMPARE(rows[0].CityName, QStringLiteral("Alpha"));
        QCOMPARE(rows[0].CountyName, QStringLiteral("One"));
        QCOMPARE(rows[0].Longitude, 51.42);
        QCOMPARE(rows[0].Latitude, 35.69);
        QCOMPARE(rows[1].County, 101);
        QCOMPARE(rows[1].CountyName, QStringLiteral("Two, with comma"));
        QCOMPARE(rows[1].Latitude, 35.7);
    }

    // Quotes inside quoted text, Persian text with the non-joiner, the joiner and a direction mark.
    void importKeepsTextExactly() {
        QTemporaryDir dir;
        const QString csvPath = dir.filePath(QStringLiteral("city.csv"));
        const QString persian = QStringLiteral("\u062D\u0633\u0646\u200C\u0622\u0628\u0627\u062F");
        const QString marked = QStringLiteral("\u200F\u0644\u200D\u0627");
        Write(csvPath, Header + "1,1,1,\"say \"\"hi\"\"\",\"" + marked.toUtf8() + "\",50,30\r\n" +
                           "1,2,2,\"" + persian.toUtf8() + "\"," + persian.toUtf8() + ",50,30\r\n");
        const QString dbPath = dir.filePath(QStringLiteral("city.db"));
        QCOMPARE(ImportCitiesCsv(csvPath, dbPath, Provinces), 2);
        CityDatabase db(dbPath);
        const std::vector<CityRow> rows = db.RowsOfProvince(1);
        QCOMPARE(rows.size(), std::size_t{2});
        QCOMPARE(rows[0].CityName, QStringLiteral("say \"hi\""));
        QCOMPARE(rows[0].CountyName, marked);
        QCOMPARE(rows[1].CityName, persian);
        QCOMPARE(rows[1].CountyName, persian);
    }

    // The three queries select by their own column, in the order of the file.
    void queriesSelectByTheirColumn() {
        QTemporaryDir dir;
        const QString csvPath = dir.filePath(QStringLiteral("city.csv"));
        Write(csvPath, Header + "2,7,9,c,z,50,30\r\n"
                                "1,7,5,c,y,50,30\r\n"
                                "2,8,7,d,x,50,30\r\n"
                                "2,7,1,c,w,50,30\r\n");
        const QString dbPath = dir.filePath(QStringLiteral("city.db"));
        ImportCitiesCsv(csvPath, dbPath, Provinces);
        CityDatabase db(dbPath);
        QCOMPARE(Counties(db.RowsOfProvince(2)), (QStringList{"z", "x", "w"}));
        QCOMPARE(Counties(db.RowsOfCity(7)), (QStringList{"z", "y", "w"}));
        QCOMPARE(Counties(db.RowsOfCounty(7)), (QStringList{"x"}));
        QCOMPARE(Counties(db.RowsOfCounty(8)), QStringList());
        QCOMPARE(Counties(db.RowsOfProvince(0)), QStringList());
    }

    void importRefusals_data() {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QStringList>("message"); // parts the message must hold
        const QByteArray good = "1,1,1,a,b,50,30\r\n";
        QTest::newRow("empty file") << QByteArray() << QStringList{"the file is empty"};
        QTest::newRow("no Latitude column")
            << QByteArray("Parts1_index,Parts2_index,Parts3_index,CountryParts2,"
                          "CountryParts3,Longitude\r\n1,1,1,a,b,50\r\n")
            << QStringList{"line 1", "no column Latitude"};
        QTest::newRow("two columns missing")
            << QByteArray("Parts1_index,Parts3_index,CountryParts2,CountryParts3,"
                          "Longitude\r\n")
            << QStringList{"no column Parts2_index, Latitude"};
        QTest::newRow("column twice") << QByteArray(Header).replace("\r\n", ",Longitude\r\n")
                                      << QStringList{"Longitude appears twice"};
        QTest::newRow("letters in Parts2_index")
            << Header + good + "1,x2,2,a,b,50,30\r\n"
            << QStringList{"line 3", "Parts2_index", "\"x2\"", "not a whole number"};
        QTest::newRow("decimal Parts3_index") << Header + good + "1,1,2.5,a,b,50,30\r\n"
                                              << QStringList{"line 3", "Parts3_index", "\"2.5\""};
        QTest::newRow("empty Parts1_index") << Header + ",1,1,a,b,50,30\r\n"
                                            << QStringList{"line 2", "Parts1_index", "\"\""};
        QTest::newRow("comma decimal in Longitude")
            << Header + good + "1,1,2,a,b,\"51,42\",30\r\n"
            << QStringList{"line 3", "Longitude", "\"51,42\"", "not a number"};
        QTest::newRow("text in Latitude") << Header + "1,1,1,a,b,50,north\r\n"
                                          << QStringList{"line 2", "Latitude", "not a number"};
        QTest::newRow("latitude beyond 90") << Header + "1,1,1,a,b,50,95\r\n"
                                            << QStringList{"line 2", "Latitude", "90 degrees"};
        QTest::newRow("province beyond the list")
            << Header + good + "32,1,2,a,b,50,30\r\n"
            << QStringList{"line 3", "Parts1_index holds \"32\"",
                           "no line of the province list " + Provinces, "(lines 1 to 31)"};
        QTest::newRow("empty county name")
            << Header + good + "1,1,2,a,\"\",50,30\r\n"
            << QStringList{"line 3", "CountryParts3 holds \"\"", "cannot be empty"};
        QTest::newRow("infinite longitude") << Header + "1,1,1,a,b,inf,30\r\n"
                                            << QStringList{"line 2", "Longitude"};
        // The line count goes on through a line break inside quotes.
        QTest::newRow("line after a quoted line break")
            << Header + "1,1,1,a,b,\"50\n\",30\r\n1,1,2,a,b,50,?\r\n"
            << QStringList{"line 4", "Latitude"};
        // A name goes into lists, boxes and terminals: nothing in it may break or drive them, and
        // the message shows it escaped.
        QTest::newRow("line break inside a quoted county name")
            << Header + good + "1,1,2,a,\"two\r\nlines\",50,30\r\n"
            << QStringList{"line 3", "CountryParts3 holds \"two\\r\\nlines\"",
                           "a control character (\\r)"};
        QTest::newRow("NUL in a city name")
            << Header + good + QByteArray("1,1,2,a\0b,b,50,30\r\n", 20)
            << QStringList{"line 3", "CountryParts2 holds \"a\\x00b\""};
        QTest::newRow("escape sequence in a county name")
            << Header + "1,1,1,a,\x1B[2J\x1B[31mred,50,30\r\n"
            << QStringList{"line 2", "\"\\e[2J\\e[31mred\"", "(\\e)"};
        QTest::newRow("right-to-left override in a city name")
            << Header + "1,1,1," + QStringLiteral("\u202Eab").toUtf8() + ",b,50,30\r\n"
            << QStringList{"line 2", "\"\\u202Eab\"", "bidirectional control (\\u202E)"};
        QTest::newRow("long name with a bell: cut in the message")
            << Header + "1,1,1,a," + QByteArray(100, 'x') + "\a,50,30\r\n"
            << QStringList{"\"" + QString(60, u'x') + "...\"", "(\\x07)"};
        QTest::newRow("too few fields") << Header + good + "1,1,2,a,b,50\r\n"
                                        << QStringList{"line 3", "6 fields where the header has 7"};
        QTest::newRow("quote never closed") << Header + good + "1,1,2,\"a,b,50,30\r\n"
                                            << QStringList{"line 3", "never closes"};
        QTest::newRow("text after closing quote") << Header + "1,1,1,\"a\"x,b,50,30\r\n"
                                                  << QStringList{"line 2", "closing double"};
        QTest::newRow("county index twice")
            << Header + good + "2,2,2,c,d,50,30\r\n" + good
            << QStringList{"line 4", "Parts3_index holds 1", "line 2 already uses"};
        QTest::newRow("not UTF-8") << Header + good + "1,1,2,\xE3\xD1,b,50,30\r\n"
                                   << QStringList{"line 3", "not UTF-8"};
        QTest::newRow("approximate neither 0 nor 1")
            << QByteArray(Header).replace("\r\n", ",Approximate\r\n") + "1,1,1,a,b,50,30,yes\r\n"
            << QStringList{"line 2", "Approximate holds \"yes\"", "neither 0 nor 1"};
    }

    // A refused file writes nothing: an existing database stays as it was, no file is left.
    void importRefusals() {
        QFETCH(QByteArray, csv);
        QFETCH(QStringList, message);
        QTemporaryDir dir;
        const QString csvPath = dir.filePath(QStringLiteral("city.csv"));
        Write(csvPath, csv);
        const QString dbPath = dir.filePath(QStringLiteral("city.db"));
        const QByteArray before = "an older database";
        Write(dbPath, before);
        const QString text = ErrorOf([&] { ImportCitiesCsv(csvPath, dbPath, Provinces); });
        QVERIFY(text.startsWith(QStringLiteral("Cannot import ") + csvPath + u':'));
        for (const QString& part : message) {
            QVERIFY2(text.contains(part), qPrintable(text));
        }
        QCOMPARE(Bytes(dbPath), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"city.csv", "city.db"}));
    }

    // The mark of a county's centre goes in and out with the CSV; a database from before the
    // mark has no county marked.
    void approximateMark() {
        QTemporaryDir dir;
        const QString csvPath = dir.filePath(QStringLiteral("city.csv"));
        const QString dbPath = dir.filePath(QStringLiteral("city.db"));
        Write(csvPath, "Approximate," + QByteArray(Header).replace("\r\n", "\n") +
                           "1,1,1,1,\"a, \"\"x\"\"\",\u0622\u0631\u0627\u0646,51.48123,34.06\n"
                           "0,1,1,2,a,b,50,30\n"
                           ",2,3,3,c,d,-0.5,0.25\n");
        QCOMPARE(ImportCitiesCsv(csvPath, dbPath, Provinces), 3);
        const auto marks = [](const std::vector<CityRow>& rows) {
            QList<bool> list;
            for (const CityRow& row : rows) {
                list.append(row.Approximate);
            }
            return list;
        };
        std::vector<CityRow> rows = CityDatabase(dbPath).AllRows();
        QCOMPARE(marks(rows), (QList<bool>{true, false, false}));

        // Exported and imported again, the same rows.
        const QString exported = dir.filePath(QStringLiteral("exported.csv"));
        Write(exported, CityCsvText(rows));
        const QString again = dir.filePath(QStringLiteral("again.db"));
        QCOMPARE(ImportCitiesCsv(exported, again, Provinces), 3);
        const std::vector<CityRow> back = CityDatabase(again).AllRows();
        QCOMPARE(marks(back), marks(rows));
        for (std::size_t k = 0; k < rows.size(); ++k) {
            QCOMPARE(back[k].County, rows[k].County);
            QCOMPARE(back[k].CityName, rows[k].CityName);
            QCOMPARE(back[k].CountyName, rows[k].CountyName);
            QCOMPARE(back[k].Longitude, rows[k].Longitude);
            QCOMPARE(back[k].Latitude, rows[k].Latitude);
        }

        const QString old = dir.filePath(QStringLiteral("old.db"));
        RunSql(old, {QStringLiteral("CREATE TABLE city (Parts1_index, Parts2_index, Parts3_index, "
                                    "CountryParts2, CountryParts3, Longitude, Latitude)"),
                     QStringLiteral("INSERT INTO city VALUES (1, 1, 1, 'a', 'b', 50, 30)")});
        QCOMPARE(marks(CityDatabase(old).AllRows()), QList<bool>{false});
    }

    void importReplacesWholeDatabase() {
        QTemporaryDir dir;
        const QString csvPath = dir.filePath(QStringLiteral("city.csv"));
        const QString dbPath = dir.filePath(QStringLiteral("city.db"));
        Write(csvPath, Header + "1,1,1,a,old,50,30\r\n1,1,2,a,old2,50,30\r\n");
        QCOMPARE(ImportCitiesCsv(csvPath, dbPath, Provinces), 2);
        Write(csvPath, Header + "1,1,3,a,new,50,30\r\n");
        QCOMPARE(ImportCitiesCsv(csvPath, dbPath, Provinces), 1);
        CityDatabase db(dbPath);
        QCOMPARE(Counties(db.RowsOfProvince(1)), QStringList{"new"});
        QVERIFY(QFileInfo(dbPath).permissions().testFlag(QFileDevice::ReadOther));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"city.csv", "city.db"}));
    }

    void importWithoutTarget_data() {
        QTest::addColumn<QString>("csvName");
        QTest::addColumn<QString>("dbName");
        QTest::addColumn<QString>("message");
        QTest::newRow("no CSV file") << "none.csv"
                                     << "city.db"
                                     << "Cannot open file";
        QTest::newRow("target folder missing") << "city.csv"
                                               << "no/city.db"
                                               << "Cannot write";
        QTest::newRow("target is a folder") << "city.csv"
                                            << "folder"
                                            << "Cannot write";
    }

    void importWithoutTarget() {
        QFETCH(QString, csvName);
        QFETCH(QString, dbName);
        QFETCH(QString, message);
        QTemporaryDir dir;
        Write(dir.filePath(QStringLiteral("city.csv")), Header + "1,1,1,a,b,50,30\r\n");
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        const QString dbPath = dir.filePath(dbName);
        const QString text = ErrorOf(
            [&] { ImportCitiesCsv(dir.filePath(csvName), dir.filePath(dbName), Provinces); });
        QVERIFY2(text.startsWith(message), qPrintable(text));
        QVERIFY(text.contains(csvName == "none.csv" ? dir.filePath(csvName) : dbPath));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"city.csv"});
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder"))).isDir());
    }

    void unusableDatabase_data() {
        QTest::addColumn<QString>("make"); // how the file is made
        QTest::addColumn<QString>("problem");
        QTest::newRow("missing") << "none"
                                 << "the file does not exist";
        QTest::newRow("a folder") << "folder"
                                  << "it is not a file";
        QTest::newRow("corrupt") << "garbage"
                                 << "not a readable SQLite database";
        QTest::newRow("empty file") << "empty"
                                    << "it has no table city";
        QTest::newRow("other table") << "CREATE TABLE town (Parts1_index INTEGER)"
                                     << "it has no table city";
        QTest::newRow("no Latitude column")
            << "CREATE TABLE city (Parts1_index, Parts2_index, Parts3_index, CountryParts2, "
               "CountryParts3, Longitude)"
            << "table city has no column Latitude";
        QTest::newRow("two columns missing")
            << "CREATE TABLE city (Parts1_index, Parts2_index, Parts3_index, CountryParts2, "
               "Latitude)"
            << "table city has no column CountryParts3, Longitude";
    }

    // Each query names the file and what is wrong with it, and leaves the file as it was.
    void unusableDatabase() {
        QFETCH(QString, make);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("city.db"));
        if (make == "folder") {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("city.db")));
        } else if (make == "garbage") {
            Write(path, QByteArray(4096, 'x'));
        } else if (make == "empty") {
            Write(path, QByteArray());
        } else if (make != "none") {
            RunSql(path, {make});
        }
        const QByteArray before = Bytes(path);
        CityDatabase db(path);
        const QString expected = QStringLiteral("The city database %1 cannot be used: ").arg(path);
        for (const auto& query : std::vector<std::function<void()>>{
                 [&] { db.Open(); }, [&] { db.RowsOfProvince(1); }, [&] { db.RowsOfCity(1); },
                 [&] { db.RowsOfCounty(1); }}) {
            const QString text = ErrorOf(query);
            QVERIFY2(text.startsWith(expected), qPrintable(text));
            QVERIFY2(text.contains(problem), qPrintable(text));
        }
        QCOMPARE(QFileInfo::exists(path), make != "none");
        QCOMPARE(Bytes(path), before);
    }

    void unreadableDatabase() {
        if (geteuid() == 0) {
            QSKIP("root reads every file");
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("city.db"));
        RunSql(path, {QStringLiteral("CREATE TABLE city (a)")});
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        CityDatabase db(path);
        QVERIFY(ErrorOf([&] { db.Open(); }).contains(QStringLiteral("not readable")));
    }

    // A file put in place after a failed attempt is found by the next query.
    void fileAppearingLaterIsUsed() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("city.db"));
        CityDatabase db(path);
        QVERIFY_THROWS_EXCEPTION(UserError, db.RowsOfProvince(1));
        const QString csvPath = dir.filePath(QStringLiteral("city.csv"));
        Write(csvPath, Header + "1,1,1,a,b,50,30\r\n");
        ImportCitiesCsv(csvPath, path, Provinces);
        QCOMPARE(db.RowsOfProvince(1).size(), std::size_t{1});
    }

    void badValueInDatabase_data() {
        QTest::addColumn<QString>("insert");
        QTest::addColumn<QString>("problem");
        QTest::newRow("text index") << "INSERT INTO city VALUES (1, 'ten', 1, 'a', 'b', 50, 30)"
                                    << "Parts2_index \"ten\", which is not a whole number";
        QTest::newRow("null index") << "INSERT INTO city VALUES (1, 1, NULL, 'a', 'b', 50, 30)"
                                    << "Parts3_index";
        QTest::newRow("text coordinate")
            << "INSERT INTO city VALUES (1, 1, 1, 'a', 'b', 'east', 30)"
            << "Longitude \"east\", which is not a number";
    }

    void badValueInDatabase() {
        QFETCH(QString, insert);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("city.db"));
        RunSql(path, {QStringLiteral("CREATE TABLE city (Parts1_index, Parts2_index, "
                                     "Parts3_index, CountryParts2, CountryParts3, Longitude, "
                                     "Latitude)"),
                      insert});
        CityDatabase db(path);
        const QString text = ErrorOf([&] { db.RowsOfProvince(1); });
        QVERIFY2(text.contains(path) && text.contains(problem), qPrintable(text));
    }

    // Two instances on one file at once, each with its own connection.
    void instancesAreIndependent() {
        QTemporaryDir dir;
        const QString csvPath = dir.filePath(QStringLiteral("city.csv"));
        const QString path = dir.filePath(QStringLiteral("city.db"));
        Write(csvPath, Header + "1,1,1,a,b,50,30\r\n");
        ImportCitiesCsv(csvPath, path, Provinces);
        auto first = std::make_unique<CityDatabase>(path);
        CityDatabase second(path);
        QCOMPARE(first->RowsOfCounty(1).size(), std::size_t{1});
        QCOMPARE(second.RowsOfCounty(1).size(), std::size_t{1});
        QCOMPARE(QSqlDatabase::connectionNames().size(), 2);
        first.reset();
        QCOMPARE(second.RowsOfCounty(1).size(), std::size_t{1});
        QCOMPARE(QSqlDatabase::connectionNames().size(), 1);
    }

    // The shipped database as the build makes it: every county of Iran in every province of
    // ostan.txt, the earlier sample's counties exactly as they were, the others after them in
    // the order of their province, each a city of its own that the boxes can reach.
    void shippedDatabase() {
        const QString sample = QStringLiteral(MUEZZIN_SOURCE_DIR "/sample/");
        const QStringList provinces = ReadLines1256(sample + QStringLiteral("ostan.txt"));
        QCOMPARE(provinces.size(), 31);
        for (const QString& province : provinces) {
            QVERIFY(!province.isEmpty());
            QVERIFY(!province.contains(u'?'));
        }
        CityDatabase db(QStringLiteral(MUEZZIN_BUILT_SAMPLE "/city.db"));
        std::vector<CityRow> rows = db.AllRows();
        // 478 counties, and the earlier sample's two towns of one name (45 and 46).
        QCOMPARE(rows.size(), std::size_t{480});
        QHash<int, CityRow> byIndex;
        QSet<int> seenProvinces;
        bool sharedName = false; // two cities of one province under one name
        QHash<QString, int> cityOfName;
        for (const CityRow& row : rows) {
            QVERIFY(row.Latitude > 25.0 && row.Latitude < 40.0);
            QVERIFY(row.Longitude > 44.0 && row.Longitude < 64.0);
            QVERIFY(!row.CountyName.isEmpty() && !row.CityName.isEmpty());
            QVERIFY(!row.CountyName.startsWith(QStringLiteral("شهرستان")));
            QVERIFY(row.Province >= 1 && row.Province <= provinces.size());
            seenProvinces.insert(row.Province);
            // A city index belongs to one province.
            QVERIFY(db.RowsOfCity(row.City).front().Province == row.Province);
            const QString key = QString::number(row.Province) + u'/' + row.CityName;
            sharedName = sharedName || cityOfName.value(key, row.City) != row.City;
            cityOfName.insert(key, row.City);
            byIndex.insert(row.County, row);
        }
        QCOMPARE(seenProvinces.size(), 31);
        QVERIFY(sharedName);

        // The earlier sample's counties keep index, province, city, names and place.
        const QByteArray earlier = Bytes(sample + QStringLiteral("city.csv"));
        const ProvinceListSize list{sample + QStringLiteral("ostan.txt"), provinces.size()};
        const int kept =
            ParseCityCsv(earlier, QStringLiteral("city.csv"), list, [&](const CityRow& old) {
                const CityRow now = byIndex.value(old.County);
                QVERIFY(now.Province == old.Province && now.City == old.City);
                QVERIFY(now.CityName == old.CityName && now.CountyName == old.CountyName);
                QVERIFY(now.Longitude == old.Longitude && now.Latitude == old.Latitude);
                QVERIFY(!now.Approximate);
            });
        QCOMPARE(kept, 53);

        // The others follow from 54 on, province by province, each the only county of its city.
        std::sort(rows.begin(), rows.end(),
                  [](const CityRow& a, const CityRow& b) { return a.County < b.County; });
        int previousProvince = 0;
        for (std::size_t k = kept; k < rows.size(); ++k) {
            const CityRow& row = rows[k];
            QCOMPARE(row.County, static_cast<int>(k) + 1);
            QVERIFY(row.Province >= previousProvince);
            previousProvince = row.Province;
            QCOMPARE(row.CityName, row.CountyName);
            QCOMPARE(db.RowsOfCity(row.City).size(), std::size_t{1});
            LocationSelection selection;
            const CountySelection chosen = SelectCountyByIndex(
                selection, db, row.County, QStringLiteral("/start/"), provinces);
            QCOMPARE(selection.CountyIndex, row.County);
            QCOMPARE(chosen.Choice.Approximate, row.Approximate);
        }
    }

    void shippedCounties_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index"); // 0: a county the earlier sample lacked
        QTest::addColumn<int>("province");
        QTest::addColumn<double>("latitude"); // the seat's, from the map; 0: the county's centre
        QTest::addColumn<double>("longitude");
        QTest::newRow("Tehran") << "تهران" << 37 << 24 << 35.69 << 51.39;
        QTest::newRow("Varamin") << "ورامین" << 40 << 24 << 35.32 << 51.65;
        QTest::newRow("Tabriz, a capital") << "تبریز" << 4 << 4 << 38.08 << 46.29;
        QTest::newRow("Chabahar") << "چابهار" << 0 << 12 << 25.29 << 60.64;
        QTest::newRow("Neyshabur") << "نیشابور" << 0 << 10 << 36.21 << 58.80;
        QTest::newRow("Maragheh, without its prefix") << "مراغه" << 0 << 4 << 37.39 << 46.24;
        QTest::newRow("Khoy, at its centre") << "خوی" << 0 << 5 << 0.0 << 0.0;
    }

    void shippedCounties() {
        QFETCH(QString, name);
        QFETCH(int, index);
        QFETCH(int, province);
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        CityDatabase db(QStringLiteral(MUEZZIN_BUILT_SAMPLE "/city.db"));
        std::vector<CityRow> found;
        for (const CityRow& row : db.AllRows()) {
            if (row.CountyName == name && row.Province == province) {
                found.push_back(row);
            }
        }
        QCOMPARE(found.size(), std::size_t{1});
        const CityRow& county = found.front();
        if (index != 0) {
            QCOMPARE(county.County, index);
        } else {
            QVERIFY(county.County > 53);
        }
        QCOMPARE(county.Approximate, latitude == 0.0);
        if (latitude != 0.0) {
            QVERIFY2(std::abs(county.Latitude - latitude) < 0.01,
                     qPrintable(QString::number(county.Latitude)));
            QVERIFY2(std::abs(county.Longitude - longitude) < 0.01,
                     qPrintable(QString::number(county.Longitude)));
        }
    }
};

QTEST_GUILESS_MAIN(CityDatabaseTest)
#include "tst_citydatabase.moc"
