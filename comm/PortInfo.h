#pragma once

#include <QSerialPort>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// What the system knows of a port beyond its path; empty where it knows nothing (a
// pseudo-terminal, a port the platform does not list).
struct PortDetails {
    QString Path;
    QString Description;
    QString Manufacturer;
    std::optional<quint16> VendorId;
    std::optional<quint16> ProductId;
    QString SerialNumber;
};

// The details of each path, in order. A path is matched to the platform's ports by its name, its
// path or the device it leads to, so /dev/serial/by-id links get their port's details.
std::vector<PortDetails> DetailsOfPorts(const QStringList& paths);

// One line for a listing: path, description, manufacturer, USB "vendor:product" in hexadecimal
// and serial number, separated by tabs, empty where unknown. Tabs and line breaks inside a field
// become blanks, so that the columns hold.
QString PortDetailsLine(const PortDetails& port);

// A port that could not be opened, and why.
struct PortProblem {
    QString Port;
    // The system's error number that says it best: EBUSY when another program holds the port,
    // ENOTTY or EISDIR when the path is no serial port, EACCES when the user may not open it.
    int Error = 0;
    // On a permission error: the group that owns the device and may read and write it, else
    // the system's serial group, which a udev rule can give the device to.
    QString Group;
    bool RootOnly = false; // on a permission error: neither its group nor others may open it
    QString What;          // when it is no serial port: what it is ("a folder", "a FIFO", ...)
    // The device a bare name stands for ("ttyUSB0" is /dev/ttyUSB0); empty for a path.
    QString Location;
    bool InWorkingFolder = false; // the bare name is also a file of the working folder
    QString Describe() const;
};

// Why the port could not be opened, once QSerialPort has refused it with error kind; fallback is
// the error number to keep when the port itself says nothing better. Looks at the path and opens
// it briefly without touching its settings.
int OpenFailureError(const QString& port, QSerialPort::SerialPortError kind, int fallback);

// True when another program holds the port in exclusive mode. Root may open such a port all the
// same, and a probe sent into another program's transfer would spoil it.
bool HeldExclusively(const QString& port);

// The problem of a port whose opening failed with error (as OpenFailureError gives it).
PortProblem DiagnoseOpenFailure(const QString& port, int error);

// What separates the ports of MUEZZIN_PORTS: ':' as in PATH, ';' on Windows, where ':' follows a
// drive letter.
QChar PortListSeparator();
