#pragma once

#include "tools/cli/JsonReport.h"

#include <QString>
#include <QStringList>

// muezzin-cli doctor: the set-up checked as a technician would check it before the first run.
// One line per check on standard output, "what: ok" or "what: the problem; the remedy".

// Checks the candidate ports and the system's serial set-up, the start folder (chosen as the
// other commands choose it; folderFlag is --folder) and its files, and what the window needs to
// show Persian. Each check is a line of standard output, or, with a report, an entry of its
// "checks": {"subject", "ok", "detail"}. Returns exitcode::Ok when every check holds,
// exitcode::Failed otherwise. Needs a QGuiApplication, for the fonts.
int RunDoctor(const QStringList& ports, const QString& folderFlag, JsonReport* report = nullptr);
