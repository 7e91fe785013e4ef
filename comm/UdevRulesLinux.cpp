#include "comm/LinuxSystem.h"
#include "comm/UdevRules.h"

#include <QDir>

std::vector<UsbId> PluggedUsbDevices() {
    std::vector<UsbId> devices;
    const QDir usb(QStringLiteral("/sys/bus/usb/devices"));
    for (const QString& entry : usb.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool vendorOk = false;
        bool productOk = false;
        const uint vendor = ReadSmallFile(usb.filePath(entry + QStringLiteral("/idVendor")))
                                .trimmed()
                                .toUInt(&vendorOk, 16);
        const uint product = ReadSmallFile(usb.filePath(entry + QStringLiteral("/idProduct")))
                                 .trimmed()
                                 .toUInt(&productOk, 16);
        if (vendorOk && productOk) {
            devices.push_back({static_cast<quint16>(vendor), static_cast<quint16>(product)});
        }
    }
    return devices;
}
