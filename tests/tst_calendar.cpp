#include "calendar/CalendarClock.h"
#include "tests/LocalInstant.h"
#include "tests/PortableCases.h"

#include <QTest>
#include <chrono>
#include <clocale>
#include <cstdlib>
#include <ctime>
#include <regex>

namespace {

// A zone by POSIX rule, so that no time-zone database is needed: Iran, UTC+3:30.
void UseIranTime() {
    setenv("TZ", "IRST-3:30", 1);
    tzset();
}

CalendarClock Converted(int year, int month, int day, bool daylightBefore = false) {
    CalendarClock clock;
    clock.Year = year;
    clock.Month = static_cast<std::uint8_t>(month);
    clock.Day = static_cast<std::uint8_t>(day);
    clock.DaylightSaving = daylightBefore;
    ToSolarDate(clock);
    return clock;
}

double ProcessCpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

} // namespace

class CalendarTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { UseIranTime(); }

    void solarDate_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("solarYear");
        QTest::addColumn<int>("solarMonth");
        QTest::addColumn<int>("solarDay");
        QTest::addColumn<bool>("saving");

        for (const cases::SolarDate& date : cases::SolarDates) {
            QTest::newRow(date.Name) << date.Year << date.Month << date.Day << date.SolarYear
                                     << date.SolarMonth << date.SolarDay << date.Saving;
        }
    }

    void solarDate() {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(int, solarYear);
        QFETCH(int, solarMonth);
        QFETCH(int, solarDay);
        QFETCH(bool, saving);
        const CalendarClock clock = Converted(year, month, day);
        QCOMPARE(clock.SolarYear, solarYear);
        QCOMPARE(int{clock.SolarMonth}, solarMonth);
        QCOMPARE(int{clock.SolarDay}, solarDay);
        QCOMPARE(clock.DaylightSaving, saving);
    }

    // Before the solar new year the flag is not decided again: it keeps what it had.
    void daylightUntouchedBeforeNewYear() {
        QVERIFY(Converted(2026, 3, 20, true).DaylightSaving);
        QVERIFY(!Converted(2026, 3, 20, false).DaylightSaving);
        QVERIFY(!Converted(2026, 3, 21, true).DaylightSaving);
    }

    // Every day of a span of years maps to a valid solar date, one day after the other.
    void everyDayAdvancesByOne() {
        std::time_t t = LocalInstant(2023, 1, 1, 12, 0, 0);
        CalendarClock previous;
        SampleClock(previous, t);
        ToSolarDate(previous);
        for (int i = 0; i < 366 * 8; ++i) {
            t += 86400;
            CalendarClock clock;
            SampleClock(clock, t);
            ToSolarDate(clock);
            QVERIFY(clock.SolarMonth >= 1 && clock.SolarMonth <= 12);
            QVERIFY(clock.SolarDay >= 1 && clock.SolarDay <= 31);
            const bool nextDay = clock.SolarYear == previous.SolarYear &&
                                 clock.SolarMonth == previous.SolarMonth &&
                                 clock.SolarDay == previous.SolarDay + 1;
            const bool nextMonth = clock.SolarYear == previous.SolarYear &&
                                   clock.SolarMonth == previous.SolarMonth + 1 &&
                                   clock.SolarDay == 1;
            const bool nextYear = clock.SolarYear == previous.SolarYear + 1 &&
                                  clock.SolarMonth == 1 && clock.SolarDay == 1 &&
                                  previous.SolarMonth == 12;
            if (!(nextDay || nextMonth || nextYear)) {
                QFAIL(qPrintable(QStringLiteral("%1-%2-%3 follows %4/%5/%6 as %7/%8/%9")
                                     .arg(clock.Year)
                                     .arg(clock.Month)
                                     .arg(clock.Day)
                                     .arg(previous.SolarYear)
                                     .arg(previous.SolarMonth)
                                     .arg(previous.SolarDay)
                                     .arg(clock.SolarYear)
                                     .arg(clock.SolarMonth)
                                     .arg(clock.SolarDay)));
            }
            previous = clock;
        }
    }

    void sampleFields() {
        CalendarClock clock;
        SampleClock(clock, LocalInstant(2026, 3, 5, 14, 7, 9));
        QCOMPARE(clock.Year, 2026);
        QCOMPARE(int{clock.Month}, 3);
        QCOMPARE(int{clock.Day}, 5);
        QCOMPARE(int{clock.WeekDay}, 4); // a Thursday
        QCOMPARE(clock.YearDay, 63);
        QCOMPARE(int{clock.SolarWeekDay}, 6);
        QCOMPARE(int{clock.Hour}, 14);
        QCOMPARE(int{clock.Minute}, 7);
        QCOMPARE(int{clock.Second}, 9);
        QCOMPARE(DateTextString(clock), std::string("Thursday , March(03) , 2026 , 14:07:09 PM"));
    }

    void solarWeekDay_data() {
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("expected");
        // 2026-03-06 is a Friday, the 7th a Saturday.
        QTest::newRow("Friday") << 6 << 0;
        QTest::newRow("Saturday") << 7 << 1;
        QTest::newRow("Sunday") << 8 << 2;
        QTest::newRow("Thursday") << 12 << 6;
    }

    void solarWeekDay() {
        QFETCH(int, day);
        QFETCH(int, expected);
        CalendarClock clock;
        SampleClock(clock, LocalInstant(2026, 3, day, 10, 0, 0));
        QCOMPARE(int{clock.SolarWeekDay}, expected);
    }

    // While daylight saving is on, the sample is an hour early; the text is not.
    void daylightShiftsSampleNotText() {
        CalendarClock clock;
        clock.DaylightSaving = true;
        SampleClock(clock, LocalInstant(2026, 6, 10, 0, 30, 0));
        QCOMPARE(int{clock.Hour}, 23);
        QCOMPARE(int{clock.Day}, 9);
        QCOMPARE(int{clock.Minute}, 30);
        QCOMPARE(DateTextString(clock), std::string("Wednesday , June(06) , 2026 , 00:30:00 AM"));

        clock.DaylightSaving = true;
        SampleClock(clock, LocalInstant(2026, 1, 1, 0, 10, 0));
        QCOMPARE(clock.Year, 2025);
        QCOMPARE(int{clock.Month}, 12);
        QCOMPARE(int{clock.Day}, 31);
        QCOMPARE(clock.YearDay, 364);
    }

    // The tick: the flag decided from one sample shifts the next.
    void daylightCarriedToNextSample() {
        CalendarClock clock;
        SampleClock(clock, LocalInstant(2026, 3, 22, 0, 30, 0));
        ToSolarDate(clock);
        QVERIFY(clock.DaylightSaving);
        SampleClock(clock, LocalInstant(2026, 3, 22, 0, 30, 1));
        ToSolarDate(clock);
        QCOMPARE(int{clock.Day}, 21); // an hour back is still the 21st
        QCOMPARE(int{clock.SolarDay}, 1);
        QVERIFY(!clock.DaylightSaving);
    }

    void dateTextIgnoresProcessLocale() {
        const std::time_t t = LocalInstant(2026, 3, 7, 9, 5, 7);
        const std::string before = FormatDateText(t);
        for (const char* name : {"C.UTF-8", "fa_IR.UTF-8", "de_DE.UTF-8", ""}) {
            std::setlocale(LC_ALL, name);
            QCOMPARE(FormatDateText(t), before);
        }
        std::setlocale(LC_ALL, "C");
        QCOMPARE(before, std::string("Saturday , March(03) , 2026 , 09:05:07 AM"));
    }

    void displayTexts_data() {
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        QTest::addColumn<int>("second");
        QTest::addColumn<QString>("time");
        QTest::newRow("padded") << 9 << 5 << 7 << " 09 : 05 : 07";
        QTest::newRow("midnight") << 0 << 0 << 0 << " 00 : 00 : 00";
        QTest::newRow("last second") << 23 << 59 << 59 << " 23 : 59 : 59";
    }

    void displayTexts() {
        QFETCH(int, hour);
        QFETCH(int, minute);
        QFETCH(int, second);
        QFETCH(QString, time);
        CalendarClock clock;
        clock.Hour = static_cast<std::uint8_t>(hour);
        clock.Minute = static_cast<std::uint8_t>(minute);
        clock.Second = static_cast<std::uint8_t>(second);
        QCOMPARE(QString::fromStdString(ClockTimeText(clock)), time);
    }

    void solarDateText() {
        const CalendarClock clock = Converted(2026, 3, 22);
        QCOMPARE(SolarDateText(clock), std::string(" 1405 / 01 / 02"));
    }

    // ReadClock sleeps to the boundary: it samples the second that has just begun and
    // burns almost no processor time while it waits.
    void readClockWaitsWithoutSpinning() {
        using namespace std::chrono;
        const double cpuBefore = ProcessCpuSeconds();
        for (int i = 0; i < 2; ++i) {
            CalendarClock clock;
            ReadClock(clock);
            const auto now = system_clock::now();
            const auto since = now - floor<seconds>(now);
            const std::time_t t = system_clock::to_time_t(floor<seconds>(now));
            std::tm parts{};
            localtime_r(&t, &parts);
            QCOMPARE(int{clock.Second}, parts.tm_sec);
            QVERIFY2(since < milliseconds(250), "ReadClock returned long after the boundary");
        }
        QVERIFY2(ProcessCpuSeconds() - cpuBefore < 0.2, "ReadClock spins while it waits");
    }
};

QTEST_APPLESS_MAIN(CalendarTest)
#include "tst_calendar.moc"
