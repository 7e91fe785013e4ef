#include "calendar/CalendarClock.h"
#include "calendar/ZoneCheck.h"
#include "tests/LocalInstant.h"
#include "tests/PortableCases.h"

#include <QDateTime>
#include <QFile>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdlib>
#include <ctime>
#include <regex>

namespace {

void UseZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
}

// A zone by POSIX rule, so that no time-zone database is needed: Iran, UTC+3:30.
void UseIranTime() {
    UseZone("IRST-3:30");
}

// A zone named from the time-zone database needs its file, without which it reads as UTC; a
// POSIX rule (or UTC) needs none.
bool ZoneKnown(const QString& zone) {
    const bool rule = std::any_of(zone.begin(), zone.end(), [](QChar c) { return c.isDigit(); });
    return rule || !zone.contains(u'/') ||
           QFile::exists(QStringLiteral("/usr/share/zoneinfo/") + zone);
}

std::time_t UtcInstant(const int (&at)[6]) {
    return static_cast<std::time_t>(
        QDateTime(QDate(at[0], at[1], at[2]), QTime(at[3], at[4], at[5]), Qt::UTC)
            .toSecsSinceEpoch());
}

CalendarClock Converted(int year, int month, int day) {
    CalendarClock clock;
    clock.Year = year;
    clock.Month = static_cast<std::uint8_t>(month);
    clock.Day = static_cast<std::uint8_t>(day);
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

        for (const cases::SolarDate& date : cases::SolarDates) {
            QTest::newRow(date.Name) << date.Year << date.Month << date.Day << date.SolarYear
                                     << date.SolarMonth << date.SolarDay;
        }
    }

    void solarDate() {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(int, solarYear);
        QFETCH(int, solarMonth);
        QFETCH(int, solarDay);
        const CalendarClock clock = Converted(year, month, day);
        QCOMPARE(clock.SolarYear, solarYear);
        QCOMPARE(int{clock.SolarMonth}, solarMonth);
        QCOMPARE(int{clock.SolarDay}, solarDay);
    }

    // The zone's own rules decide the hour at each sample: what the record held before counts
    // for nothing, and neither does the solar date.
    void clockSample_data() {
        QTest::addColumn<int>("row");
        for (int row = 0; row < static_cast<int>(std::size(cases::ClockSamples)); ++row) {
            QTest::newRow(cases::ClockSamples[row].Name) << row;
        }
    }

    void clockSample() {
        QFETCH(int, row);
        const cases::ClockSample& sample = cases::ClockSamples[row];
        if (!ZoneKnown(QString::fromLatin1(sample.Zone))) {
            QSKIP("this zone is not in the system's time-zone database");
        }
        UseZone(sample.Zone);
        CalendarClock clock;
        clock.DaylightSaving = !sample.Daylight;
        SampleClock(clock, UtcInstant(sample.Utc));
        ToSolarDate(clock);
        UseIranTime();
        const std::vector<int> got = {clock.Year, clock.Month,  clock.Day,
                                      clock.Hour, clock.Minute, clock.Second};
        QCOMPARE(got, std::vector<int>(std::begin(sample.Sample), std::end(sample.Sample)));
        QCOMPARE(clock.DaylightSaving, sample.Daylight);
        const QDate sampled(sample.Sample[0], sample.Sample[1], sample.Sample[2]);
        QCOMPARE(int{clock.WeekDay}, sampled.dayOfWeek() % 7);
        QCOMPARE(clock.YearDay, sampled.dayOfYear() - 1);
        const std::string text = DateTextString(clock);
        QCOMPARE(QString::fromStdString(text).section(QStringLiteral(" , "), 3).left(2),
                 QStringLiteral("%1").arg(sample.LocalHour, 2, 10, QChar(u'0')));
    }

    // What the PC's zone is told against Iran Standard Time, in June 2026.
    void zoneCheck_data() {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<int>("verdict");
        QTest::addColumn<QString>("offset");
        QTest::addColumn<int>("daylightYear");
        const auto iran = static_cast<int>(ZoneVerdict::Iran);
        const auto other = static_cast<int>(ZoneVerdict::OtherOffset);
        const auto old = static_cast<int>(ZoneVerdict::OldIranRules);
        QTest::newRow("Asia/Tehran") << "Asia/Tehran" << iran << "+03:30" << 0;
        QTest::newRow("+03:30 without rules") << "IRST-3:30" << iran << "+03:30" << 0;
        QTest::newRow("Iran's old rule") << cases::OldIranRule << old << "+03:30" << 2023;
        QTest::newRow("UTC") << "UTC" << other << "+00:00" << 0;
        QTest::newRow("Berlin, in its summer time") << "Europe/Berlin" << other << "+01:00" << 2023;
        QTest::newRow("Dubai") << "Asia/Dubai" << other << "+04:00" << 0;
        QTest::newRow("New York") << "America/New_York" << other << "-05:00" << 2023;
        QTest::newRow("Kabul, half an hour off") << "Asia/Kabul" << other << "+04:30" << 0;
    }

    void zoneCheck() {
        QFETCH(QString, zone);
        QFETCH(int, verdict);
        QFETCH(QString, offset);
        QFETCH(int, daylightYear);
        if (!ZoneKnown(zone)) {
            QSKIP("this zone is not in the system's time-zone database");
        }
        UseZone(qPrintable(zone));
        const int now[6] = {2026, 6, 15, 8, 30, 0};
        const ZoneCheck check = CheckPcZone(UtcInstant(now));
        UseIranTime();
        QCOMPARE(static_cast<int>(check.Verdict), verdict);
        QCOMPARE(QString::fromStdString(UtcOffsetText(check.StandardOffsetMinutes)), offset);
        QCOMPARE(check.DaylightYear, daylightYear);
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
