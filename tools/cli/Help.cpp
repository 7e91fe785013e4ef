#include "tools/cli/Help.h"

#include <QStringList>
#include <algorithm>

namespace {

// Terms longer than this take a line of their own, their text below them.
constexpr int WidestTerm = 24;

// lead begins the first line; the words of text follow it, and every further line starts with
// indent blanks. A line break in text starts a new line.
QString WrapWords(const QString& lead, const QString& text, int indent, int width) {
    QString out;
    QString line = lead;
    bool lineHasWord = false;
    const QStringList paragraphs = text.split(u'\n');
    for (qsizetype p = 0; p < paragraphs.size(); ++p) {
        if (p > 0) {
            out += line + u'\n';
            line = QString(indent, u' ');
            lineHasWord = false;
        }
        for (const QString& word : paragraphs[p].split(u' ', Qt::SkipEmptyParts)) {
            const qsizetype needed = line.size() + (lineHasWord ? 1 : 0) + word.size();
            if (lineHasWord && needed > width) {
                out += line + u'\n';
                line = QString(indent, u' ');
                lineHasWord = false;
            }
            line += (lineHasWord ? QStringLiteral(" ") : QString()) + word;
            lineHasWord = true;
        }
    }
    return out + line;
}

QString OptionNames(const QCommandLineOption& option) {
    QStringList names;
    for (const QString& name : option.names()) {
        names.append((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
    }
    QString text = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty()) {
        text += u' ' + option.valueName();
    }
    return text;
}

bool ShownInHelp(const QCommandLineOption& option) {
    return !(option.flags() & QCommandLineOption::HiddenFromHelp);
}

QList<HelpItem> OptionItems(const QList<QCommandLineOption>& options) {
    QList<HelpItem> items;
    for (const QCommandLineOption& option : options) {
        if (ShownInHelp(option)) {
            items.append({OptionNames(option), option.description()});
        }
    }
    return items;
}

// A heading, then each term with its text in a column beside it.
QString ItemList(const QString& heading, const QList<HelpItem>& items) {
    if (items.isEmpty()) {
        return {};
    }
    qsizetype termWidth = 0;
    for (const HelpItem& item : items) {
        if (item.Term.size() <= WidestTerm) {
            termWidth = std::max(termWidth, item.Term.size());
        }
    }
    const int column = 2 + static_cast<int>(termWidth) + 2;
    QString out = u'\n' + heading + QStringLiteral(":\n");
    for (const HelpItem& item : items) {
        QString lead = QStringLiteral("  ") + item.Term;
        if (item.Term.size() > termWidth) {
            out += lead + u'\n';
            lead.clear();
        }
        out += WrapWords(lead.leftJustified(column), item.Text, column, HelpWidth) + u'\n';
    }
    return out;
}

// Each example's command line, and what it does indented below it.
QString ExampleList(const QList<HelpItem>& examples) {
    if (examples.isEmpty()) {
        return {};
    }
    QString out = QStringLiteral("\nExamples:\n");
    for (const HelpItem& example : examples) {
        out += QStringLiteral("  ") + example.Term + u'\n';
        out += WrapWords(QString(6, u' '), example.Text, 6, HelpWidth) + u'\n';
    }
    return out;
}

QString ArgumentSyntax(const CommandHelp& command) {
    QStringList syntax;
    for (const HelpItem& argument : command.Arguments) {
        syntax.append(argument.Term);
    }
    return syntax.join(u' ');
}

// --- roff ---------------------------------------------------------------------------------

// Text as roff reads it literally; a line that would start with a control character is guarded.
// Letters beyond ASCII (a Persian name) are written as roff's named code points, which read the
// same whatever the locale of help2man and man.
QString Roff(const QString& plain) {
    QString text;
    for (const char32_t c : plain.toUcs4()) {
        if (c == U'\\') {
            text += QStringLiteral("\\\\");
        } else if (c == U'-') {
            text += QStringLiteral("\\-");
        } else if (c > 0x7F) {
            const QString code = QString::number(static_cast<uint>(c), 16).toUpper();
            text += QStringLiteral("\\[u") + code.rightJustified(4, u'0') + u']';
        } else {
            text += QChar(static_cast<char16_t>(c));
        }
    }
    text.replace(QStringLiteral("\n."), QStringLiteral("\n\\&."));
    text.replace(QStringLiteral("\n'"), QStringLiteral("\n\\&'"));
    if (text.startsWith(u'.') || text.startsWith(u'\'')) {
        text.prepend(QStringLiteral("\\&"));
    }
    return text;
}

QString Bold(const QString& text) {
    return QStringLiteral("\\fB") + Roff(text) + QStringLiteral("\\fR");
}

QString Italic(const QString& text) {
    return QStringLiteral("\\fI") + Roff(text) + QStringLiteral("\\fR");
}

// Placeholders in italics, the brackets around optional ones as they stand.
QString SyntaxRoff(const QString& syntax) {
    QStringList words;
    for (QString word : syntax.split(u' ', Qt::SkipEmptyParts)) {
        const bool optional = word.startsWith(u'[') && word.endsWith(u']');
        if (optional) {
            word = word.mid(1, word.size() - 2);
        }
        words.append(optional ? u'[' + Italic(word) + u']' : Italic(word));
    }
    return words.join(u' ');
}

QString OptionRoff(const QCommandLineOption& option) {
    QStringList names;
    for (const QString& name : option.names()) {
        names.append(Bold((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name));
    }
    QString tag = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty()) {
        tag += u' ' + Italic(option.valueName());
    }
    return QStringLiteral(".TP\n") + tag + u'\n' + Roff(option.description()) + u'\n';
}

QString OptionsRoff(const QList<QCommandLineOption>& options) {
    QString out;
    for (const QCommandLineOption& option : options) {
        if (ShownInHelp(option)) {
            out += OptionRoff(option);
        }
    }
    return out;
}

// Terms in bold (italic for file names), each with its text.
QString ItemsRoff(const QList<HelpItem>& items, bool italicTerms = false) {
    QString out;
    for (const HelpItem& item : items) {
        out += QStringLiteral(".TP\n") + (italicTerms ? Italic(item.Term) : Bold(item.Term)) +
               u'\n' + Roff(item.Text) + u'\n';
    }
    return out;
}

QString UsageRoff(const ProgramHelp& program, const CommandHelp& command) {
    QString line =
        Bold(program.Program + u' ' + command.Name) + QStringLiteral(" [\\fIoptions\\fR]");
    const QString syntax = ArgumentSyntax(command);
    return syntax.isEmpty() ? line : line + u' ' + SyntaxRoff(syntax);
}

} // namespace

QString Wrapped(const QString& text, int indent, int width) {
    return WrapWords(QString(), text, indent, width);
}

QString UsageLine(const ProgramHelp& program, const CommandHelp& command) {
    const QString syntax = ArgumentSyntax(command);
    QString line = QStringLiteral("Usage: %1 %2 [options]").arg(program.Program, command.Name);
    return syntax.isEmpty() ? line : line + u' ' + syntax;
}

QString ProgramHelpText(const ProgramHelp& program) {
    QString out = QStringLiteral("Usage: %1 [options] COMMAND [options]\n").arg(program.Program);
    out += Wrapped(program.Description, 0) + u'\n';
    out += ItemList(QStringLiteral("Options"), OptionItems(program.GlobalOptions));
    QList<HelpItem> commands;
    for (const CommandHelp& command : program.Commands) {
        commands.append({command.Name, command.Summary});
    }
    out += ItemList(QStringLiteral("Commands"), commands);
    out += ItemList(QStringLiteral("Exit status"), program.ExitStatus);
    out += ItemList(QStringLiteral("Environment"), program.Environment);
    out += ItemList(QStringLiteral("Files"), program.Files);
    out += u'\n' +
           Wrapped(QStringLiteral("Run '%1 COMMAND --help' for a command's options and examples.")
                       .arg(program.Program),
                   0) +
           u'\n';
    return out;
}

QString CommandHelpText(const ProgramHelp& program, const CommandHelp& command) {
    QString out = UsageLine(program, command) + u'\n';
    out += Wrapped(command.Summary, 0) + u'\n';
    out += ItemList(QStringLiteral("Arguments"), command.Arguments);
    out += ItemList(QStringLiteral("Options"), OptionItems(command.Options));
    out += ItemList(QStringLiteral("Global options"), OptionItems(program.GlobalOptions));
    out += ExampleList(command.Examples);
    return out;
}

QString ManPageInclude(const ProgramHelp& program) {
    QString out = QStringLiteral("[SYNOPSIS]\n") + Bold(program.Program) +
                  QStringLiteral(" [\\fIoptions\\fR] \\fICOMMAND\\fR [\\fIoptions\\fR]\n");
    for (const CommandHelp& command : program.Commands) {
        out += QStringLiteral(".br\n") + UsageRoff(program, command) + u'\n';
    }

    // The terminal's help lists the commands and more under its options; here each has a section.
    out +=
        QStringLiteral("\n[=OPTIONS]\n") +
        Roff(QStringLiteral("These options are taken by every command, before it or after it.")) +
        u'\n' + OptionsRoff(program.GlobalOptions);

    out += QStringLiteral("\n[COMMANDS]\n");
    for (const CommandHelp& command : program.Commands) {
        out += QStringLiteral(".SS %1\n").arg(Roff(command.Name));
        out +=
            UsageRoff(program, command) + QStringLiteral("\n.PP\n") + Roff(command.Summary) + u'\n';
        // Guarded: help2man takes "[TEXT]" at a line's start for a section of its own.
        for (const HelpItem& argument : command.Arguments) {
            out += QStringLiteral(".TP\n\\&") + SyntaxRoff(argument.Term) + u'\n' +
                   Roff(argument.Text) + u'\n';
        }
        out += OptionsRoff(command.Options);
    }

    // In place of what help2man makes of the help's own "Environment:" and "Files:" lists.
    out += QStringLiteral("\n[EXIT STATUS]\n") + ItemsRoff(program.ExitStatus);
    out += QStringLiteral("\n[=ENVIRONMENT]\n") + ItemsRoff(program.Environment);
    out += QStringLiteral("\n[=FILES]\n") + Roff(program.FilesIntroduction) + u'\n' +
           ItemsRoff(program.Files, true);
    out += QStringLiteral("\n[EXAMPLES]\n");
    for (const CommandHelp& command : program.Commands) {
        out += ItemsRoff(command.Examples);
    }
    out += QStringLiteral("\n[SEE ALSO]\n");
    for (qsizetype i = 0; i < program.SeeAlso.size(); ++i) {
        const QString& page = program.SeeAlso[i];
        const qsizetype open = page.indexOf(u'(');
        out += QStringLiteral(".BR %1 %2%3\n")
                   .arg(Roff(page.left(open)), page.mid(open),
                        i + 1 < program.SeeAlso.size() ? QStringLiteral(",") : QString());
    }
    return out;
}
