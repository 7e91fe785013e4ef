#pragma once

#include "calendar/CalendarClock.h"
#include "device/OperationHost.h"

#include <QString>
#include <cstdio>

// The command line's side of a device operation: each log line goes to standard output as the
// log gets it and is appended to log.txt; the progress bar goes to standard error when that is
// a terminal; messages go to standard error.
class CliHost : public OperationHost {
public:
    CliHost(const CalendarClock& clock, QString logPath);
    ~CliHost() override;

    void AppendLogLine(const QString& message) override;
    void ClearLog() override {}
    void SetProgressRange(int maximum) override;
    void SetProgressPosition(int position) override;
    void SetProgressVisible(bool visible) override;
    void SetStatusText(const QString& text) override;
    void ShowMessage(const QString& text) override;
    void RepaintNow() override;
    void PauseMonitor() override {}
    void ResumeMonitor() override {}

    // A log.txt that could not be appended to is said once, and the run goes on.
    bool LogFailed() const { return logFailed_; }

private:
    void DrawProgress();
    void EraseProgress();

    const CalendarClock& clock_;
    QString logPath_;
    bool terminal_ = false;
    bool progressShown_ = false;
    bool progressVisible_ = false;
    int maximum_ = 0;
    int position_ = 0;
    QString status_;
    bool logFailed_ = false;
};
