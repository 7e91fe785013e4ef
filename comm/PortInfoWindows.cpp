#include "comm/PortInfo.h"

#include <cerrno>

// Windows gives a port to one program at a time and answers every other with "access denied";
// it has no exclusive mode beside that, and no permission a user could be given.

bool HeldExclusively(const QString& port) {
    Q_UNUSED(port);
    return false;
}

int OpenFailureError(const QString& port, QSerialPort::SerialPortError kind, int fallback) {
    Q_UNUSED(port);
    return kind == QSerialPort::PermissionError ? EBUSY : fallback;
}

PortProblem DiagnoseOpenFailure(const QString& port, int error) {
    return PortProblem{port, error, {}, false, {}, {}, false};
}

QChar PortListSeparator() {
    return u';';
}
