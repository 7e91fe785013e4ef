#include "tools/cli/Console.h"

#include "common/ExitCodes.h"
#include "common/ShownText.h"
#include "common/TextFiles.h"
#include "common/Translation.h"
#include "common/UserError.h"
#include "location/LocationSelection.h"
#include "tools/cli/JsonReport.h"

#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>

namespace {

constexpr auto RedrawInterval = std::chrono::milliseconds(100); // at most ten draws a second

QByteArray ProgressBarCells(int count, int total, int width) {
    const int filled = total > 0 ? width * std::clamp(count, 0, total) / total : 0;
    return QByteArray(filled, '#') + QByteArray(width - filled, '.');
}

void WriteOut(const QByteArray& bytes, bool toError) {
    // The bar and the lines may share one terminal: each stream is flushed before the other.
    std::FILE* stream = toError ? stderr : stdout;
    std::fflush(toError ? stdout : stderr);
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

QString ToolMessage(const QString& text) {
    return QStringLiteral("muezzin-cli: ") + text;
}

void PrintError(const QString& text) {
    WriteOut(ToolMessage(text).toUtf8() + '\n', true);
}

QStringList ProblemLines(const Problem& problem) {
    QStringList lines = {ProblemText(problem, CommandLineWording())};
    for (const QJsonValue& entry : problem.Values.value(QStringLiteral("candidates")).toArray()) {
        const QJsonObject county = entry.toObject();
        lines.append(
            QStringList{QString::number(county.value(QStringLiteral("index")).toInt()),
                        county.value(QStringLiteral("province")).toString(),
                        county.value(QStringLiteral("city")).toString(),
                        county.value(QStringLiteral("county")).toString(),
                        CoordinateText(county.value(QStringLiteral("longitude")).toDouble()),
                        CoordinateText(county.value(QStringLiteral("latitude")).toDouble())}
                .join(u'\t'));
    }
    return lines;
}

void PrintProblem(const Problem& problem) {
    PrintError(ProblemLines(problem).join(u'\n'));
}

QString DurationText(std::chrono::seconds duration) {
    const auto total = std::max<std::chrono::seconds::rep>(duration.count(), 0);
    return QStringLiteral("%1:%2").arg(total / 60).arg(total % 60, 2, 10, QChar(u'0'));
}

Console::Console(QString logPath, bool terminal, ConsoleMode mode)
    : logPath_(std::move(logPath)), terminal_(terminal && !mode.Quiet && !mode.Report),
      mode_(mode) {}

Console::~Console() {
    const std::lock_guard lock(mutex_);
    Erase();
}

int Console::AddRow(const QString& label) {
    const std::lock_guard lock(mutex_);
    rows_.push_back({label, {}, {}, false});
    return static_cast<int>(rows_.size()) - 1;
}

bool Console::LogFailed() const {
    const std::lock_guard lock(mutex_);
    return logFailed_;
}

// One entry a line in log.txt, whatever a port's name or a message holds.
void Console::LogLine(int row, const QString& dateText, const QString& text) {
    const std::lock_guard lock(mutex_);
    const QString label = EscapedText(rows_.at(static_cast<std::size_t>(row)).Label);
    const QString message = EscapedText(text);
    const QString shown =
        label.isEmpty() ? dateText + message : label + QStringLiteral(": ") + dateText + message;
    const QString logged = label.isEmpty()
                               ? dateText + message
                               : dateText + u' ' + label + QStringLiteral(": ") + message;
    Erase();
    if (!mode_.Quiet && !mode_.Report) {
        WriteOut(shown.toUtf8() + '\n', mode_.OutputToError);
    }
    // Appended line by line, so that what was done is on record even if the run is cut short.
    if (!logPath_.isEmpty() && !logFailed_) {
        try {
            AppendLines1256(logPath_, {logged});
        } catch (const UserError& error) {
            logFailed_ = true;
            WriteOut(ToolMessage(ProblemText(error.Reported(), CommandLineWording())).toUtf8() +
                         '\n',
                     true);
        }
    }
    Draw();
}

void Console::Print(const QString& line) {
    Print(line.toUtf8());
}

void Console::Print(const QByteArray& line) {
    if (mode_.Report) {
        return; // the report holds what a listing shows
    }
    const std::lock_guard lock(mutex_);
    Erase();
    WriteOut(line + '\n', mode_.OutputToError);
    Draw();
}

void Console::Error(const QString& line) {
    const std::lock_guard lock(mutex_);
    Erase();
    WriteOut(line.toUtf8() + '\n', true);
    Draw();
}

void Console::Error(int row, const QString& line) {
    const std::lock_guard lock(mutex_);
    const QString& label = rows_.at(static_cast<std::size_t>(row)).Label;
    Erase();
    WriteOut((label.isEmpty() ? line : label + QStringLiteral(": ") + line).toUtf8() + '\n', true);
    Draw();
}

void Console::Note(const QString& line) {
    if (!mode_.Quiet && !mode_.Report) {
        Error(line);
    }
}

void Console::Note(int row, const QString& line) {
    if (!mode_.Quiet && !mode_.Report) {
        Error(row, line);
    }
}

void Console::Say(const Problem& problem) {
    Keep(problem);
    Error(ToolMessage(ProblemLines(problem).join(u'\n')));
}

void Console::Say(int row, const Problem& problem) {
    Keep(problem);
    Error(row, ToolMessage(ProblemLines(problem).join(u'\n')));
}

// The report keeps a warning among its warnings, and the first problem said as the command's.
void Console::Keep(const Problem& problem) {
    if (!mode_.Report) {
        return;
    }
    if (ProblemExitStatus(problem) == exitcode::Ok) {
        mode_.Report->AddWarning(problem);
    } else {
        mode_.Report->SetProblem(problem);
    }
}

void Console::SetProgress(int row, const Progress& progress) {
    const std::lock_guard lock(mutex_);
    Row& r = rows_.at(static_cast<std::size_t>(row));
    const Progress before = r.Shown;
    r.Shown = progress;
    if (!r.Counting && progress.Count > 0) {
        r.Counting = true;
        r.Started = Clock::now();
    }
    if (!terminal_) {
        return;
    }
    // The first item, the last and a row appearing or going are drawn at once; the rest as
    // often as a person can read them.
    const bool firstOrLast =
        progress.Count != before.Count && (before.Count == 0 || progress.Count >= progress.Total);
    const bool force = progress.Visible != before.Visible || firstOrLast;
    if (force || Clock::now() - lastDraw_ >= RedrawInterval) {
        Erase();
        Draw();
    }
}

QString Console::RowText(const Row& row) const {
    const Progress& p = row.Shown;
    const bool single = row.Label.isEmpty();
    const int percent = p.Total > 0 ? 100 * std::clamp(p.Count, 0, p.Total) / p.Total : 0;
    QString text = single ? QString() : row.Label + QStringLiteral("  ");
    text += QStringLiteral("[%1] %2/%3 %4%")
                .arg(QString::fromLatin1(ProgressBarCells(p.Count, p.Total, single ? 30 : 20)))
                .arg(p.Count)
                .arg(p.Total)
                .arg(percent, 3);
    if (single && row.Counting) {
        const auto elapsed = Clock::now() - row.Started;
        text += QStringLiteral("  %1 elapsed")
                    .arg(DurationText(std::chrono::duration_cast<std::chrono::seconds>(elapsed)));
        if (p.Count > 0 && p.Count < p.Total) {
            const auto left = elapsed * (p.Total - p.Count) / p.Count;
            text += QStringLiteral(", %1 left")
                        .arg(DurationText(std::chrono::ceil<std::chrono::seconds>(left)));
        }
    }
    if (single && !p.Status.isEmpty()) {
        text += QStringLiteral("  ") + p.Status;
    }
    return text;
}

void Console::Draw() {
    if (!terminal_) {
        return;
    }
    QByteArray out;
    int drawn = 0;
    for (const Row& row : rows_) {
        if (!row.Shown.Visible || row.Shown.Total <= 0) {
            continue;
        }
        out += (drawn > 0 ? "\n\r" : "\r") + RowText(row).toUtf8() + "\x1b[K";
        ++drawn;
    }
    if (drawn > 0) {
        WriteOut(out, true);
        drawnRows_ = drawn;
        lastDraw_ = Clock::now();
    }
}

void Console::Erase() {
    if (drawnRows_ == 0) {
        return;
    }
    QByteArray out = "\r";
    for (int i = 1; i < drawnRows_; ++i) {
        out += "\x1b[A";
    }
    out += "\x1b[J";
    WriteOut(out, true);
    drawnRows_ = 0;
}
