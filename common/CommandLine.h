#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <initializer_list>

// An option that takes one value, given more than once across the parsers (the options before a
// command and after it count alike): which value was meant is not known, so the programs refuse
// it as a usage error. Options named in repeatable may be given many times. Empty when there is
// none.
QString RepeatedOption(std::initializer_list<const QCommandLineParser*> parsers,
                       const QStringList& repeatable = {});

// The message for such an option.
QString RepeatedOptionText(const QString& option);

// Prints "<application name> <version>" as QCommandLineParser::showVersion() does, but returns,
// so that the program still learns whether standard output took it.
void PrintVersion();
