#include "comm/CommLink.h"

#include "comm/CommLinkPlatform.h"
#include "comm/PortProblems.h"

#include <algorithm>
#include <cerrno>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

void Notify(const CommLink& link, const QString& text, const QString& caption) {
    if (link.Notify) {
        link.Notify(text, caption);
    }
}

// The system number when the platform left one, else the closest one for Qt's error kind.
int OpenErrorNumber(int systemError, QSerialPort::SerialPortError kind) {
    if (systemError != 0) {
        return systemError;
    }
    switch (kind) {
    case QSerialPort::PermissionError:
        return EACCES;
    case QSerialPort::DeviceNotFoundError:
        return ENOENT;
    case QSerialPort::OpenError:
        return EBUSY;
    default:
        return EIO;
    }
}

// Whole milliseconds left until the deadline, rounded up so that a wait never spins at 0.
int MillisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<milliseconds::rep>(left.count(), 1));
}

bool IsLinkLost(QSerialPort::SerialPortError error) {
    return error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
           error == QSerialPort::WriteError;
}

// How long the line must stay without a byte to count as quiet: a few byte times, so that a
// device still sending (a byte every byte time) is heard, and a search of a quiet line costs
// hardly more than before.
constexpr int QuietByteTimes = 3;

bool InputWaiting(QSerialPort& port) {
    return port.bytesAvailable() > 0 || QueuedInput(port.handle()).value_or(0) > 0;
}

} // namespace

bool IsPortOpen(const CommLink& link) {
    return link.PortHandle != nullptr;
}

int StopSignalOf(const CommLink& link) {
    return link.StopRequested ? link.StopRequested() : 0;
}

bool OpenPort(CommLink& link, const QString& name, qint32 baud, bool showError) {
    ClosePort(link); // never leave an earlier port held behind the new one

    auto port = std::make_unique<QSerialPort>();
    port->setPortName(name);
    port->setBaudRate(baud);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);

    // The lock file is read here before the serial port reads it: the serial port waits 30 s
    // before it takes a killed program's lock for stale, and takes a running program's lock for
    // stale when it lacks the program's name, as UUCP locks ("     4410\n") do.
    if (const QString remark = TakeOverStaleLock(name); !remark.isEmpty() && link.Remark) {
        link.Remark(remark);
    }
    if (LockingProcess(name) != 0) {
        link.LastOpenError = EBUSY;
        if (showError) {
            Notify(link, linktext::OpenFailed, QString::number(EBUSY));
        }
        return false;
    }
    errno = 0;
    const bool opened = port->open(QIODevice::ReadWrite);
    const int systemError = LastSystemError();
    if (!opened) {
        const int reported = OpenErrorNumber(systemError, port->error());
        link.LastOpenError = OpenFailureError(name, port->error(), reported);
        if (showError) {
            Notify(link, linktext::OpenFailed, QString::number(link.LastOpenError));
        }
        return false;
    }
    // A pseudo-terminal refuses the modem lines; the line works without them.
    port->setDataTerminalReady(false);
    port->setRequestToSend(false);
    port->clearError();

    link.PortSettings = SerialSettings{baud,
                                       QSerialPort::Data8,
                                       QSerialPort::NoParity,
                                       QSerialPort::OneStop,
                                       QSerialPort::NoFlowControl,
                                       false,
                                       false};
    // The driver's flag is given back at close only if it was this program that changed it.
    link.LowLatencyRequested = false;
    if (link.Latency.Read && link.Latency.Write) {
        const std::optional<bool> lowLatency = link.Latency.Read(port->handle());
        link.LowLatencyRequested = lowLatency == false && link.Latency.Write(port->handle(), true);
    }
    link.PortHandle = std::move(port);
    link.PortName = name;
    return true;
}

Transfer SendFrame(CommLink& link) {
    if (!link.PortHandle) {
        return {};
    }
    if (StopSignalOf(link) != 0) {
        // Asked to stop: the exchange under way has ended, and no new one begins.
        link.BytesWritten = 0;
        link.IoStatus = iostatus::Stopping;
        return {0, iostatus::Stopping};
    }
    QSerialPort& port = *link.PortHandle;
    port.clearError();
    // Stale input goes now, before the frame: once it is written, whatever arrives is the reply.
    // Output stays: the tail of a frame without a reply may still be on its way.
    port.clear(QSerialPort::Input);

    const auto count = std::min<std::size_t>(link.WriteCount, link.TxFrame.size());
    const auto deadline = Clock::now() + link.Timeouts.TransferWait;
    const qint64 queued =
        port.write(reinterpret_cast<const char*>(link.TxFrame.data()), static_cast<qint64>(count));
    if (queued < 0) {
        link.BytesWritten = 0;
        link.IoStatus = iostatus::Failed;
        return {0, iostatus::Failed};
    }
    std::uint32_t status = 0;
    while (port.bytesToWrite() > 0) {
        if (Clock::now() >= deadline) {
            status = iostatus::Pending;
            break;
        }
        if (!port.waitForBytesWritten(MillisecondsUntil(deadline))) {
            const auto error = port.error();
            if (error == QSerialPort::TimeoutError) {
                port.clearError();
                continue;
            }
            status = IsLinkLost(error) ? iostatus::Failed : iostatus::WaitFailed;
            break;
        }
    }
    link.BytesWritten = static_cast<std::uint32_t>(queued - port.bytesToWrite());
    if (link.Watch) {
        link.Watch(true, link.TxFrame.data(), link.BytesWritten);
    }
    if (port.bytesToWrite() > 0) {
        port.clear(QSerialPort::Output); // cancel what could not be written
    }
    if (status != 0) {
        link.IoStatus = status; // a write that ends on its own leaves the last status standing
    }
    return {link.BytesWritten, status};
}

Transfer ReceiveReply(CommLink& link) {
    link.IoStatus = 0;
    link.RxBuffer.fill(0);
    link.BytesRead = 0; // a missing reply must never show the count of an earlier one
    if (!link.PortHandle) {
        Notify(link, linktext::InvalidHandle, linktext::InvalidHandleCaption);
        return {};
    }
    QSerialPort& port = *link.PortHandle;
    port.clearError();

    const auto wanted = std::min<std::size_t>(link.ReadCount, link.RxBuffer.size());
    const auto& limits = link.Timeouts;
    const auto start = Clock::now();
    const auto lineDeadline =
        start + limits.ReadTotalConstant + limits.ReadTotalPerByte * static_cast<int>(wanted);
    const auto waitDeadline = start + limits.TransferWait;
    auto lastByteAt = start;
    std::size_t got = 0;

    for (;;) {
        const qint64 n = port.read(reinterpret_cast<char*>(link.RxBuffer.data() + got),
                                   static_cast<qint64>(wanted - got));
        if (n > 0) {
            got += static_cast<std::size_t>(n);
            lastByteAt = Clock::now();
        }
        if (got >= wanted) {
            break;
        }
        // The line's own time-outs end the read quietly; the outer wait leaves it pending.
        auto lineEnd = lineDeadline;
        if (got > 0) {
            lineEnd = std::min(lineEnd, lastByteAt + limits.ReadInterval);
        }
        const auto now = Clock::now();
        if (now >= lineEnd && lineEnd <= waitDeadline) {
            break;
        }
        if (now >= waitDeadline) {
            link.IoStatus = iostatus::Pending;
            break;
        }
        if (!port.waitForReadyRead(MillisecondsUntil(std::min(lineEnd, waitDeadline)))) {
            const auto error = port.error();
            if (error == QSerialPort::TimeoutError || error == QSerialPort::NoError) {
                port.clearError();
                continue;
            }
            if (IsLinkLost(error)) {
                link.IoStatus = iostatus::Failed;
            } else {
                Notify(link, linktext::WaitFailed, linktext::WaitFailedCaption);
                link.IoStatus = iostatus::WaitFailed;
            }
            break;
        }
    }
    link.BytesRead = static_cast<std::uint32_t>(got);
    if (link.Watch) {
        link.Watch(false, link.RxBuffer.data(), got);
    }
    return {link.BytesRead, link.IoStatus};
}

bool DrainOutput(CommLink& link) {
    if (!link.PortHandle) {
        return false;
    }
    QSerialPort& port = *link.PortHandle;
    const auto deadline = Clock::now() + link.Timeouts.TransferWait;
    while (port.bytesToWrite() > 0 && Clock::now() < deadline) {
        if (!port.waitForBytesWritten(MillisecondsUntil(deadline)) &&
            port.error() != QSerialPort::TimeoutError) {
            return false; // the line is gone: nothing more will leave
        }
    }
    if (port.bytesToWrite() > 0) {
        return false;
    }
    // The system's queue empties at the line's pace; wait about as long as its bytes need.
    const SerialHandle handle = port.handle();
    for (;;) {
        const std::optional<int> queued = QueuedOutput(handle);
        if (!queued) {
            WaitUntilSent(handle);
            return true;
        }
        if (*queued <= 0) {
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        const auto wireTime =
            std::chrono::microseconds(*queued * 10'000'000LL / std::max(port.baudRate(), 1));
        std::this_thread::sleep_for(std::clamp<std::chrono::microseconds>(
            wireTime, std::chrono::microseconds(100), std::chrono::milliseconds(20)));
    }
}

bool AbortPort(CommLink& link) {
    if (!link.PortHandle) {
        return false;
    }
    return link.PortHandle->clear(QSerialPort::Input);
}

bool DiscardUntilQuiet(CommLink& link, std::chrono::microseconds quietFor) {
    if (!link.PortHandle) {
        return false;
    }
    QSerialPort& port = *link.PortHandle;
    const auto fewByteTimes =
        std::chrono::nanoseconds(QuietByteTimes * 10'000'000'000LL / std::max(port.baudRate(), 1));
    const auto quiet = std::max<std::chrono::nanoseconds>(quietFor, fewByteTimes);
    const auto deadline = Clock::now() + link.Timeouts.TransferWait;
    for (;;) {
        port.clear(QSerialPort::Input);
        std::this_thread::sleep_for(quiet);
        if (!InputWaiting(port)) {
            return true;
        }
        if (Clock::now() >= deadline) {
            port.clear(QSerialPort::Input);
            return false;
        }
    }
}

bool ClosePort(CommLink& link) {
    if (!link.PortHandle) {
        return false;
    }
    // Closing gives the port its earlier settings at once; a frame still on its way would be
    // cut or garbled by that, so it is let out first.
    DrainOutput(link);
    if (link.LowLatencyRequested && link.Latency.Write) {
        link.Latency.Write(link.PortHandle->handle(), false);
    }
    link.LowLatencyRequested = false;
    link.PortHandle->close(); // writes the port's earlier settings back
    link.PortHandle.reset();
    link.PortName.clear();
    return true;
}

Transfer Exchange(CommLink& link, std::uint32_t writeCount, std::uint32_t readCount) {
    link.WriteCount = writeCount;
    link.ReadCount = readCount;
    const Transfer sent = SendFrame(link); // discards stale input itself
    if (sent.LinkLost() || sent.Stopped()) {
        // A line that takes nothing more, or a frame not sent, brings no reply either: the
        // exchange ends now, not after the read's time-outs, and no earlier reply is left to be
        // taken for this one.
        link.RxBuffer.fill(0);
        link.BytesRead = 0;
        return {0, sent.Status}; // the reply's bytes: none, whatever part of the frame went out
    }
    Transfer reply = ReceiveReply(link);
    if (reply.Status == 0 && sent.Status != 0) {
        // The read starts the record afresh; the write's ending is the exchange's, there too.
        reply.Status = sent.Status;
        link.IoStatus = sent.Status;
    }
    return reply;
}

bool ReplyMatches(const CommLink& link, frame::Byte command) {
    return link.RxBuffer[0] == frame::SyncFirst && link.RxBuffer[1] == frame::SyncSecond &&
           link.RxBuffer[frame::CommandAt] == command;
}
