// The table of problem kinds: each kind with the exit status a command ends with on it, and its
// sentences with the values they name in braces. The kinds are an interface (scripts match on
// them; the README lists them): rename none. Adding one:
//   1. a row in Kinds (its exit status, whether it is translated, its short words, if any);
//   2. a row in Sentences for each of its forms: "{name}" stands for a value, "[[...]]" for a part
//      shown only when every value it names is given;
//   3. build the update_translations target and write the Persian of the new words in
//      app/translations/muezzin-config_fa.ts (the translations_complete test fails until then);
//   4. make it where the problem is found (Problem(kind, form).Set(name, value)...), give it a
//      row in tst_problems' table of causes, and a line in the README's table of kinds.
#include "common/ExitCodes.h"
#include "common/Problem.h"

#include <QtGlobal>
#include <array>

namespace {

using exitcode::Failed;
using exitcode::InputError;
using exitcode::Ok;

constexpr std::array Kinds = {
    // The command line and its input.
    ProblemKind{"usage", InputError, true, nullptr},
    ProblemKind{"no-county", InputError, true, nullptr},
    ProblemKind{"no-such-county", InputError, true, nullptr},
    ProblemKind{"ambiguous-county", InputError, true, nullptr},
    ProblemKind{"county-inconsistent", InputError, true, nullptr},
    // The conversion error of a number field is the system's own, in its words.
    ProblemKind{"field-not-a-number", InputError, false, nullptr},
    ProblemKind{"field-out-of-range", InputError, true, nullptr},
    ProblemKind{"coordinate-invalid", InputError, true, nullptr},
    ProblemKind{"profile-invalid", InputError, true, nullptr},
    ProblemKind{"firmware-short", InputError, true, nullptr},
    ProblemKind{"import-refused", InputError, true, nullptr},
    // Files.
    ProblemKind{"file-not-found", InputError, true, nullptr},
    ProblemKind{"file-permission", InputError, true, nullptr},
    ProblemKind{"not-a-file", InputError, true, nullptr},
    ProblemKind{"file-too-large", InputError, true, nullptr},
    ProblemKind{"disk-full", InputError, true, nullptr},
    ProblemKind{"file-held", InputError, true, nullptr},
    ProblemKind{"file-failed", InputError, true, nullptr},
    ProblemKind{"no-converter", InputError, true, nullptr},
    ProblemKind{"unmappable-character", InputError, true, nullptr},
    ProblemKind{"no-sqlite-driver", InputError, true, nullptr},
    ProblemKind{"database-unusable", InputError, true, nullptr},
    ProblemKind{"start-folder", InputError, true, nullptr},
    // Ports and devices.
    ProblemKind{"port-permission", InputError, true,
                QT_TRANSLATE_NOOP("Problem", "cannot open {port}: permission denied")},
    ProblemKind{"port-in-use", InputError, true,
                QT_TRANSLATE_NOOP("Problem", "cannot open {port}: in use by another program")},
    ProblemKind{"port-locked", InputError, true,
                QT_TRANSLATE_NOOP("Problem", "cannot open {port}: a lock file was left over")},
    ProblemKind{"not-a-serial-port", InputError, true,
                QT_TRANSLATE_NOOP("Problem", "{port} is not a serial port")},
    ProblemKind{"port-gone", InputError, true, QT_TRANSLATE_NOOP("Problem", "{port} is not there")},
    ProblemKind{"port-failed", InputError, true,
                QT_TRANSLATE_NOOP("Problem", "cannot open {port}")},
    ProblemKind{"no-device", InputError, true, nullptr},
    // A timetable year that cannot be had: apply ends with 1, having sent what comes before it.
    ProblemKind{"timetable-year", InputError, true, nullptr},
    // An operation cut short (a stop, a lost line): what the device holds, and the remedy.
    ProblemKind{"apply-incomplete", Failed, true, nullptr},
    ProblemKind{"upgrade-stage-left", Failed, true, nullptr},
    // Stopped by a signal: 128 and the signal's number ("signal_number").
    ProblemKind{"stopped", exitcode::StoppedBySignal, true, nullptr},
    // The doctor's findings: the doctor ends with status 1 when one is found.
    ProblemKind{"no-port", Failed, true, nullptr},
    ProblemKind{"modemmanager-probes", Failed, true, nullptr},
    ProblemKind{"brltty-claims", Failed, true, nullptr},
    ProblemKind{"latency-timer", Failed, true, nullptr},
    ProblemKind{"udev-rule", Failed, true, nullptr},
    ProblemKind{"start-file-missing", Failed, true, nullptr},
    ProblemKind{"province-list-empty", Failed, true, nullptr},
    ProblemKind{"city-database-broken", Failed, true, nullptr},
    ProblemKind{"timetable-folder", Failed, true, nullptr},
    ProblemKind{"log-unwritable", Failed, true, nullptr},
    ProblemKind{"no-persian-font", Failed, true, nullptr},
    // Warnings: said, and the run goes on.
    ProblemKind{"lock-taken-over", Ok, true, nullptr},
    ProblemKind{"port-shared", Ok, true, nullptr},
    ProblemKind{"same-device", Ok, true, nullptr},
    ProblemKind{"start-folder-hint", Ok, true, nullptr},
    ProblemKind{"approximate-coordinates", Ok, true, nullptr},
    ProblemKind{"time-zone", Ok, true, nullptr},
    // The window's picture (--screenshot).
    ProblemKind{"picture-format", Failed, true, nullptr},
    // A message not yet given a kind of its own, in its words as they stand.
    ProblemKind{"other", InputError, false, nullptr},
};

constexpr std::array Sentences = {
    // --- usage: values command, option, argument, value, detail
    ProblemSentence{"usage", "no-command",
                    QT_TRANSLATE_NOOP("Problem", "no command given; see 'muezzin-cli --help'")},
    ProblemSentence{
        "usage", "unknown-command",
        QT_TRANSLATE_NOOP("Problem", "unknown command '{command}'; see 'muezzin-cli --help'")},
    ProblemSentence{
        "usage", "unknown-option",
        QT_TRANSLATE_NOOP("Problem", "unknown option '{option}'; see 'muezzin-cli --help'")},
    ProblemSentence{"usage", "missing-value",
                    QT_TRANSLATE_NOOP("Problem", "the option '{option}' needs a value")},
    ProblemSentence{"usage", "unexpected-value",
                    QT_TRANSLATE_NOOP("Problem", "the option '{option}' takes no value")},
    ProblemSentence{"usage", "parser", QT_TRANSLATE_NOOP("Problem", "{detail}")},
    ProblemSentence{"usage", "unexpected-argument",
                    QT_TRANSLATE_NOOP("Problem", "unexpected argument '{argument}'")},
    ProblemSentence{
        "usage", "repeated-option",
        QT_TRANSLATE_NOOP("Problem", "{option} is given more than once; it takes one value")},
    ProblemSentence{"usage", "format",
                    QT_TRANSLATE_NOOP("Problem", "--format takes text or json, not '{value}'")},
    // formats and last: the command's own list
    ProblemSentence{
        "usage", "format-own",
        QT_TRANSLATE_NOOP("Problem", "--format takes {formats} or {last}, not '{value}'")},
    ProblemSentence{
        "usage", "year",
        QT_TRANSLATE_NOOP("Problem",
                          "--year takes a solar year from {low} to {high}, not '{value}'")},
    ProblemSentence{
        "usage", "import-arguments",
        QT_TRANSLATE_NOOP("Problem", "import-cities takes FILE.csv and, optionally, the database")},
    ProblemSentence{"usage", "upgrade-arguments",
                    QT_TRANSLATE_NOOP("Problem", "upgrade takes one FILE.fmw")},
    ProblemSentence{
        "usage", "profile-out-many",
        QT_TRANSLATE_NOOP("Problem", "--profile-out writes one device's settings: name one port")},
    ProblemSentence{
        "usage", "profile-out-json",
        QT_TRANSLATE_NOOP("Problem",
                          "--profile-out - and --format json both want standard output: name a "
                          "FILE for the profile")},
    ProblemSentence{"usage", "county-empty",
                    QT_TRANSLATE_NOOP("Problem", "--county needs a county's index or name")},
    ProblemSentence{
        "usage", "empty-port",
        QT_TRANSLATE_NOOP("Problem",
                          "--port takes a port's name (/dev/ttyUSB0, COM3), not an empty text")},
    ProblemSentence{"usage", "help-arguments",
                    QT_TRANSLATE_NOOP("Problem", "help takes one command, not '{argument}'")},
    ProblemSentence{"usage", "export-arguments",
                    QT_TRANSLATE_NOOP("Problem",
                                      "export-cities takes FILE.csv ('-': standard output) and, "
                                      "optionally, the database")},
    ProblemSentence{
        "usage", "export-json",
        QT_TRANSLATE_NOOP("Problem",
                          "export-cities - and --format json both want standard output: name a "
                          "FILE for the CSV")},

    // --- counties
    ProblemSentence{
        "no-county", "",
        QT_TRANSLATE_NOOP("Problem",
                          "no county given: use --county N, or county in the [location] section "
                          "of the profile")},
    ProblemSentence{"no-county", "timetable",
                    QT_TRANSLATE_NOOP("Problem", "no county given: use --county N|NAME")},
    // county, database; name
    ProblemSentence{
        "no-such-county", "index",
        QT_TRANSLATE_NOOP("Problem", "There is no county with index {county} in {database}")},
    ProblemSentence{
        "no-such-county", "name",
        QT_TRANSLATE_NOOP("Problem",
                          "no county, city or province name contains '{name}'; see 'muezzin-cli "
                          "counties'")},
    ProblemSentence{
        "no-such-county", "listing",
        QT_TRANSLATE_NOOP("Problem", "no county, city or province name contains '{name}'")},
    // name, count, candidates: [{index, province, city, county, longitude, latitude}], which the
    // command line lists below the words
    ProblemSentence{"ambiguous-county", "",
                    QT_TRANSLATE_NOOP("Problem",
                                      "'{name}' may mean {count} counties; give one's index with "
                                      "--county:")},
    // county and what the database and the province list say of it
    ProblemSentence{
        "county-inconsistent", "province-missing",
        QT_TRANSLATE_NOOP("Problem",
                          "County {county} belongs to province {province}, but the province list "
                          "has {lines} lines")},
    ProblemSentence{
        "county-inconsistent", "city-name-shared",
        QT_TRANSLATE_NOOP("Problem",
                          "County {county} cannot be chosen: its city \"{city_name}\" (index "
                          "{city}) is listed under the same name as city {other_city} of province "
                          "{province}")},
    ProblemSentence{
        "county-inconsistent", "not-in-city",
        QT_TRANSLATE_NOOP("Problem",
                          "County {county} is not among the counties of its city {city} in "
                          "{database}")},

    // --- fields: value; key (the profile's key) and file, line (of a profile) when known
    ProblemSentence{"field-not-a-number", "",
                    // The system's own words, never translated.
                    "[[{file}, line {line}: ]]'{value}' is not a valid integer value[[ ({key})]]"},
    ProblemSentence{
        "field-out-of-range", "",
        QT_TRANSLATE_NOOP("Problem", "'{value}' is not a value from {low} to {high}[[ ({key})]]")},
    ProblemSentence{
        "coordinate-invalid", "format",
        QT_TRANSLATE_NOOP("Problem",
                          "'{value}' is not a valid coordinate: write degrees and at most two "
                          "digits after the point, as in 51.42[[ ({key})]]")},
    ProblemSentence{
        "coordinate-invalid", "digits",
        QT_TRANSLATE_NOOP("Problem",
                          "'{value}' has more than two digits after the point: the device keeps "
                          "hundredths of a degree[[ ({key})]]")},
    ProblemSentence{
        "coordinate-invalid", "range",
        QT_TRANSLATE_NOOP("Problem", "'{value}' is not a coordinate from 0 to 255.99[[ ({key})]]")},
    // a profile's place: file, line, value, limit (90 or 180 degrees)
    ProblemSentence{
        "coordinate-invalid", "latitude",
        QT_TRANSLATE_NOOP("Problem",
                          "{file}, line {line}: '{value}' is not a latitude from 0 to {limit}")},
    ProblemSentence{
        "coordinate-invalid", "longitude",
        QT_TRANSLATE_NOOP("Problem",
                          "{file}, line {line}: '{value}' is not a longitude from 0 to {limit}")},
    // file, line
    ProblemSentence{
        "profile-invalid", "control-character",
        QT_TRANSLATE_NOOP("Problem",
                          "{file}, line {line}: a control character ({code}) in the line")},
    ProblemSentence{
        "profile-invalid", "not-a-header",
        QT_TRANSLATE_NOOP("Problem", "{file}, line {line}: '{text}' is not a section header")},
    ProblemSentence{
        "profile-invalid", "unknown-section",
        QT_TRANSLATE_NOOP("Problem", "{file}, line {line}: unknown section [{section}]")},
    ProblemSentence{
        "profile-invalid", "not-key-value",
        QT_TRANSLATE_NOOP("Problem",
                          "{file}, line {line}: '{text}' is not a line of the form key = value")},
    ProblemSentence{
        "profile-invalid", "before-section",
        QT_TRANSLATE_NOOP("Problem", "{file}, line {line}: '{text}' stands before any section")},
    ProblemSentence{
        "profile-invalid", "unknown-key",
        QT_TRANSLATE_NOOP("Problem",
                          "{file}, line {line}: unknown key '{key}' in section [{section}]")},
    ProblemSentence{
        "profile-invalid", "key-twice",
        QT_TRANSLATE_NOOP("Problem",
                          "{file}, line {line}: key '{key}' in section [{section}] is given twice "
                          "(first on line {first_line})")},
    ProblemSentence{
        "profile-invalid", "not-true-false",
        QT_TRANSLATE_NOOP("Problem", "{file}, line {line}: '{value}' is neither true nor false")},
    // path, size, needed
    ProblemSentence{
        "firmware-short", "",
        QT_TRANSLATE_NOOP("Problem",
                          "{path} holds {size} bytes: an upgrade file holds at least {needed}")},

    // --- import-cities: path (the CSV file), line
    ProblemSentence{
        "import-refused", "record-too-long",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: line {line}: a record longer than {limit} "
                          "characters")},
    ProblemSentence{
        "import-refused", "quote-inside",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: line {line}: a double quote inside a field that "
                          "is not in quotes")},
    ProblemSentence{
        "import-refused", "text-after-quote",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: line {line}: text after the closing double quote "
                          "of a field")},
    ProblemSentence{
        "import-refused", "quote-unclosed",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: line {line}: a double quote opens a field that "
                          "never closes")},
    ProblemSentence{
        "import-refused", "not-utf8",
        QT_TRANSLATE_NOOP("Problem", "Cannot import {path}: line {line}: the text is not UTF-8")},
    ProblemSentence{
        "import-refused", "line-too-long",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: line {line}: a line longer than {limit} bytes")},
    ProblemSentence{
        "import-refused", "column-twice",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: line {line}: the column {column} appears twice")},
    ProblemSentence{"import-refused", "columns-missing",
                    QT_TRANSLATE_NOOP("Problem",
                                      "Cannot import {path}: line {line}: the header has no column "
                                      "{columns}")},
    ProblemSentence{
        "import-refused", "not-whole",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: line {line}: column {column} holds \"{value}\", "
                          "which is not a whole number")},
    ProblemSentence{
        "import-refused", "not-a-number",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: line {line}: column {column} holds \"{value}\", "
                          "which is not a number")},
    ProblemSentence{
        "import-refused", "beyond",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: line {line}: column {column} holds \"{value}\", "
                          "which is beyond {limit} degrees")},
    ProblemSentence{
        "import-refused", "name-control",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: line {line}: column {column} holds \"{value}\", "
                          "but a name cannot hold a control character ({character})")},
    ProblemSentence{
        "import-refused", "name-separator",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: line {line}: column {column} holds \"{value}\", "
                          "but a name cannot hold a line separator ({character})")},
    ProblemSentence{
        "import-refused", "name-bidi",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: line {line}: column {column} holds \"{value}\", "
                          "but a name cannot hold a bidirectional control ({character})")},
    ProblemSentence{
        "import-refused", "field-count",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: line {line}: {count} fields where the header has "
                          "{header}")},
    ProblemSentence{
        "import-refused", "county-twice",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: line {line}: column {column} holds {county}, "
                          "which line {first_line} already uses")},
    ProblemSentence{
        "import-refused", "name-empty",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: line {line}: column {column} holds \"{value}\", "
                          "but a name cannot be empty or only blanks")},
    // list: the province list the rows are checked against, lines: its lines
    ProblemSentence{
        "import-refused", "province-not-listed",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: line {line}: column {column} holds \"{value}\", "
                          "which is no line of the province list {list} (lines 1 to {lines})")},
    ProblemSentence{
        "import-refused", "province-list-empty",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: line {line}: column {column} holds \"{value}\", "
                          "which is no line of the province list {list} (which has no line)")},
    ProblemSentence{
        "import-refused", "not-0-or-1",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: line {line}: column {column} holds \"{value}\", "
                          "which is neither 0 nor 1")},
    // list, other_list: where the province list was looked for; file: its name
    ProblemSentence{
        "import-refused", "no-province-list",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: no province list to check its {column} against: "
                          "{list} does not exist; put the {file} that goes with the database "
                          "beside it, or name its folder with --folder DIR")},
    ProblemSentence{
        "import-refused", "no-province-lists",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: no province list to check its {column} against: "
                          "neither {list} nor {other_list} exists; put the {file} that goes with "
                          "the database beside it, or name its folder with --folder DIR")},
    ProblemSentence{"import-refused", "empty",
                    QT_TRANSLATE_NOOP("Problem", "Cannot import {path}: the file is empty")},
    ProblemSentence{
        "import-refused", "no-county",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: the file holds no county below its header line")},
    ProblemSentence{
        "import-refused", "itself",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot import {path}: it is the database file {database} itself; name "
                          "another file for the database")},

    // --- files: path; reason: the system's words, where it gave some
    ProblemSentence{"file-not-found", "read",
                    QT_TRANSLATE_NOOP("Problem", "Cannot open file {path}")},
    ProblemSentence{
        "file-not-found", "write",
        QT_TRANSLATE_NOOP("Problem", "Cannot write file {path}: its folder does not exist")},
    ProblemSentence{
        "file-not-found", "city-database",
        QT_TRANSLATE_NOOP("Problem",
                          "The city database {path} cannot be used: the file does not exist")},
    ProblemSentence{"file-permission", "read",
                    QT_TRANSLATE_NOOP("Problem", "Cannot open file {path}: permission denied")},
    ProblemSentence{"file-permission", "write",
                    QT_TRANSLATE_NOOP("Problem", "Cannot write file {path}: permission denied")},
    ProblemSentence{
        "file-permission", "city-database",
        QT_TRANSLATE_NOOP("Problem",
                          "The city database {path} cannot be used: the file is not readable")},
    ProblemSentence{"file-permission", "start-file",
                    QT_TRANSLATE_NOOP(
                        "Problem", "{path} may not be read by this user; give it read permission")},
    ProblemSentence{"not-a-file", "read-folder",
                    QT_TRANSLATE_NOOP("Problem", "Cannot open file {path}: it is a folder")},
    ProblemSentence{
        "not-a-file", "read-special",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot open file {path}: not a regular file (a device, a FIFO or a "
                          "socket)")},
    ProblemSentence{"not-a-file", "write-folder",
                    QT_TRANSLATE_NOOP("Problem", "Cannot write file {path}: it is a folder")},
    ProblemSentence{
        "not-a-file", "write-special",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot write file {path}: not a regular file, which this file must be")},
    ProblemSentence{
        "not-a-file", "fifo-unread",
        QT_TRANSLATE_NOOP("Problem", "Cannot write file {path}: a FIFO that no program reads")},
    ProblemSentence{
        "not-a-file", "city-database",
        QT_TRANSLATE_NOOP("Problem", "The city database {path} cannot be used: it is not a file")},
    // limit: the bytes a file of its kind may hold
    ProblemSentence{"file-too-large", "kib",
                    QT_TRANSLATE_NOOP("Problem", "Cannot read file {path}: larger than {kib} KiB")},
    ProblemSentence{"file-too-large", "mib",
                    QT_TRANSLATE_NOOP("Problem", "Cannot read file {path}: larger than {mib} MiB")},
    ProblemSentence{
        "file-too-large", "key-table",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot read file {path}: larger than {kib} KiB before its {lines}th "
                          "line ends")},
    ProblemSentence{
        "disk-full", "write",
        QT_TRANSLATE_NOOP("Problem", "Cannot write file {path}: no space left on the disk")},
    ProblemSentence{"disk-full", "write-database",
                    QT_TRANSLATE_NOOP("Problem", "Cannot write {path}: no space left on the disk")},
    ProblemSentence{
        "file-held", "write",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot write file {path}: held open by another program; close it "
                          "there and try again")},
    ProblemSentence{
        "file-held", "read",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot open file {path}: held open by another program; close it "
                          "there and try again")},
    ProblemSentence{"file-failed", "open",
                    QT_TRANSLATE_NOOP("Problem", "Cannot open file {path}: {reason}")},
    ProblemSentence{"file-failed", "read",
                    QT_TRANSLATE_NOOP("Problem", "Cannot read file {path}: {reason}")},
    ProblemSentence{"file-failed", "write",
                    QT_TRANSLATE_NOOP("Problem", "Cannot write file {path}: {reason}")},
    ProblemSentence{"file-failed", "write-database",
                    QT_TRANSLATE_NOOP("Problem", "Cannot write {path}: {reason}")},
    // The remedy of the system: glibc's gconv modules, or Windows' code page 1256.
    ProblemSentence{
        "no-converter", "gconv",
        QT_TRANSLATE_NOOP("Problem",
                          "Windows-1256 text cannot be converted here: the system has no converter "
                          "for it (install Debian's libc6 again, whose gconv modules convert it, "
                          "and leave GCONV_PATH unset)")},
    ProblemSentence{
        "no-converter", "code-page",
        QT_TRANSLATE_NOOP("Problem",
                          "Windows-1256 text cannot be converted here: the code page 1256 is not "
                          "installed (add Persian to Windows' languages: Settings, Time & "
                          "Language)")},
    // character (escaped where it is no printable one), code_point ("U+0100")
    ProblemSentence{
        "unmappable-character", "",
        QT_TRANSLATE_NOOP("Problem", "the character \"{character}\" ({code_point}) has no place in "
                                     "Windows-1256, the code page of the device's files")},
    ProblemSentence{
        "no-sqlite-driver", "read",
        QT_TRANSLATE_NOOP("Problem",
                          "The city database {path} cannot be used: the SQLite driver of Qt is "
                          "not installed (Debian: libqt6sql6-sqlite)")},
    ProblemSentence{
        "no-sqlite-driver", "write",
        QT_TRANSLATE_NOOP("Problem",
                          "Cannot write {path}: the SQLite driver of Qt is not installed (Debian: "
                          "libqt6sql6-sqlite)")},
    // path; detail: the SQL driver's words
    ProblemSentence{
        "database-unusable", "not-sqlite",
        QT_TRANSLATE_NOOP("Problem",
                          "The city database {path} cannot be used: it is not a readable SQLite "
                          "database ({detail})")},
    ProblemSentence{
        "database-unusable", "no-table",
        QT_TRANSLATE_NOOP("Problem",
                          "The city database {path} cannot be used: it has no table city")},
    ProblemSentence{
        "database-unusable", "columns-missing",
        QT_TRANSLATE_NOOP("Problem",
                          "The city database {path} cannot be used: table city has no column "
                          "{columns}")},
    ProblemSentence{
        "database-unusable", "not-whole",
        QT_TRANSLATE_NOOP("Problem",
                          "The city database {path} cannot be used: a row of table city has "
                          "{column} \"{value}\", which is not a whole number")},
    ProblemSentence{
        "database-unusable", "not-a-number",
        QT_TRANSLATE_NOOP("Problem",
                          "The city database {path} cannot be used: a row of table city has "
                          "{column} \"{value}\", which is not a number")},
    ProblemSentence{
        "database-unusable", "not-0-or-1",
        QT_TRANSLATE_NOOP("Problem",
                          "The city database {path} cannot be used: a row of table city has "
                          "{column} \"{value}\", which is neither 0 nor 1")},
    ProblemSentence{
        "database-unusable", "query",
        QT_TRANSLATE_NOOP("Problem", "The city database {path} cannot be used: {detail}")},
    // folder (the data folder)
    ProblemSentence{
        "start-folder", "sample-missing",
        QT_TRANSLATE_NOOP("Problem",
                          "The data folder {folder} cannot be set up: the installed sample "
                          "{sample} is missing. Start the program in a folder that holds the "
                          "tool's files, or name one with --folder DIR.")},
    ProblemSentence{
        "start-folder", "cannot-copy",
        QT_TRANSLATE_NOOP("Problem",
                          "The data folder {folder} cannot be set up: {file} cannot be copied "
                          "({reason}). Start the program in a folder that holds the tool's files, "
                          "or name one with --folder DIR.")},
    ProblemSentence{
        "start-folder", "cannot-create",
        QT_TRANSLATE_NOOP("Problem",
                          "The data folder {folder} cannot be set up: {path} cannot be created. "
                          "Start the program in a folder that holds the tool's files, or name one "
                          "with --folder DIR.")},
    ProblemSentence{
        "start-folder", "cannot-write",
        QT_TRANSLATE_NOOP("Problem",
                          "The data folder {folder} cannot be set up: {path} cannot be written. "
                          "Start the program in a folder that holds the tool's files, or name one "
                          "with --folder DIR.")},
    ProblemSentence{
        "start-folder", "staging",
        QT_TRANSLATE_NOOP("Problem",
                          "The data folder {folder} cannot be set up: {reason}. Start the program "
                          "in a folder that holds the tool's files, or name one with --folder "
                          "DIR.")},
    ProblemSentence{
        "start-folder", "no-data-folder",
        QT_TRANSLATE_NOOP("Problem",
                          "This system names no data folder for the tool. Start the program in a "
                          "folder that holds the tool's files, or name one with --folder DIR.")},

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

constexpr std::array ListItems = {
    ProblemListWords{"holders", "{name} (PID {pid})"},
    ProblemListWords{"columns", nullptr},
    ProblemListWords{"claims", "{rule} claims {adapters}", true},
};

} // namespace

std::span<const ProblemKind> ProblemKinds() {
    return Kinds;
}

std::span<const ProblemSentence> ProblemSentences() {
    return Sentences;
}

std::span<const ProblemListWords> ProblemListItems() {
    return ListItems;
}
