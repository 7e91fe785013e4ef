#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

// What udev's rules say about USB serial adapters: which ones brltty takes for braille
// displays, which ones ModemManager is kept off. Read as text, so that the files of any folder
// can be checked.

struct UsbId {
    quint16 Vendor = 0;
    quint16 Product = 0;
    bool operator==(const UsbId&) const = default;
};

// The adapters such devices come with. The udev rule installed with the tool keeps ModemManager
// off each of them; the doctor checks that the installed rule still does.
struct UsbSerialAdapter {
    UsbId Id;
    const char* Family;
};
inline constexpr std::array<UsbSerialAdapter, 11> UsbSerialAdapters = {{
    {{0x0403, 0x6001}, "FTDI"},
    {{0x0403, 0x6010}, "FTDI"},
    {{0x0403, 0x6011}, "FTDI"},
    {{0x0403, 0x6014}, "FTDI"},
    {{0x0403, 0x6015}, "FTDI"},
    {{0x1a86, 0x7523}, "CH340"},
    {{0x1a86, 0x5523}, "CH341"},
    {{0x10c4, 0xea60}, "CP210x"},
    {{0x10c4, 0xea70}, "CP210x"},
    {{0x067b, 0x2303}, "PL2303"},
    {{0x067b, 0x23a3}, "PL2303"},
}};

// "1a86:7523".
QString UsbIdText(UsbId id);

// The folders udev reads its rules from, those that win first. MUEZZIN_UDEV_RULES_DIRS, a list
// of folders separated as MUEZZIN_PORTS is, stands in for them.
QStringList UdevRuleFolders();

// The rule files udev reads from those folders: a file of an earlier folder hides the file of
// the same name in a later one. Sorted by name, as udev runs them.
QStringList UdevRuleFiles(const QStringList& folders);

// The USB ids named by the lines of a rule file (ATTRS{idVendor}=="0403" with
// ATTRS{idProduct}=="6001", alternatives separated by '|', or ENV{PRODUCT}=="403/6001/*"), only
// of the lines that also hold setting when it is given.
std::vector<UsbId> UsbIdsInRules(const QString& file, const QString& setting = {});

// The USB devices plugged in now; none where the platform does not tell.
std::vector<UsbId> PluggedUsbDevices();
