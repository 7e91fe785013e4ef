// The window's location boxes and apply button, driven as a user drives them.
#include "app/AppTexts.h"
#include "app/TimetableView.h"
#include "common/StopSignals.h"
#include "device/DeviceTexts.h"
#include "device/TimetableDays.h"
#include "device/Upgrade.h"
#include "device/UpgradeTexts.h"
#include "device/Upload.h"
#include "device/YearBlock.h"
#include "location/CityImport.h"
#include "tests/TestSupport.h"
#include "tests/WindowFixture.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>

namespace {

// Atwo's point is the centre of the county, not its seat.
QByteArray Csv() {
    return "Parts1_index,Parts2_index,Parts3_index,CountryParts2,CountryParts3,Longitude,"
           "Latitude,Approximate\n"
           "1,10,100,Alpha,Aone,51.4237,35.6961,0\n"
           "1,10,101,Alpha,Atwo,51.025,35.015,1\n"
           "1,11,110,Beta,Bone,50,30,\n"
           "1,12,120,Alpha,Again,52,31,0\n"
           "2,20,200,Gamma,Gone,48.5,33.25,0\n";
}

struct Fixture : WindowFixture {
    explicit Fixture(bool withDatabase = true) {
        Write(QStringLiteral("ostan.txt"), "P1\r\nP2\r\nP3\r\n");
        if (withDatabase) {
            Write(QStringLiteral("city.csv"), Csv());
            ImportCitiesCsv(Path(QStringLiteral("city.csv")), Path(QStringLiteral("city.db")));
        }
        Open();
        window->Timer1Timer(); // loads the province list and samples the clock
    }
    QComboBox* Box(int n) const { return Find<QComboBox>(QStringLiteral("Combo%1").arg(n)); }
    QString Text(const QString& name) const { return Find<QLineEdit>(name)->text(); }
    void Choose(int box, int item) const {
        Box(box)->setCurrentIndex(item);
        emit Box(box)->activated(item);
    }
    // The first county of the first city of the first province, ready for an apply.
    void ChooseFirstCounty() const {
        for (int box = 1; box <= 3; ++box) {
            Choose(box, 0);
        }
    }
    void CopyKeyTable() const {
        QFile::copy(QStringLiteral(MUEZZIN_SOURCE_DIR "/sample/encryp.key"),
                    Path(QStringLiteral("encryp.key")));
    }
    void WriteTimetables(int years) const {
        QByteArray file(static_cast<qsizetype>(TimetableFileSize), '\0');
        for (int j = 0; j < years; ++j) {
            Write(QStringLiteral("data/1/10/100/%1.PTL").arg(clock.SolarYear + j), file);
        }
    }
};

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items.append(box->itemText(i));
    }
    return items;
}

} // namespace

class WindowDeviceTest : public QObject {
    Q_OBJECT

private slots:
    void choosingTheLocation() {
        Fixture f;
        f.Choose(1, 0);
        QCOMPARE(Items(f.Box(2)), (QStringList{"Alpha", "Beta"})); // Alpha once: the first row's
        QCOMPARE(f.Box(2)->toolTip(), QStringLiteral("2"));
        f.Choose(2, 0);
        QCOMPARE(Items(f.Box(3)), (QStringList{"Aone", "Atwo"}));
        QCOMPARE(f.Box(3)->statusTip(), QStringLiteral("2"));
        QVERIFY(!f.Find<QPushButton>(QStringLiteral("BitBtn1"))->isEnabled());
        f.Choose(3, 0);
        QCOMPARE(f.Text(QStringLiteral("LabeledEdit3")), QStringLiteral("100"));
        QCOMPARE(f.Text(QStringLiteral("LabeledEdit1")), QStringLiteral("51.42"));
        QCOMPARE(f.Text(QStringLiteral("LabeledEdit2")), QStringLiteral("35.70"));
        QVERIFY(f.Find<QPushButton>(QStringLiteral("BitBtn1"))->isEnabled());
        QCOMPARE(f.window->Location().TimetableFolder, f.Path(QStringLiteral("data/1/10/100/")));
        // A county with approximate coordinates is said so once in the log.
        const qsizetype logged = f.window->LogLines().size();
        f.Choose(3, 1);
        f.Choose(3, 1);
        QCOMPARE(f.window->LogLines().size(), logged + 1);
        QVERIFY(f.window->LogLines().last().endsWith(
            u' ' + ApproximateCountyWords(QStringLiteral("Atwo"))));
        f.Choose(3, 0);
        QCOMPARE(f.window->LogLines().size(), logged + 1);

        // A new province empties the city and county texts; the county list waits for a city.
        f.Choose(1, 1);
        QCOMPARE(Items(f.Box(2)), (QStringList{"Gamma"}));
        QCOMPARE(f.Box(2)->currentText(), QString());
        QCOMPARE(f.Box(3)->currentText(), QString());
        QCOMPARE(Items(f.Box(3)), (QStringList{"Aone", "Atwo"}));
        QVERIFY(f.boxes.empty());
    }

    // Typing into a box chooses nothing; a province that is typed has no cities.
    void typingIntoTheBoxes() {
        Fixture f;
        f.Choose(1, 0);
        f.Choose(2, 0);
        QTest::keyClicks(f.Box(3)->lineEdit(), QStringLiteral("zz"));
        QCOMPARE(f.Text(QStringLiteral("LabeledEdit3")), QStringLiteral("0"));
        QTest::keyClicks(f.Box(2)->lineEdit(), QStringLiteral("zz"));
        QCOMPARE(Items(f.Box(3)), (QStringList{"Aone", "Atwo"}));
        QTest::keyClicks(f.Box(1)->lineEdit(), QStringLiteral("x"));
        QCOMPARE(f.window->Location().ProvinceIndex, 0);
        QCOMPARE(f.Box(2)->count(), 0);
        QCOMPARE(f.Box(2)->toolTip(), QStringLiteral("0"));
        QVERIFY(f.boxes.empty());
    }

    // Typed text and Enter never become an item: the lists stay what the files and the database
    // hold, and nothing is chosen.
    void typedTextAddsNoItem_data() {
        QTest::addColumn<int>("box");
        QTest::newRow("province") << 1;
        QTest::newRow("city") << 2;
        QTest::newRow("county") << 3;
    }

    void typedTextAddsNoItem() {
        QFETCH(int, box);
        Fixture f;
        for (int earlier = 1; earlier < box; ++earlier) {
            f.Choose(earlier, 0);
        }
        const QStringList before = Items(f.Box(box));
        const int county = f.window->Location().CountyIndex;
        f.Box(box)->lineEdit()->clear();
        QTest::keyClicks(f.Box(box)->lineEdit(), QStringLiteral("xyz"));
        QTest::keyClick(f.Box(box)->lineEdit(), Qt::Key_Return);
        QTest::keyClick(f.Box(box)->lineEdit(), Qt::Key_Enter);
        QCOMPARE(Items(f.Box(box)), before);
        QCOMPARE(f.Box(box)->currentText(), QStringLiteral("xyz"));
        QCOMPARE(f.window->Location().CountyIndex, county);
        QVERIFY(!f.Find<QPushButton>(QStringLiteral("BitBtn1"))->isEnabled());
        QVERIFY(f.boxes.empty());
        // An item's own name and Enter is a choice like any other.
        f.Box(box)->lineEdit()->clear();
        QTest::keyClicks(f.Box(box)->lineEdit(), before.value(0));
        QTest::keyClick(f.Box(box)->lineEdit(), Qt::Key_Return);
        QCOMPARE(f.Box(box)->currentIndex(), 0);
        QCOMPARE(Items(f.Box(box)), before);
        QCOMPARE(f.Find<QPushButton>(QStringLiteral("BitBtn1"))->isEnabled(), box == 3);
    }

    void missingDatabaseIsSaidAndChangesNothing() {
        Fixture f(false);
        f.Choose(1, 0);
        QCOMPARE(f.boxes.size(), std::size_t{1});
        QVERIFY(f.boxes[0].second.contains(QStringLiteral("city.db")));
        QCOMPARE(f.Box(2)->count(), 0);
        QCOMPARE(f.window->Location().ProvinceIndex, 1);
    }

    // Without a device the button says so and sends nothing.
    void applyWithoutDevice() {
        Fixture f;
        f.ChooseFirstCounty();
        f.Find<QPushButton>(QStringLiteral("BitBtn1"))->click();
        QCOMPARE(f.boxes, (std::vector<Shown>{{f.window->windowTitle(), ConnectDeviceText}}));
        QVERIFY(f.Find<QProgressBar>(QStringLiteral("ProgressBar1"))->isHidden());
    }

    // The whole run from the window: every block confirmed, the closing line logged, the
    // progress bar at its end and hidden, the monitor on again.
    void applyWithDevice() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        Fixture f;
        f.ChooseFirstCounty();
        f.WriteTimetables(10);
        f.CopyKeyTable();
        QVERIFY(OpenPort(f.link, PathOf(sim)));
        f.link.Connected = true;
        f.Find<QPushButton>(QStringLiteral("BitBtn1"))->click();
        QVERIFY(f.boxes.empty());
        const QString date = QString::fromLatin1(f.clock.DateText.data());
        QCOMPARE(f.window->LogLines(), QStringList{date + AppliedText});
        auto* progress = f.Find<QProgressBar>(QStringLiteral("ProgressBar1"));
        QCOMPARE(progress->value(), 316);
        QVERIFY(progress->isHidden());
        QVERIFY(f.window->MonitorTimer()->isActive());
        QCOMPARE(sim.FramesReceived(), 316);
        const auto memory = sim.Memory();
        QCOMPARE(int{memory[0]}, 0);   // county 100, high byte
        QCOMPARE(int{memory[1]}, 100); // low byte
        QCOMPARE(int{memory[2]}, 1);   // province
        QCOMPARE(int{memory[3]}, 51);
        QCOMPARE(int{memory[4]}, 42);
    }

    // A field that does not convert: its message, the focus on it, nothing sent.
    void applyRefusesBadField() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        Fixture f;
        f.ChooseFirstCounty();
        f.CopyKeyTable();
        QVERIFY(OpenPort(f.link, PathOf(sim)));
        f.link.Connected = true;
        f.window->show();
        auto* field = f.Find<QLineEdit>(QStringLiteral("LabeledEdit12"));
        field->setText(QStringLiteral("x1"));
        f.Find<QPushButton>(QStringLiteral("BitBtn1"))->click();
        QCOMPARE(f.boxes.size(), std::size_t{1});
        QCOMPARE(f.boxes[0].second, QStringLiteral("'x1' is not a valid integer value"));
        QTRY_VERIFY(field->hasFocus());
        QVERIFY(f.Find<QProgressBar>(QStringLiteral("ProgressBar1"))->isHidden());
        QVERIFY(!f.window->MonitorTimer()->isActive()); // as it was before the click
        QTest::qWait(50);
        QCOMPARE(sim.FramesReceived(), 0);
    }

    // Cancelling the file dialog sends nothing and leaves the monitor running.
    void upgradeCancelled() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        Fixture f;
        f.window->AppendLogLine(QStringLiteral("kept"));
        QVERIFY(OpenPort(f.link, PathOf(sim)));
        f.link.Connected = true;
        f.window->SetFileChooser([] { return QString(); });
        f.Find<QAction>(QStringLiteral("N13"))->trigger();
        QVERIFY(f.window->MonitorTimer()->isActive());
        QVERIFY(f.Find<QProgressBar>(QStringLiteral("ProgressBar1"))->isHidden());
        QCOMPARE(f.window->LogLines().size(), 1);
        QTest::qWait(50);
        QCOMPARE(sim.FramesReceived(), 0);
    }

    // The whole upgrade from the menu: the device gets the image, the window ends searching.
    void upgradeFromMenu() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        Fixture f;
        QByteArray file(static_cast<qsizetype>(FirmwareFileAreaSize), '\0');
        for (qsizetype k = 0; k < 65536; ++k) {
            file[k] = static_cast<char>(k * 7 + 3);
        }
        f.Write(QStringLiteral("new.fmw"), file);
        QVERIFY(OpenPort(f.link, PathOf(sim)));
        f.link.Connected = true;
        const QString path = f.Path(QStringLiteral("new.fmw"));
        f.window->SetFileChooser([path] { return path; });
        f.Find<QAction>(QStringLiteral("N13"))->trigger();
        QCOMPARE(f.window->StatusText(), QStringLiteral("Finished"));
        QCOMPARE(f.window->LogLines().size(), 2);
        QVERIFY(!f.link.Connected);
        QVERIFY(!IsPortOpen(f.link));
        QVERIFY(f.window->MonitorTimer()->isActive());
        const auto flash = sim.Flash();
        QVERIFY(std::equal(flash.begin(), flash.end(), file.begin(), [](std::uint8_t a, char b) {
            return a == static_cast<std::uint8_t>(b);
        }));
    }

    // A stop (here by the link's own question, without a signal) ends the operation after the
    // exchange under way: nothing is sent after it, and the log says what the device holds.
    void stoppedMidOperation_data() {
        QTest::addColumn<bool>("upgrade");
        QTest::addColumn<int>("frames"); // when the stop comes
        QTest::addColumn<QString>("logged");
        QTest::newRow("apply") << false << 5 << IncompleteApplyWords(5, UploadBlockCount);
        QTest::newRow("upgrade") << true << 2 + 5 << UpgradeStageLeftWords(5, FirmwarePageCount);
    }

    void stoppedMidOperation() {
        QFETCH(bool, upgrade);
        QFETCH(int, frames);
        QFETCH(QString, logged);
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        Fixture f;
        f.ChooseFirstCounty();
        f.WriteTimetables(10);
        f.CopyKeyTable();
        f.Write(QStringLiteral("new.fmw"),
                QByteArray(static_cast<qsizetype>(FirmwareFileAreaSize), '\x5A'));
        const QString path = f.Path(QStringLiteral("new.fmw"));
        f.window->SetFileChooser([path] { return path; });
        QVERIFY(OpenPort(f.link, PathOf(sim)));
        f.link.Connected = true;
        f.link.StopRequested = [&] { return sim.FramesReceived() >= frames ? SIGTERM : 0; };
        if (upgrade) {
            f.Find<QAction>(QStringLiteral("N13"))->trigger();
        } else {
            f.Find<QPushButton>(QStringLiteral("BitBtn1"))->click();
        }
        QTest::qWait(50);
        QCOMPARE(sim.FramesReceived(), frames);
        QCOMPARE(sim.InUpgradeStage(), upgrade);
        QVERIFY2(f.window->LogLines().last().endsWith(u' ' + logged),
                 qPrintable(f.window->LogLines().last()));
        QVERIFY(f.boxes.empty());

        // The device in its upgrade stage answers no search; the upgrade stays at hand for it.
        f.link.StopRequested = nullptr;
        f.link.Connected = false;
        f.window->Timer2Timer();
        QCOMPARE(f.Find<QAction>(QStringLiteral("N13"))->isEnabled(), upgrade);
    }

    // The view opens at today's row, in the middle of the table; the 30th of month 12 of a
    // common year is greyed and not counted among the faults.
    void timetableViewDays_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("unused");
        QTest::newRow("common year, autumn") << 1405 << 9 << 16 << 6 * 31 + 2 * 30 + 15 << 1;
        QTest::newRow("common year, new year's day") << 1404 << 1 << 1 << 0 << 1;
        QTest::newRow("first day of a 30-day month") << 1406 << 7 << 1 << 186 << 1;
        QTest::newRow("leap year, its last day") << 1403 << 12 << 30 << 365 << 0;
    }

    void timetableViewDays() {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(int, row);
        QFETCH(int, unused);
        YearBlock block{};
        block.fill(0xFF); // 255:255 at every place: no time of day
        TimetableDialog dialog({QStringLiteral("Aone"), {}}, {{year, block, {}}}, {month, day});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const auto* table = dialog.findChild<QTableWidget*>();
        QCOMPARE(table->currentRow(), row);
        QCOMPARE(table->verticalHeaderItem(row)->text(), QStringLiteral("%1/%2/%3")
                                                             .arg(year)
                                                             .arg(month, 2, 10, QChar(u'0'))
                                                             .arg(day, 2, 10, QChar(u'0')));
        const QRect shown = table->visualItemRect(table->currentItem());
        QVERIFY(table->viewport()->rect().contains(shown));
        QCOMPARE(dialog.UnusedCount(), unused);
        QCOMPARE(dialog.ImpossibleCount(), (366 - unused) * 5);
        const QTableWidgetItem* last = table->item(365, 0);
        QCOMPARE(last->background().color() == QColor(0xFF, 0x80, 0x80), unused == 0);
        QCOMPARE(last->toolTip().startsWith(QStringLiteral("not a day of this year")), unused == 1);
        QCOMPARE(table->item(365, 5)->text().isEmpty(), unused == 1); // no Gregorian date
    }

    // The county's name stands in the title as the database has it, a "%1" in it included.
    void timetableTitleKeepsTheName() {
        const TimetableDialog dialog({QStringLiteral("Kuh %1"), {}}, {{1405, YearBlock{}, {}}},
                                     {1, 1});
        QCOMPARE(dialog.windowTitle(),
                 TimetableTitleTemplate.arg(QStringLiteral("Kuh %1"), QStringLiteral("1405")));
    }

    // The timetables of the chosen county as the device will get them, impossible times marked;
    // the years its folder lacks are computed as an apply computes them, and said in the log.
    void timetableView() {
        Fixture f;
        auto* view = f.Find<QAction>(QStringLiteral("TimetableView"));
        view->trigger();
        QCOMPARE(f.boxes.size(), std::size_t{1}); // no county yet
        QCOMPARE(f.boxes[0].second, ChooseCountyText);
        f.ChooseFirstCounty();
        QByteArray file(static_cast<qsizetype>(TimetableFileSize), '\0');
        const TimeEntry dawn = EncodeTime(5, 4);
        file[25] = static_cast<char>(dawn[0]); // month 1, day 1, dawn
        file[26] = static_cast<char>(dawn[1]);
        const int first = f.clock.SolarYear;
        f.Write(QStringLiteral("data/1/10/100/%1.PTL").arg(first), file);
        const int linesBefore = static_cast<int>(f.window->LogLines().size());
        view->trigger();
        QCOMPARE(f.boxes.size(), std::size_t{1});
        auto* dialog = f.window->findChild<TimetableDialog*>();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(),
                 TimetableTitleTemplate.arg(QStringLiteral("Aone"), QString::number(first)));
        // Every other entry of the days in use holds code 0, which decodes to 255:254 and is
        // marked; the 30th of month 12 is in use in the rule's leap years only.
        const int daysInUse = (first + 621) % 4 == 0 ? 366 : 365;
        QCOMPARE(dialog->ImpossibleCount(), daysInUse * 5 - 1);
        const auto* table = dialog->findChild<QTableWidget*>();
        QCOMPARE(table->verticalHeaderItem(table->currentRow())->text(),
                 QStringLiteral("%1/%2/%3")
                     .arg(first)
                     .arg(f.clock.SolarMonth, 2, 10, QChar(u'0'))
                     .arg(f.clock.SolarDay, 2, 10, QChar(u'0')));
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("05:04"));
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("255:254"));

        // The nine years the folder lacked, computed from the county's coordinates and logged.
        const QStringList lines = f.window->LogLines().mid(linesBefore);
        QCOMPARE(lines.size(), 1);
        QStringList computed;
        for (int year = first + 1; year < first + 10; ++year) {
            computed.append(QString::number(year));
        }
        QVERIFY2(
            lines[0].endsWith(ComputedYearsTemplate.arg(computed.join(YearListSeparator)).arg(100)),
            qPrintable(lines[0]));
        auto* years = dialog->findChild<QComboBox*>(QStringLiteral("TimetableYear"));
        QCOMPARE(years->count(), 10);
        years->setCurrentIndex(9);
        QCOMPARE(dialog->windowTitle(),
                 TimetableTitleTemplate.arg(QStringLiteral("Aone"), QString::number(first + 9)));
        QCOMPARE(dialog->ImpossibleCount(), 0);
        const auto days = DecodeYearBlock(
            LoadYearBlock(f.Path(QStringLiteral("data/1/10/100/")), first + 9).Block, first + 9);
        QCOMPARE(table->item(200, 2)->text(), days[200].Times[2]);
        QCOMPARE(table->item(0, 5)->text(), GregorianDayText(*days[0].Gregorian));

        // Above the table: the method, the zone and the county's coordinates; the first time
        // stands at the right.
        const QString facts = dialog->findChild<QLabel*>(QStringLiteral("TimetableFacts"))->text();
        for (const char* part : {"17.7", "0.833", "4.5", "UTC+03:30", "35.70", "51.42"}) {
            QVERIFY2(facts.contains(QLatin1String(part)), qPrintable(facts));
        }
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QVERIFY(table->columnViewportPosition(0) > table->columnViewportPosition(4));
    }

    // A year that cannot be had is said in the view, with the remedy, and the others are shown.
    void timetableViewWithoutCoordinates() {
        Fixture f;
        f.Write(QStringLiteral("city.csv"), "Parts1_index,Parts2_index,Parts3_index,CountryParts2,"
                                            "CountryParts3,Longitude,Latitude\n"
                                            "1,10,100,Alpha,Aone,0,0\n");
        ImportCitiesCsv(f.Path(QStringLiteral("city.csv")), f.Path(QStringLiteral("city.db")));
        f.ChooseFirstCounty();
        f.WriteTimetables(1);
        f.Find<QAction>(QStringLiteral("TimetableView"))->trigger();
        auto* dialog = f.window->findChild<TimetableDialog*>();
        QVERIFY(dialog);
        auto* summary = dialog->findChild<QLabel*>(QStringLiteral("TimetableSummary"));
        QVERIFY(!summary->text().contains(YearFileNotFoundText.trimmed()));
        dialog->findChild<QComboBox*>(QStringLiteral("TimetableYear"))->setCurrentIndex(1);
        const QString year = QString::number(f.clock.SolarYear + 1);
        QVERIFY2(summary->text().startsWith((YearFileNotFoundText + year).trimmed()),
                 qPrintable(summary->text()));
        QVERIFY(summary->text().contains(QStringLiteral("import-cities")));
        QCOMPARE(dialog->findChild<QTableWidget*>()->rowCount(), 0);
        QVERIFY(!QFile::exists(f.Path(QStringLiteral("data/1/10/100/%1.PTL").arg(year))));
    }

    // The print button prints the year shown, under its facts, to a PDF file where the printer
    // chosen is one.
    void timetablePrintsToPdf() {
        YearBlock block{};
        for (std::size_t k = YearHeaderSize; k + 1 < block.size(); k += 2) {
            block[k] = 5;
            block[k + 1] = 4;
        }
        TimetableDialog dialog({QStringLiteral("Aone"), CountyPlace{35.7, 51.42}},
                               {{1405, block, {}}, {1406, std::nullopt, QStringLiteral("gone")}},
                               {1, 1});
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("timetable.pdf"));
        int asked = 0;
        dialog.SetPrinterChooser([&](QPrinter& printer) {
            ++asked;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        dialog.findChild<QPushButton*>(QStringLiteral("TimetablePrint"))->click();
        QCOMPARE(asked, 1);
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        // 367 lines of a table do not fit on one page.
        QVERIFY2(bytes.count("/Type /Page\n") >= 5,
                 qPrintable(QString::number(bytes.count("/Type /Page\n"))));

        // A refused printer prints nothing.
        QVERIFY(file.remove());
        dialog.SetPrinterChooser([](QPrinter&) { return false; });
        dialog.findChild<QPushButton*>(QStringLiteral("TimetablePrint"))->click();
        QVERIFY(!QFile::exists(pdf));
    }

    // Last: the signal stays recorded for the rest of the process. A stop signal that comes while
    // a box of the upgrade is open (whose event loop runs the signal's watch, which closes the
    // port) ends the run there; once it has come, no box opens.
    void upgradeStopsAtItsBoxOnSignal() {
        SimulatorOptions refusing;
        refusing.RefuseErase = true;
        DeviceSimulator sim(refusing);
        QVERIFY(sim.Start());
        Fixture f;
        f.Write(QStringLiteral("new.fmw"),
                QByteArray(static_cast<qsizetype>(FirmwareFileAreaSize), '\0'));
        QVERIFY(OpenPort(f.link, PathOf(sim)));
        f.link.Connected = true;
        const QString path = f.Path(QStringLiteral("new.fmw"));
        f.window->SetFileChooser([path] { return path; });
        InstallStopSignals();
        f.window->SetMessageBox([&f](const QString& caption, const QString& text) {
            f.boxes.emplace_back(caption, text);
            std::raise(SIGTERM);
        });
        f.Find<QAction>(QStringLiteral("N13"))->trigger();
        QCOMPARE(f.boxes.size(), std::size_t{1}); // the refused erase's reply
        QVERIFY2(f.window->LogLines().last().endsWith(MemoryNotResetText + ReplyCountSeparator +
                                                      QString::number(frame::UpgradeReplySize)),
                 qPrintable(f.window->LogLines().last()));
        QCOMPARE(sim.FramesReceived(), 2); // enter and erase
        // Without a county the view says so, in a box while no signal has come.
        f.Find<QAction>(QStringLiteral("TimetableView"))->trigger();
        QCOMPARE(f.boxes.size(), std::size_t{1});
    }
};

QTEST_MAIN(WindowDeviceTest)
#include "tst_windowdevice.moc"
