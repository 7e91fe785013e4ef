#include "location/CountySearch.h"

#include "location/CityDatabase.h"

namespace {

constexpr char16_t ArabicYeh = u'\u064A';
constexpr char16_t FarsiYeh = u'\u06CC';
constexpr char16_t ArabicKaf = u'\u0643';
constexpr char16_t Keheh = u'\u06A9';
constexpr char16_t ZeroWidthNonJoiner = u'\u200C';

CountyListing ListingOf(const CityRow& row, const QStringList& provinces) {
    return {row.County,    provinces.value(row.Province - 1),
            row.CityName,  row.CountyName,
            row.Longitude, row.Latitude};
}

bool Contains(const CountyListing& county, const QString& foldedText) {
    for (const QString* name : {&county.CountyName, &county.CityName, &county.ProvinceName}) {
        if (FoldedName(*name).contains(foldedText)) {
            return true;
        }
    }
    return false;
}

} // namespace

QString FoldedName(const QString& name) {
    QString folded;
    folded.reserve(name.size());
    for (const QChar c : name) {
        switch (c.unicode()) {
        case ZeroWidthNonJoiner:
            break;
        case ArabicYeh:
            folded.append(QChar(FarsiYeh));
            break;
        case ArabicKaf:
            folded.append(QChar(Keheh));
            break;
        default:
            folded.append(c);
        }
    }
    return folded.toCaseFolded();
}

std::vector<CountyListing> CountiesMatching(CityDatabase& db, const QStringList& provinces,
                                            const QString& text) {
    const QString wanted = FoldedName(text.trimmed());
    std::vector<CountyListing> found;
    for (const CityRow& row : db.AllRows()) {
        CountyListing county = ListingOf(row, provinces);
        if (Contains(county, wanted)) {
            found.push_back(std::move(county));
        }
    }
    return found;
}

std::vector<CountyListing> CountiesNamed(CityDatabase& db, const QStringList& provinces,
                                         const QString& name) {
    const QString wanted = FoldedName(name.trimmed());
    std::vector<CountyListing> exact;
    std::vector<CountyListing> containing;
    for (const CityRow& row : db.AllRows()) {
        CountyListing county = ListingOf(row, provinces);
        if (FoldedName(county.CountyName.trimmed()) == wanted) {
            exact.push_back(std::move(county));
        } else if (exact.empty() && Contains(county, wanted)) {
            containing.push_back(std::move(county));
        }
    }
    return exact.empty() ? containing : exact;
}

std::optional<CountyListing> CountyByIndex(CityDatabase& db, const QStringList& provinces,
                                           int countyIndex) {
    const std::vector<CityRow> rows = db.RowsOfCounty(countyIndex);
    if (rows.empty()) {
        return std::nullopt;
    }
    return ListingOf(rows.front(), provinces);
}
