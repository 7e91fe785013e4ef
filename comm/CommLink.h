#pragma once

#include "comm/Frame.h"

#include <QSerialPort>
#include <QString>
#include <QStringList>
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

// Shows one of the link's fixed English messages; the window opens a box, the command line
// prints to stderr, tests record. Without one installed the message goes nowhere.
using LinkNotifier = std::function<void(const QString& text, const QString& caption)>;

namespace linktext {
inline const QString OpenFailed = QStringLiteral("Error occured while opening the port");
inline const QString InvalidHandle = QStringLiteral("Invalid Handle");
inline const QString InvalidHandleCaption = QStringLiteral("Error");
inline const QString WaitFailed = QStringLiteral("Error in waiting procedure");
inline const QString WaitFailedCaption = QStringLiteral("-1");
} // namespace linktext

// Sees each frame the link writes and each reply it reads, as the bytes went (written false: a
// reply, perhaps empty); for a trace that the user asks for.
using FrameWatcher = std::function<void(bool written, const frame::Byte* bytes, std::size_t count)>;

// Outcome codes of the last transfer (IoStatus); 0 when it ended on its own.
namespace iostatus {
constexpr std::uint32_t Pending = 0xFF01;    // still running when the 3000 ms wait ran out
constexpr std::uint32_t Failed = 0xFF02;     // the port reported an error (link lost)
constexpr std::uint32_t WaitFailed = 0xFF04; // waiting on the port failed otherwise
constexpr std::uint32_t Stopping = 0xFF10;   // not sent: the program has been asked to stop
} // namespace iostatus

struct SerialSettings {
    qint32 BaudRate = 0;
    QSerialPort::DataBits DataBits = QSerialPort::Data8;
    QSerialPort::Parity Parity = QSerialPort::NoParity;
    QSerialPort::StopBits StopBits = QSerialPort::OneStop;
    QSerialPort::FlowControl FlowControl = QSerialPort::NoFlowControl;
    bool DataTerminalReady = false;
    bool RequestToSend = false;
};

// The line's time-outs. Fixed for the device; a field only so that tests of long runs
// against a dead device need not sit through them.
struct LinkTimeouts {
    std::chrono::milliseconds ReadInterval{500};
    std::chrono::milliseconds ReadTotalConstant{500};
    std::chrono::milliseconds ReadTotalPerByte{50};
    std::chrono::milliseconds TransferWait{3000};
};

constexpr qint32 DeviceBaudRate = 115200;

// What QSerialPort::handle() gives: a descriptor on Linux, a HANDLE on Windows. Qt keeps the
// type's own name private.
using SerialHandle = decltype(std::declval<const QSerialPort&>().handle());

// The driver's low-latency mode. USB adapters hold the last bytes of every reply until their
// latency timer runs out (16 ms by default); in low-latency mode they hand them over at once.
// A seam, so that tests can record the requests or refuse them.
struct LatencyControl {
    // Nothing when the driver does not say.
    std::function<std::optional<bool>(SerialHandle handle)> Read;
    std::function<bool(SerialHandle handle, bool lowLatency)> Write;
};
// Linux serial drivers through TIOCGSERIAL and TIOCSSERIAL. Elsewhere a driver that never says:
// on Windows the adapter's latency timer is a setting of its driver, made once in the Device
// Manager.
LatencyControl SystemLatencyControl();

// The one serial link to the device. The port's settings from before the program opened it
// are kept by the port object itself and written back when it closes.
struct CommLink {
    SerialSettings PortSettings;             // as applied at open
    std::unique_ptr<QSerialPort> PortHandle; // empty: no port open
    QString PortName;                        // the name the open port was opened by
    bool Connected = false;
    std::uint32_t IoStatus = 0;
    std::array<frame::Byte, frame::BufferSize> TxFrame{};
    std::array<frame::Byte, frame::BufferSize> RxBuffer{};
    QStringList PortNames;        // the ports listed by the last scan, in the order found
    std::string VersionText;      // firmware version as last reported (14 characters)
    QString LastAnsweredPort;     // where a device last answered the probe in this run
    std::uint32_t WriteCount = 0; // at most 512
    std::uint32_t ReadCount = 0;  // at most 512
    std::uint32_t BytesWritten = 0;
    std::uint32_t BytesRead = 0;
    int LastOpenError = 0;            // the system's error number of the last failed OpenPort
    bool LowLatencyRequested = false; // the open port's driver was switched to low latency

    LatencyControl Latency = SystemLatencyControl();

    LinkNotifier Notify;
    // What the link did on its own that the user should know, such as a stale lock file it took
    // over; the window logs it, the command line prints it. Nothing is said without one.
    std::function<void(const QString& text)> Remark;
    FrameWatcher Watch;
    LinkTimeouts Timeouts;
    // The signal that asked the program to stop, 0 while none has. Once there is one, no frame
    // is sent any more: the exchange under way ends as it would, and none begins after it.
    std::function<int()> StopRequested;
};

// The link's stop signal, 0 while none has come (or no one asks).
int StopSignalOf(const CommLink& link);

bool IsPortOpen(const CommLink& link);

// Opens and configures the port: baud 8N1, no flow control, DTR and RTS low, and asks the
// driver for low latency (a refusal changes nothing). Returns false when the port cannot be
// opened, with the system's error number in LastOpenError, and then shows the open-error
// message unless told not to. A port still held by the link is closed first. A lock file left
// by a program that no longer runs is taken over, and that is remarked.
bool OpenPort(CommLink& link, const QString& name, qint32 baud = DeviceBaudRate,
              bool showError = true);

// What one transfer did: the bytes it moved and how it ended (0, or an iostatus code). The
// record's fields say the same only until the next transfer overwrites them.
struct Transfer {
    std::uint32_t Bytes = 0;
    std::uint32_t Status = 0;
    bool LinkLost() const { return Status == iostatus::Failed; }
    bool Stopped() const { return Status == iostatus::Stopping; } // nothing was sent
};

// Discards stale input, then writes WriteCount bytes of TxFrame. Output is never discarded:
// a frame without a reply may still be on its way when the next one is written. Returns this
// write's count and ending alone: IoStatus only takes a failure, and without a port nothing is
// written and the record's count stays as it was. Once the program is asked to stop nothing is
// written, and the ending says so.
Transfer SendFrame(CommLink& link);

// Reads up to ReadCount bytes into the zeroed RxBuffer; ends when they are in, after the
// line's time-outs, after the 3000 ms wait, or at once when the port reports an error.
Transfer ReceiveReply(CommLink& link);

// Waits until everything written has left the port, at most the transfer wait; false when it
// had not by then, or when no port is open.
bool DrainOutput(CommLink& link);

// Discards whatever has arrived and not been read. What was written is left to go out.
bool AbortPort(CommLink& link);

// Discards what arrives until the line has been quiet for a few byte times, or for quietFor when
// that is longer, at most the transfer wait: the tail of a reply given to a program killed
// mid-exchange must not be taken for the reply to the next frame. False when the line did not
// fall quiet, or no port is open.
bool DiscardUntilQuiet(CommLink& link,
                       std::chrono::microseconds quietFor = std::chrono::microseconds(0));
// Lets what was written leave the port, gives the driver back its latency mode and closes the
// port, which gets back the settings it had before.
bool ClosePort(CommLink& link);

// Sets the counts, sends and receives. Returns the reply's bytes, and how the exchange ended:
// the read's own ending, else the write's, which IoStatus then says too. A write that lost the
// line, or one refused because the program is stopping, ends the exchange at once, with no
// reply and IoStatus telling so.
Transfer Exchange(CommLink& link, std::uint32_t writeCount, std::uint32_t readCount);

bool ReplyMatches(const CommLink& link, frame::Byte command);
