#include "app/LocationBoxes.h"

#include "app/AppTexts.h"
#include "common/UserError.h"
#include "location/CityDatabase.h"

#include <QComboBox>

namespace {

// The item a box stands on: typed text that is no item gives -1.
int ChosenItem(const QComboBox* box) {
    const int index = box->currentIndex();
    return index >= 0 && box->itemText(index) == box->currentText() ? index : -1;
}

void ReplaceItems(QComboBox* box, const QStringList& items) {
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(QString());
}

void ShowListHint(QComboBox* box, int count) {
    box->setToolTip(QString::number(count));
    box->setStatusTip(QString::number(count));
}

} // namespace

LocationBoxes::LocationBoxes(QComboBox* province, QComboBox* city, QComboBox* county,
                             LocationSelection& selection, const QString& startFolder)
    : province_(province), city_(city), county_(county), selection_(selection),
      startFolder_(startFolder),
      database_(std::make_unique<CityDatabase>(CityDatabase::PathIn(startFolder))) {}

LocationBoxes::~LocationBoxes() = default;

void LocationBoxes::ShowProvinces(const QStringList& provinces) {
    const QString shown = province_->currentText();
    province_->clear();
    province_->addItems(provinces);
    province_->setCurrentIndex(-1);
    province_->setEditText(shown);
}

void LocationBoxes::ProvinceChanged() {
    const QStringList cities = ChooseProvince(selection_, *database_, ChosenItem(province_));
    ReplaceItems(city_, cities);
    county_->setEditText(QString()); // its items stay until a city is chosen
    ShowListHint(city_, static_cast<int>(cities.size()));
}

void LocationBoxes::CityChanged() {
    const auto counties = ChooseCity(selection_, *database_, ChosenItem(city_));
    if (!counties) {
        return; // typed text is no city: nothing to list
    }
    ReplaceItems(county_, *counties);
    ShowListHint(county_, static_cast<int>(counties->size()));
}

std::optional<CountyChoice> LocationBoxes::CountyChanged() {
    return ChooseCounty(selection_, *database_, ChosenItem(county_), startFolder_);
}

std::optional<QString> LocationBoxes::ShowStoredCounty(int countyIndex) {
    QStringList provinces;
    for (int i = 0; i < province_->count(); ++i) {
        provinces.append(province_->itemText(i));
    }
    LocationSelection selection = selection_;
    try {
        const CountySelection found =
            SelectCountyByIndex(selection, *database_, countyIndex, startFolder_, provinces);
        selection_ = selection;
        province_->setCurrentIndex(found.ProvinceItem);
        ReplaceItems(city_, found.CityNames);
        city_->setCurrentIndex(found.CityItem);
        ShowListHint(city_, static_cast<int>(found.CityNames.size()));
        ReplaceItems(county_, found.CountyNames);
        county_->setCurrentIndex(found.CountyItem);
        ShowListHint(county_, static_cast<int>(found.CountyNames.size()));
    } catch (const UserError& error) {
        selection_.CountyIndex = countyIndex;
        selection_.TimetableFolder.clear();
        county_->setEditText(QString());
        return WindowWords(error.Reported());
    }
    return std::nullopt;
}
