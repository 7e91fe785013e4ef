// Port problems as Windows shows them: a COM port opens for one program at a time, and the
// error code is all there is to read; no process table, lock files or udev.
#include "comm/PortProblems.h"

#include <array>
#include <cerrno>
#include <windows.h>

bool HeldExclusively(const QString&) {
    return false; // the open itself refuses a port in use
}

int OpenFailureError(const QString&, QSerialPort::SerialPortError kind, int fallback) {
    switch (kind) {
    case QSerialPort::PermissionError: // access denied: another program has the port
        return EBUSY;
    case QSerialPort::DeviceNotFoundError:
        return ENOENT;
    default:
        return fallback;
    }
}

PortProblem DiagnoseOpenFailure(const QString& port, int error) {
    PortProblem problem;
    problem.Port = port;
    problem.Error = error;
    return problem;
}

// Windows tells whether a port is in use only to the program that opens it, and an open moves the
// modem lines: a listing says only that a port is gone, from the names the system keeps.
PortProblem CheckPort(const QString& port) {
    PortProblem problem;
    problem.Port = port;
    const QString name = port.startsWith(QStringLiteral("\\\\.\\")) ? port.mid(4) : port;
    std::array<wchar_t, 1024> target{};
    if (QueryDosDeviceW(reinterpret_cast<const wchar_t*>(name.utf16()), target.data(),
                        static_cast<DWORD>(target.size())) == 0 &&
        GetLastError() == ERROR_FILE_NOT_FOUND) {
        problem.Error = ENOENT;
    }
    return problem;
}

qint64 LockingProcess(const QString&) {
    return 0; // no lock files: the open itself refuses a port in use
}

std::vector<PortHolder> PortHolders(const QString&) {
    return {};
}

QString PortLockFile(const QString&) {
    return {};
}

QString TakeOverStaleLock(const QString&) {
    return {};
}
