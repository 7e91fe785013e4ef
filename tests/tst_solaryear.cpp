#include "calendar/CalendarClock.h"
#include "prayer/SolarYear.h"

#include <QTest>

using namespace prayer;

Q_DECLARE_METATYPE(prayer::GregorianDate)

namespace {

CalendarClock SolarOf(const GregorianDate& date) {
    CalendarClock clock;
    clock.Year = date.Year;
    clock.Month = static_cast<std::uint8_t>(date.Month);
    clock.Day = static_cast<std::uint8_t>(date.Day);
    ToSolarDate(clock);
    return clock;
}

QString Text(const GregorianDate& date) {
    return QStringLiteral("%1-%2-%3").arg(date.Year).arg(date.Month).arg(date.Day);
}

} // namespace

namespace prayer {
char* toString(const GregorianDate& date) {
    return QTest::toString(Text(date));
}
} // namespace prayer

class SolarYearTest : public QObject {
    Q_OBJECT

private slots:
    // A missing date is written as 0-0-0.
    void edges_data() {
        QTest::addColumn<int>("solarYear");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<GregorianDate>("exact");
        QTest::addColumn<GregorianDate>("written");
        const auto row = [](const char* name, int solarYear, int month, int day,
                            GregorianDate exact, std::optional<GregorianDate> written = {}) {
            QTest::newRow(name) << solarYear << month << day << exact << written.value_or(exact);
        };
        const GregorianDate none{};
        row("1403/01/01 leap March", 1403, 1, 1, {2024, 3, 20});
        row("1402/12/30 short year", 1402, 12, 30, none, GregorianDate{2024, 3, 20});
        row("1403/12/30 long year", 1403, 12, 30, {2025, 3, 20});
        row("1404/12/30 short year", 1404, 12, 30, none, GregorianDate{2026, 3, 21});
        row("1403/10/11 31 December", 1403, 10, 11, {2024, 12, 31});
        row("1403/10/12 1 January", 1403, 10, 12, {2025, 1, 1});
        // The rule takes 2100 for a leap year: its 29 February is where 1478/12/10 would be.
        row("1478/12/09", 1478, 12, 9, {2100, 2, 28});
        row("1478/12/10 no such day", 1478, 12, 10, none, GregorianDate{2100, 3, 1});
        row("1478/12/11", 1478, 12, 11, {2100, 3, 1});
        row("1479/12/30", 1479, 12, 30, {2101, 3, 20});
    }

    void edges() {
        QFETCH(int, solarYear);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(GregorianDate, exact);
        QFETCH(GregorianDate, written);
        QCOMPARE(GregorianOfSolar(solarYear, month, day).value_or(GregorianDate{}), exact);
        QCOMPARE(TimetableDate(solarYear, month, day), written);
    }

    void outsideTheCalendar_data() {
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::newRow("month 0") << 0 << 1;
        QTest::newRow("month 13") << 13 << 1;
        QTest::newRow("day 0") << 1 << 0;
        QTest::newRow("1/32") << 1 << 32;
        QTest::newRow("7/31") << 7 << 31;
    }

    void outsideTheCalendar() {
        QFETCH(int, month);
        QFETCH(int, day);
        QVERIFY(!GregorianOfSolar(1404, month, day));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, TimetableDate(1404, month, day));
    }

    // Every Gregorian day of the covered years comes back from its solar date.
    void roundTripEveryDay() {
        for (int d = DaysSinceEpoch({1921, 1, 1}); d <= DaysSinceEpoch({2177, 12, 31}); ++d) {
            const GregorianDate date = DateOfEpochDay(d);
            const CalendarClock solar = SolarOf(date);
            const auto back = GregorianOfSolar(solar.SolarYear, solar.SolarMonth, solar.SolarDay);
            QVERIFY2(back && *back == date, qPrintable(Text(date)));
        }
    }

    // The file's days follow one another; a day repeats only where the rule has no date.
    void timetableYearIsContiguous() {
        for (int year = 1300; year <= 1555; ++year) {
            const auto dates = TimetableDates(year);
            QCOMPARE(dates.front(), GregorianOfSolar(year, 1, 1).value());
            const int nextNewYear = DaysSinceEpoch(GregorianOfSolar(year + 1, 1, 1).value());
            const int lastStep = nextNewYear - DaysSinceEpoch(dates.back());
            const bool longYear = (year + 622) % 4 == 1;
            QCOMPARE(lastStep, longYear ? 1 : 0);
            int repeats = 0;
            for (std::size_t i = 1; i < dates.size(); ++i) {
                const int step = DaysSinceEpoch(dates.at(i)) - DaysSinceEpoch(dates.at(i - 1));
                QVERIFY2(step == 0 || step == 1, qPrintable(Text(dates.at(i))));
                repeats += step == 0 ? 1 : 0;
            }
            QCOMPARE(repeats, year == 1478 ? 1 : 0);
        }
    }
};

QTEST_GUILESS_MAIN(SolarYearTest)
#include "tst_solaryear.moc"
