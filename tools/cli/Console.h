#pragma once

#include "common/Problem.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <mutex>
#include <vector>

class JsonReport;

// How much a command says, and where. Quiet keeps the results and the errors alone. With a
// report for scripts (--format json), standard output carries the report alone and standard
// error the problems and warnings alone: the listings, the log lines, the notes and the progress
// are left to the report and log.txt.
struct ConsoleMode {
    bool Quiet = false;
    JsonReport* Report = nullptr;
    // Standard output holds something else (a profile): the lines meant for it go to standard
    // error.
    bool OutputToError = false;
};

// What the devices of one command share: standard output, standard error with the progress
// drawn on it, and log.txt. Every call takes the one lock, so that lines from several devices
// come out whole and the progress rows are drawn together.
class Console {
public:
    // Progress is drawn only when standard error is a terminal, and never when quiet.
    Console(QString logPath, bool terminal, ConsoleMode mode = {});
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // One progress row per device, in the order added; the label names its port (empty for a
    // device served alone, whose lines carry no port).
    int AddRow(const QString& label);

    // A line of the event log: to standard output (after the row's label; not when quiet) and
    // appended to log.txt (the label after the date text).
    void LogLine(int row, const QString& dateText, const QString& message);
    // A line of standard output that is not logged (results, listings); bytes as they stand.
    void Print(const QString& line);
    void Print(const QByteArray& line);
    // A line of standard error.
    void Error(const QString& line);
    // A line of standard error about the row's device: after its label, when it has one.
    void Error(int row, const QString& line);
    // A line of standard error that tells how the work goes (a status, a note); not when quiet.
    void Note(const QString& line);
    void Note(int row, const QString& line);
    // A problem or a warning in the command line's language, on standard error (after the row's
    // label, when it has one). The report keeps the warnings, and the first problem said as the
    // command's.
    void Say(const Problem& problem);
    void Say(int row, const Problem& problem);
    // The same for the report alone, for a problem said on standard output already (the result
    // line of an interrupted run).
    void Keep(const Problem& problem);
    // Whether a report is kept, which standard output then carries alone.
    bool Reporting() const { return mode_.Report != nullptr; }

    struct Progress {
        int Count = 0; // done so far
        int Total = 0;
        bool Visible = false;
        QString Status; // shown beside a single row
    };
    void SetProgress(int row, const Progress& progress);

    bool Terminal() const { return terminal_; }
    // A log.txt that could not be appended to is said once; the run goes on.
    bool LogFailed() const;

private:
    using Clock = std::chrono::steady_clock;
    struct Row {
        QString Label;
        Progress Shown;
        Clock::time_point Started{};
        bool Counting = false; // Started holds the moment the first item was done
    };

    void Erase(); // under mutex_
    void Draw();  // under mutex_
    QString RowText(const Row& row) const;

    mutable std::mutex mutex_;
    QString logPath_;
    bool terminal_ = false;
    ConsoleMode mode_;
    bool logFailed_ = false;
    std::vector<Row> rows_;
    int drawnRows_ = 0;
    Clock::time_point lastDraw_{};
};

// "1:05" for 65 seconds.
QString DurationText(std::chrono::seconds duration);

// "muezzin-cli: text": how each of the tool's own messages begins.
QString ToolMessage(const QString& text);

// The tool's message as a line of standard error, written as the console writes its lines; for
// what is said before a command's console exists or after it is gone.
void PrintError(const QString& text);

// The problem's lines as the command line says it: its words in the command line's language,
// then, for ambiguous-county, each candidate as a listing shows a county.
QStringList ProblemLines(const Problem& problem);

// PrintError of the problem's lines.
void PrintProblem(const Problem& problem);
