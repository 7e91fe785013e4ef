#pragma once

#include "calendar/CalendarClock.h"
#include "comm/Discovery.h"
#include "common/Problem.h"
#include "device/OperationHost.h"
#include "device/SettingsBlock.h"
#include "location/LocationSelection.h"

#include <QMainWindow>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>

class ClockTick;
class EventLog;
class LocationBoxes;
class QTimer;
class StatusStrip;
struct StartFolderChoice;
namespace Ui {
class TForm1;
}

// How often the window's timers run. Fixed for the device; a record so that tests need not
// sit through real 3 s and 10 s waits.
struct WindowTiming {
    std::chrono::milliseconds MonitorFirst{1000};
    std::chrono::milliseconds MonitorSearching{3000};
    std::chrono::milliseconds MonitorConnected{10000};
    // The clock tick fires this long before the second turns, so that the sample waits
    // only this long.
    std::chrono::milliseconds ClockLead{8};
    bool StartTimers = true;
};

// A modal message: the caption of the box and its text.
using MessageBoxFunction = std::function<void(const QString& caption, const QString& text)>;
// A modal question with the caption and the text; true when the operator says yes.
using QuestionBoxFunction = std::function<bool(const QString& caption, const QString& text)>;

// "muezzin-config: text" on standard error, for what the program says where no window shows it;
// in the window's log where there is no standard error (a Windows program started without a
// console).
void PrintNote(const QString& text);

// The one window of the tool. It is also the host of the long device operations, which
// report through it.
class TForm1 : public QMainWindow, public OperationHost {
    Q_OBJECT

public:
    TForm1(CommLink& link, CalendarClock& clock, const QString& startFolder,
           WindowTiming timing = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    void SetMessageBox(MessageBoxFunction show);
    void SetQuestionBox(QuestionBoxFunction ask);
    void SetPortSources(PortSources sources);
    // Asks for the upgrade file; an empty answer is a cancel. Replaceable for tests.
    void SetFileChooser(std::function<QString()> choose);
    // Names the start folder once, in the status bar and the log, when it is not the working
    // directory. A folder that could not be set up is shown in a box at the first tick instead
    // of the errors of its missing files, and the log is then not saved into it at close.
    void ReportStartFolder(const StartFolderChoice& choice);
    // A line of the window's words (their values escaped, their Latin runs isolated) for the log
    // once the saved log is loaded.
    void NoteAtStart(const QString& words);
    // A line for the log now, or once the saved log is loaded when it is not yet.
    void NoteInLog(const QString& text);
    // A stop signal arrived: the log gets a line and is saved, the port is released, and the
    // event loop ends with the signal's exit status. No box is shown from here on.
    void StopBySignal(int signal);

    // The handlers and controls keep the form's numbered names. What they stand for:
    //   N2 read the settings back, N12 set the device clock, N13 firmware upgrade (the settings
    //   menu N1; N3 only follows the connection); N11 clear the log, Exit1 close (menu File1)
    //   BitBtn1 apply: upload settings, timetables and key table; BitBtn2 search for the device
    //   Timer1 the clock tick (the first loads the start files); Timer2 the connection monitor
    //   Combo1..3 province, city, county; LabeledEdit1..3 longitude, latitude, county index
    //   LabeledEdit4, 11, 14 the dawn, noon, sunset call file numbers; LabeledEdit6, 12, 15
    //   their supplication file numbers; LabeledEdit10 call files, LabeledEdit5 Quran files
    //   LabeledEdit17, 19 and 18, 20 folder and file of add-on 1 and 2; LabeledEdit13 PC clock,
    //   LabeledEdit16 solar date
    //   CheckBox1..3 random call, CheckBox4..6 Quran before the call (dawn, noon, sunset)
    //   TrackBar1..9 levels of supplication, call, Quran for dawn (1-3), noon (4-6), sunset
    //   (7-9); TrackBar10, 11 the add-ons; LabelN shows the position of TrackBarN
    //   RichEdit1 the event log, StatusBar1 the status bar, Shape1 the connection lamp,
    //   StaticText2 the firmware version, ProgressBar1 upload and upgrade progress
    void FormCreate();
    bool FormCloseQuery();
    void Combo1Change();
    void Combo2Change();
    void Combo3Change();
    void BitBtn1Click();
    void N2Click();
    void N12Click();
    void N13Click();
    // Shows the chosen county's timetables of the ten years an upload sends, as the device will
    // get them, the missing ones computed first as the upload computes them.
    void TimetableViewClick();
    void Timer1Timer();
    void Timer2Timer();
    void BitBtn2Click();
    void N11Click();
    void Exit1Click();
    void TrackBar1Change() { ShowTrackBarPosition(1); }
    void TrackBar2Change() { ShowTrackBarPosition(2); }
    void TrackBar3Change() { ShowTrackBarPosition(3); }
    void TrackBar4Change() { ShowTrackBarPosition(4); }
    void TrackBar5Change() { ShowTrackBarPosition(5); }
    void TrackBar6Change() { ShowTrackBarPosition(6); }
    void TrackBar7Change() { ShowTrackBarPosition(7); }
    void TrackBar8Change() { ShowTrackBarPosition(8); }
    void TrackBar9Change() { ShowTrackBarPosition(9); }
    void TrackBar10Change() { ShowTrackBarPosition(10); }
    void TrackBar11Change() { ShowTrackBarPosition(11); }

    // The event log: the date text of the last clock sample, then the message.
    void AppendLogLine(const QString& message) override;
    void AppendProblemLine(const Problem& problem) override;
    void ClearLog() override;
    QStringList LogLines() const;

    // The rest of the operation host.
    void SetProgressRange(int maximum) override;
    void SetProgressPosition(int position) override;
    void SetProgressVisible(bool visible) override;
    void SetStatusText(const QString& text) override;
    // ShowMessage throws OperationStopped once a stop signal has arrived.
    void ShowMessage(const QString& text) override;
    void RepaintNow() override;
    void PauseMonitor() override;
    void ResumeMonitor() override;

    // The window's fields as the settings block reads them.
    SettingsFields Fields() const;
    const LocationSelection& Location() const { return location_; }

    QString StatusText() const;
    QString PortProblemText() const;
    const QString& StartFolder() const { return startFolder_; }
    bool FirstTickDone() const { return firstTickDone_; }
    QTimer* ClockTimer() const { return Timer1; }
    QTimer* MonitorTimer() const { return Timer2; }

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectHandlers();
    void FitApplyCaption();
    void RunTextSettingCheck();
    void NoteTimeZone();
    void LoadStartFiles();
    void MonitorStep();
    void ShowStoredSettings(const StoredSettings& stored);
    void ShowFields(const SettingsFields& fields);
    // Once a stop signal has arrived, on standard error instead of in a box.
    void ShowMessageBox(const QString& caption, const QString& text);
    void ShowError(const QString& text);
    void StopIfSignalled() const;
    void ShowPortProblems(const std::vector<Problem>& problems);
    void ShowTrackBarPosition(int number);
    // Runs a handler body; a user-facing error is shown and the rest of the handler skipped.
    void Guarded(const std::function<void()>& body);

    std::unique_ptr<Ui::TForm1> ui;
    CommLink& link_;
    CalendarClock& clock_;
    WindowTiming timing_;
    QString startFolder_;
    bool firstTickDone_ = false;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    std::unique_ptr<ClockTick> clockTick_;
    StatusStrip* statusStrip_ = nullptr;
    std::unique_ptr<EventLog> log_;
    Problem startProblem_; // why the start folder could not be set up
    QString folderNote_;   // the start folder, when it is not the working directory
    MessageBoxFunction messageBox_;
    bool upgradeStageLeft_ = false; // the last upgrade left its device in its upgrade stage
    int stopSignal_ = 0;            // the signal the window is winding down on
    QuestionBoxFunction questionBox_;
    PortSources portSources_;
    std::function<QString()> fileChooser_;
    DiscoveryState discovery_;
    std::unique_ptr<LocationBoxes> locationBoxes_;
    LocationSelection location_;
    int approximateNoted_ = 0; // the county last chosen, whose approximate point the log has
};
