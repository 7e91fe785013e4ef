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

QString VersionText() {
    return QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                         QCoreApplication::applicationVersion());
}

void PrintVersion() {
    std::fputs(qPrintable(VersionText()), stdout);
}

QString RepeatedOptionText(const QString& option) {
    return QStringLiteral("--%1 is given more than once; it takes one value").arg(option);
}

void AddOptions(QCommandLineParser& parser, std::span<const TableOption> table) {
    for (const TableOption& entry : table) {
        parser.addOption(entry.Option);
    }
}

QStringList TakeOptions(const QCommandLineParser& parser, std::span<const TableOption> table) {
    QStringList refusals;
    for (const TableOption& entry : table) {
        if (!parser.isSet(entry.Option)) {
            continue;
        }
        if (const QString refusal = entry.Take(parser.value(entry.Option)); !refusal.isEmpty()) {
            refusals.append(refusal);
        }
    }
    return refusals;
}

TableOption SwitchOption(const QCommandLineOption& option, bool& given) {
    return {option, [&given](const QString&) {
                given = true;
                return QString();
            }};
}

TableOption TextOption(const QCommandLineOption& option, QString& value) {
    return {option, [&value](const QString& text) {
                value = text;
                return QString();
            }};
}

TableOption TextOption(const QCommandLineOption& option, std::optional<QString>& value) {
    return {option, [&value](const QString& text) {
                value = text;
                return QString();
            }};
}

std::optional<int> WholeNumberOf(const QString& text) {
    QString latin = text;
    for (QChar& c : latin) {
        const char16_t u = c.unicode();
        if (u >= 0x06F0 && u <= 0x06F9) {
            c = QChar(u'0' + (u - 0x06F0));
        } else if (u >= 0x0660 && u <= 0x0669) {
            c = QChar(u'0' + (u - 0x0660));
        }
    }
    bool converted = false;
    const int value = latin.toInt(&converted);
    return converted ? std::optional<int>(value) : std::nullopt;
}
