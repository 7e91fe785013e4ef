#include "app/TimetableView.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Column heads: the three calls to prayer, and sunrise and sunset between them.
const std::array<QString, 5> Heads = {QStringLiteral("اذان صبح"), QStringLiteral("طلوع آفتاب"),
                                      QStringLiteral("اذان ظهر"), QStringLiteral("غروب آفتاب"),
                                      QStringLiteral("اذان مغرب")};

} // namespace

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

TimetableDialog::TimetableDialog(int year, const YearBlock& block, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TimetableDialog"));
    setWindowTitle(QStringLiteral("%1 - %2").arg(year).arg(Heads[0]));
    const std::vector<TimetableDay> days = DecodeYearBlock(block);

    auto* table = new QTableWidget(static_cast<int>(days.size()), 5, this);
    table->setObjectName(QStringLiteral("TimetableTable"));
    QStringList heads(Heads.begin(), Heads.end());
    table->setHorizontalHeaderLabels(heads);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < static_cast<int>(days.size()); ++row) {
        const TimetableDay& day = days[static_cast<std::size_t>(row)];
        table->setVerticalHeaderItem(row,
                                     new QTableWidgetItem(QStringLiteral("%1/%2/%3")
                                                              .arg(year)
                                                              .arg(day.Month, 2, 10, QChar(u'0'))
                                                              .arg(day.Day, 2, 10, QChar(u'0'))));
        for (int column = 0; column < 5; ++column) {
            const auto c = static_cast<std::size_t>(column);
            auto* item = new QTableWidgetItem(day.Times[c]);
            item->setTextAlignment(Qt::AlignCenter);
            if (day.Impossible[c]) {
                item->setBackground(QColor(0xFF, 0x80, 0x80));
                item->setToolTip(tr("not a time of day"));
                ++impossible_;
            }
            table->setItem(row, column, item);
        }
    }
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto* summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("TimetableSummary"));
    summary->setText(impossible_ == 0 ? tr("%1 days, every time a time of day").arg(days.size())
                                      : tr("%1 days; %2 times are not times of day (marked)")
                                            .arg(days.size())
                                            .arg(impossible_));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(table);
    resize(560, 600);
}
