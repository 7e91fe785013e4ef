#include "tools/cli/ParsedCommandLine.h"

#include "comm/PortIdentity.h"
#include "common/CommandLine.h"
#include "common/ExitCodes.h"
#include "common/ShownText.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

// The program ends with that status once it has printed the text (help, version, man page).
ParsedCommandLine EndWithText(int status, const QString& text = {}) {
    ParsedCommandLine ended;
    ended.Exit = status;
    ended.Text = text;
    return ended;
}

// The command line is wrong: the program says why and ends, having done nothing.
ParsedCommandLine UsageError(const QString& error) {
    ParsedCommandLine ended = EndWithText(exitcode::InputError);
    ended.Errors.append(error);
    return ended;
}

// An empty --port would otherwise name no port, and the command would search them all.
QString EmptyPortText() {
    return QStringLiteral("--port takes a port's name (/dev/ttyUSB0, COM3), not an empty text");
}

// Two names of one device (a by-id link and its ttyUSB) would be probed at once and collide: the
// device is served once, under the name given first, and each other name is said.
QStringList OnePortPerDevice(const QStringList& ports, QStringList& said) {
    const QStringList kept = DistinctPorts(ports);
    for (const QString& port : ports) {
        if (kept.contains(port)) {
            continue; // served, or given twice as it stands
        }
        const QString identity = PortIdentity(port);
        for (const QString& first : kept) {
            if (PortIdentity(first) == identity) {
                said.append(
                    QStringLiteral("%1 and %2 are the same device; it is served once, as %1")
                        .arg(ShownValue(first), ShownValue(port)));
            }
        }
    }
    return kept;
}

// The global options may stand before the command and after it.
GlobalOptions ReadGlobalOptions(const QCommandLineParser& top, const QCommandLineParser& parser,
                                QStringList& said) {
    GlobalOptions global;
    for (const QCommandLineParser* source : {&top, &parser}) {
        global.Ports += source->values(QStringLiteral("port"));
        global.AllPorts = global.AllPorts || source->isSet(QStringLiteral("all-ports"));
        global.Verbose = global.Verbose || source->isSet(QStringLiteral("verbose"));
        global.Quiet = global.Quiet || source->isSet(QStringLiteral("quiet"));
        if (source->isSet(QStringLiteral("folder"))) {
            global.Folder = source->value(QStringLiteral("folder"));
        }
    }
    global.Ports = OnePortPerDevice(global.Ports, said);
    global.Port = global.Ports.value(0);
    return global;
}

// The help or the version, when one is asked for.
std::optional<QString> HelpOrVersionAsked(const QCommandLineParser& parser,
                                          const QString& command) {
    if (parser.isSet(QStringLiteral("version"))) {
        return VersionText();
    }
    if (parser.isSet(QStringLiteral("help"))) {
        return command.isEmpty() ? ProgramHelpText(CliHelp())
                                 : CommandHelpText(CliHelp(), CommandHelpOf(command));
    }
    return std::nullopt;
}

} // namespace

ParsedCommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser top;
    top.addOptions(GlobalOptionList());
    // For help2man: the man page's own sections, made from the same table as the help.
    QCommandLineOption manPage(QStringLiteral("help-man"));
    manPage.setFlags(QCommandLineOption::HiddenFromHelp);
    top.addOption(manPage);
    top.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!top.parse(arguments)) {
        return UsageError(top.errorText());
    }
    if (top.isSet(manPage)) {
        return EndWithText(exitcode::Ok, ManPageInclude(CliHelp()));
    }
    if (const auto text = HelpOrVersionAsked(top, QString())) {
        return EndWithText(exitcode::Ok, *text);
    }

    const QStringList rest = top.positionalArguments();
    if (rest.isEmpty()) {
        return UsageError(QStringLiteral("no command given; see 'muezzin-cli --help'"));
    }
    const auto found = CommandTable().find(rest.first());
    if (found == CommandTable().end()) {
        return UsageError(UnknownCommandText(rest.first()));
    }
    ParsedCommandLine options;
    options.Name = found->first;
    options.Chosen = &found->second;
    options.Parser = std::make_unique<QCommandLineParser>();
    QCommandLineParser& parser = *options.Parser;
    parser.addOptions(GlobalOptionList());
    parser.addOptions(options.Chosen->Help.Options);
    QStringList commandArguments = rest;
    commandArguments.first() = QStringLiteral("muezzin-cli ") + rest.first();
    if (!parser.parse(commandArguments)) {
        return UsageError(parser.errorText());
    }
    if (const auto text = HelpOrVersionAsked(parser, options.Name)) {
        return EndWithText(exitcode::Ok, *text);
    }
    if (options.Chosen->Help.Arguments.isEmpty() && !parser.positionalArguments().isEmpty()) {
        return UsageError(QStringLiteral("unexpected argument '%1'")
                              .arg(ShownValue(parser.positionalArguments().first())));
    }
    if (const QString repeated = RepeatedOption({&top, &parser}, {QStringLiteral("port")});
        !repeated.isEmpty()) {
        return UsageError(RepeatedOptionText(repeated));
    }
    for (const QCommandLineParser* source : {&top, &parser}) {
        const QStringList ports = source->values(QStringLiteral("port"));
        if (std::any_of(ports.begin(), ports.end(),
                        [](const QString& port) { return port.trimmed().isEmpty(); })) {
            return UsageError(EmptyPortText());
        }
    }
    if (parser.optionNames().contains(FormatOption().names().first())) {
        const QString format = parser.value(FormatOption().names().first());
        const QStringList& own = options.Chosen->Formats;
        const QStringList formats =
            own.isEmpty() ? QStringList{QStringLiteral("text"), QStringLiteral("json")} : own;
        if (!formats.contains(format)) {
            return UsageError(QStringLiteral("--format takes %1 or %2, not '%3'")
                                  .arg(formats.first(formats.size() - 1).join(QStringLiteral(", ")),
                                       formats.last(), ShownValue(format)));
        }
        options.Json = own.isEmpty() && format == QStringLiteral("json");
    }
    options.Global = ReadGlobalOptions(top, parser, options.Errors);
    return options;
}
