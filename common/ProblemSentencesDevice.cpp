// The sentences of the problems of ports and devices, timetable years, operations cut short,
// the doctor's findings and the warnings. See common/ProblemKinds.cpp.
#include "common/Problem.h"

#include <QtGlobal>
#include <array>

namespace {

constexpr std::array Sentences = {
    // --- ports: port as named; device: the device a bare name stands for
    ProblemSentence{
        "port-permission", "relogin",
        QT_TRANSLATE_NOOP("Problem",
                          "cannot open {port}[[ ({device})]]: permission denied: '{user}' was "
                          "added to the group '{group}' after this login session began; log out "
                          "and in again")},
    ProblemSentence{
        "port-permission", "relogin-unnamed",
        QT_TRANSLATE_NOOP("Problem",
                          "cannot open {port}[[ ({device})]]: permission denied: your user was "
                          "added to the group '{group}' after this login session began; log out "
                          "and in again")},
    ProblemSentence{
        "port-permission", "root-only",
        QT_TRANSLATE_NOOP("Problem",
                          "cannot open {port}[[ ({device})]]: permission denied, and only root "
                          "may open it; give it to '{group}' with a udev rule (GROUP, "
                          "MODE=\"0660\") and add your user to that group")},
    ProblemSentence{
        "port-permission", "root-only-no-group",
        QT_TRANSLATE_NOOP("Problem",
                          "cannot open {port}[[ ({device})]]: permission denied, and only root "
                          "may open it; give it to a group with a udev rule (GROUP, "
                          "MODE=\"0660\") and add your user to that group")},
    // command: the one that adds the user, as this user runs it (sudo, su, or as root)
    ProblemSentence{
        "port-permission", "join",
        QT_TRANSLATE_NOOP("Problem",
                          "cannot open {port}[[ ({device})]]: permission denied; add your user to "
                          "the group '{group}'[[ ({command})]] and log in again")},
    ProblemSentence{"port-permission", "denied",
                    QT_TRANSLATE_NOOP("Problem", "cannot open {port}[[ ({device})]]: {reason}")},
    // holders: [{name, pid}]
    ProblemSentence{
        "port-in-use", "unknown",
        QT_TRANSLATE_NOOP("Problem",
                          "cannot open {port}[[ ({device})]]: the port is in use by another "
                          "program (another muezzin-cli, or the window); close it and try again")},
    ProblemSentence{
        "port-in-use", "holders",
        QT_TRANSLATE_NOOP("Problem",
                          "cannot open {port}[[ ({device})]]: the port is in use by {holders}; "
                          "close it and try again")},
    ProblemSentence{
        "port-in-use", "modemmanager",
        QT_TRANSLATE_NOOP("Problem",
                          "cannot open {port}[[ ({device})]]: the port is in use by {holders}, "
                          "which probes new adapters for a modem; wait until it lets go, and "
                          "install the udev rule that keeps it off them (see 'muezzin-cli "
                          "doctor')")},
    ProblemSentence{
        "port-in-use", "brltty",
        QT_TRANSLATE_NOOP("Problem",
                          "cannot open {port}[[ ({device})]]: the port is in use by {holders}, "
                          "which takes the adapter for a braille display; remove it ({command}) "
                          "unless a braille display is used")},
    // lock, pid, owner, command
    ProblemSentence{
        "port-locked", "",
        QT_TRANSLATE_NOOP("Problem",
                          "cannot open {port}[[ ({device})]]: its lock file {lock} was left by "
                          "process {pid}, which no longer runs, and belongs to {owner}, so it "
                          "cannot be taken over; remove it ({command})")},
    // what: folder, fifo, file, socket
    ProblemSentence{
        "not-a-serial-port", "folder",
        QT_TRANSLATE_NOOP("Problem",
                          "cannot open {port}[[ ({device})]]: it is a folder, not a serial port")},
    ProblemSentence{
        "not-a-serial-port", "fifo",
        QT_TRANSLATE_NOOP("Problem",
                          "cannot open {port}[[ ({device})]]: it is a FIFO, not a serial port")},
    ProblemSentence{
        "not-a-serial-port", "file",
        QT_TRANSLATE_NOOP("Problem",
                          "cannot open {port}[[ ({device})]]: it is a regular file, not a serial "
                          "port")},
    ProblemSentence{
        "not-a-serial-port", "socket",
        QT_TRANSLATE_NOOP("Problem",
                          "cannot open {port}[[ ({device})]]: it is a socket, not a serial port")},
    ProblemSentence{
        "not-a-serial-port", "device",
        QT_TRANSLATE_NOOP("Problem", "cannot open {port}[[ ({device})]]: it is not a serial port")},
    // reason: the system's words
    ProblemSentence{"port-gone", "",
                    QT_TRANSLATE_NOOP3("Problem", "cannot open {port}[[ ({device})]]: {reason}",
                                       "the port is gone")},
    ProblemSentence{
        "port-gone", "in-working-folder",
        QT_TRANSLATE_NOOP("Problem",
                          "cannot open {port}[[ ({device})]]: {reason}; the one in the working "
                          "folder is {here}")},
    // adapter (vendor:product), rule (brltty's udev rule), command
    ProblemSentence{
        "port-gone", "adapter-claimed",
        QT_TRANSLATE_NOOP("Problem",
                          "cannot open {port}[[ ({device})]]: {reason}; brltty's udev rule {rule} "
                          "takes the USB serial adapter {adapter} for a braille display, so it "
                          "gets no port: remove brltty ({command}) and plug the adapter in "
                          "again")},
    ProblemSentence{"port-failed", "",
                    QT_TRANSLATE_NOOP("Problem", "cannot open {port}[[ ({device})]]: {reason}")},
    ProblemSentence{"no-device", "",
                    QT_TRANSLATE_NOOP("Problem", "no device answered on {ports} port(s)")},

    // --- a year's timetable file that cannot be had: year, county, path; reason (not-saved)
    ProblemSentence{
        "timetable-year", "no-coordinates",
        QT_TRANSLATE_NOOP("Problem",
                          "{path} is missing, and county {county} has no coordinates in the city "
                          "database (city.db) to compute it from: import them with 'muezzin-cli "
                          "import-cities FILE.csv', or put the file in its place")},
    ProblemSentence{
        "timetable-year", "not-saved",
        QT_TRANSLATE_NOOP("Problem",
                          "{path} is missing and could not be saved ({reason}): let this user "
                          "write there, or write it with 'muezzin-timetable --county {county} "
                          "--from {year} --years 1'")},
    ProblemSentence{
        "timetable-year", "unreadable",
        QT_TRANSLATE_NOOP("Problem",
                          "{path} cannot be read, and is never replaced: remove it, or write it "
                          "anew with 'muezzin-timetable --county {county} --from {year} --years "
                          "1'")},
    ProblemSentence{
        "timetable-year", "short",
        QT_TRANSLATE_NOOP("Problem",
                          "{path} holds less than a year, and is never replaced: remove it, or "
                          "write it anew with 'muezzin-timetable --county {county} --from {year} "
                          "--years 1'")},

    // --- operations cut short: confirmed, total; the window's forms say the menu's words
    ProblemSentence{"apply-incomplete", "",
                    QT_TRANSLATE_NOOP("Problem",
                                      "{confirmed} of {total} blocks confirmed; the configuration "
                                      "is incomplete: run apply again")},
    ProblemSentence{"apply-incomplete", "window",
                    QT_TRANSLATE_NOOP("Problem",
                                      "{confirmed} of {total} blocks confirmed; the configuration "
                                      "is incomplete: apply it again")},
    ProblemSentence{"upgrade-stage-left", "",
                    QT_TRANSLATE_NOOP("Problem",
                                      "{confirmed} of {total} pages confirmed; the device is left "
                                      "in its upgrade stage: run upgrade again, which greets it "
                                      "there")},
    ProblemSentence{"upgrade-stage-left", "stage",
                    QT_TRANSLATE_NOOP("Problem",
                                      "the device is left in its upgrade stage: run upgrade again, "
                                      "which greets it there")},
    ProblemSentence{"upgrade-stage-left", "window",
                    QT_TRANSLATE_NOOP("Problem",
                                      "{confirmed} of {total} pages confirmed; the device is left "
                                      "in its upgrade stage: run the upgrade again")},
    // signal ("SIGTERM"), signal_number
    ProblemSentence{"stopped", "", QT_TRANSLATE_NOOP("Problem", "stopped by {signal}")},
    ProblemSentence{
        "stopped", "before-change",
        QT_TRANSLATE_NOOP("Problem", "stopped by {signal} before the device was changed")},
    ProblemSentence{
        "stopped", "clock-not-set",
        QT_TRANSLATE_NOOP("Problem",
                          "the device clock was not set: stopped before the clock frame was sent")},

    // --- the doctor's findings
    ProblemSentence{
        "no-port", "",
        QT_TRANSLATE_NOOP("Problem",
                          "no serial port found: plug the adapter in (it shows as /dev/ttyUSB0 or "
                          "/dev/ttyACM0, or as COM3 on Windows); name others in MUEZZIN_PORTS")},
    // pid, families (of the adapters not kept from it), rule, command
    ProblemSentence{
        "modemmanager-probes", "",
        QT_TRANSLATE_NOOP("Problem",
                          "running (PID {pid}) and not kept off {families} adapters: it probes "
                          "them for a modem when they are plugged in, and the device's first "
                          "replies are lost; install the udev rule {rule}, or stop it "
                          "({command})")},
    // claims: [{rule, adapters}], command
    ProblemSentence{
        "brltty-claims", "",
        QT_TRANSLATE_NOOP("Problem",
                          "{claims}: such an adapter is taken for a braille display and gets no "
                          "serial port; remove brltty ({command}) unless a braille display is "
                          "used, and plug the adapter in again")},
    // port, milliseconds, rule, command
    ProblemSentence{
        "latency-timer", "",
        QT_TRANSLATE_NOOP("Problem",
                          "{milliseconds} ms, which every reply waits for: the udev rule {rule} "
                          "sets 1 ms when the adapter is plugged in; install it and plug the "
                          "adapter in again (or now: echo 1 | {command})")},
    // rule; families; command
    ProblemSentence{
        "udev-rule", "old",
        QT_TRANSLATE_NOOP("Problem",
                          "{rule} does not keep ModemManager off {families} adapters: it is older "
                          "than this tool; install this tool's rule in its place")},
    ProblemSentence{"udev-rule", "unread",
                    QT_TRANSLATE_NOOP(
                        "Problem", "installed as {rule}, where udev does not read it: copy it to "
                                   "/etc/udev/rules.d ({command}) and plug the adapter in again")},
    ProblemSentence{
        "udev-rule", "missing",
        QT_TRANSLATE_NOOP("Problem",
                          "{rule} is not installed: it keeps ModemManager off the adapters and "
                          "lowers the FTDI latency timer; install the tool's package, or copy "
                          "packaging/{rule} to /etc/udev/rules.d")},
    // folder, file
    ProblemSentence{
        "start-file-missing", "province-list",
        QT_TRANSLATE_NOOP("Problem",
                          "missing from {folder}: the province list; copy it there, or name the "
                          "folder that holds it with --folder DIR")},
    ProblemSentence{
        "start-file-missing", "city-database",
        QT_TRANSLATE_NOOP("Problem",
                          "missing from {folder}: the city database (see import-cities); copy it "
                          "there, or name the folder that holds it with --folder DIR")},
    ProblemSentence{
        "start-file-missing", "key-table",
        QT_TRANSLATE_NOOP("Problem",
                          "missing from {folder}: the key table; copy it there, or name the "
                          "folder that holds it with --folder DIR")},
    // path
    ProblemSentence{"province-list-empty", "",
                    QT_TRANSLATE_NOOP("Problem", "empty: it lists no province")},
    // path; cause: the problem as apply meets it
    ProblemSentence{
        "city-database-broken", "",
        QT_TRANSLATE_NOOP("Problem", "{cause}; build it again with muezzin-cli import-cities")},
    ProblemSentence{"city-database-broken", "empty",
                    QT_TRANSLATE_NOOP("Problem",
                                      "table city holds no county; build it again with muezzin-cli "
                                      "import-cities")},
    // path; reason
    ProblemSentence{
        "timetable-folder", "not-a-folder",
        QT_TRANSLATE_NOOP("Problem",
                          "{path} is not a folder: the timetable files "
                          "(data/<province>/<city>/<county>/<year>.PTL) go there; move it out of "
                          "the way")},
    ProblemSentence{
        "timetable-folder", "unwritable",
        QT_TRANSLATE_NOOP("Problem",
                          "no file can be made in {path} ({reason}): the timetables of later "
                          "years cannot be written there; give this user write permission")},
    // county; found: what the folder holds, missing and unusable: the years, as "1405-1407, 1410";
    // folder
    ProblemSentence{
        "timetable-year", "doctor-no-coordinates",
        QT_TRANSLATE_NOOP("Problem",
                          "[[{found}; ]]{missing} missing, and the county has no coordinates in "
                          "the city database to compute them from: import them with 'muezzin-cli "
                          "import-cities FILE.csv', or put the files in {folder}")},
    ProblemSentence{
        "timetable-year", "doctor-unusable",
        QT_TRANSLATE_NOOP("Problem",
                          "[[{found}; ]]{unusable} in {folder} cannot be read or are short, and "
                          "are never replaced: remove them, or write them anew with "
                          "'muezzin-timetable --county {county} --from YEAR --years 1'")},
    ProblemSentence{
        "timetable-year", "doctor-both",
        QT_TRANSLATE_NOOP("Problem",
                          "[[{found}; ]]{missing} missing, and the county has no coordinates in "
                          "the city database to compute them from: import them with 'muezzin-cli "
                          "import-cities FILE.csv', or put the files in {folder}; {unusable} in "
                          "{folder} cannot be read or are short, and are never replaced: remove "
                          "them, or write them anew with 'muezzin-timetable --county {county} "
                          "--from YEAR --years 1'")},
    ProblemSentence{
        "log-unwritable", "",
        QT_TRANSLATE_NOOP("Problem",
                          "{path} cannot be added to ({reason}): the event log would be lost; "
                          "make it a file this user may write")},
    // the remedy of the platform
    ProblemSentence{
        "no-persian-font", "debian",
        QT_TRANSLATE_NOOP("Problem",
                          "no font has the Persian letters, and the window would show empty "
                          "boxes; install fonts-noto-ui-core")},
    ProblemSentence{
        "no-persian-font", "windows",
        QT_TRANSLATE_NOOP("Problem",
                          "no font has the Persian letters, and the window would show empty "
                          "boxes; install Tahoma, or Noto Sans Arabic UI")},

    // --- warnings
    ProblemSentence{
        "lock-taken-over", "",
        QT_TRANSLATE_NOOP("Problem",
                          "{port}: took over the lock file {lock}, left by process {pid}, which "
                          "no longer runs")},
    ProblemSentence{
        "port-shared", "",
        QT_TRANSLATE_NOOP("Problem",
                          "{port} is open in {holders} too, which may have taken the reply; close "
                          "it and try again")},
    ProblemSentence{
        "port-shared", "also-open",
        QT_TRANSLATE_NOOP("Problem",
                          "also open in {holders}, which would take the device's replies; close "
                          "it before a run")},
    ProblemSentence{"same-device", "",
                    QT_TRANSLATE_NOOP(
                        "Problem", "{port} and {other} are the same device; it is served once, as "
                                   "{port}")},
    ProblemSentence{
        "start-folder-hint", "flag",
        QT_TRANSLATE_NOOP("Problem",
                          "the tool's files are looked for in {folder} (--folder); name another "
                          "folder with --folder DIR")},
    ProblemSentence{
        "start-folder-hint", "working-directory",
        QT_TRANSLATE_NOOP("Problem",
                          "the tool's files are looked for in {folder} (the working directory); "
                          "name another folder with --folder DIR")},
    ProblemSentence{
        "start-folder-hint", "data-folder",
        QT_TRANSLATE_NOOP("Problem",
                          "the tool's files are looked for in {folder} (the user's data folder); "
                          "name another folder with --folder DIR")},

    // the PC's zone: offset ("+00:00"); last_year (2022) and year, one it keeps daylight saving in
    ProblemSentence{
        "time-zone", "other-offset",
        QT_TRANSLATE_NOOP("Problem",
                          "the PC's time zone is UTC{offset}, not Iran Standard Time (UTC+03:30), "
                          "which the device keeps and its timetables are written in: the device "
                          "gets the PC's clock as it reads; set the time zone to Asia/Tehran "
                          "('timedatectl set-timezone Asia/Tehran'; on Windows \"(UTC+03:30) "
                          "Tehran\")")},
    ProblemSentence{
        "time-zone", "old-rules",
        QT_TRANSLATE_NOOP("Problem",
                          "the PC's time-zone data still keeps Iran's daylight saving, which "
                          "ended in {last_year} (it does in {year}): while it does, the device "
                          "gets the PC's clock an hour back, an hour wrong if the clock was set "
                          "back by hand to match; update the time-zone data (Debian's tzdata; on "
                          "Windows the system's updates)")},
    // county; name (the window's)
    ProblemSentence{
        "approximate-coordinates", "",
        QT_TRANSLATE_NOOP("Problem",
                          "county {county} has approximate coordinates: the centre of the county, "
                          "not its seat; times may differ by a minute or two")},
    ProblemSentence{
        "approximate-coordinates", "window",
        QT_TRANSLATE_NOOP("Problem",
                          "approximate coordinates for {name}: the centre of the county, not its "
                          "seat; times may differ by a minute or two")},

    ProblemSentence{
        "picture-format", "",
        QT_TRANSLATE_NOOP("Problem", "cannot write {path}: no picture format has that name")},
    ProblemSentence{"other", "", "{text}"},
};

} // namespace

std::span<const ProblemSentence> ProblemSentencesOfDevice() {
    return Sentences;
}
