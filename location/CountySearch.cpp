#include "location/CountySearch.h"

#include "location/CityDatabase.h"

namespace {

constexpr char16_t Alef = u'\u0627';
constexpr char16_t Waw = u'\u0648';
constexpr char16_t Heh = u'\u0647';
constexpr char16_t FarsiYeh = u'\u06CC';
constexpr char16_t Keheh = u'\u06A9';

// What a letter is typed as by someone who leaves out madda and hamza and writes the Persian
// yeh and kaf; 0 for a character that is left out altogether.
char16_t TypedAs(char16_t c) {
    switch (c) {
    case u'\u0622': // alef with madda above
    case u'\u0623': // alef with hamza above
    case u'\u0625': // alef with hamza below
    case u'\u0671': // alef wasla
        return Alef;
    case u'\u0624': // waw with hamza above
        return Waw;
    case u'\u0626': // yeh with hamza above
    case u'\u0649': // alef maksura
    case u'\u064A': // Arabic yeh
        return FarsiYeh;
    case u'\u0643': // Arabic kaf
        return Keheh;
    case u'\u06C0': // heh with yeh above
        return Heh;
    case u'\u0621': // hamza
    case u'\u0654': // hamza above, combining
    case u'\u0655': // hamza below, combining
    case u'\u200C': // zero-width non-joiner
    case u' ':
        return 0;
    default:
        return c;
    }
}

// Persian digits U+06F0-U+06F9 and Arabic-Indic digits U+0660-U+0669 as 0-9.
char16_t LatinDigit(char16_t c) {
    if (c >= u'\u06F0' && c <= u'\u06F9') {
        return static_cast<char16_t>(u'0' + (c - u'\u06F0'));
    }
    if (c >= u'\u0660' && c <= u'\u0669') {
        return static_cast<char16_t>(u'0' + (c - u'\u0660'));
    }
    return c;
}

CountyListing ListingOf(const CityRow& row, const QStringList& provinces) {
    return {row.County,     provinces.value(row.Province - 1),
            row.CityName,   row.CountyName,
            row.Longitude,  row.Latitude,
            row.Approximate};
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
        const char16_t typed = TypedAs(LatinDigit(c.unicode()));
        if (typed != 0) {
            folded.append(QChar(typed));
        }
    }
    return folded.toCaseFolded();
}

QString WithLatinDigits(const QString& text) {
    QString latin = text;
    for (QChar& c : latin) {
        c = QChar(LatinDigit(c.unicode()));
    }
    return latin;
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
