#include "prayer/PrayerTimes.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace prayer;

Q_DECLARE_METATYPE(prayer::GregorianDate)

namespace {

constexpr double Nan = std::numeric_limits<double>::quiet_NaN();
const Place Tehran{35.69, 51.39};

// Every day of the years the solar calendar's files cover (1300..1555).
std::vector<GregorianDate> CoveredDays() {
    std::vector<GregorianDate> days;
    for (int d = DaysSinceEpoch({1921, 3, 21}); d <= DaysSinceEpoch({2177, 3, 20}); ++d) {
        days.push_back(DateOfEpochDay(d));
    }
    return days;
}

} // namespace

class PrayerTimesTest : public QObject {
    Q_OBJECT

private slots:
    // Official Tehran timetables. Iran has kept standard time all year since 2023 (daylight
    // saving was abolished in 2022), so the June 2024 figures are already UTC+3:30.
    void publishedTehran_data() {
        QTest::addColumn<GregorianDate>("date");
        QTest::addColumn<int>("time");
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        const auto add = [](const char* name, GregorianDate date,
                            std::array<ClockTime, TimesPerDay> published) {
            static const std::array<const char*, TimesPerDay> labels = {"dawn", "sunrise", "noon",
                                                                        "sunset", "maghrib"};
            for (std::size_t t = 0; t < TimesPerDay; ++t) {
                QTest::addRow("%s %s", name, labels.at(t))
                    << date << static_cast<int>(t) << published.at(t).Hour
                    << published.at(t).Minute;
            }
        };
        add("2023-03-07", {2023, 3, 7}, {{{5, 4}, {6, 27}, {12, 15}, {18, 4}, {18, 23}}});
        add("2024-06-20", {2024, 6, 20}, {{{3, 2}, {4, 49}, {12, 6}, {19, 23}, {19, 45}}});
        add("2024-11-27", {2024, 11, 27}, {{{5, 24}, {6, 52}, {11, 52}, {16, 52}, {17, 12}}});
    }

    void publishedTehran() {
        QFETCH(GregorianDate, date);
        QFETCH(int, time);
        QFETCH(int, hour);
        QFETCH(int, minute);
        const auto computed = ComputePrayerTimes(date, Tehran).at(static_cast<std::size_t>(time));
        QVERIFY(computed.has_value());
        const int difference = computed->Hour * 60 + computed->Minute - (hour * 60 + minute);
        QVERIFY2(std::abs(difference) <= 1, qPrintable(QStringLiteral("%1:%2 off by %3 min")
                                                           .arg(computed->Hour)
                                                           .arg(computed->Minute)
                                                           .arg(difference)));
    }

    // Which times exist where the sun stays up or down: '+' defined, '-' undefined.
    void undefinedTimes_data() {
        QTest::addColumn<double>("latitude");
        QTest::addColumn<GregorianDate>("date");
        QTest::addColumn<QString>("defined");
        QTest::newRow("49N June, no dawn") << 49.0 << GregorianDate{2024, 6, 21} << "-++++";
        QTest::newRow("49S December, no dawn") << -49.0 << GregorianDate{2024, 12, 21} << "-++++";
        QTest::newRow("60N June, maghrib kept") << 60.0 << GregorianDate{2024, 6, 21} << "-++++";
        QTest::newRow("70N June, midnight sun") << 70.0 << GregorianDate{2024, 6, 21} << "--+--";
        QTest::newRow("70N December, polar night")
            << 70.0 << GregorianDate{2024, 12, 21} << "+-+-+";
        QTest::newRow("85N December, no twilight")
            << 85.0 << GregorianDate{2024, 12, 21} << "--+--";
    }

    void undefinedTimes() {
        QFETCH(double, latitude);
        QFETCH(GregorianDate, date);
        QFETCH(QString, defined);
        const DayTimes times = ComputePrayerTimes(date, Place{latitude, 51.39});
        QString seen;
        for (const auto& time : times) {
            seen += time ? '+' : '-';
        }
        QCOMPARE(seen, defined);
    }

    void acceptance_data() {
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("past the limit N") << 48.81 << 0.0 << false;
        QTest::newRow("past the limit S") << -48.81 << 0.0 << false;
        QTest::newRow("longitude 180") << 0.0 << 180.0 << true;
        QTest::newRow("longitude 180.001") << 0.0 << 180.001 << false;
        QTest::newRow("NaN latitude") << Nan << 0.0 << false;
        QTest::newRow("NaN longitude") << 0.0 << Nan << false;
        QTest::newRow("infinite latitude")
            << std::numeric_limits<double>::infinity() << 0.0 << false;
    }

    void acceptance() {
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        QFETCH(bool, accepted);
        QCOMPARE(CoordinatesAcceptable(latitude, longitude), accepted);
    }

    // The latitude limit is the real one: inside it no day of the covered years loses a time,
    // just outside it some summer dawn is lost.
    void limitHoldsEveryDay_data() {
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::newRow("40N 63E") << 40.0 << 63.0;
        QTest::newRow("limit N") << MaxLatitude << 51.39;
        QTest::newRow("limit S") << -MaxLatitude << 51.39;
        QTest::newRow("48.9N") << 48.9 << 51.39;
        QTest::newRow("48.9S") << -48.9 << 51.39;
    }

    void limitHoldsEveryDay() {
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        bool allDefined = true;
        for (const DayTimes& day : ComputePrayerTimes(CoveredDays(), Place{latitude, longitude})) {
            for (const auto& time : day) {
                allDefined = allDefined && time.has_value();
            }
        }
        QCOMPARE(allDefined, CoordinatesAcceptable(latitude, longitude));
    }

    // At 127.5 W the zone's clock puts the mean noon at 24:00; mid-April the true noon is
    // within a minute of it and must read as a time of day, not 24:00.
    void noonAtMidnightWraps() {
        const DayTimes times = ComputePrayerTimes({2024, 4, 15}, Place{20.0, -127.5});
        const ClockTime noon = times[Noon].value();
        QVERIFY(noon.Hour >= 0 && noon.Hour <= 23 && noon.Minute >= 0 && noon.Minute <= 59);
        const int fromMidnight = noon.Hour * 60 + noon.Minute;
        QVERIFY2(fromMidnight <= 1 || fromMidnight >= 1439,
                 qPrintable(QString::number(fromMidnight)));
    }
};

QTEST_GUILESS_MAIN(PrayerTimesTest)
#include "tst_prayertimes.moc"
