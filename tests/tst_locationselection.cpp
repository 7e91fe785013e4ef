#include "common/UserError.h"
#include "location/CityDatabase.h"
#include "location/CityImport.h"
#include "location/CountySearch.h"
#include "location/LocationSelection.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

const QString StartFolder = QStringLiteral("/start/");
const QStringList Provinces = {"p1", "p2", "p3", "p4"};
const int ManyCount = 250; // more than the 200 entries of the device world's fixed lists

// Province 1: a city name used by two cities (10 and 12), a city whose counties share a name,
// coordinates whose two decimals differ between single and double precision, Persian counties.
// Province 2: many cities. Province 3: one city with many counties. Province 4: no rows.
QByteArray TestCsv() {
    QByteArray csv = "Parts1_index,Parts2_index,Parts3_index,CountryParts2,CountryParts3,"
                     "Longitude,Latitude\n"
                     "1,10,100,Alpha,a-one,51.4237,35.6961\n"
                     "1,10,101,Alpha,a-two,51.025,35.015\n"
                     "1,11,110,Beta,b-one,50,30\n"
                     "1,12,120,Alpha,alpha-again,52,31\n"
                     "1,13,130,Gamma,same,53,32\n"
                     "1,13,131,Gamma,same,53.5,32.5\n"
                     "1,10,102,Alpha,a-three,51,35\n";
    csv += "1,15,150,Epsilon," + QStringLiteral("\u06A9\u06CC").toUtf8() + ",50,30\n";
    // With alef madda, blanks between words, a yeh with hamza.
    csv += "1,15,151,Epsilon," + QStringLiteral("آران و بیدگل").toUtf8() + ",51.48,34.06\n";
    csv += "1,15,152,Epsilon," + QStringLiteral("نائین").toUtf8() + ",53.09,32.86\n";
    for (int k = 1; k <= ManyCount; ++k) {
        csv += QStringLiteral("2,%1,%1,city-%2,c,50,30\n").arg(1000 + k).arg(k).toUtf8();
    }
    for (int k = 0; k < ManyCount; ++k) {
        csv += QStringLiteral("3,14,%1,Delta,county-%2,50,30\n").arg(2000 + k).arg(k).toUtf8();
    }
    return csv;
}

QStringList Numbered(const QString& prefix, int first, int count) {
    QStringList names;
    for (int k = first; k < first + count; ++k) {
        names.append(prefix + QString::number(k));
    }
    return names;
}

QList<int> Range(int first, int count) {
    QList<int> values;
    for (int k = first; k < first + count; ++k) {
        values.append(k);
    }
    return values;
}

QByteArray GlyphBytes(const GlyphCodeArray& codes) {
    return QByteArray(reinterpret_cast<const char*>(codes.data()),
                      static_cast<qsizetype>(codes.size()));
}

void CompareSelections(const LocationSelection& got, const LocationSelection& expected) {
    QCOMPARE(got.ProvinceIndex, expected.ProvinceIndex);
    QCOMPARE(got.CityIndex, expected.CityIndex);
    QCOMPARE(got.CountyIndex, expected.CountyIndex);
    QCOMPARE(got.CityIndexList, expected.CityIndexList);
    QCOMPARE(got.CountyIndexList, expected.CountyIndexList);
    QCOMPARE(got.TimetableFolder, expected.TimetableFolder);
    QCOMPARE(GlyphBytes(got.GlyphCodes), GlyphBytes(expected.GlyphCodes));
}

// A selection with a value in every field, as after an earlier choice.
LocationSelection EarlierSelection() {
    LocationSelection selection;
    selection.ProvinceIndex = 9;
    selection.CityIndex = 8;
    selection.CountyIndex = 7;
    selection.CityIndexList = {81, 82};
    selection.CountyIndexList = {71, 72, 73};
    selection.TimetableFolder = QStringLiteral("/old/data/9/8/7/");
    selection.GlyphCodes.fill(0x11);
    return selection;
}

void CompareChoices(const CountyChoice& got, const CountyChoice& expected) {
    QCOMPARE(got.CountyIndexText, expected.CountyIndexText);
    QCOMPARE(got.LongitudeText, expected.LongitudeText);
    QCOMPARE(got.LatitudeText, expected.LatitudeText);
    QCOMPARE(got.CountyName, expected.CountyName);
}

} // namespace

class LocationSelectionTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<CityDatabase> db_;

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        const QString csvPath = dir_.filePath(QStringLiteral("city.csv"));
        QFile csv(csvPath);
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write(TestCsv());
        csv.close();
        QFile provinces(dir_.filePath(QStringLiteral("ostan.txt")));
        QVERIFY(provinces.open(QIODevice::WriteOnly));
        provinces.write(Provinces.join(QStringLiteral("\r\n")).toLatin1());
        provinces.close();
        QCOMPARE(ImportCitiesCsv(csvPath, dir_.filePath(QStringLiteral("city.db"))),
                 10 + 2 * ManyCount);
        db_ = std::make_unique<CityDatabase>(CityDatabase::PathIn(dir_.path() + u'/'));
    }

    void cleanupTestCase() { db_.reset(); }

    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void chooseProvince_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("provinceIndex");
        QTest::addColumn<QStringList>("cities");
        QTest::addColumn<QList<int>>("cityIndexes");
        QTest::newRow("shared city name listed once, first index")
            << 0 << 1 << QStringList{"Alpha", "Beta", "Gamma", "Epsilon"}
            << QList<int>{10, 11, 13, 15};
        QTest::newRow("many cities")
            << 1 << 2 << Numbered("city-", 1, ManyCount) << Range(1001, ManyCount);
        QTest::newRow("province without rows") << 3 << 4 << QStringList() << QList<int>();
        QTest::newRow("typed into the box") << -1 << 0 << QStringList() << QList<int>();
    }

    // Only the province index and the city list change; the county box keeps its list.
    void chooseProvince() {
        QFETCH(int, item);
        QFETCH(int, provinceIndex);
        QFETCH(QStringList, cities);
        QFETCH(QList<int>, cityIndexes);
        LocationSelection selection = EarlierSelection();
        QCOMPARE(ChooseProvince(selection, *db_, item), cities);
        LocationSelection expected = EarlierSelection();
        expected.ProvinceIndex = provinceIndex;
        expected.CityIndexList.assign(cityIndexes.begin(), cityIndexes.end());
        CompareSelections(selection, expected);
    }

    void chooseCity_data() {
        QTest::addColumn<int>("provinceItem");
        QTest::addColumn<int>("cityItem");
        QTest::addColumn<int>("cityIndex");
        QTest::addColumn<QStringList>("counties");
        QTest::addColumn<QList<int>>("countyIndexes");
        // The city listed for the shared name is the first one; the other's county is not here.
        QTest::newRow("every row of the city, in order")
            << 0 << 0 << 10 << QStringList{"a-one", "a-two", "a-three"}
            << QList<int>{100, 101, 102};
        QTest::newRow("county names repeated")
            << 0 << 2 << 13 << QStringList{"same", "same"} << QList<int>{130, 131};
        QTest::newRow("last city of many") << 1 << ManyCount - 1 << 1000 + ManyCount
                                           << QStringList{"c"} << QList<int>{1000 + ManyCount};
        QTest::newRow("many counties")
            << 2 << 0 << 14 << Numbered("county-", 0, ManyCount) << Range(2000, ManyCount);
    }

    void chooseCity() {
        QFETCH(int, provinceItem);
        QFETCH(int, cityItem);
        QFETCH(int, cityIndex);
        QFETCH(QStringList, counties);
        QFETCH(QList<int>, countyIndexes);
        LocationSelection selection = EarlierSelection();
        ChooseProvince(selection, *db_, provinceItem);
        LocationSelection expected = selection;
        QCOMPARE(ChooseCity(selection, *db_, cityItem).value(), counties);
        expected.CityIndex = cityIndex;
        expected.CountyIndexList.assign(countyIndexes.begin(), countyIndexes.end());
        CompareSelections(selection, expected);
    }

    void chooseCounty_data() {
        QTest::addColumn<int>("cityItem");
        QTest::addColumn<int>("countyItem");
        QTest::addColumn<QString>("longitude");
        QTest::addColumn<QString>("latitude");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QByteArray>("glyphs");
        const QByteArray none(30, '\xFF');
        QTest::newRow("two decimals") << 0 << 0 << "51.42"
                                      << "35.70"
                                      << "a-one"
                                      << "/start/data/1/10/100/" << none;
        // 51.025 and 35.015 round the other way once in single precision.
        QTest::newRow("single precision first") << 0 << 1 << "51.03"
                                                << "35.01"
                                                << "a-two"
                                                << "/start/data/1/10/101/" << none;
        QTest::newRow("whole degrees") << 1 << 0 << "50.00"
                                       << "30.00"
                                       << "b-one"
                                       << "/start/data/1/11/110/" << none;
        QTest::newRow("Persian name to glyphs")
            << 3 << 0 << "50.00"
            << "30.00" << QStringLiteral("\u06A9\u06CC") << "/start/data/1/15/150/"
            << QByteArray("\x34\x45") + QByteArray(28, '\xFF');
    }

    // Under a locale that writes a decimal comma, the texts still have a full stop.
    void chooseCounty() {
        QFETCH(int, cityItem);
        QFETCH(int, countyItem);
        QFETCH(QString, longitude);
        QFETCH(QString, latitude);
        QFETCH(QString, name);
        QFETCH(QString, folder);
        QFETCH(QByteArray, glyphs);
        QLocale::setDefault(QLocale(QLocale::German));
        LocationSelection selection;
        ChooseProvince(selection, *db_, 0);
        ChooseCity(selection, *db_, cityItem);
        const LocationSelection before = selection;
        const CountyChoice choice = ChooseCounty(selection, *db_, countyItem, StartFolder).value();
        const int countyIndex = before.CountyIndexList.at(static_cast<std::size_t>(countyItem));
        CompareChoices(choice, {QString::number(countyIndex), longitude, latitude, name});
        LocationSelection expected = before;
        expected.CountyIndex = countyIndex;
        expected.TimetableFolder = folder;
        std::copy(glyphs.begin(), glyphs.end(), expected.GlyphCodes.begin());
        CompareSelections(selection, expected);

        // The same county again gives the same.
        const CountyChoice again = ChooseCounty(selection, *db_, countyItem, StartFolder).value();
        CompareChoices(again, choice);
        CompareSelections(selection, expected);
    }

    // A county the database no longer has: zero coordinates, an empty name without glyphs.
    void countyWithoutRows() {
        LocationSelection selection = EarlierSelection();
        selection.CountyIndexList = {999};
        const CountyChoice choice = ChooseCounty(selection, *db_, 0, StartFolder).value();
        CompareChoices(choice, {"999", "0.00", "0.00", QString()});
        QCOMPARE(selection.CountyIndex, 999);
        QCOMPARE(GlyphBytes(selection.GlyphCodes), QByteArray(30, '\xFF'));
        QCOMPARE(selection.TimetableFolder, QStringLiteral("/start/data/9/8/999/"));
    }

    void notAnItem_data() {
        QTest::addColumn<int>("provinceItem"); // -1: typed, so no city at all
        QTest::addColumn<int>("item");
        QTest::newRow("typed into the box") << 0 << -1;
        QTest::newRow("one past the last") << 0 << 4;
        QTest::newRow("far past") << 0 << 1000;
        QTest::newRow("empty list") << -1 << 0;
    }

    // A change of the city or county box without a chosen item changes nothing.
    void notAnItem() {
        QFETCH(int, provinceItem);
        QFETCH(int, item);
        LocationSelection selection = EarlierSelection();
        ChooseProvince(selection, *db_, provinceItem);
        selection.CountyIndexList.resize(selection.CityIndexList.size());
        const LocationSelection before = selection;
        QVERIFY(!ChooseCity(selection, *db_, item));
        CompareSelections(selection, before);
        QVERIFY(!ChooseCounty(selection, *db_, item, StartFolder));
        CompareSelections(selection, before);
    }

    void databaseError_data() {
        QTest::addColumn<int>("step");
        QTest::newRow("province") << 1;
        QTest::newRow("city") << 2;
        QTest::newRow("county") << 3;
    }

    // The step's own index takes its new value; every list and the rest stay.
    void databaseError() {
        QFETCH(int, step);
        QTemporaryDir empty;
        const QString path = empty.filePath(QStringLiteral("city.db"));
        CityDatabase missing(path);
        LocationSelection selection = EarlierSelection();
        LocationSelection expected = selection;
        QString text;
        try {
            if (step == 1) {
                expected.ProvinceIndex = 3;
                ChooseProvince(selection, missing, 2);
            } else if (step == 2) {
                expected.CityIndex = 82;
                ChooseCity(selection, missing, 1);
            } else {
                expected.CountyIndex = 73;
                ChooseCounty(selection, missing, 2, StartFolder);
            }
        } catch (const UserError& error) {
            text = error.Text();
        }
        QVERIFY2(text.contains(path) && text.contains(QStringLiteral("does not exist")),
                 qPrintable(text));
        CompareSelections(selection, expected);
        QVERIFY(!QFile::exists(path));
    }

    void selectCountyByIndex_data() {
        QTest::addColumn<int>("countyIndex");
        QTest::addColumn<int>("provinceItem");
        QTest::addColumn<int>("cityItem");
        QTest::addColumn<int>("countyItem");
        QTest::newRow("first county") << 100 << 0 << 0 << 0;
        QTest::newRow("after another city's rows") << 102 << 0 << 0 << 2;
        QTest::newRow("repeated county name") << 131 << 0 << 2 << 1;
        QTest::newRow("Persian") << 150 << 0 << 3 << 0;
        QTest::newRow("last of many cities") << 1000 + ManyCount << 1 << ManyCount - 1 << 0;
        QTest::newRow("last of many counties") << 2000 + ManyCount - 1 << 2 << 0 << ManyCount - 1;
    }

    // By index alone, the same as choosing through the three boxes.
    void selectCountyByIndex() {
        QFETCH(int, countyIndex);
        QFETCH(int, provinceItem);
        QFETCH(int, cityItem);
        QFETCH(int, countyItem);
        LocationSelection byBoxes = EarlierSelection();
        const QStringList cities = ChooseProvince(byBoxes, *db_, provinceItem);
        const QStringList counties = ChooseCity(byBoxes, *db_, cityItem).value();
        const CountyChoice choice = ChooseCounty(byBoxes, *db_, countyItem, StartFolder).value();
        QCOMPARE(byBoxes.CountyIndex, countyIndex);

        LocationSelection byIndex = EarlierSelection();
        const CountySelection got =
            SelectCountyByIndex(byIndex, *db_, countyIndex, StartFolder, Provinces);
        QCOMPARE(got.ProvinceItem, provinceItem);
        QCOMPARE(got.CityItem, cityItem);
        QCOMPARE(got.CountyItem, countyItem);
        QCOMPARE(got.ProvinceName, Provinces.at(provinceItem));
        QCOMPARE(got.CityNames, cities);
        QCOMPARE(got.CountyNames, counties);
        CompareChoices(got.Choice, choice);
        CompareSelections(byIndex, byBoxes);
    }

    void selectCountyRefusals_data() {
        QTest::addColumn<int>("countyIndex");
        QTest::addColumn<int>("provinceCount");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown county") << 999 << 4 << "There is no county with index 999 in";
        QTest::newRow("province not in the list")
            << 1001 << 1 << "County 1001 belongs to province 2, but the province list has 1 lines";
        QTest::newRow("city name listed under an earlier city")
            << 120 << 4
            << "County 120 cannot be chosen: its city \"Alpha\" (index 12) is listed under the "
               "same name as city 10 of province 1";
    }

    // A refusal leaves the selection as it was, not half-chosen.
    void selectCountyRefusals() {
        QFETCH(int, countyIndex);
        QFETCH(int, provinceCount);
        QFETCH(QString, message);
        LocationSelection selection = EarlierSelection();
        QString text;
        try {
            SelectCountyByIndex(selection, *db_, countyIndex, StartFolder,
                                Provinces.first(provinceCount));
        } catch (const UserError& error) {
            text = error.Text();
        }
        QVERIFY2(text.startsWith(message), qPrintable(text));
        CompareSelections(selection, EarlierSelection());
    }

    void countiesByName_data() {
        QTest::addColumn<bool>("named"); // CountiesNamed, else CountiesMatching
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("counties");
        const QList<int> alphas = {100, 101, 120, 102};
        QTest::newRow("city name, Latin case") << false << "ALPHA" << alphas;
        QTest::newRow("Arabic kaf for keheh") << false << "\u0643\u06CC" << QList<int>{150};
        QTest::newRow("Arabic yeh for Farsi yeh") << false << "\u06A9\u064A" << QList<int>{150};
        QTest::newRow("zero-width non-joiner typed")
            << false << "\u06A9\u200C\u06CC" << QList<int>{150};
        QTest::newRow("alef without madda") << false << "اران" << QList<int>{151};
        QTest::newRow("alef with hamza for alef with madda") << false << "أران" << QList<int>{151};
        QTest::newRow("non-joiners where the name has blanks")
            << false << "آران\u200Cو\u200Cبیدگل" << QList<int>{151};
        QTest::newRow("yeh for yeh with hamza") << false << "نایین" << QList<int>{152};
        QTest::newRow("Persian digits") << false << "city-۲۵۰" << QList<int>{1000 + ManyCount};
        QTest::newRow("Arabic-Indic digits") << false << "city-٢٥٠" << QList<int>{1000 + ManyCount};
        QTest::newRow("name without madda, blanks left out")
            << true << "ارانوبیدگل" << QList<int>{151};
        QTest::newRow("province name") << false << "P2" << Range(1001, ManyCount);
        QTest::newRow("nothing") << false << "zeta" << QList<int>{};
        QTest::newRow("name of two counties") << true << " Same " << QList<int>{130, 131};
        QTest::newRow("counties of the name, not all containing it")
            << true << "C" << Range(1001, ManyCount);
        QTest::newRow("no county of the name: those containing it")
            << true << "a-t" << QList<int>{101, 102};
        QTest::newRow("one containing it") << true << "beta" << QList<int>{110};
        QTest::newRow("none") << true << "zeta" << QList<int>{};
    }

    void countiesByName() {
        QFETCH(bool, named);
        QFETCH(QString, text);
        QFETCH(QList<int>, counties);
        const auto found =
            named ? CountiesNamed(*db_, Provinces, text) : CountiesMatching(*db_, Provinces, text);
        QList<int> got;
        for (const CountyListing& county : found) {
            got.append(county.County);
        }
        QCOMPARE(got, counties);
    }
};

QTEST_GUILESS_MAIN(LocationSelectionTest)
#include "tst_locationselection.moc"
