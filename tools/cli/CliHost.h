#pragma once

#include "calendar/CalendarClock.h"
#include "device/OperationHost.h"
#include "tools/cli/Console.h"

#include <QString>

// The command line's side of one device's operation: log lines to standard output and
// log.txt, progress as a row of the console's terminal display, status lines on standard error
// when no bar is drawn (none when quiet), messages on standard error.
class CliHost : public OperationHost {
public:
    CliHost(const CalendarClock& clock, Console& console, int row);
    ~CliHost() override;

    // The upgrade's bar stands at the index of the last page done; a count starts from one.
    void CountFromZero(bool fromZero) { fromZero_ = fromZero; }

    void AppendLogLine(const QString& message) override;
    void AppendProblemLine(const Problem& problem) override;
    void ClearLog() override {}
    void SetProgressRange(int maximum) override;
    void SetProgressPosition(int position) override;
    void SetProgressVisible(bool visible) override;
    void SetStatusText(const QString& text) override;
    void ShowMessage(const QString& text) override;
    void RepaintNow() override;
    void PauseMonitor() override {}
    void ResumeMonitor() override {}

private:
    void Show();

    const CalendarClock& clock_;
    Console& console_;
    int row_ = 0;
    bool fromZero_ = false;
    bool repainted_ = false; // an item has been done since the range was set
    bool visible_ = false;
    int maximum_ = 0;
    int position_ = 0;
    QString status_;
};
