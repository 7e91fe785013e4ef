#include "comm/PortInfo.h"

#include <QFileInfo>
#include <QSerialPortInfo>
#include <cerrno>
#include <cstring>

namespace {

QString Field(QString text) {
    text.replace(u'\t', u' ').replace(u'\r', u' ').replace(u'\n', u' ');
    return text.trimmed();
}

QString Hex4(std::optional<quint16> value) {
    return value ? QStringLiteral("%1").arg(*value, 4, 16, QChar(u'0')) : QString();
}

QString SystemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
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
    return QStringList{Field(port.Path), Field(port.Description), Field(port.Manufacturer), usb,
                       Field(port.SerialNumber)}
        .join(u'\t');
}

QString PortProblem::Describe() const {
    const QString head = Location.isEmpty()
                             ? QStringLiteral("cannot open %1: ").arg(Port)
                             : QStringLiteral("cannot open %1 (%2): ").arg(Port, Location);
    switch (Error) {
    case EACCES:
    case EPERM:
        if (RootOnly) {
            const QString group =
                Group.isEmpty() ? QStringLiteral("a group") : u'\'' + Group + u'\'';
            return head + QStringLiteral("permission denied, and only root may open it; give it "
                                         "to %1 with a udev rule (GROUP, MODE=\"0660\") and add "
                                         "your user to that group")
                              .arg(group);
        }
        if (!Group.isEmpty()) {
            return head + QStringLiteral("permission denied; add your user to the group '%1' and "
                                         "log in again")
                              .arg(Group);
        }
        return head + SystemText(Error);
    case EBUSY:
        return head + QStringLiteral("the port is in use by another program (another "
                                     "muezzin-cli, or the window); close it and try again");
    case ENOTTY:
    case EISDIR:
        return head + QStringLiteral("it is %1not a serial port")
                          .arg(What.isEmpty() ? QString() : What + QStringLiteral(", "));
    default:
        if (InWorkingFolder) {
            return head + SystemText(Error) +
                   QStringLiteral("; the one in the working folder is ./%1").arg(Port);
        }
        return head + SystemText(Error);
    }
}
