#include "comm/PortInfo.h"

#include <QFileInfo>
#include <QSerialPortInfo>

namespace {

QString Field(QString text) {
    text.replace(u'\t', u' ').replace(u'\r', u' ').replace(u'\n', u' ');
    return text.trimmed();
}

} // namespace

QString HexId(std::optional<quint16> id) {
    return id ? QStringLiteral("%1").arg(*id, 4, 16, QChar(u'0')) : QString();
}

QStringList SplitPortList(const QString& value) {
    const QChar separator = PortListSeparator();
    QStringList ports;
    QString name;
    const auto keep = [&] {
        if (!name.trimmed().isEmpty()) {
            ports.append(name.trimmed());
        }
        name.clear();
    };
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) == u'\\' && i + 1 < value.size() && value.at(i + 1) == separator) {
            name += separator; // "\:" in a /dev/serial/by-path name
            ++i;
        } else if (value.at(i) == separator) {
            keep();
        } else {
            name += value.at(i);
        }
    }
    keep();
    return ports;
}

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
                            ? HexId(port.VendorId) + u':' + HexId(port.ProductId)
                            : QString();
    return QStringList{Field(port.Path),         Field(port.Description),
                       Field(port.Manufacturer), usb,
                       Field(port.SerialNumber), Field(port.Problem)}
        .join(u'\t');
}
