#include "app/TimetableView.h"

#include "app/AppTexts.h"
#include "location/LocationSelection.h"
#include "prayer/PrayerTimes.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

const QColor UnusedBackground(0xD8, 0xD8, 0xD8);
const QColor UnusedText(0x80, 0x80, 0x80);
const QColor ImpossibleBackground(0xFF, 0x80, 0x80);
constexpr int GregorianColumn = TimesPerDay;

QString SolarHeadText(int year, const TimetableDay& day) {
    return QStringLiteral("%1/%2/%3")
        .arg(year)
        .arg(day.Month, 2, 10, QChar(u'0'))
        .arg(day.Day, 2, 10, QChar(u'0'));
}

QString Degrees(double altitude) {
    return QString::number(-altitude);
}

} // namespace

TimetableDialog::TimetableDialog(TimetableCounty county, std::vector<TimetableYearView> years,
                                 Today today, QWidget* parent)
    : QDialog(parent), county_(std::move(county)), years_(std::move(years)), today_(today) {
    setObjectName(QStringLiteral("TimetableDialog"));
    // A Persian table reads from the right: the first time, dawn, stands at the right.
    setLayoutDirection(Qt::RightToLeft);

    yearBox_ = new QComboBox(this);
    yearBox_->setObjectName(QStringLiteral("TimetableYear"));
    for (const TimetableYearView& year : years_) {
        yearBox_->addItem(QString::number(year.Year));
    }
    auto* yearLabel = new QLabel(TimetableYearLabelText(), this);
    yearLabel->setBuddy(yearBox_);
    auto* print = new QPushButton(PrintTimetableText(), this);
    print->setObjectName(QStringLiteral("TimetablePrint"));
    auto* top = new QHBoxLayout;
    top->addWidget(yearLabel);
    top->addWidget(yearBox_);
    top->addStretch();
    top->addWidget(print);

    auto* facts = new QLabel(FactsText(), this);
    facts->setObjectName(QStringLiteral("TimetableFacts"));
    facts->setWordWrap(true);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("TimetableSummary"));
    summary_->setWordWrap(true);

    table_ = new QTableWidget(0, TimesPerDay + 1, this);
    table_->setObjectName(QStringLiteral("TimetableTable"));
    QStringList heads(TimetableHeads.begin(), TimetableHeads.end());
    heads.append(TimetableGregorianHead);
    table_->setHorizontalHeaderLabels(heads);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(facts);
    layout->addWidget(summary_);
    layout->addWidget(table_);
    resize(640, 640);

    connect(yearBox_, &QComboBox::currentIndexChanged, this, &TimetableDialog::ShowYear);
    connect(print, &QPushButton::clicked, this, &TimetableDialog::Print);
    ShowYear(0);
}

void TimetableDialog::ShowYear(int index) {
    if (index < 0 || index >= static_cast<int>(years_.size())) {
        return;
    }
    if (yearBox_->currentIndex() != index) {
        yearBox_->setCurrentIndex(index); // comes back here
        return;
    }
    const TimetableYearView& shown = years_[static_cast<std::size_t>(index)];
    shownYear_ = shown.Year;
    setWindowTitle(TimetableTitleTemplate.arg(county_.Name, QString::number(shown.Year)));
    days_ = shown.Block ? DecodeYearBlock(*shown.Block, shown.Year) : std::vector<TimetableDay>();
    impossible_ = 0;
    unused_ = 0;
    table_->clearContents();
    table_->setRowCount(static_cast<int>(days_.size()));
    int todayRow = 0;
    for (int row = 0; row < static_cast<int>(days_.size()); ++row) {
        const TimetableDay& day = days_[static_cast<std::size_t>(row)];
        unused_ += day.InYear() ? 0 : 1;
        if (index == 0 && day.Month == today_.Month && day.Day == today_.Day) {
            todayRow = row;
        }
        table_->setVerticalHeaderItem(row, new QTableWidgetItem(SolarHeadText(shown.Year, day)));
        for (int column = 0; column <= TimesPerDay; ++column) {
            const auto c = static_cast<std::size_t>(column);
            auto* item = new QTableWidgetItem(
                column == GregorianColumn
                    ? (day.Gregorian ? GregorianDayText(*day.Gregorian) : QString())
                    : day.Times[c]);
            item->setTextAlignment(Qt::AlignCenter);
            if (!day.InYear()) {
                item->setBackground(UnusedBackground);
                item->setForeground(UnusedText);
                item->setToolTip(NotADayOfYearText());
            } else if (column != GregorianColumn && day.Impossible[c]) {
                item->setBackground(ImpossibleBackground);
                item->setToolTip(NotATimeOfDayText());
                ++impossible_;
            }
            table_->setItem(row, column, item);
        }
    }
    if (!days_.empty()) {
        table_->setCurrentCell(todayRow, 0);
    }

    const auto inUse = static_cast<int>(days_.size()) - unused_;
    QString text = !shown.Block       ? shown.Problem
                   : impossible_ == 0 ? AllTimesValidTemplate().arg(inUse)
                                      : SomeTimesInvalidTemplate().arg(inUse).arg(impossible_);
    if (unused_ > 0) {
        text += UnusedPlacesTemplate().arg(unused_);
    }
    summary_->setText(text);
    if (isVisible() && table_->currentItem()) {
        table_->scrollToItem(table_->currentItem(), QAbstractItemView::PositionAtCenter);
    }
}

// The method and the zone are those of muezzin-timetable, which made the files.
QString TimetableDialog::FactsText() const {
    const QString place =
        county_.Place && UsableCoordinates(county_.Place->Latitude, county_.Place->Longitude)
            ? TimetablePlaceTemplate().arg(CoordinateText(county_.Place->Latitude),
                                           CoordinateText(county_.Place->Longitude))
            : TimetableNoPlaceText();
    return TimetableMethodTemplate().arg(Degrees(prayer::DawnAltitude),
                                         Degrees(prayer::HorizonAltitude),
                                         Degrees(prayer::MaghribAltitude)) +
           u'\n' + TimetableZoneText() + u'\n' + place;
}

void TimetableDialog::SetPrinterChooser(std::function<bool(QPrinter&)> choose) {
    chooser_ = std::move(choose);
}

void TimetableDialog::Print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    const bool chosen = chooser_ ? chooser_(printer) : [&] {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    }();
    if (chosen) {
        PrintTo(printer);
    }
}

// The table is laid out from the right by the order of its cells, which every printer keeps:
// the date first at the right, the Gregorian date last at the left.
void TimetableDialog::PrintTo(QPrinter& printer) const {
    const auto cell = [](const QString& tag, const QString& text, const QString& style = {}) {
        return QStringLiteral("<%1 align=\"center\"%2>%3</%1>")
            .arg(tag, style.isEmpty() ? QString() : QStringLiteral(" bgcolor=\"%1\"").arg(style),
                 text.toHtmlEscaped());
    };
    QString rows;
    QStringList heads(TimetableHeads.begin(), TimetableHeads.end());
    heads.prepend(TimetableDateHead);
    heads.append(TimetableGregorianHead);
    QString head;
    for (auto it = heads.crbegin(); it != heads.crend(); ++it) {
        head += cell(QStringLiteral("th"), *it);
    }
    rows += QStringLiteral("<tr>%1</tr>").arg(head);
    for (const TimetableDay& day : days_) {
        QStringList cells(day.Times.begin(), day.Times.end());
        cells.prepend(SolarHeadText(shownYear_, day));
        cells.append(day.Gregorian ? GregorianDayText(*day.Gregorian) : QString());
        const QString shade = day.InYear() ? QString() : UnusedBackground.name();
        QString row;
        for (auto it = cells.crbegin(); it != cells.crend(); ++it) {
            row += cell(QStringLiteral("td"), *it, shade);
        }
        rows += QStringLiteral("<tr>%1</tr>").arg(row);
    }
    QString facts = FactsText().toHtmlEscaped();
    facts.replace(u'\n', QStringLiteral("<br>"));
    const QString html =
        QStringLiteral("<h3 dir=\"rtl\" align=\"right\">%1</h3><p dir=\"rtl\" align=\"right\">%2"
                       "</p><p dir=\"rtl\" align=\"right\">%3</p>"
                       "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\">"
                       "%4</table>")
            .arg(windowTitle().toHtmlEscaped(), facts, summary_->text().toHtmlEscaped(), rows);
    QTextDocument document;
    document.setDefaultFont(font());
    document.setHtml(html);
    document.print(&printer);
}

// Only a table that has its size can put today's row in the middle.
void TimetableDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (table_->currentItem()) {
        table_->scrollToItem(table_->currentItem(), QAbstractItemView::PositionAtCenter);
    }
}
