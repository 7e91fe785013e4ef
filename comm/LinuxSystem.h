#pragma once

// What the Linux side of the port's checks reads from the system: the device a port name
// stands for, small files under /proc and /sys, the running processes, brltty's udev rules.

#include <QByteArray>
#include <QList>
#include <QString>

// Where QSerialPort looks for a port name: a path as it stands, a bare name under /dev.
QString PortSystemLocation(const QString& port);

// The start of a small file (a /proc or /sys entry, a lock file); empty when it cannot be read.
QByteArray ReadSmallFile(const QString& path, qint64 limit = 4096);

// The process numbers under /proc.
QList<qint64> RunningProcesses();

// The program's name, as the system lists its processes; empty when it is gone.
QString ProcessName(qint64 pid);

// The process number of a running program of that name, or 0.
qint64 RunningProgram(const QString& name);

// Whether the udev rule file is one of brltty's, which take adapters for braille displays.
bool IsBrlttyRule(const QString& file);
