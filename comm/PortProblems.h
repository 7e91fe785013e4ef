#pragma once

#include <QSerialPort>
#include <QString>
#include <vector>

// Why a port cannot be opened, in words, with what the user does about it. The window, the
// command line and the doctor all say a port's problem through Describe(), so that an operator
// meets the same reason and remedy wherever the port fails.

// Another process that has a port open, as far as this user may look into other processes.
struct PortHolder {
    QString Name; // the program's name, as the system lists its processes
    qint64 Pid = 0;
};

// A port that could not be opened, and why.
struct PortProblem {
    QString Port;
    // Set by the search: the port's first failure since it last opened, whose box shows now.
    bool First = false;
    // The system's error number that says it best: EBUSY when another program holds the port,
    // ENOTTY or EISDIR when the path is no serial port, EACCES when the user may not open it,
    // ENOENT when it is gone.
    int Error = 0;
    // On a permission error: the group that owns the device and may read and write it, else
    // the system's serial group, which a udev rule can give the device to.
    QString Group;
    bool RootOnly = false; // on a permission error: neither its group nor others may open it
    QString User;          // the user's login name, when the system knows it
    // The group database has the user in the group, this login session does not: the user was
    // added after logging in.
    bool LoginPredatesGroup = false;
    QString What; // when it is no serial port: what it is ("a folder", "a FIFO", ...)
    // The device a bare name stands for ("ttyUSB0" is /dev/ttyUSB0); empty for a path.
    QString Location;
    bool InWorkingFolder = false;    // the bare name is also a file of the working folder
    std::vector<PortHolder> Holders; // when in use: the programs that have it open
    // When in use through a lock file whose program no longer runs and which this user may not
    // remove: the file, that program's process number and the file's owner.
    QString StaleLock;
    qint64 StaleLockPid = 0;
    QString StaleLockOwner;
    // When gone: a USB serial adapter plugged in ("1a86:7523") that brltty's udev rule (the
    // file) takes for a braille display, so that no serial port is made for it.
    QString ClaimedAdapter;
    QString ClaimingRule;

    // "cannot open PORT: reason; remedy", one line.
    QString Describe() const;
};

// Why the port could not be opened, once QSerialPort has refused it with error kind; fallback is
// the error number to keep when the port itself says nothing better. Looks at the path and opens
// it briefly without touching its settings.
int OpenFailureError(const QString& port, QSerialPort::SerialPortError kind, int fallback);

// True when another program holds the port in exclusive mode. Root may open such a port all the
// same, and a probe sent into another program's transfer would spoil it.
bool HeldExclusively(const QString& port);

// The problem of a port whose opening failed with error (as OpenFailureError gives it): the
// group and the user's membership, the programs holding it, a stale lock, an adapter claimed.
PortProblem DiagnoseOpenFailure(const QString& port, int error);

// The problem the port would meet when opened now, an empty Error when it would open: told from
// what the system says of it (the node and its permissions, the lock files, /proc) without
// opening it, since an open moves the modem lines and can reset what is attached. For listings
// and the doctor. Where the system tells nothing without an open (Windows), only a port that is
// gone is a problem.
PortProblem CheckPort(const QString& port);

// The running process, not this one, that the port's lock file names; 0 when none does. The
// serial port reads its lock files its own way: a lock without the name of the program that
// made it is taken for stale even while that program runs.
qint64 LockingProcess(const QString& port);

// The other processes that have the port open. The program on the other side of a
// pseudo-terminal (a simulator) is its device, not a rival: the one descriptor it keeps of the
// port does not count.
std::vector<PortHolder> PortHolders(const QString& port);

// "ModemManager (PID 812), minicom (PID 4410)".
QString HoldersText(const std::vector<PortHolder>& holders);

// A port that opens, but that other programs have open too: "also open in ..., which would take
// the device's replies; close it before a run".
QString AlsoOpenText(const std::vector<PortHolder>& holders);

// The lock file that QSerialPort keeps for the port while it is open; empty where the platform
// keeps none.
QString PortLockFile(const QString& port);

// Removes the port's lock file when the program that made it no longer runs, which the serial
// port would otherwise take for a program in use. Returns what was done, in words, or nothing
// when there was no such lock or it could not be removed.
QString TakeOverStaleLock(const QString& port);
