#include "app/TForm1.h"

#include "app/LabeledEdit.h"
#include "app/LampShape.h"
#include "location/TextFiles.h"
#include "location/UserError.h"
#include "ui_TForm1.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QSlider>
#include <QTimer>
#include <array>

// The window's pictures live in this static library; its resources need an explicit start.
static void InitWindowResources() {
    Q_INIT_RESOURCE(app);
}

namespace {

using namespace std::chrono;

const QColor LampRed(0xFF, 0x00, 0x00);
const QColor LampGreen(0x00, 0x80, 0x00);

QString StatusConnected() {
    return QStringLiteral("connected to the hardware");
}
QString StatusDisconnected() {
    return QStringLiteral("disconnected from the hardware");
}

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
    ui->BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    ui->BitBtn2->setIcon(QIcon(QStringLiteral(":/icons/search.svg")));

    statusText_ = new QLabel(this);
    statusText_->setObjectName(QStringLiteral("StatusText"));
    ui->StatusBar1->addWidget(statusText_, 1);
    portProblems_ = new QLabel(this);
    portProblems_->setObjectName(QStringLiteral("PortProblems"));
    ui->StatusBar1->addPermanentWidget(portProblems_);
    ui->StatusBar1->setFixedHeight(17 + 4);

    // The window sizes itself to its contents and keeps that size.
    ui->centralwidget->setFixedSize(981, 470);
    adjustSize();
    setFixedSize(size());
    move(188, 139);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(timing_.MonitorFirst);

    link_.Notify = [this](const QString& text, const QString& caption) {
        ShowMessageBox(caption, text);
    };
    ConnectHandlers();
    FormCreate();
    if (timing_.StartTimers) {
        ScheduleClockTick();
        Timer2->start();
    }
}

TForm1::~TForm1() {
    link_.Notify = nullptr;
}

void TForm1::SetMessageBox(MessageBoxFunction show) {
    messageBox_ = std::move(show);
}

void TForm1::SetPortSources(PortSources sources) {
    portSources_ = std::move(sources);
}

void TForm1::ConnectHandlers() {
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &TForm1::BitBtn2Click);
    connect(ui->N11, &QAction::triggered, this, &TForm1::N11Click);
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
    link_.Connected = false;
}

void TForm1::Guarded(const std::function<void()>& body) {
    try {
        body();
    } catch (const UserError& error) {
        ShowError(error.Text());
    } catch (const std::exception& error) {
        ShowError(QString::fromLocal8Bit(error.what()));
    }
}

void TForm1::ShowMessageBox(const QString& caption, const QString& text) {
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

void TForm1::ScheduleClockTick() {
    clockRunning_ = true;
    const auto now = system_clock::now();
    clockTarget_ = floor<seconds>(now) + seconds(1);
    const auto delay = duration_cast<milliseconds>(clockTarget_ - now) - timing_.ClockLead;
    Timer1->start(std::max<milliseconds::rep>(delay.count(), 0));
}

void TForm1::StopClock() {
    clockRunning_ = false;
    Timer1->stop();
}

void TForm1::Timer1Timer() {
    const bool running = clockRunning_;
    if (!firstTickDone_) {
        StopClock();
        firstTickDone_ = true;
        LoadStartFiles();
    }
    // Fired just before the second turns, the sample waits a few milliseconds; a tick that
    // came late takes the second that has already begun instead of waiting a whole one.
    const auto now = system_clock::now();
    if (clockTarget_ != system_clock::time_point{} && now >= clockTarget_) {
        SampleClock(clock_, system_clock::to_time_t(floor<seconds>(now)));
    } else {
        ReadClock(clock_);
    }
    ToSolarDate(clock_);
    ui->LabeledEdit13->setText(QString::fromStdString(ClockTimeText(clock_)));
    ui->LabeledEdit16->setText(QString::fromStdString(SolarDateText(clock_)));
    if (running) {
        ScheduleClockTick();
    }
}

// Each file on its own: a missing province list must not keep the saved log from loading,
// or the close would overwrite the history with this run's lines.
void TForm1::LoadStartFiles() {
    Guarded([this] {
        const QStringList provinces = ReadLines1256(startFolder_ + QStringLiteral("ostan.txt"));
        const QString shown = ui->Combo1->currentText(); // the box keeps its caption text
        ui->Combo1->clear();
        ui->Combo1->addItems(provinces);
        ui->Combo1->setCurrentIndex(-1);
        ui->Combo1->setEditText(shown);
    });
    Guarded([this] {
        const QString path = startFolder_ + QStringLiteral("log.txt");
        if (!QFileInfo::exists(path)) {
            return; // the first start
        }
        ui->RichEdit1->setPlainText(ReadLines1256(path).join(u'\n'));
        ui->RichEdit1->moveCursor(QTextCursor::End);
    });
}

// --- the log ------------------------------------------------------------------------------

void TForm1::AppendLogLine(const QString& message) {
    ui->RichEdit1->appendPlainText(QString::fromLatin1(clock_.DateText.data()) + message);
}

void TForm1::ClearLog() {
    ui->RichEdit1->clear();
}

QStringList TForm1::LogLines() const {
    const QString text = ui->RichEdit1->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

void TForm1::N11Click() {
    ClearLog();
}

// --- the connection monitor ---------------------------------------------------------------

void TForm1::SetStatusText(const QString& text) {
    statusText_->setText(text);
}

QString TForm1::StatusText() const {
    return statusText_->text();
}

QString TForm1::PortProblemText() const {
    return portProblems_->text();
}

// The controls show the state found at the start of the step; what the search or the poll
// finds shows at the next step.
void TForm1::MonitorStep() {
    if (!link_.Connected) {
        ui->BitBtn2->setEnabled(true);
        ui->Shape1->setBrushColor(LampRed);
        ui->N3->setEnabled(false);
        ui->N13->setEnabled(false);
        Timer2->setInterval(timing_.MonitorSearching);
        SetStatusText(StatusDisconnected());
        ListPorts(link_, portSources_);
        FindDevice(link_, discovery_);
        QStringList problems;
        for (const PortProblem& problem : discovery_.Problems) {
            problems.append(problem.Describe());
        }
        portProblems_->setText(problems.join(QStringLiteral("; ")));
    } else {
        ui->BitBtn2->setEnabled(false);
        ui->Shape1->setBrushColor(LampGreen);
        Timer2->setInterval(timing_.MonitorConnected);
        SetStatusText(StatusConnected());
        ui->StaticText2->setText(FromWindows1256(QByteArray::fromStdString(link_.VersionText)));
        ui->N3->setEnabled(true);
        ui->N13->setEnabled(true);
        portProblems_->clear();
        QueryVersion(link_);
    }
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
    StopClock();
    Timer2->stop();
    try {
        SaveLines1256(startFolder_ + QStringLiteral("log.txt"), LogLines());
    } catch (const UserError& error) {
        ShowError(error.Text());
        return false; // the window stays open; a later close tries again
    }
    if (link_.Connected) {
        AbortPort(link_);
        ClosePort(link_);
    }
    return true;
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery()) {
        event->accept();
    } else {
        event->ignore();
    }
}
