// The sentences of the problems of what is typed and read in: the command line, counties, the
// settings fields, profiles, the firmware file and the city import. See common/ProblemKinds.cpp.
#include "common/Problem.h"

#include <QtGlobal>
#include <array>

namespace {

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
};

} // namespace

std::span<const ProblemSentence> ProblemSentencesOfInput() {
    return Sentences;
}
