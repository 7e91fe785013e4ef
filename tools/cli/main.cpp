// muezzin-cli: the device operations from a terminal.
#include "comm/Discovery.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <map>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitInputError = 2;

struct GlobalOptions {
    QString Port;   // empty: search as the window does
    QString Folder; // the start folder
};

struct Command {
    QString Summary;
    std::function<void(QCommandLineParser&)> AddOptions;
    std::function<int(const QCommandLineParser&, const GlobalOptions&)> Run;
};

void PrintError(const QString& text) {
    std::fprintf(stderr, "muezzin-cli: %s\n", qPrintable(text));
}

void InstallNotifier(CommLink& link) {
    link.Notify = [](const QString& text, const QString& caption) {
        PrintError(QStringLiteral("%1 (%2)").arg(text, caption));
    };
}

// Lists the candidate ports: the one given with --port, or those a search would probe.
void ListCandidates(CommLink& link, const GlobalOptions& global) {
    if (global.Port.isEmpty()) {
        ListPorts(link);
    } else {
        ListPorts(link, {{}, [&] { return global.Port; }});
    }
}

int RunPorts(const QCommandLineParser&, const GlobalOptions& global) {
    CommLink link;
    ListCandidates(link, global);
    for (const QString& port : std::as_const(link.PortNames)) {
        std::printf("%s\n", qPrintable(port));
    }
    return ExitOk;
}

int RunFind(const QCommandLineParser&, const GlobalOptions& global) {
    CommLink link;
    InstallNotifier(link);
    ListCandidates(link, global);
    DiscoveryState state;
    FindDevice(link, state);
    for (const PortProblem& problem : state.Problems) {
        if (problem.Error == EACCES) { // the box text alone does not say what to do
            PrintError(problem.Describe());
        }
    }
    if (!link.Connected) {
        PrintError(QStringLiteral("no device answered on %1 port(s)").arg(link.PortNames.size()));
        return ExitInputError;
    }
    std::printf("%s %s\n", qPrintable(link.PortName), link.VersionText.c_str());
    AbortPort(link);
    ClosePort(link);
    return ExitOk;
}

const std::map<QString, Command>& Commands() {
    static const std::map<QString, Command> commands = {
        {QStringLiteral("ports"),
         {QStringLiteral("List the candidate serial ports, one a line, as the search sees them."),
          {},
          RunPorts}},
        {QStringLiteral("find"),
         {QStringLiteral("Search the ports for the device; print its port and firmware version."),
          {},
          RunFind}},
    };
    return commands;
}

void AddGlobalOptions(QCommandLineParser& parser) {
    parser.addOption({QStringLiteral("port"),
                      QStringLiteral("Use the serial port PATH instead of searching all ports."),
                      QStringLiteral("PATH")});
    parser.addOption({QStringLiteral("folder"),
                      QStringLiteral("The start folder with the tool's files (default: the "
                                     "working directory)."),
                      QStringLiteral("DIR")});
}

QString CommandList() {
    QString text = QStringLiteral("\n\nCommands:\n");
    for (const auto& [name, command] : Commands()) {
        text += QStringLiteral("  %1  %2\n").arg(name, -8).arg(command.Summary);
    }
    text += QStringLiteral("\nRun 'muezzin-cli COMMAND --help' for a command's options.\n"
                           "Ports named in MUEZZIN_PORTS (separated by ':') are searched too.");
    return text;
}

// The parser's help names the binary's path; ours names the program and the command.
QString UsageText(const QCommandLineParser& parser, const QString& command) {
    QString help = parser.helpText();
    help = help.mid(help.indexOf(u'\n') + 1).trimmed();
    const QString usage = command.isEmpty()
                              ? QStringLiteral("Usage: muezzin-cli [options] COMMAND [options]")
                              : QStringLiteral("Usage: muezzin-cli %1 [options]").arg(command);
    return usage + u'\n' + help;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("muezzin-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));

    QCommandLineParser top;
    top.setApplicationDescription(
        QStringLiteral("Configures an electronic muezzin over its serial line.") + CommandList());
    top.addHelpOption();
    top.addVersionOption();
    AddGlobalOptions(top);
    top.addPositionalArgument(QStringLiteral("command"), QStringLiteral("The command to run."),
                              QStringLiteral("COMMAND [options]"));
    top.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!top.parse(QCoreApplication::arguments())) {
        PrintError(top.errorText());
        return ExitInputError;
    }
    if (top.isSet(QStringLiteral("version"))) {
        top.showVersion();
    }
    if (top.isSet(QStringLiteral("help"))) {
        std::printf("%s\n", qPrintable(UsageText(top, QString())));
        return ExitOk;
    }

    const QStringList rest = top.positionalArguments();
    if (rest.isEmpty()) {
        PrintError(QStringLiteral("no command given; see 'muezzin-cli --help'"));
        return ExitInputError;
    }
    const auto found = Commands().find(rest.first());
    if (found == Commands().end()) {
        PrintError(
            QStringLiteral("unknown command '%1'; see 'muezzin-cli --help'").arg(rest.first()));
        return ExitInputError;
    }
    const Command& command = found->second;

    // The command's own parser also takes the global options, so they may follow the command.
    QCommandLineParser parser;
    parser.setApplicationDescription(command.Summary);
    parser.addHelpOption();
    AddGlobalOptions(parser);
    if (command.AddOptions) {
        command.AddOptions(parser);
    }
    QStringList arguments = rest;
    arguments.first() = QStringLiteral("muezzin-cli ") + rest.first();
    if (!parser.parse(arguments)) {
        PrintError(parser.errorText());
        return ExitInputError;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::printf("%s\n", qPrintable(UsageText(parser, rest.first())));
        return ExitOk;
    }
    if (!parser.positionalArguments().isEmpty()) {
        PrintError(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
        return ExitInputError;
    }

    GlobalOptions global;
    for (const QCommandLineParser* source : {&top, &parser}) {
        if (source->isSet(QStringLiteral("port"))) {
            global.Port = source->value(QStringLiteral("port"));
        }
        if (source->isSet(QStringLiteral("folder"))) {
            global.Folder = source->value(QStringLiteral("folder"));
        }
    }
    if (global.Folder.isEmpty()) {
        global.Folder = QDir::currentPath();
    }
    return command.Run(parser, global);
}
