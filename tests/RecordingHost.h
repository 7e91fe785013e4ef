#pragma once

#include "device/OperationHost.h"

#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// An operation host that keeps every call in order, for the tests of the long device
// operations.
class RecordingHost : public OperationHost {
public:
    enum class Kind {
        Log,
        Clear,
        Range,
        Position,
        Visible,
        Status,
        Message,
        Repaint,
        Pause,
        Resume
    };
    struct Call {
        Kind What;
        QString Text;
        int Value = 0;
    };

    std::vector<Call> calls;
    // Noted as the value of a pause or resume (for example the frames the device had taken).
    std::function<int()> MonitorNote;
    // Called at every repaint, its answers kept in repaintNotes.
    std::function<int()> RepaintNote;
    std::vector<int> repaintNotes;

    void AppendLogLine(const QString& message) override { calls.push_back({Kind::Log, message}); }
    void ClearLog() override { calls.push_back({Kind::Clear, {}}); }
    void SetProgressRange(int maximum) override { calls.push_back({Kind::Range, {}, maximum}); }
    void SetProgressPosition(int position) override {
        calls.push_back({Kind::Position, {}, position});
    }
    void SetProgressVisible(bool visible) override {
        calls.push_back({Kind::Visible, {}, visible ? 1 : 0});
    }
    void SetStatusText(const QString& text) override { calls.push_back({Kind::Status, text}); }
    void ShowMessage(const QString& text) override { calls.push_back({Kind::Message, text}); }
    void RepaintNow() override {
        calls.push_back({Kind::Repaint, {}});
        if (RepaintNote) {
            repaintNotes.push_back(RepaintNote());
        }
    }
    void PauseMonitor() override { calls.push_back({Kind::Pause, {}, Note()}); }
    void ResumeMonitor() override { calls.push_back({Kind::Resume, {}, Note()}); }

    QStringList Texts(Kind kind) const {
        QStringList texts;
        for (const Call& call : calls) {
            if (call.What == kind) {
                texts.append(call.Text);
            }
        }
        return texts;
    }
    std::vector<int> Values(Kind kind) const {
        std::vector<int> values;
        for (const Call& call : calls) {
            if (call.What == kind) {
                values.push_back(call.Value);
            }
        }
        return values;
    }
    int Count(Kind kind) const { return static_cast<int>(Values(kind).size()); }
    // The last value of a kind set before call number index, if any.
    std::optional<int> ValueBefore(Kind kind, std::size_t index) const {
        std::optional<int> value;
        for (std::size_t i = 0; i < index && i < calls.size(); ++i) {
            if (calls[i].What == kind) {
                value = calls[i].Value;
            }
        }
        return value;
    }
    // The log pane as the operator sees it: the lines since it was last cleared.
    QStringList Log() const {
        QStringList lines;
        for (const Call& call : calls) {
            if (call.What == Kind::Clear) {
                lines.clear();
            } else if (call.What == Kind::Log) {
                lines.append(call.Text);
            }
        }
        return lines;
    }
    bool MonitorRunsAtEnd() const {
        std::optional<Kind> last;
        for (const Call& call : calls) {
            if (call.What == Kind::Pause || call.What == Kind::Resume) {
                last = call.What;
            }
        }
        return last == Kind::Resume;
    }
    bool ProgressHiddenAtEnd() const {
        const auto shown = Values(Kind::Visible);
        return !shown.empty() && shown.back() == 0;
    }

private:
    int Note() const { return MonitorNote ? MonitorNote() : 0; }
};
