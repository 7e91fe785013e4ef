#include "app/TimetableView.h"

#include "app/AppTexts.h"
#include "prayer/SolarYear.h"

#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

std::vector<TimetableDay> DecodeYearBlock(const YearBlock& block) {
    std::vector<TimetableDay> days;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= DaysInMonth(month); ++day) {
            TimetableDay entry;
            entry.Month = month;
            entry.Day = day;
            for (int t = 1; t <= TimesPerDay; ++t) {
                const std::size_t at = YearBlockTimeOffset(month, day, t);
                const int hour = block[at];
                const int minute = block[at + 1];
                const auto i = static_cast<std::size_t>(t - 1);
                entry.Times[i] = QStringLiteral("%1:%2")
                                     .arg(hour, 2, 10, QChar(u'0'))
                                     .arg(minute, 2, 10, QChar(u'0'));
                entry.Impossible[i] = hour > 23 || minute > 59;
            }
            days.push_back(entry);
        }
    }
    return days;
}

bool DayInUse(int solarYear, int month, int day) {
    return prayer::GregorianOfSolar(solarYear, month, day).has_value();
}

TimetableDialog::TimetableDialog(const QString& county, int year, const YearBlock& block,
                                 Today today, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TimetableDialog"));
    setWindowTitle(TimetableTitleTemplate.arg(county, QString::number(year)));
    const std::vector<TimetableDay> days = DecodeYearBlock(block);

    table_ = new QTableWidget(static_cast<int>(days.size()), 5, this);
    table_->setObjectName(QStringLiteral("TimetableTable"));
    QStringList heads(TimetableHeads.begin(), TimetableHeads.end());
    table_->setHorizontalHeaderLabels(heads);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    int todayRow = 0;
    for (int row = 0; row < static_cast<int>(days.size()); ++row) {
        const TimetableDay& day = days[static_cast<std::size_t>(row)];
        const bool inUse = DayInUse(year, day.Month, day.Day);
        unused_ += inUse ? 0 : 1;
        if (day.Month == today.Month && day.Day == today.Day) {
            todayRow = row;
        }
        auto* head = new QTableWidgetItem(QStringLiteral("%1/%2/%3")
                                              .arg(year)
                                              .arg(day.Month, 2, 10, QChar(u'0'))
                                              .arg(day.Day, 2, 10, QChar(u'0')));
        table_->setVerticalHeaderItem(row, head);
        for (int column = 0; column < 5; ++column) {
            const auto c = static_cast<std::size_t>(column);
            auto* item = new QTableWidgetItem(day.Times[c]);
            item->setTextAlignment(Qt::AlignCenter);
            if (!inUse) {
                item->setBackground(QColor(0xD8, 0xD8, 0xD8));
                item->setForeground(QColor(0x80, 0x80, 0x80));
                item->setToolTip(NotADayOfYearText());
            } else if (day.Impossible[c]) {
                item->setBackground(QColor(0xFF, 0x80, 0x80));
                item->setToolTip(NotATimeOfDayText());
                ++impossible_;
            }
            table_->setItem(row, column, item);
        }
    }
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->setCurrentCell(todayRow, 0);

    auto* summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("TimetableSummary"));
    const auto inUse = static_cast<int>(days.size()) - unused_;
    QString text = impossible_ == 0 ? AllTimesValidTemplate().arg(inUse)
                                    : SomeTimesInvalidTemplate().arg(inUse).arg(impossible_);
    if (unused_ > 0) {
        text += UnusedPlacesTemplate().arg(unused_);
    }
    summary->setText(text);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(table_);
    resize(560, 600);
}

// Only a table that has its size can put today's row in the middle.
void TimetableDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    table_->scrollToItem(table_->currentItem(), QAbstractItemView::PositionAtCenter);
}
