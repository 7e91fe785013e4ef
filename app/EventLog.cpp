#include "app/EventLog.h"

#include "app/AppTexts.h"
#include "calendar/CalendarClock.h"
#include "common/ShownText.h"
#include "common/SizeLimits.h"
#include "common/TextFiles.h"
#include "common/UserError.h"

#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <utility>

EventLog::EventLog(QPlainTextEdit* pane, const CalendarClock& clock, const QString& startFolder,
                   Boxes boxes)
    : pane_(pane), clock_(clock), folder_(startFolder),
      path_(startFolder + QStringLiteral("log.txt")), boxes_(std::move(boxes)) {}

namespace {

// Heads a line of the pane that holds Persian, so that its paragraph runs right to left: the
// date at its right, the sentence in order with any Latin word in it. The pane's own lines only;
// log.txt gets the line without it.
constexpr QChar PaneRightToLeft(0x200F);

bool HoldsPersian(const QString& line) {
    return std::any_of(line.begin(), line.end(),
                       [](QChar c) { return c.script() == QChar::Script_Arabic && c.isLetter(); });
}

QString PaneLine(const QString& line) {
    return HoldsPersian(line) ? PaneRightToLeft + line : line;
}

} // namespace

void EventLog::Append(const QString& message) {
    AppendLine(QString::fromLatin1(clock_.DateText.data()) + EscapedText(message));
}

void EventLog::AppendWords(const QString& words) {
    AppendLine(QString::fromLatin1(clock_.DateText.data()) + words);
}

void EventLog::AppendLine(const QString& line) {
    pane_->appendPlainText(PaneLine(line));
}

void EventLog::Clear() {
    pane_->clear();
}

// Block by block: the pane's plain text would turn every no-break space into a space.
QStringList EventLog::Lines() const {
    const QTextDocument* document = pane_->document();
    if (document->isEmpty()) {
        return {};
    }
    QStringList lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        QString line = block.text();
        if (line.startsWith(PaneRightToLeft)) {
            line.remove(0, 1);
        }
        lines.append(line);
    }
    return lines;
}

void EventLog::NoteAtStart(const QString& text) {
    startNotices_.emplace_back(text, false);
}

void EventLog::NoteWordsAtStart(const QString& words) {
    startNotices_.emplace_back(words, true);
}

void EventLog::WriteStartNotices() {
    for (const auto& [notice, words] : std::exchange(startNotices_, {})) {
        if (words) {
            AppendWords(notice);
        } else {
            Append(notice);
        }
    }
}

void EventLog::LoadSaved() {
    if (!QFileInfo::exists(path_)) {
        loaded_ = true; // the first start: nothing to keep
        return;
    }
    try {
        QStringList lines = ReadLines1256(path_, LogSizeLimit);
        for (QString& line : lines) {
            line = PaneLine(line);
        }
        pane_->setPlainText(lines.join(u'\n'));
        pane_->moveCursor(QTextCursor::End);
        loaded_ = true;
    } catch (const UserError& error) {
        boxes_.ShowError(WindowWords(error.Reported()) + u'\n' + LogAppendedNote());
    }
}

bool EventLog::SaveAtClose(bool stopping) {
    // Refusing the close would keep the window open for good.
    const bool nowhereToSave = folderNotSetUp_ && !QFileInfo(folder_).isWritable();
    try {
        // A saved log that was never loaded into the pane must not be replaced by it.
        if (!nowhereToSave && loaded_) {
            SaveLines1256(path_, Lines());
        } else if (!nowhereToSave) {
            AppendLines1256(path_, Lines());
        }
    } catch (const UserError& error) {
        const QString words = WindowWords(error.Reported());
        if (stopping) {
            boxes_.ShowError(words); // on standard error: the window closes all the same
        } else if (!CloseWithoutLog(words)) {
            return false;
        }
    }
    return true;
}

// The first refusal says why, as every close of an unwritable log did; from the second on the
// operator may close all the same, and lose the log's lines, rather than kill the program.
bool EventLog::CloseWithoutLog(const QString& error) {
    if (!std::exchange(saveRefused_, true)) {
        boxes_.ShowError(error);
        return false;
    }
    return boxes_.AskCloseWithoutLog(error + QStringLiteral("\n\n") + CloseWithoutLogQuestion());
}
