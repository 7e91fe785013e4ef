#pragma once

#include "common/Problem.h"

#include <QString>

// What a long device operation needs from whoever runs it: the window implements it with its
// widgets, the command line with a terminal progress bar, the tests with a recorder. The
// operations run on the caller's thread and hand no control back until they end, so the host
// must show progress itself when asked to repaint.
class OperationHost {
public:
    virtual ~OperationHost() = default;

    // One new line of the event log: the date text of the last clock sample, then the message.
    virtual void AppendLogLine(const QString& message) = 0;
    // A problem as a line of the event log, in the host's words: the window's Persian, the command
    // line's language. Here its Persian words with direction marks, as log.txt keeps them.
    virtual void AppendProblemLine(const Problem& problem) {
        AppendLogLine(u' ' + ProblemText(problem, Wording::PersianText));
    }
    virtual void ClearLog() = 0;
    virtual void SetProgressRange(int maximum) = 0;
    virtual void SetProgressPosition(int position) = 0;
    virtual void SetProgressVisible(bool visible) = 0;
    virtual void SetStatusText(const QString& text) = 0;
    // A modal message; returns once the operator has closed it. May throw OperationStopped.
    virtual void ShowMessage(const QString& text) = 0;
    // Makes the progress shown so far visible at once.
    virtual void RepaintNow() = 0;
    // The connection monitor must not talk to the device between an operation's frames.
    virtual void PauseMonitor() = 0;
    virtual void ResumeMonitor() = 0;
};

// Thrown by a host out of ShowMessage when the run must end at once (the program was asked to
// stop, and the message's wait may have wound it down). The operations let it pass: they show
// messages between two frames, so nothing is left half sent, and their scope ends as always. The
// caller then releases the port. A stop seen elsewhere ends an operation through its link
// (CommLink::StopRequested), which then sends nothing more.
struct OperationStopped {
    int Signal = 0;
};

// A host that shows nothing: for runs nobody watches (benchmarks, fuzzing). Override what is
// to be kept.
class SilentHost : public OperationHost {
public:
    void AppendLogLine(const QString&) override {}
    void ClearLog() override {}
    void SetProgressRange(int) override {}
    void SetProgressPosition(int) override {}
    void SetProgressVisible(bool) override {}
    void SetStatusText(const QString&) override {}
    void ShowMessage(const QString&) override {}
    void RepaintNow() override {}
    void PauseMonitor() override {}
    void ResumeMonitor() override {}
};

// Ends an operation the same way however it ends: the progress bar hidden, and the monitor
// running again if the operation had paused it.
class OperationScope {
public:
    explicit OperationScope(OperationHost& host) : host_(host) {}
    ~OperationScope() {
        host_.SetProgressVisible(false);
        if (monitorPaused_) {
            host_.ResumeMonitor();
        }
    }
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

    void PauseMonitor() {
        host_.PauseMonitor();
        monitorPaused_ = true;
    }

private:
    OperationHost& host_;
    bool monitorPaused_ = false;
};
