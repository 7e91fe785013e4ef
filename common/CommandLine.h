#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>

// An option that takes one value, given more than once across the parsers (the options before a
// command and after it count alike): which value was meant is not known, so the programs refuse
// it as a usage error. Options named in repeatable may be given many times. Empty when there is
// none.
QString RepeatedOption(std::initializer_list<const QCommandLineParser*> parsers,
                       const QStringList& repeatable = {});

// The message for such an option.
QString RepeatedOptionText(const QString& option);

// "<application name> <version>" and a line break, as QCommandLineParser::showVersion() prints it.
QString VersionText();

// Prints VersionText(), but returns, so that the program still learns whether standard output
// took it.
void PrintVersion();

// One option of a program's table: as its help shows it, and what its value does. Take gets the
// value given (the last, when given more than once; empty for a switch) and says why it refuses
// it, or nothing.
struct TableOption {
    QCommandLineOption Option;
    std::function<QString(const QString& value)> Take;
};

// Adds the table's options to the parser, in the table's order, which is the help's.
void AddOptions(QCommandLineParser& parser, std::span<const TableOption> table);

// Has each option given take its value, in the table's order; the refusals, in that order.
QStringList TakeOptions(const QCommandLineParser& parser, std::span<const TableOption> table);

// A switch, which sets its flag when given.
TableOption SwitchOption(const QCommandLineOption& option, bool& given);

// An option whose value is kept as it stands.
TableOption TextOption(const QCommandLineOption& option, QString& value);
TableOption TextOption(const QCommandLineOption& option, std::optional<QString>& value);

// A whole number as typed on a command line: Latin, Persian (U+06F0..U+06F9) or Arabic-Indic
// (U+0660..U+0669) digits, an optional sign; none for anything else, or one out of range.
std::optional<int> WholeNumberOf(const QString& text);
