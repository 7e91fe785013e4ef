#pragma once

#include "tools/cli/CommandTable.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// What the command line asks for. Exit, when set, ends the program at once with that status: help
// was asked for, or the command line is wrong. Nothing is printed while it is read; Text and
// Errors hold what is to be said.
struct ParsedCommandLine {
    std::optional<int> Exit;
    QString Text;       // for standard output: the help, the version or the man page's sections
    QStringList Errors; // the tool's messages, in order
    QString Name;
    const Command* Chosen = nullptr;
    std::unique_ptr<QCommandLineParser> Parser; // the command's own, with the global options
    GlobalOptions Global;
    bool Json = false; // --format json
};

// Reads the arguments, the program's name first; the global options may stand before the
// command's name and after it.
ParsedCommandLine ParseCommandLine(const QStringList& arguments);
