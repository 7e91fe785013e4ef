#pragma once

#include <QString>
#include <chrono>
#include <mutex>
#include <vector>

// How much a command says, and where. Quiet keeps the results and the errors alone; with a
// report for scripts on standard output, what is meant for people goes to standard error.
struct ConsoleMode {
    bool Quiet = false;
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
