#pragma once

#include "location/GlyphEncoding.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class CityDatabase;

// What the three location boxes (province, city, county) leave behind. The window and the
// command line both drive it through the step functions below.
struct LocationSelection {
    int ProvinceIndex = 0; // Parts1_index of the chosen province
    int CityIndex = 0;     // Parts2_index of the chosen city
    int CountyIndex = 0;   // Parts3_index of the chosen county
    // Entry k: the index behind item k of the city box, and of the county box.
    std::vector<int> CityIndexList;
    std::vector<int> CountyIndexList;
    QString TimetableFolder;     // ends with "/"
    GlyphCodeArray GlyphCodes{}; // all zero until the first county choice
    // The chosen county's coordinates as the database holds them, from which its missing
    // timetables are computed.
    double Latitude = 0.0;
    double Longitude = 0.0;
};

// The texts a county choice puts into the window's fields.
struct CountyChoice {
    QString CountyIndexText;
    QString LongitudeText; // "51.42": two decimals, always with a full stop
    QString LatitudeText;
    QString CountyName;
    bool Approximate = false; // the coordinates are the county's centre, not its seat
};

// A coordinate as the window's fields show it: "51.42", two decimals, always with a full stop.
QString CoordinateText(double degrees);

// On a database error each step throws UserError and leaves the lists as they were; only the
// index the step sets first (ProvinceIndex, CityIndex or CountyIndex) has its new value.

// Province box item comboIndex (-1 when the user typed instead of choosing) was chosen.
// Returns the items of the city box: the province's city names, each once, the first row of a
// name deciding its index. The county box and its list stay as they were.
QStringList ChooseProvince(LocationSelection& selection, CityDatabase& db, int comboIndex);

// City box item comboIndex was chosen. Returns the items of the county box, one per row of the
// city, or nothing (and changes nothing) when comboIndex is not an item.
std::optional<QStringList> ChooseCity(LocationSelection& selection, CityDatabase& db,
                                      int comboIndex);

// County box item comboIndex was chosen: sets the county's index, display glyphs and timetable
// folder under startFolder (which ends with "/"). Returns the field texts, or nothing (and
// changes nothing) when comboIndex is not an item.
std::optional<CountyChoice> ChooseCounty(LocationSelection& selection, CityDatabase& db,
                                         int comboIndex, const QString& startFolder);

// A county chosen by its index alone, and where the boxes stand once it is chosen.
struct CountySelection {
    int ProvinceItem = -1; // item of the province box (a line of ostan.txt, from 0)
    int CityItem = -1;
    int CountyItem = -1;
    QString ProvinceName;
    QStringList CityNames;   // items of the city box
    QStringList CountyNames; // items of the county box
    CountyChoice Choice;
};

// Chooses the county with Parts3_index countyIndex as a user would through the three boxes: its
// province among provinces (the lines of ostan.txt), its city and then the county, leaving the
// same selection. Throws UserError, leaving the selection untouched, for an unknown county, a
// province not in the list, or a county the boxes cannot reach (its city's name is listed
// under an earlier city of the province).
CountySelection SelectCountyByIndex(LocationSelection& selection, CityDatabase& db, int countyIndex,
                                    const QString& startFolder, const QStringList& provinces);
