#pragma once

#include "device/YearBlock.h"

#include <QDialog>
#include <QString>
#include <QTableWidget>
#include <array>
#include <vector>

// One day of a year block as the device will get it.
struct TimetableDay {
    int Month = 0;
    int Day = 0;
    std::array<QString, 5> Times; // "05:04"; a value no clock can show is written as it is
    std::array<bool, 5> Impossible{};
};

// The 366 days of a year block, in the device's order.
std::vector<TimetableDay> DecodeYearBlock(const YearBlock& block);

// Whether the device's calendar has this day in this solar year; the block keeps a place for
// the 30th of month 12 in every year, which a common year never reaches.
bool DayInUse(int solarYear, int month, int day);

// A window that lists a county's timetable of one solar year, for checking before writing. It
// opens at today's row; days the year does not have are greyed and not counted as faults.
class TimetableDialog : public QDialog {
    Q_OBJECT

public:
    struct Today {
        int Month = 0;
        int Day = 0;
    };
    TimetableDialog(const QString& county, int year, const YearBlock& block, Today today,
                    QWidget* parent = nullptr);
    int ImpossibleCount() const { return impossible_; }
    int UnusedCount() const { return unused_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QTableWidget* table_ = nullptr;
    int impossible_ = 0;
    int unused_ = 0;
};
