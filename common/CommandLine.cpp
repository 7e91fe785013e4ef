#include "common/CommandLine.h"

#include <QCoreApplication>
#include <QMap>
#include <cstdio>

QString RepeatedOption(std::initializer_list<const QCommandLineParser*> parsers,
                       const QStringList& repeatable) {
    QMap<QString, int> given;
    for (const QCommandLineParser* parser : parsers) {
        for (const QString& name : parser->optionNames()) {
            // A switch has no value; it means the same however often it is given.
            if (!repeatable.contains(name) && !parser->values(name).isEmpty()) {
                ++given[name];
            }
        }
    }
    for (auto option = given.cbegin(); option != given.cend(); ++option) {
        if (option.value() > 1) {
            return option.key();
        }
    }
    return {};
}

void PrintVersion() {
    std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                qPrintable(QCoreApplication::applicationVersion()));
}

QString RepeatedOptionText(const QString& option) {
    return QStringLiteral("--%1 is given more than once; it takes one value").arg(option);
}
