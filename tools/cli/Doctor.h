#pragma once

#include "tools/cli/JsonReport.h"

#include <QString>
#include <QStringList>

// muezzin-cli doctor: the set-up checked as a technician would check it before the first run.
// One line per check on standard output, "[ ok ] what: ok" or "[FAIL] what: the problem; the
// remedy", and a last line that counts them.

// Checks the candidate ports and the system's serial set-up, the start folder (chosen as the
// other commands choose it; folderFlag is --folder), its files and how many counties have
// coordinates, what the window needs to show Persian, and the PC's time zone; for a county
// (county is --county, or empty), the timetable years an apply sends. Each check is a line of
// standard output, or, with a report, an entry of its "checks": {"subject", "ok", "detail",
// "problem"} (a failed check's problem, a kind of its own, null for one that holds) and a
// "summary" of the counts. Returns exitcode::Ok when every check holds, exitcode::Failed
// otherwise. Needs a QGuiApplication, for the fonts.
int RunDoctor(const QStringList& ports, const QString& folderFlag, const QString& county,
              JsonReport* report = nullptr);
