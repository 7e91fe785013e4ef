#pragma once

#include <QString>
#include <QStringList>

// One device may be reachable under several names: a /dev/serial/by-id or by-path link and the
// ttyUSB it leads to, or COM3 and \\.\com3. Two names of one device must not be served as two
// devices, whose probes would collide so that neither answers.

// What the port name leads to: on Linux the device file after every link (a bare name stands
// for one under /dev, as the serial port takes it), on Windows the COM name in one case. A name
// that leads nowhere stands for itself.
QString PortIdentity(const QString& port);

// Each device once, where it first stands in ports, under the first of its names in given (the
// names the user gave, in their order), else under its first name in ports.
QStringList DistinctPorts(const QStringList& ports, const QStringList& given = {});
