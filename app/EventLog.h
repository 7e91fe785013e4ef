#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

class QPlainTextEdit;
struct CalendarClock;

// The event log: the window's log pane and log.txt in the start folder. The first tick loads
// the saved log into the pane and the close saves the pane over it; a saved log that was never
// loaded is not replaced, the run's lines are added to its end instead.
class EventLog {
public:
    // How the log reaches the operator: the window's error box, and its question whether to
    // close without the log (true for yes); both get the window's words.
    struct Boxes {
        std::function<void(const QString& text)> ShowError;
        std::function<bool(const QString& text)> AskCloseWithoutLog;
    };

    // The lines get the date text of the clock's last sample; startFolder ends with a
    // separator.
    EventLog(QPlainTextEdit* pane, const CalendarClock& clock, const QString& startFolder,
             Boxes boxes);

    // A line of its own, whatever the message holds: log.txt keeps one entry a line, each after
    // its date text. A line with Persian in it is laid out right to left.
    void Append(const QString& message);
    // A line made by the window's words (a problem, a note), whose values are escaped already
    // and whose isolates keep its Latin words in order; log.txt gets them as direction marks.
    void AppendWords(const QString& words);
    void Clear();
    QStringList Lines() const;

    // A line for the log once the saved log is loaded: as Append takes it, or as AppendWords
    // takes the window's words.
    void NoteAtStart(const QString& text);
    void NoteWordsAtStart(const QString& words);
    // Writes the lines noted so far, in their order, after what the pane holds.
    void WriteStartNotices();

    // The start folder could not be set up, as the start said: a close that still finds no room
    // there leaves the log unsaved rather than refuse.
    void FolderNotSetUp() { folderNotSetUp_ = true; }
    // At the first tick: the saved log replaces the pane. One that cannot be read is shown as an
    // error and left as it is.
    void LoadSaved();
    // At close: false when the log could not be saved and the operator keeps the window. While
    // stopping on a signal the error is shown and the close goes on.
    bool SaveAtClose(bool stopping);

private:
    bool CloseWithoutLog(const QString& error);
    void AppendLine(const QString& line);

    QPlainTextEdit* pane_;
    const CalendarClock& clock_;
    QString folder_;
    QString path_;
    Boxes boxes_;
    // Log lines of the start, written once the saved log is loaded; each with whether it is the
    // window's words.
    std::vector<std::pair<QString, bool>> startNotices_;
    // The saved log is in the pane (or there was none), so the close may replace it; until then
    // the close appends to it.
    bool loaded_ = false;
    bool saveRefused_ = false; // a close was refused because the log could not be saved
    bool folderNotSetUp_ = false;
};
