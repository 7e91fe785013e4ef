#include "comm/PortInfo.h"

#include <QFileInfo>
#include <QSerialPortInfo>

namespace {

QString Field(QString text) {
    text.replace(u'\t', u' ').replace(u'\r', u' ').replace(u'\n', u' ');
    return text.trimmed();
}

QString Hex4(std::optional<quint16> value) {
    return value ? QStringLiteral("%1").arg(*value, 4, 16, QChar(u'0')) : QString();
}

} // namespace

std::vector<PortDetails> DetailsOfPorts(const QStringList& paths) {
    const QList<QSerialPortInfo> known = QSerialPortInfo::availablePorts();
    std::vector<PortDetails> ports;
    for (const QString& path : paths) {
        PortDetails details;
        details.Path = path;
        const QString target = QFileInfo(path).canonicalFilePath();
        for (const QSerialPortInfo& info : known) {
            const QString location = info.systemLocation();
            const bool same = location == path || info.portName() == path ||
                              (!target.isEmpty() && location == target);
            if (!same) {
                continue;
            }
            details.Description = info.description();
            details.Manufacturer = info.manufacturer();
            if (info.hasVendorIdentifier()) {
                details.VendorId = info.vendorIdentifier();
            }
            if (info.hasProductIdentifier()) {
                details.ProductId = info.productIdentifier();
            }
            details.SerialNumber = info.serialNumber();
            break;
        }
        ports.push_back(std::move(details));
    }
    return ports;
}

QString PortDetailsLine(const PortDetails& port) {
    const QString usb = port.VendorId || port.ProductId
                            ? Hex4(port.VendorId) + u':' + Hex4(port.ProductId)
                            : QString();
    return QStringList{Field(port.Path),         Field(port.Description),
                       Field(port.Manufacturer), usb,
                       Field(port.SerialNumber), Field(port.Problem)}
        .join(u'\t');
}
