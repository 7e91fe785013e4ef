#pragma once

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
    QString Problem; // why it would not open now, with the remedy; empty when it would
};

// The details of each path, in order. A path is matched to the platform's ports by its name, its
// path or the device it leads to, so /dev/serial/by-id links get their port's details.
std::vector<PortDetails> DetailsOfPorts(const QStringList& paths);

// One line for a listing: path, description, manufacturer, USB "vendor:product" in hexadecimal
// serial number and the port's problem, separated by tabs, empty where unknown or fine. Tabs and
// line breaks inside a field become blanks, so that the columns hold.
QString PortDetailsLine(const PortDetails& port);

// A USB vendor or product id as four hexadecimal digits ("1a86"); empty when unknown.
QString HexId(std::optional<quint16> id);

// What separates the ports of MUEZZIN_PORTS: ':' as in PATH, ';' on Windows, where ':' follows a
// drive letter.
QChar PortListSeparator();

// The names of such a list, trimmed, empty ones left out. A separator with a backslash before it
// belongs to the name ("/dev/serial/by-path/pci-0000\:00\:14.0-usb-0\:1\:1.0-port0"); any
// other backslash stays as it is, as Windows' names hold them.
QStringList SplitPortList(const QString& value);
