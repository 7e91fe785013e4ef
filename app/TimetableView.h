#pragma once

#include "device/TimetableDays.h"
#include "device/TimetableYears.h"
#include "device/YearBlock.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QPrinter;
class QTableWidget;

// What the view has of one year of the upload: its block, or the lines that say why there is
// none and what would make it.
struct TimetableYearView {
    int Year = 0;
    std::optional<YearBlock> Block;
    QString Problem;
};

// The county the view belongs to: its name, as the county box shows it, and its place.
struct TimetableCounty {
    QString Name;
    std::optional<CountyPlace> Place;
};

// A window that lists a county's timetables as the device will get them, for checking before
// writing and for printing: one year of the upload at a time, chosen in a box, under the method,
// the time zone and the county's coordinates; the columns read from right to left. It opens at
// the first year, at today's row; days the year does not have are greyed and not counted as
// faults.
class TimetableDialog : public QDialog {
    Q_OBJECT

public:
    struct Today {
        int Month = 0;
        int Day = 0;
    };
    TimetableDialog(TimetableCounty county, std::vector<TimetableYearView> years, Today today,
                    QWidget* parent = nullptr);

    // Shows the year at that place of the list (the year box does so too).
    void ShowYear(int index);
    // The shown year, with what the view says above it, on the printer: paper or a PDF file.
    void PrintTo(QPrinter& printer) const;
    // Asks where to print, as the print button does; true to print. Replaceable for tests.
    void SetPrinterChooser(std::function<bool(QPrinter&)> choose);

    int ImpossibleCount() const { return impossible_; }
    int UnusedCount() const { return unused_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Print();
    QString FactsText() const;

    TimetableCounty county_;
    std::vector<TimetableYearView> years_;
    Today today_;
    std::vector<TimetableDay> days_; // of the year shown
    int shownYear_ = 0;
    QComboBox* yearBox_ = nullptr;
    QLabel* summary_ = nullptr;
    QTableWidget* table_ = nullptr;
    std::function<bool(QPrinter&)> chooser_;
    int impossible_ = 0;
    int unused_ = 0;
};
