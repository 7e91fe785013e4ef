#include "tools/cli/CliHost.h"

#include "common/Translation.h"

CliHost::CliHost(const CalendarClock& clock, Console& console, int row)
    : clock_(clock), console_(console), row_(row) {}

CliHost::~CliHost() {
    visible_ = false;
    Show();
}

void CliHost::AppendProblemLine(const Problem& problem) {
    AppendLogLine(u' ' + ProblemText(problem, CommandLineWording()));
}

void CliHost::AppendLogLine(const QString& message) {
    console_.LogLine(row_, QString::fromLatin1(clock_.DateText.data()), message);
}

void CliHost::SetProgressRange(int maximum) {
    maximum_ = maximum;
    repainted_ = false;
}

void CliHost::SetProgressPosition(int position) {
    position_ = position;
}

void CliHost::SetProgressVisible(bool visible) {
    if (visible != visible_) {
        visible_ = visible;
        Show();
    }
}

// Beside the bar while it is drawn; otherwise each status is a line of its own.
void CliHost::SetStatusText(const QString& text) {
    status_ = text;
    if (!console_.Terminal() || !visible_) {
        console_.Note(row_, text);
    }
}

void CliHost::ShowMessage(const QString& text) {
    console_.Error(row_, ToolMessage(text));
}

// A stop signal ends the operation through its link, which then sends nothing more: the
// operation says what the device holds, and the run winds down.
void CliHost::RepaintNow() {
    repainted_ = true;
    Show();
}

void CliHost::Show() {
    // Counted from zero, the bar's position is the last item done once the first is.
    const int count = fromZero_ ? (repainted_ ? position_ + 1 : 0) : position_;
    const int total = maximum_ + (fromZero_ ? 1 : 0);
    console_.SetProgress(row_, {count, total, visible_ && total > 0, status_});
}
