#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <vector>

// What muezzin-cli says about itself, once: the terminal's --help and the man page are both
// rendered from it, so that they cannot drift apart.

// An entry of a list: a term (an argument, an exit status, a variable, a file) and what it is.
struct HelpItem {
    QString Term;
    QString Text;
};

struct CommandHelp {
    QString Name{};
    QString Summary{};           // one or two sentences
    QList<HelpItem> Arguments{}; // in the order they are given; the term is the usage syntax
    QList<QCommandLineOption> Options{};
    QList<HelpItem> Examples{}; // a command line, and what it does
};

struct ProgramHelp {
    QString Program;
    QString Description;
    QList<QCommandLineOption> GlobalOptions; // those the commands all take
    std::vector<CommandHelp> Commands;       // in the order listed
    QList<HelpItem> ExitStatus;
    QList<HelpItem> Environment;
    QList<HelpItem> Files;
    QString FilesIntroduction; // the man page's paragraph before its list of files
    QStringList SeeAlso;       // pages, as "name(1)"
};

// Lines at most this long, so that an 80-column terminal never breaks them itself.
constexpr int HelpWidth = 79;

// The text broken into lines of at most width columns at blanks, every line after the first
// indented by indent; a word longer than a line stands alone.
QString Wrapped(const QString& text, int indent, int width = HelpWidth);

// "Usage: muezzin-cli apply [options]" and, for a command with arguments, their syntax.
QString UsageLine(const ProgramHelp& program, const CommandHelp& command);

// The program's --help: usage, description, global options, commands, exit status,
// environment, files.
QString ProgramHelpText(const ProgramHelp& program);

// A command's --help: its usage line with its arguments, summary, arguments, options, the global
// options and its examples.
QString CommandHelpText(const ProgramHelp& program, const CommandHelp& command);

// The man page's own sections as help2man includes them: a synopsis of every command, the
// global options, a subsection per command with its arguments and options, exit status,
// environment, files, examples, see also.
QString ManPageInclude(const ProgramHelp& program);
