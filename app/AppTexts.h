#pragma once

#include "common/Problem.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>
#include <array>

// The texts the window shows of its own; those of the device operations are in
// device/DeviceTexts.h and device/UpgradeTexts.h, the problems' words in common/ProblemKinds.cpp.
// Texts operators already know are constants, kept character for character, blanks included.
// Texts this program added are functions that translate them when shown, under the context (the
// class that shows them) where translations/muezzin-config_fa.ts keeps their Persian; lupdate
// reads them here. Their Latin words (commands, paths, program names) are isolated so that the
// Persian sentence reads in order in the left-to-right window.

// --- known to operators, never translated -------------------------------------------------

// The status bar while the monitor sees the device, and while it does not.
inline const QString ConnectedText = QStringLiteral("connected to the hardware");
inline const QString DisconnectedText = QStringLiteral("disconnected from the hardware");
// The upgrade file dialog's filter.
inline const QString FirmwareFilterText = QStringLiteral("firmware (*.fmw)");

// --- added by this program, in Persian beside the form's own captions ----------------------

// The log line after a read-back: "the settings of the device were received", in the words of
// the menu command.
inline const QString SettingsReceivedText = QStringLiteral(" تنظیمات دستگاه دریافت شد ");
// The settings menu's last item, which shows the chosen county's timetable.
inline const QString TimetableViewCaption = QStringLiteral("نمایش اوقات شرعی");
// "Prayer times of county %1 - year %2"
inline const QString TimetableTitleTemplate = QStringLiteral("اوقات شرعی شهرستان %1 - سال %2");
// Column heads: the three calls to prayer, and sunrise and sunset between them.
inline const std::array<QString, 5> TimetableHeads = {
    QStringLiteral("اذان صبح"), QStringLiteral("طلوع آفتاب"), QStringLiteral("اذان ظهر"),
    QStringLiteral("غروب آفتاب"), QStringLiteral("اذان مغرب")};
// The heads of the solar date, before the times, and of the Gregorian date, after them.
inline const QString TimetableDateHead = QStringLiteral("تاریخ");
inline const QString TimetableGregorianHead = QStringLiteral("تاریخ میلادی");

// --- added by this program, in English and not translated ---------------------------------

// Said when the translation itself is missing, so it cannot be translated.
inline const QString TranslationMissingText =
    QStringLiteral("the program's Persian translation is missing");

// --- added by this program, translated ----------------------------------------------------

// A problem as the window shows it, in a box, the log or a tooltip; and its short words, for the
// status bar.
inline QString WindowWords(const Problem& problem) {
    return ProblemText(problem, Wording::PersianWindow);
}
inline QString WindowShortWords(const Problem& problem) {
    return ProblemShortText(problem, Wording::PersianWindow);
}

// Follows the error of a saved log that cannot be read.
inline QString LogAppendedNote() {
    return IsolateLatinRuns(
        QCoreApplication::translate("EventLog", "The log of this run will be added to its end."),
        Wording::PersianWindow);
}
// Follows the error of a log that cannot be saved when the window is closed again.
inline QString CloseWithoutLogQuestion() {
    return IsolateLatinRuns(QCoreApplication::translate("EventLog",
                                                        "Close without saving the log? The log's "
                                                        "lines of this session are then lost."),
                            Wording::PersianWindow);
}

// The status bar after a menu command that needs the device while none is connected.
inline QString NoDeviceText() {
    return IsolateLatinRuns(
        QCoreApplication::translate(
            "TForm1", "no device connected: connect the device and wait for the green lamp"),
        Wording::PersianWindow);
}
// The start folder, when it is not the working directory.
inline QString StartFolderNoteText(const QString& folder) {
    return FillWords(QCoreApplication::translate("TForm1", "The tool's files are in {folder}"),
                     QJsonObject{{QStringLiteral("folder"), folder}}, Wording::PersianWindow);
}
// A county chosen whose point is the centre of its area, named as its box shows it.
inline QString ApproximateCountyWords(const QString& countyName) {
    return WindowWords(Problem(QStringLiteral("approximate-coordinates"), QStringLiteral("window"))
                           .Set(QStringLiteral("name"), countyName));
}
// A read-back found the device's memory erased.
inline QString NoSettingsText() {
    return IsolateLatinRuns(
        QCoreApplication::translate("TForm1",
                                    "the device holds no settings: it has never been configured"),
        Wording::PersianWindow);
}
// The log line of an apply that a stop or a lost line cut short: what the device holds, and the
// remedy, in the menu's words (apply-incomplete).
inline QString IncompleteApplyWords(int confirmed, int total) {
    return WindowWords(Problem(QStringLiteral("apply-incomplete"), QStringLiteral("window"))
                           .Set(QStringLiteral("confirmed"), confirmed)
                           .Set(QStringLiteral("total"), total));
}
// The log line of an upgrade cut short with the device in its upgrade stage, and the remedy
// (upgrade-stage-left).
inline QString UpgradeStageLeftWords(int pagesConfirmed, int total) {
    return WindowWords(Problem(QStringLiteral("upgrade-stage-left"), QStringLiteral("window"))
                           .Set(QStringLiteral("confirmed"), pagesConfirmed)
                           .Set(QStringLiteral("total"), total));
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
    return IsolateLatinRuns(
        QCoreApplication::translate("TimetableDialog", "Print / save as PDF..."),
        Wording::PersianWindow);
}
inline QString TimetableMethodTemplate() {
    return QCoreApplication::translate(
        "TimetableDialog",
        "Dawn at %1°, sunrise and sunset at %2°, maghrib at %3° below the horizon");
}
inline QString TimetableZoneText() {
    return IsolateLatinRuns(QCoreApplication::translate("TimetableDialog",
                                                        "Times in Iran Standard Time (UTC+03:30), "
                                                        "which the device keeps all year"),
                            Wording::PersianWindow);
}
inline QString TimetablePlaceTemplate() {
    return QCoreApplication::translate("TimetableDialog",
                                       "The county lies at latitude %1, longitude %2");
}
inline QString TimetableNoPlaceText() {
    return QCoreApplication::translate("TimetableDialog",
                                       "The county has no coordinates in the city database");
}

// The text-setting check: what is missing, and the line that names it (a leading blank, as the
// log's messages that want a gap after the date carry). The parts are joined before the whole is
// isolated; the converter's is its problem (no-converter), with the remedy of the system.
inline QString NoPersianFontText() {
    return QCoreApplication::translate(
        "CodePageCheck", "no font has the Persian letters (install fonts-noto-ui-core)");
}
inline QString PersianTextProblemText() {
    return QCoreApplication::translate("CodePageCheck", " Persian text will not work here: ");
}
// The log's one line where Windows' code pages are not the Arabic ones; %1 the ANSI code page,
// %2 the OEM one.
inline QString OtherCodePagesText(unsigned ansi, unsigned oem) {
    return IsolateLatinRuns(
        QCoreApplication::translate(
            "CodePageCheck",
            " The system's code pages are %1 (ANSI) and %2 (OEM), not the Arabic 1256 and 720. "
            "This program does not need them; older programs that show Persian may: for them, "
            "set \"Language for non-Unicode programs\" to Persian in Windows' region settings.")
            .arg(ansi)
            .arg(oem),
        Wording::PersianWindow);
}

// A start note when Qt's own Persian translation cannot be loaded.
inline QString QtTranslationMissingText() {
    return IsolateLatinRuns(
        QCoreApplication::translate("Translations",
                                    "Qt's dialogs stay in English: its Persian translation "
                                    "qtbase_fa is missing (install qt6-translations-l10n)"),
        Wording::PersianWindow);
}
