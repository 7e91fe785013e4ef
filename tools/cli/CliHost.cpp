#include "tools/cli/CliHost.h"

#include "location/TextFiles.h"
#include "location/UserError.h"

#include <unistd.h>

CliHost::CliHost(const CalendarClock& clock, QString logPath)
    : clock_(clock), logPath_(std::move(logPath)), terminal_(isatty(STDERR_FILENO) == 1) {}

CliHost::~CliHost() {
    EraseProgress();
}

void CliHost::AppendLogLine(const QString& message) {
    const QString line = QString::fromLatin1(clock_.DateText.data()) + message;
    EraseProgress();
    std::fprintf(stdout, "%s\n", line.toUtf8().constData());
    std::fflush(stdout);
    // Appended line by line, so that what was done is on record even if the run is cut short.
    if (!logPath_.isEmpty() && !logFailed_) {
        try {
            AppendLines1256(logPath_, {line});
        } catch (const UserError& error) {
            logFailed_ = true;
            std::fprintf(stderr, "muezzin-cli: %s\n", error.Text().toUtf8().constData());
        }
    }
    DrawProgress();
}

void CliHost::SetProgressRange(int maximum) {
    maximum_ = maximum;
}

void CliHost::SetProgressPosition(int position) {
    position_ = position;
}

void CliHost::SetProgressVisible(bool visible) {
    if (!visible) {
        EraseProgress();
    }
    progressVisible_ = visible;
}

// Beside the progress bar while it is shown; otherwise each status is a line of its own.
void CliHost::SetStatusText(const QString& text) {
    status_ = text;
    if (!terminal_ || !progressVisible_) {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }
}

void CliHost::ShowMessage(const QString& text) {
    EraseProgress();
    std::fprintf(stderr, "muezzin-cli: %s\n", text.toUtf8().constData());
}

void CliHost::RepaintNow() {
    DrawProgress();
}

void CliHost::DrawProgress() {
    if (!terminal_ || !progressVisible_ || maximum_ <= 0) {
        return;
    }
    constexpr int Width = 40;
    const int filled = Width * std::min(position_, maximum_) / maximum_;
    std::fprintf(stderr, "\r[%s%s] %d/%d %s\x1b[K", QByteArray(filled, '#').constData(),
                 QByteArray(Width - filled, '.').constData(), position_, maximum_,
                 status_.toUtf8().constData());
    std::fflush(stderr);
    progressShown_ = true;
}

void CliHost::EraseProgress() {
    if (progressShown_) {
        std::fprintf(stderr, "\r\x1b[K");
        std::fflush(stderr);
        progressShown_ = false;
    }
}
