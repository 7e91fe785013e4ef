// The sentences of the problems of files: reading, saving, the Windows-1256 converter, the city
// database and the start folder. See common/ProblemKinds.cpp.
#include "common/Problem.h"

#include <QtGlobal>
#include <array>

namespace {

constexpr std::array Sentences = {
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
};

} // namespace

std::span<const ProblemSentence> ProblemSentencesOfFiles() {
    return Sentences;
}
