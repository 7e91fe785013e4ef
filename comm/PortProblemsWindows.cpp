// Port problems as Windows shows them: a COM port opens for one program at a time, and the
// error code is all there is to read; no process table, lock files or udev.
#include "comm/PortProblems.h"

#include <cerrno>
#include <windows.h>

// The remedies that name commands run as root are Linux's.
RootAccess ThisUsersRootAccess() {
    return RootAccess::Root;
}

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

// Opened for a moment as the serial port opens it, without its settings being touched.
PortProblem CheckPort(const QString& port) {
    PortProblem problem;
    problem.Port = port;
    const QString device =
        port.startsWith(QStringLiteral("\\\\.\\")) ? port : QStringLiteral("\\\\.\\") + port;
    const HANDLE handle =
        CreateFileW(reinterpret_cast<const wchar_t*>(device.utf16()), GENERIC_READ | GENERIC_WRITE,
                    0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return problem;
    }
    switch (GetLastError()) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        problem.Error = EBUSY;
        break;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        problem.Error = ENOENT;
        break;
    default:
        problem.Error = EIO;
    }
    return problem;
}

std::vector<PortHolder> PortHolders(const QString&) {
    return {};
}

QString PortLockFile(const QString&) {
    return {};
}

Problem TakeOverStaleLock(const QString&) {
    return {};
}
