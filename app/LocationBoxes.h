#pragma once

#include "location/LocationSelection.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class CityDatabase;
class QComboBox;

// The window's three location boxes (province, city, county) over the city database: a choice
// in one fills the next, and together they make the selection the apply sends.
class LocationBoxes {
public:
    // The selection is the window's; the database in startFolder is named now and opened at its
    // first query.
    LocationBoxes(QComboBox* province, QComboBox* city, QComboBox* county,
                  LocationSelection& selection, const QString& startFolder);
    ~LocationBoxes();

    // The lines of ostan.txt; the box keeps its caption text.
    void ShowProvinces(const QStringList& provinces);
    // What a box does when an item is chosen or the user types into it. A database error
    // throws UserError.
    void ProvinceChanged();
    void CityChanged();
    // The chosen county's texts for the window's fields; nothing when the text is no county.
    std::optional<CountyChoice> CountyChanged();
    // The boxes go to the stored county when the database has it. A county the database lacks
    // leaves no county chosen, so that an apply cannot mix the device's coordinates with another
    // county's name and timetables; the reason is returned for the status bar.
    std::optional<QString> ShowStoredCounty(int countyIndex);

private:
    QComboBox* province_;
    QComboBox* city_;
    QComboBox* county_;
    LocationSelection& selection_;
    QString startFolder_;
    std::unique_ptr<CityDatabase> database_;
};
