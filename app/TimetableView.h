#pragma once

#include "device/YearBlock.h"

#include <QDialog>
#include <QString>
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

// A window that lists a county's timetable of one solar year, for checking before writing.
class TimetableDialog : public QDialog {
    Q_OBJECT

public:
    TimetableDialog(int year, const YearBlock& block, QWidget* parent = nullptr);
    int ImpossibleCount() const { return impossible_; }

private:
    int impossible_ = 0;
};
