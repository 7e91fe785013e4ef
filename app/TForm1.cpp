#include "app/TForm1.h"

#include "app/AppTexts.h"
#include "app/ButtonGlyph.h"
#include "app/ClockTick.h"
#include "app/CodePageCheck.h"
#include "app/EventLog.h"
#include "app/LabeledEdit.h"
#include "app/LampShape.h"
#include "app/LocationBoxes.h"
#include "app/StatusStrip.h"
#include "calendar/ZoneCheck.h"
#include "common/ShownText.h"
#include "common/StandardStreams.h"
#include "common/StopSignals.h"
#include "common/TextFiles.h"
#include "common/UserError.h"
#include "device/ClockCommands.h"
#include "device/UpgradeTexts.h"
#include "location/StartFolder.h"
#include "ui_TForm1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <array>
#include <cstdio>
#include <ctime>
#include <utility>

// The window's pictures live in this static library; its resources need an explicit start.
static void InitWindowResources() {
    Q_INIT_RESOURCE(app);
}

namespace {

// The window whose log takes the notes where there is no standard error.
TForm1* noteWindow = nullptr;

} // namespace

void PrintNote(const QString& text) {
    if (!StandardErrorPresent() && noteWindow != nullptr) {
        noteWindow->NoteInLog(u' ' + text);
        return;
    }
    std::fprintf(stderr, "muezzin-config: %s\n", qPrintable(text));
}

namespace {

const QColor LampRed(0xFF, 0x00, 0x00);
const QColor LampGreen(0x00, 0x80, 0x00);

} // namespace

TForm1::TForm1(CommLink& link, CalendarClock& clock, const QString& startFolder,
               WindowTiming timing, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TForm1>()), link_(link), clock_(clock),
      timing_(timing), startFolder_(startFolder), portSources_(SystemPortSources()) {
    InitWindowResources();
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/icons/muezzin.svg")));
    FitApplyCaption();
    ui->BitBtn2->setIcon(QIcon(QStringLiteral(":/icons/search.svg")));
    // An addition of this tool's own, at the end of the settings menu.
    auto* timetableView = new QAction(TimetableViewCaption, this);
    timetableView->setObjectName(QStringLiteral("TimetableView"));
    ui->N1->addAction(timetableView);
    connect(timetableView, &QAction::triggered, this, &TForm1::TimetableViewClick);

    statusStrip_ = new StatusStrip(ui->StatusBar1);
    EventLog::Boxes boxes;
    boxes.ShowError = [this](const QString& text) { ShowError(text); };
    boxes.AskCloseWithoutLog = [this](const QString& text) {
        if (questionBox_) {
            return questionBox_(windowTitle(), text);
        }
        return QMessageBox::warning(this, windowTitle(), text, QMessageBox::Yes | QMessageBox::No,
                                    QMessageBox::No) == QMessageBox::Yes;
    };
    log_ = std::make_unique<EventLog>(ui->RichEdit1, clock_, startFolder_, std::move(boxes));

    // The window sizes itself to its contents and keeps that size.
    ui->centralwidget->setFixedSize(981, 470);
    adjustSize();
    setFixedSize(size());
    move(188, 139);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    clockTick_ = std::make_unique<ClockTick>(Timer1, timing_.ClockLead);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(timing_.MonitorFirst);

    link_.Notify = [this](const QString& text, const QString& caption) {
        ShowMessageBox(caption, text);
    };
    link_.Remark = [this](const Problem& remark) { log_->AppendWords(u' ' + WindowWords(remark)); };
    // Once a stop signal has come, the link sends nothing more: an operation under way ends
    // after its exchange, says what the device holds, and the signal's watch winds down.
    link_.StopRequested = StopSignal;
    ConnectHandlers();
    FormCreate();
    noteWindow = this;
    if (timing_.StartTimers) {
        clockTick_->Schedule();
        Timer2->start();
    }
}

TForm1::~TForm1() {
    if (noteWindow == this) {
        noteWindow = nullptr;
    }
    link_.Notify = nullptr;
    link_.Remark = nullptr;
    link_.StopRequested = nullptr;
}

void TForm1::SetMessageBox(MessageBoxFunction show) {
    messageBox_ = std::move(show);
}

void TForm1::SetQuestionBox(QuestionBoxFunction ask) {
    questionBox_ = std::move(ask);
}

void TForm1::SetPortSources(PortSources sources) {
    portSources_ = std::move(sources);
}

void TForm1::SetFileChooser(std::function<QString()> choose) {
    fileChooser_ = std::move(choose);
}

void TForm1::ReportStartFolder(const StartFolderChoice& choice) {
    startProblem_ = choice.SetUpProblem;
    if (!startProblem_.IsEmpty()) {
        log_->FolderNotSetUp();
        NoteAtStart(u' ' + WindowWords(startProblem_));
        return;
    }
    if (QDir(choice.Folder) != QDir::current()) {
        // The words escape the folder's name: a line break in it must not break the log's line.
        const QString note = StartFolderNoteText(QDir::toNativeSeparators(choice.Folder));
        folderNote_ = note;
        NoteAtStart(u' ' + note);
    }
}

void TForm1::NoteAtStart(const QString& words) {
    log_->NoteWordsAtStart(words);
}

void TForm1::NoteInLog(const QString& text) {
    if (firstTickDone_) {
        AppendLogLine(text);
    } else {
        log_->NoteAtStart(text);
    }
}

void TForm1::ConnectHandlers() {
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &TForm1::BitBtn2Click);
    // A box changes when an item is chosen or when the user types into it.
    const std::array<std::pair<QComboBox*, void (TForm1::*)()>, 3> boxes = {
        std::pair{ui->Combo1, &TForm1::Combo1Change}, std::pair{ui->Combo2, &TForm1::Combo2Change},
        std::pair{ui->Combo3, &TForm1::Combo3Change}};
    for (const auto& [box, handler] : boxes) {
        connect(box, &QComboBox::activated, this, handler);
        connect(box->lineEdit(), &QLineEdit::textEdited, this, handler);
    }
    connect(ui->N11, &QAction::triggered, this, &TForm1::N11Click);
    connect(ui->N2, &QAction::triggered, this, &TForm1::N2Click);
    connect(ui->N12, &QAction::triggered, this, &TForm1::N12Click);
    connect(ui->N13, &QAction::triggered, this, &TForm1::N13Click);
    connect(ui->Exit1, &QAction::triggered, this, &TForm1::Exit1Click);
    using Handler = void (TForm1::*)();
    const std::array<Handler, 11> trackBarHandlers = {
        &TForm1::TrackBar1Change,  &TForm1::TrackBar2Change, &TForm1::TrackBar3Change,
        &TForm1::TrackBar4Change,  &TForm1::TrackBar5Change, &TForm1::TrackBar6Change,
        &TForm1::TrackBar7Change,  &TForm1::TrackBar8Change, &TForm1::TrackBar9Change,
        &TForm1::TrackBar10Change, &TForm1::TrackBar11Change};
    for (int n = 1; n <= 11; ++n) {
        auto* bar = findChild<QSlider*>(QStringLiteral("TrackBar%1").arg(n));
        connect(bar, &QSlider::valueChanged, this,
                trackBarHandlers[static_cast<std::size_t>(n - 1)]);
    }
}

void TForm1::FormCreate() {
    firstTickDone_ = false;
    locationBoxes_ = std::make_unique<LocationBoxes>(ui->Combo1, ui->Combo2, ui->Combo3, location_,
                                                     startFolder_);
    link_.Connected = false;
    RunTextSettingCheck();
    NoteTimeZone();
}

// Said once: the device is set from the PC's clock and keeps Iran Standard Time.
void TForm1::NoteTimeZone() {
    if (const Problem zone = ZoneProblem(CheckPcZone(std::time(nullptr))); !zone.IsEmpty()) {
        log_->NoteWordsAtStart(u' ' + WindowWords(zone));
    }
}

void TForm1::RunTextSettingCheck() {
    CodePageCallbacks callbacks;
    callbacks.ShowStatus = [this](const QString& text) { statusStrip_->SetTextProblem(text); };
    callbacks.AppendLog = [this](const QString& text) { log_->NoteWordsAtStart(text); };
    callbacks.WindowFont = font();
    RunCodePageCheck(*MakeSystemCodePagePlatform(std::move(callbacks)));
}

void TForm1::Guarded(const std::function<void()>& body) {
    try {
        body();
    } catch (const UserError& error) {
        ShowError(WindowWords(error.Reported()));
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    }
}

void TForm1::ShowMessageBox(const QString& caption, const QString& text) {
    if (StopSignal() != 0) {
        // Nobody may be there to close a box; and the signal's watch, run in the box's event loop,
        // would wind the window down under the handler that opened it.
        PrintNote(text);
        return;
    }
    if (messageBox_) {
        messageBox_(caption, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, this);
    box.exec();
}

void TForm1::ShowError(const QString& text) {
    ShowMessageBox(windowTitle(), text);
}

// --- the clock ----------------------------------------------------------------------------

void TForm1::Timer1Timer() {
    const bool running = clockTick_->Running();
    if (!firstTickDone_) {
        clockTick_->Stop();
        firstTickDone_ = true;
        LoadStartFiles();
        // Shown once the window is, which would otherwise show the status bar's own widgets
        // through the note.
        if (!folderNote_.isEmpty()) {
            ui->StatusBar1->showMessage(folderNote_, 10000);
        }
    }
    clockTick_->Sample(clock_);
    ToSolarDate(clock_);
    // The first tick replaced the pane with the saved log; what the start found follows it.
    log_->WriteStartNotices();
    ui->LabeledEdit13->setText(QString::fromStdString(ClockTimeText(clock_)));
    ui->LabeledEdit16->setText(QString::fromStdString(SolarDateText(clock_)));
    if (running) {
        clockTick_->Schedule();
    }
}

// Each file on its own: a missing province list must not keep the saved log from loading,
// or the close would overwrite the history with this run's lines.
void TForm1::LoadStartFiles() {
    if (!startProblem_.IsEmpty()) {
        ShowError(WindowWords(startProblem_));
    }
    Guarded([this] {
        const QString path = startFolder_ + QStringLiteral("ostan.txt");
        if (!startProblem_.IsEmpty() && !QFileInfo::exists(path)) {
            return; // said with the folder's problem
        }
        locationBoxes_->ShowProvinces(ReadLines1256(path));
    });
    log_->LoadSaved();
}

// --- the log ------------------------------------------------------------------------------

void TForm1::AppendLogLine(const QString& message) {
    log_->Append(message);
}

void TForm1::AppendProblemLine(const Problem& problem) {
    log_->AppendWords(u' ' + WindowWords(problem));
}

void TForm1::ClearLog() {
    log_->Clear();
}

QStringList TForm1::LogLines() const {
    return log_->Lines();
}

void TForm1::N11Click() {
    ClearLog();
}

// --- the connection monitor ---------------------------------------------------------------

// The device operations' status texts are the system's own but for the few this program added,
// which the window shows in Persian.
void TForm1::SetStatusText(const QString& text) {
    const QString translated =
        QCoreApplication::translate(OperationTextsContext, text.toUtf8().constData());
    statusStrip_->SetText(
        translated == text ? text : IsolateLatinRuns(translated, Wording::PersianWindow));
}

QString TForm1::StatusText() const {
    return statusStrip_->Text();
}

QString TForm1::PortProblemText() const {
    return statusStrip_->PortProblemText();
}

// The controls show the state found at the start of the step; what the search or the poll
// finds shows at the next step.
void TForm1::MonitorStep() {
    if (!link_.Connected) {
        ui->BitBtn2->setEnabled(true);
        ui->Shape1->setBrushColor(LampRed);
        ui->N3->setEnabled(false);
        // A device this window left in its upgrade stage answers no search: the upgrade stays
        // at hand to greet it there.
        ui->N13->setEnabled(upgradeStageLeft_);
        Timer2->setInterval(timing_.MonitorSearching);
        SetStatusText(DisconnectedText);
        ListPorts(link_, portSources_);
        FindDevice(link_, discovery_);
        std::vector<Problem> problems;
        for (const PortProblem& port : discovery_.Problems) {
            problems.push_back(port.AsProblem());
            // Logged once, as the box is shown once, until the port has opened again.
            if (port.First) {
                log_->AppendWords(u' ' + WindowWords(problems.back()));
            }
        }
        ShowPortProblems(problems);
    } else {
        ui->BitBtn2->setEnabled(false);
        ui->Shape1->setBrushColor(LampGreen);
        Timer2->setInterval(timing_.MonitorConnected);
        SetStatusText(ConnectedText);
        ui->StaticText2->setText(FromWindows1256(QByteArray::fromStdString(link_.VersionText)));
        ui->N3->setEnabled(true);
        ui->N13->setEnabled(true);
        ShowPortProblems({});
        QueryVersion(link_);
    }
}

// The bar shows each problem's short words; its tooltip holds every problem whole.
void TForm1::ShowPortProblems(const std::vector<Problem>& problems) {
    QStringList shown;
    QStringList whole;
    for (const Problem& problem : problems) {
        shown.append(WindowShortWords(problem));
        whole.append(WindowWords(problem));
    }
    statusStrip_->SetPortProblems(shown, whole);
}

void TForm1::Timer2Timer() {
    Timer2->stop();
    MonitorStep();
    Timer2->start();
}

// The search holds the monitor off, so that no tick runs inside an open-error box it shows.
void TForm1::BitBtn2Click() {
    const bool monitorWasOn = Timer2->isActive();
    Timer2->stop();
    MonitorStep();
    if (monitorWasOn) {
        Timer2->start();
    }
}

// --- the location ---------------------------------------------------------------------

void TForm1::Combo1Change() {
    Guarded([this] { locationBoxes_->ProvinceChanged(); });
}

void TForm1::Combo2Change() {
    Guarded([this] { locationBoxes_->CityChanged(); });
}

void TForm1::Combo3Change() {
    Guarded([this] {
        const auto choice = locationBoxes_->CountyChanged();
        if (!choice) {
            return;
        }
        ui->LabeledEdit3->setText(choice->CountyIndexText);
        ui->LabeledEdit1->setText(choice->LongitudeText);
        ui->LabeledEdit2->setText(choice->LatitudeText);
        ui->BitBtn1->setEnabled(true);
        // Said once for the county, not again while it stays chosen.
        const int county = location_.CountyIndex;
        if (choice->Approximate && approximateNoted_ != county) {
            log_->AppendWords(u' ' + ApproximateCountyWords(choice->CountyName));
        }
        approximateNoted_ = county;
    });
}

// --- the track bars -----------------------------------------------------------------------

void TForm1::ShowTrackBarPosition(int number) {
    const auto* bar = findChild<QSlider*>(QStringLiteral("TrackBar%1").arg(number));
    auto* label = findChild<QLabel*>(QStringLiteral("Label%1").arg(number));
    label->setText(QString::number(bar->value()));
}

// --- closing ------------------------------------------------------------------------------

void TForm1::Exit1Click() {
    close();
}

bool TForm1::FormCloseQuery() {
    const bool clockWasRunning = clockTick_->Running();
    const bool monitorWasOn = Timer2->isActive();
    clockTick_->Stop();
    Timer2->stop();
    if (!log_->SaveAtClose(stopSignal_ != 0)) {
        // The window stays open and goes on showing the time and the device as they are; a later
        // close tries again.
        if (clockWasRunning) {
            clockTick_->Schedule();
        }
        if (monitorWasOn) {
            Timer2->start();
        }
        return false;
    }
    if (link_.Connected) {
        AbortPort(link_);
        ClosePort(link_);
    }
    return true;
}

void TForm1::StopBySignal(int signal) {
    stopSignal_ = signal;
    // Stopped before the first tick, the start's lines still wait for a date text and the pane.
    if (!firstTickDone_) {
        ReadClock(clock_);
        ToSolarDate(clock_);
    }
    log_->WriteStartNotices();
    AppendLogLine(StoppedLogTemplate.arg(StopSignalName(signal)));
    FormCloseQuery();
    // Also a port whose device stopped answering, which the close leaves to the process's end:
    // released now, it is drained and its lock goes with it.
    if (IsPortOpen(link_)) {
        AbortPort(link_);
        ClosePort(link_);
    }
    QCoreApplication::exit(StopExitStatus(signal));
}

// --- the apply button ---------------------------------------------------------------------

// The button keeps its designed 75 x 25.
void TForm1::FitApplyCaption() {
    FitGlyphBesideCaption(ui->BitBtn1, style()->standardIcon(QStyle::SP_DialogApplyButton));
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    const bool built = ui->BitBtn1 != nullptr; // setupUi may change the font before it exists
    if (built && (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)) {
        FitApplyCaption();
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery()) {
        event->accept();
    } else {
        event->ignore();
    }
}
