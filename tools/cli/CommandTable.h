#pragma once

#include "tools/cli/CommandSupport.h"
#include "tools/cli/Help.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <functional>
#include <map>

struct Command {
    // What its help says; its name is its key in the command table. Its options are its own,
    // besides the global options; no arguments: it takes none.
    CommandHelp Help{};
    std::function<int(const QCommandLineParser&, const GlobalOptions&)> Run{};
    bool UsesStartFolder = false;
    bool DrawsText = false; // needs the fonts, and so a QGuiApplication
    // The values its --format takes when it prints a listing of its own besides the text and the
    // JSON report (timetable's csv); empty: text or json.
    QStringList Formats{};
};

// Every command by its name, with its help and its body.
const std::map<QString, Command>& CommandTable();

// --format: the outcome as text (the default) or as one JSON document.
const QCommandLineOption& FormatOption();

// --county N|NAME.
const QCommandLineOption& CountyOption();

// The options the commands all take, before their name or after it.
const QList<QCommandLineOption>& GlobalOptionList();

// What the program says of itself in its help and its man page, built from the command table.
const ProgramHelp& CliHelp();

// "unknown command 'frob'; see 'muezzin-cli --help'" (usage).
Problem UnknownCommand(const QString& name);

// The help of the command of that name; the first command's for a name that names none.
const CommandHelp& CommandHelpOf(const QString& name);
