// muezzin-citydata: the sample's city database source made from the counties of OpenStreetMap
// (counties.tsv) and the counties the sample had before (city.csv), at build time. The counties
// kept from before keep their indexes, province, city and names exactly, since profiles, devices
// and folders hold those indexes; every other county gets the next free index, in the order of
// its province and name, and stands as a city of its own. The CSV written is what import-cities
// reads, its rows in the order of province, city name and county name, so that the window's
// lists read alphabetically.
#include "common/TextFiles.h"
#include "common/UserError.h"
#include "location/CityImport.h"
#include "location/CountySearch.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

namespace {

constexpr std::size_t SourceSizeLimit = 4 * 1024 * 1024;

// A county as the CSV gets it. Kept counties carry their texts as the old source has them.
struct County {
    int Province = 0;
    int City = 0;
    int Index = 0;
    QString CityName;
    QString CountyName;
    QString Longitude;
    QString Latitude;
    bool Approximate = false;
    qint64 Relation = 0; // the OpenStreetMap relation; 0 for a kept town that is no county
    bool Kept = false;
};

// A county of counties.tsv.
struct MappedCounty {
    int Line = 0;
    int Province = 0;
    QString Name;
    QString Latitude;
    QString Longitude;
    bool Centre = false;
    qint64 Relation = 0;
};

UserError At(const QString& file, int line, const QString& what) {
    return UserError(QStringLiteral("%1 line %2: %3").arg(file).arg(line).arg(what));
}

// The Persian alphabet's order, which the code points do not follow (peh, tcheh, jeh, keheh,
// gaf and Farsi yeh come after the Arabic letters). Names are compared as the search folds
// them: letters with madda or hamza sort with their plain letter, blanks and non-joiners count
// for nothing.
QString SortKey(const QString& name) {
    static const QString alphabet = QStringLiteral("ابپتثجچحخدذرزژسشصضطظعغفقکگلمنوهی");
    QString key;
    for (const QChar c : FoldedName(name)) {
        const qsizetype at = alphabet.indexOf(c);
        key.append(at >= 0 ? QChar(static_cast<char16_t>(0x100 + at)) : c);
    }
    return key;
}

// A name as people write it: without "شهرستان" (county) or "ویژه" (special, for a county with
// a status of its own) in front.
QString NameAsWritten(QString name) {
    static const QStringList prefixes = {QStringLiteral("شهرستان"), QStringLiteral("ویژه")};
    name = name.trimmed();
    for (bool cut = true; cut;) {
        cut = false;
        for (const QString& prefix : prefixes) {
            if (name.startsWith(prefix) && name.size() > prefix.size() &&
                (name.at(prefix.size()) == u' ' || name.at(prefix.size()) == u'\u200C')) {
                name = name.mid(prefix.size() + 1).trimmed();
                cut = true;
            }
        }
    }
    return name;
}

// The province's index, its line of ostan.txt from 1, for a name spelt either way.
int ProvinceOf(const QHash<QString, int>& provinces, const QString& name, const QString& file,
               int line) {
    const int index = provinces.value(FoldedName(name));
    if (index == 0) {
        throw At(file, line, QStringLiteral("the province '%1' is not in ostan.txt").arg(name));
    }
    return index;
}

double Degrees(const QString& text, double limit, const QString& file, int line) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || std::abs(value) > limit) {
        throw At(file, line, QStringLiteral("'%1' is no coordinate").arg(text));
    }
    return value;
}

std::vector<MappedCounty> ReadCounties(const QString& path, const QHash<QString, int>& provinces) {
    const QString text = QString::fromUtf8(ReadInputFile(path, SourceSizeLimit));
    std::vector<MappedCounty> counties;
    QSet<qint64> relations;
    int line = 0;
    for (const QString& raw : text.split(u'\n')) {
        ++line;
        const QString record = raw.endsWith(u'\r') ? raw.chopped(1) : raw;
        if (record.trimmed().isEmpty() || record.startsWith(u'#')) {
            continue;
        }
        // province, county, latitude, longitude, seat|centre, wikidata, relation, English name
        const QStringList fields = record.split(u'\t');
        if (fields.size() < 7) {
            throw At(path, line,
                     QStringLiteral("%1 fields where a county has 7 or more").arg(fields.size()));
        }
        MappedCounty county;
        county.Line = line;
        county.Province = ProvinceOf(provinces, fields[0], path, line);
        county.Name = NameAsWritten(fields[1]);
        if (county.Name.isEmpty()) {
            throw At(path, line, QStringLiteral("the county has no name"));
        }
        county.Latitude = fields[2].trimmed();
        county.Longitude = fields[3].trimmed();
        Degrees(county.Latitude, 90.0, path, line);
        Degrees(county.Longitude, 180.0, path, line);
        if (fields[4] != QStringLiteral("seat") && fields[4] != QStringLiteral("centre")) {
            throw At(path, line,
                     QStringLiteral("the point is '%1', neither seat nor centre").arg(fields[4]));
        }
        county.Centre = fields[4] == QStringLiteral("centre");
        bool ok = false;
        county.Relation = fields[6].toLongLong(&ok);
        if (!ok || county.Relation <= 0 || relations.contains(county.Relation)) {
            throw At(path, line,
                     QStringLiteral("the relation '%1' is not a number of its own").arg(fields[6]));
        }
        relations.insert(county.Relation);
        counties.push_back(county);
    }
    return counties;
}

// The counties of the old source, as they stand.
std::vector<County> ReadKept(const QString& path) {
    const QByteArray bytes = ReadInputFile(path, SourceSizeLimit);
    std::vector<County> kept;
    QHash<QString, qsizetype> at;
    const QStringList needed = {"Parts1_index",  "Parts2_index", "Parts3_index", "CountryParts2",
                                "CountryParts3", "Longitude",    "Latitude",     "OsmRelation"};
    ReadCsvRecords(bytes, path, [&](int line, const QStringList& fields) {
        if (at.isEmpty()) {
            for (const QString& column : needed) {
                const qsizetype i = fields.indexOf(column);
                if (i < 0) {
                    throw At(path, line, QStringLiteral("the header has no column %1").arg(column));
                }
                at.insert(column, i);
            }
            return;
        }
        const auto field = [&](const char* column) { return fields.value(at.value(column)); };
        const auto whole = [&](const char* column) {
            bool ok = false;
            const qint64 value = field(column).toLongLong(&ok);
            if (!ok || value < 0 || value > std::numeric_limits<int>::max()) {
                throw At(path, line, QStringLiteral("%1 is not an index").arg(column));
            }
            return value;
        };
        County county;
        county.Province = static_cast<int>(whole("Parts1_index"));
        county.City = static_cast<int>(whole("Parts2_index"));
        county.Index = static_cast<int>(whole("Parts3_index"));
        county.CityName = field("CountryParts2");
        county.CountyName = field("CountryParts3");
        county.Longitude = field("Longitude");
        county.Latitude = field("Latitude");
        county.Relation = field("OsmRelation").isEmpty() ? 0 : whole("OsmRelation");
        county.Kept = true;
        kept.push_back(county);
    });
    return kept;
}

// Two cities of a province under one name list once in the window, and the second's counties
// cannot be chosen; the old sample has such a pair on purpose, a new county may not make one.
void CheckCityNames(const std::vector<County>& counties) {
    QHash<QString, const County*> first; // province and city name -> its first county
    for (const County& county : counties) {
        const QString key = QString::number(county.Province) + u'/' + county.CityName;
        const County* earlier = first.value(key);
        if (!earlier) {
            first.insert(key, &county);
        } else if (earlier->City != county.City && !(earlier->Kept && county.Kept)) {
            throw UserError(QStringLiteral("county %1 (%2) would be a city of the same name as "
                                           "city %3 of province %4, and could not be chosen")
                                .arg(county.Index)
                                .arg(county.CountyName)
                                .arg(earlier->City)
                                .arg(county.Province));
        }
    }
}

std::vector<County> Merge(std::vector<County> counties, const std::vector<MappedCounty>& mapped,
                          const QString& tsvPath) {
    QHash<qint64, const MappedCounty*> byRelation;
    for (const MappedCounty& county : mapped) {
        byRelation.insert(county.Relation, &county);
    }
    int lastIndex = 0;
    int lastCity = 0;
    QSet<qint64> taken;
    for (const County& county : counties) {
        lastIndex = std::max(lastIndex, county.Index);
        lastCity = std::max(lastCity, county.City);
        if (county.Relation == 0) {
            continue;
        }
        const MappedCounty* same = byRelation.value(county.Relation);
        if (!same || same->Province != county.Province || taken.contains(county.Relation)) {
            throw UserError(QStringLiteral("county %1 (%2) stands for relation %3, which %4 "
                                           "does not hold once in province %5")
                                .arg(county.Index)
                                .arg(county.CountyName)
                                .arg(county.Relation)
                                .arg(tsvPath)
                                .arg(county.Province));
        }
        taken.insert(county.Relation);
    }

    std::vector<const MappedCounty*> added;
    for (const MappedCounty& county : mapped) {
        if (!taken.contains(county.Relation)) {
            added.push_back(&county);
        }
    }
    std::stable_sort(added.begin(), added.end(), [](const auto* a, const auto* b) {
        const QString keyA = SortKey(a->Name);
        const QString keyB = SortKey(b->Name);
        return a->Province != b->Province ? a->Province < b->Province
               : keyA != keyB             ? keyA < keyB
                                          : a->Relation < b->Relation;
    });
    for (const MappedCounty* county : added) {
        counties.push_back({.Province = county->Province,
                            .City = ++lastCity,
                            .Index = ++lastIndex,
                            .CityName = county->Name,
                            .CountyName = county->Name,
                            .Longitude = county->Longitude,
                            .Latitude = county->Latitude,
                            .Approximate = county->Centre,
                            .Relation = county->Relation});
    }
    std::stable_sort(counties.begin(), counties.end(), [](const County& a, const County& b) {
        if (a.Province != b.Province) {
            return a.Province < b.Province;
        }
        const QString cityA = SortKey(a.CityName);
        const QString cityB = SortKey(b.CityName);
        if (cityA != cityB) {
            return cityA < cityB;
        }
        if (a.City != b.City) {
            return a.City < b.City; // two cities of one name: the older first, as before
        }
        const QString countyA = SortKey(a.CountyName);
        const QString countyB = SortKey(b.CountyName);
        return countyA != countyB ? countyA < countyB : a.Index < b.Index;
    });
    CheckCityNames(counties);
    return counties;
}

QByteArray CsvOf(const std::vector<County>& counties) {
    const auto quoted = [](const QString& text) {
        return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
    };
    QString csv = QStringLiteral("Index,Parts1_index,Parts2_index,Parts3_index,CountryParts2,"
                                 "CountryParts3,Longitude,Latitude,Approximate,OsmRelation\r\n");
    for (const County& county : counties) {
        csv += QStringList{QString::number(county.Index),
                           QString::number(county.Province),
                           QString::number(county.City),
                           QString::number(county.Index),
                           quoted(county.CityName),
                           quoted(county.CountyName),
                           county.Longitude,
                           county.Latitude,
                           county.Approximate ? QStringLiteral("1") : QStringLiteral("0"),
                           county.Relation ? QString::number(county.Relation) : QString()}
                   .join(u',') +
               QStringLiteral("\r\n");
    }
    return csv.toUtf8();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() != 4) {
        std::fputs("usage: muezzin-citydata OSTAN.TXT KEPT.CSV COUNTIES.TSV OUT.CSV\n", stderr);
        return 2;
    }
    try {
        QHash<QString, int> provinces;
        const QStringList lines = ReadLines1256(arguments[0]);
        for (int i = 0; i < lines.size(); ++i) {
            provinces.insert(FoldedName(lines[i]), i + 1);
        }
        const std::vector<County> counties =
            Merge(ReadKept(arguments[1]), ReadCounties(arguments[2], provinces), arguments[2]);
        SaveBytes(arguments[3], CsvOf(counties));
    } catch (const UserError& error) {
        std::fprintf(stderr, "muezzin-citydata: %s\n", error.Text().toUtf8().constData());
        return 2;
    }
    return 0;
}
