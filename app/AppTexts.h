#pragma once

#include <QCoreApplication>
#include <QString>
#include <array>

// The texts the window shows of its own; those of the device operations are in
// device/DeviceTexts.h and device/UpgradeTexts.h. Texts operators already know are constants,
// kept character for character, blanks included. Texts this program added are functions that
// translate them when shown, under the context (the class that shows them) where
// translations/muezzin-config_fa.ts keeps their Persian; lupdate reads them here.

// --- known to operators, never translated -------------------------------------------------

// The status bar while the monitor sees the device, and while it does not.
inline const QString ConnectedText = QStringLiteral("connected to the hardware");
inline const QString DisconnectedText = QStringLiteral("disconnected from the hardware");
// The upgrade file dialog's filter.
inline const QString FirmwareFilterText = QStringLiteral("firmware (*.fmw)");

// --- added by this program, in Persian beside the form's own captions ----------------------

// The log line after a read-back: "the settings of the device were received", in the words of
// the menu command.
inline const QString SettingsReceivedText = QStringLiteral(" تنظيمات دستگاه دريافت شد ");
// The settings menu's last item, which shows the chosen county's timetable.
inline const QString TimetableViewCaption = QStringLiteral("نمايش اوقات شرعي");
// "Prayer times of county %1 - year %2"
inline const QString TimetableTitleTemplate = QStringLiteral("اوقات شرعي شهرستان %1 - سال %2");
// Column heads: the three calls to prayer, and sunrise and sunset between them.
inline const std::array<QString, 5> TimetableHeads = {
    QStringLiteral("اذان صبح"), QStringLiteral("طلوع آفتاب"), QStringLiteral("اذان ظهر"),
    QStringLiteral("غروب آفتاب"), QStringLiteral("اذان مغرب")};
// The heads of the solar date, before the times, and of the Gregorian date, after them.
inline const QString TimetableDateHead = QStringLiteral("تاریخ");
inline const QString TimetableGregorianHead = QStringLiteral("تاریخ میلادی");

// --- added by this program, in English and not translated ---------------------------------

// Ends the English error of a saved log that cannot be read, in that error's language.
inline const QString LogAppendedNote =
    QStringLiteral("\nThe log of this run will be added to its end.");
// Follows the error of a log that cannot be saved when the window is closed again.
inline const QString CloseWithoutLogQuestion =
    QStringLiteral("\n\nClose without saving the log? The log's lines of this session are then "
                   "lost.");
// Said when the translation itself is missing, so it cannot be translated.
inline const QString TranslationMissingText =
    QStringLiteral("the program's Persian translation is missing");

// --- added by this program, translated ----------------------------------------------------

// The status bar after a menu command that needs the device while none is connected.
inline QString NoDeviceText() {
    return QCoreApplication::translate(
        "TForm1", "no device connected: connect the device and wait for the green lamp");
}
// The start folder, when it is not the working directory; %1 is the folder.
inline QString StartFolderNoteText() {
    return QCoreApplication::translate("TForm1", "The tool's files are in %1");
}
// A county chosen whose point is the centre of its area; %1 is the county's name.
inline QString ApproximateCountyText() {
    return QCoreApplication::translate("TForm1",
                                       "approximate coordinates for %1: the centre of the county, "
                                       "not its seat; times may differ by a minute or two");
}
// A read-back found the device's memory erased.
inline QString NoSettingsText() {
    return QCoreApplication::translate(
        "TForm1", "the device holds no settings: it has never been configured");
}
// The log line of an apply that a stop or a lost line cut short: what the device holds, and the
// remedy.
inline QString IncompleteApplyText(int confirmed, int total) {
    return QCoreApplication::translate(
               "TForm1",
               "%1 of %2 blocks confirmed; the configuration is incomplete: apply it again")
        .arg(confirmed)
        .arg(total);
}
// The log line of an upgrade cut short with the device in its upgrade stage, and the remedy.
inline QString UpgradeStageLeftText(int pagesConfirmed, int total) {
    return QCoreApplication::translate("TForm1", "%1 of %2 pages confirmed; the device is left in "
                                                 "its upgrade stage: run the upgrade again")
        .arg(pagesConfirmed)
        .arg(total);
}

// The timetable view: the hints of a day the year lacks and of a time no clock shows, and the
// summary above the table (days in use; times out of range; places the year does not use).
inline QString NotADayOfYearText() {
    return QCoreApplication::translate("TimetableDialog",
                                       "not a day of this year: the device never uses it");
}
inline QString NotATimeOfDayText() {
    return QCoreApplication::translate("TimetableDialog", "not a time of day");
}
inline QString AllTimesValidTemplate() {
    return QCoreApplication::translate("TimetableDialog", "%1 days, every time a time of day");
}
inline QString SomeTimesInvalidTemplate() {
    return QCoreApplication::translate("TimetableDialog",
                                       "%1 days; %2 times are not times of day (marked)");
}
inline QString UnusedPlacesTemplate() {
    return QCoreApplication::translate("TimetableDialog",
                                       "; %1 place(s) of the file not in this year (grey)");
}

// The timetable view: the year box's label, the print button, and what it says above the table:
// the method (the sun's angles below the horizon, %1 to %3), the time zone, and the county's
// latitude %1 and longitude %2, or that it has none.
inline QString TimetableYearLabelText() {
    return QCoreApplication::translate("TimetableDialog", "Year:");
}
inline QString PrintTimetableText() {
    return QCoreApplication::translate("TimetableDialog", "Print / save as PDF...");
}
inline QString TimetableMethodTemplate() {
    return QCoreApplication::translate(
        "TimetableDialog",
        "Dawn at %1°, sunrise and sunset at %2°, maghrib at %3° below the horizon");
}
inline QString TimetableZoneText() {
    return QCoreApplication::translate(
        "TimetableDialog", "Times in Iran Standard Time (UTC+03:30), which the device keeps all "
                           "year");
}
inline QString TimetablePlaceTemplate() {
    return QCoreApplication::translate("TimetableDialog",
                                       "The county lies at latitude %1, longitude %2");
}
inline QString TimetableNoPlaceText() {
    return QCoreApplication::translate("TimetableDialog",
                                       "The county has no coordinates in the city database");
}

// The start's log line when the PC's time zone is not the device's: another standard offset
// (%1, "+00:00"), or Iran's with the daylight saving that ended in 2022 (kept in the year %1).
inline QString ZoneOtherOffsetNote() {
    return QCoreApplication::translate(
        "TForm1", " The PC's time zone is UTC%1, not Iran Standard Time (UTC+03:30), which the "
                  "device keeps: the device gets the PC's clock as it reads. Set the time zone to "
                  "Asia/Tehran (on Windows \"(UTC+03:30) Tehran\").");
}
inline QString ZoneOldRulesNote() {
    return QCoreApplication::translate(
        "TForm1", " The PC's time-zone data still keeps Iran's daylight saving, which ended in "
                  "2022 (it does in %1): the device gets the PC's clock an hour back while it "
                  "does. Update the time-zone data (on Windows, install the system's updates).");
}

// The text-setting check: what is missing, and the line that names it (a leading blank, as the
// log's messages that want a gap after the date carry).
// %1 is what makes the converter available on this system.
inline QString NoConverterText() {
    return QCoreApplication::translate("CodePageCheck",
                                       "the system has no Windows-1256 converter (%1)");
}
inline QString NoPersianFontText() {
    return QCoreApplication::translate(
        "CodePageCheck", "no font has the Persian letters (install fonts-noto-ui-core)");
}
inline QString PersianTextProblemText() {
    return QCoreApplication::translate("CodePageCheck", " Persian text will not work here: ");
}
// The log's one line where Windows' code pages are not the Arabic ones; %1 the ANSI code page,
// %2 the OEM one.
inline QString OtherCodePagesText() {
    return QCoreApplication::translate(
        "CodePageCheck",
        " The system's code pages are %1 (ANSI) and %2 (OEM), not the Arabic 1256 and 720. This "
        "program does not need them; older programs that show Persian may: for them, set "
        "\"Language for non-Unicode programs\" to Persian in Windows' region settings.");
}

// A start note when Qt's own Persian translation cannot be loaded.
inline QString QtTranslationMissingText() {
    return QCoreApplication::translate(
        "Translations", "Qt's dialogs stay in English: its Persian translation qtbase_fa is "
                        "missing (install qt6-translations-l10n)");
}
