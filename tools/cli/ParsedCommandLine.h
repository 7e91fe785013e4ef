#pragma once

#include "tools/cli/CommandTable.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

// What the command line asks for. Exit, when set, ends the program at once with that status: help
// was asked for, or the command line is wrong. Nothing is printed while it is read; Text, Refusal
// and Warnings hold what is to be said.
struct ParsedCommandLine {
    std::optional<int> Exit;
    QString Text;        // for standard output: the help, the version or the man page's sections
    bool IsHelp = false; // Text is the help, which --format json puts into its document
    bool IsVersion = false;
    Problem Refusal;               // what is wrong with the command line (usage)
    std::vector<Problem> Warnings; // the same device named twice
    QString Name;
    const Command* Chosen = nullptr;
    std::unique_ptr<QCommandLineParser> Parser; // the command's own, with the global options
    GlobalOptions Global;
    // --format json, before the command or after it; also read from a command line that is
    // wrong, whose refusal then comes as a document too.
    bool Json = false;
};

// Reads the arguments, the program's name first; the global options may stand before the
// command's name and after it.
ParsedCommandLine ParseCommandLine(const QStringList& arguments);
