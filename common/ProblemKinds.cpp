// The table of problem kinds: each kind with the exit status a command ends with on it, and its
// sentences with the values they name in braces. The kinds are an interface (scripts match on
// them; the README lists them): rename none. Adding one:
//   1. a row in Kinds (its exit status, whether it is translated, its short words, if any);
//   2. a row in Sentences (common/ProblemSentences*.cpp) for each of its forms: "{name}" stands for
//   a value, "[[...]]" for a part
//      shown only when every value it names is given;
//   3. build the update_translations target and write the Persian of the new words in
//      app/translations/muezzin-config_fa.ts (the translations_complete test fails until then);
//   4. make it where the problem is found (Problem(kind, form).Set(name, value)...), give it a
//      row in tst_problems' table of causes, and a line in the README's table of kinds.
#include "common/ExitCodes.h"
#include "common/Problem.h"

#include <QtGlobal>
#include <array>
#include <vector>

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
    // Written in three files by what the problems are about; looked up as one table.
    static const std::vector<ProblemSentence> all = [] {
        std::vector<ProblemSentence> joined;
        for (const auto part :
             {ProblemSentencesOfInput(), ProblemSentencesOfFiles(), ProblemSentencesOfDevice()}) {
            joined.insert(joined.end(), part.begin(), part.end());
        }
        return joined;
    }();
    return all;
}

std::span<const ProblemListWords> ProblemListItems() {
    return ListItems;
}
