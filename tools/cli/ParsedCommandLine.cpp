#include "tools/cli/ParsedCommandLine.h"

#include "comm/PortIdentity.h"
#include "common/CommandLine.h"
#include "common/ExitCodes.h"
#include "common/ShownText.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QRegularExpression>
#include <algorithm>
#include <utility>

namespace {

// The program ends with that status once it has printed the text (help, version, man page).
ParsedCommandLine EndWithText(int status, const QString& text = {}) {
    ParsedCommandLine ended;
    ended.Exit = status;
    ended.Text = text;
    return ended;
}

Problem Usage(const QString& form) {
    return Problem(QStringLiteral("usage"), form);
}

// The command line is wrong: the program says why and ends, having done nothing.
ParsedCommandLine UsageError(const Problem& problem) {
    ParsedCommandLine ended = EndWithText(exitcode::InputError);
    ended.Refusal = problem;
    return ended;
}

// "--colour", "-x": an option as it is typed.
QString Typed(const QString& name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// What the parser refused. Its messages are Qt's, in English since the command line does not
// load Qt's own translation; the option they name is taken out of them for the tool's words.
Problem ParserRefusal(const QCommandLineParser& parser) {
    if (!parser.unknownOptionNames().isEmpty()) {
        return Usage(QStringLiteral("unknown-option"))
            .Set(QStringLiteral("option"), ShownValue(Typed(parser.unknownOptionNames().first())));
    }
    const QString text = parser.errorText();
    for (const auto& [pattern, form] :
         {std::pair{QStringLiteral("^Missing value after '(.*)'\\.$"),
                    QStringLiteral("missing-value")},
          std::pair{QStringLiteral("^Unexpected value after '(.*)'\\.$"),
                    QStringLiteral("unexpected-value")}}) {
        const QRegularExpressionMatch match = QRegularExpression(pattern).match(text);
        if (match.hasMatch()) {
            return Usage(form).Set(QStringLiteral("option"), ShownValue(match.captured(1)));
        }
    }
    return Usage(QStringLiteral("parser")).Set(QStringLiteral("detail"), ShownValue(text));
}

// Whether the arguments ask for --format json, read without the parser, which may have refused
// them.
bool JsonAsked(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QStringLiteral("--format=json") ||
            (arguments[i] == QStringLiteral("--format") && i + 1 < arguments.size() &&
             arguments[i + 1] == QStringLiteral("json"))) {
            return true;
        }
        if (arguments[i] == QStringLiteral("--")) {
            break;
        }
    }
    return false;
}

// Two names of one device (a by-id link and its ttyUSB) would be probed at once and collide: the
// device is served once, under the name given first, and each other name is said.
QStringList OnePortPerDevice(const QStringList& ports, std::vector<Problem>& said) {
    const QStringList kept = DistinctPorts(ports);
    for (const QString& port : ports) {
        if (kept.contains(port)) {
            continue; // served, or given twice as it stands
        }
        const QString identity = PortIdentity(port);
        for (const QString& first : kept) {
            if (PortIdentity(first) == identity) {
                said.push_back(Problem(QStringLiteral("same-device"))
                                   .Set(QStringLiteral("port"), ShownValue(first))
                                   .Set(QStringLiteral("other"), ShownValue(port)));
            }
        }
    }
    return kept;
}

// The global options may stand before the command and after it.
GlobalOptions ReadGlobalOptions(const QCommandLineParser& top, const QCommandLineParser& parser,
                                std::vector<Problem>& said) {
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
std::optional<ParsedCommandLine> HelpOrVersionAsked(const QCommandLineParser& parser,
                                                    const QString& command) {
    if (parser.isSet(QStringLiteral("version"))) {
        ParsedCommandLine ended = EndWithText(exitcode::Ok, VersionText());
        ended.IsVersion = true;
        return ended;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        ParsedCommandLine ended = EndWithText(
            exitcode::Ok, command.isEmpty() ? ProgramHelpText(CliHelp())
                                            : CommandHelpText(CliHelp(), CommandHelpOf(command)));
        ended.IsHelp = true;
        return ended;
    }
    return std::nullopt;
}

// The command line as read: its refusal or its help comes as a JSON document when one is asked
// for, even where the command line is wrong.
ParsedCommandLine Read(const QStringList& arguments);

} // namespace

ParsedCommandLine ParseCommandLine(const QStringList& arguments) {
    ParsedCommandLine read = Read(arguments);
    // The man page's sections are for help2man alone, never a document.
    if (read.Exit && (!read.Refusal.IsEmpty() || read.IsHelp || read.IsVersion)) {
        read.Json = JsonAsked(arguments);
    }
    return read;
}

namespace {

ParsedCommandLine Read(const QStringList& arguments) {
    QCommandLineParser top;
    top.addOptions(GlobalOptionList());
    // For help2man: the man page's own sections, made from the same table as the help.
    QCommandLineOption manPage(QStringLiteral("help-man"));
    manPage.setFlags(QCommandLineOption::HiddenFromHelp);
    top.addOption(manPage);
    top.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!top.parse(arguments)) {
        return UsageError(ParserRefusal(top));
    }
    if (top.isSet(manPage)) {
        return EndWithText(exitcode::Ok, ManPageInclude(CliHelp()));
    }
    if (auto asked = HelpOrVersionAsked(top, QString())) {
        return std::move(*asked);
    }

    const QStringList rest = top.positionalArguments();
    if (rest.isEmpty()) {
        return UsageError(Usage(QStringLiteral("no-command")));
    }
    const auto found = CommandTable().find(rest.first());
    if (found == CommandTable().end()) {
        return UsageError(UnknownCommand(rest.first()));
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
    const auto refused = [&](const Problem& problem) {
        ParsedCommandLine ended = UsageError(problem);
        ended.Name = options.Name;
        return ended;
    };
    if (!parser.parse(commandArguments)) {
        return refused(ParserRefusal(parser));
    }
    if (auto asked = HelpOrVersionAsked(parser, options.Name)) {
        asked->Name = options.Name;
        return std::move(*asked);
    }
    if (options.Chosen->Help.Arguments.isEmpty() && !parser.positionalArguments().isEmpty()) {
        return refused(
            Usage(QStringLiteral("unexpected-argument"))
                .Set(QStringLiteral("argument"), ShownValue(parser.positionalArguments().first())));
    }
    if (const QString repeated = RepeatedOption({&top, &parser}, {QStringLiteral("port")});
        !repeated.isEmpty()) {
        return refused(Usage(QStringLiteral("repeated-option"))
                           .Set(QStringLiteral("option"), QStringLiteral("--") + repeated));
    }
    for (const QCommandLineParser* source : {&top, &parser}) {
        const QStringList ports = source->values(QStringLiteral("port"));
        // An empty --port would otherwise name no port, and the command would search them all.
        if (std::any_of(ports.begin(), ports.end(),
                        [](const QString& port) { return port.trimmed().isEmpty(); })) {
            return refused(Usage(QStringLiteral("empty-port")));
        }
    }
    QString formatGiven = QStringLiteral("text");
    for (const QCommandLineParser* source : {&top, &parser}) {
        if (!source->isSet(FormatOption())) {
            continue;
        }
        const QString format = source->value(FormatOption());
        // A command that prints documents of its own (timetable's csv) takes more formats.
        const QStringList& own = options.Chosen->Formats;
        if (!own.isEmpty() ? !own.contains(format)
                           : format != QStringLiteral("json") && format != QStringLiteral("text")) {
            Problem refusal =
                Usage(own.isEmpty() ? QStringLiteral("format") : QStringLiteral("format-own"))
                    .Set(QStringLiteral("value"), ShownValue(format));
            if (!own.isEmpty()) {
                refusal
                    .Set(QStringLiteral("formats"),
                         QJsonArray::fromStringList(own.first(own.size() - 1)))
                    .Set(QStringLiteral("last"), own.last());
            }
            return refused(refusal);
        }
        options.Json = format == QStringLiteral("json");
        formatGiven = format;
    }
    options.Global = ReadGlobalOptions(top, parser, options.Warnings);
    options.Global.Format = formatGiven;
    return options;
}

} // namespace
