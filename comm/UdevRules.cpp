#include "comm/UdevRules.h"

#include "comm/PortInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QtGlobal>
#include <map>

namespace {

// A rule file is a few kilobytes; a larger one is not read past this.
constexpr qint64 RuleFileLimit = 1 << 20;

std::vector<quint16> HexValues(const QString& alternatives) {
    std::vector<quint16> values;
    for (const QString& value : alternatives.split(u'|', Qt::SkipEmptyParts)) {
        bool ok = false;
        const uint number = value.trimmed().toUInt(&ok, 16);
        if (ok && number <= 0xFFFF) {
            values.push_back(static_cast<quint16>(number));
        }
    }
    return values;
}

} // namespace

QString UsbIdText(UsbId id) {
    return HexId(id.Vendor) + u':' + HexId(id.Product);
}

QStringList UdevRuleFolders() {
    const QString given = qEnvironmentVariable("MUEZZIN_UDEV_RULES_DIRS");
    if (!given.isEmpty()) {
        return SplitPortList(given);
    }
    return {QStringLiteral("/etc/udev/rules.d"), QStringLiteral("/run/udev/rules.d"),
            QStringLiteral("/usr/local/lib/udev/rules.d"), QStringLiteral("/usr/lib/udev/rules.d"),
            QStringLiteral("/lib/udev/rules.d")};
}

QStringList UdevRuleFiles(const QStringList& folders) {
    std::map<QString, QString> byName;
    QSet<QString> seenFolders; // /lib is /usr/lib on a merged system
    for (const QString& folder : folders) {
        const QString real = QFileInfo(folder).canonicalFilePath();
        if (real.isEmpty() || seenFolders.contains(real)) {
            continue;
        }
        seenFolders.insert(real);
        const QDir dir(folder);
        for (const QString& name :
             dir.entryList({QStringLiteral("*.rules")}, QDir::Files | QDir::Readable)) {
            byName.try_emplace(name, dir.filePath(name));
        }
    }
    QStringList files;
    for (const auto& entry : byName) {
        files.append(entry.second);
    }
    return files;
}

std::vector<UsbId> UsbIdsInRules(const QString& file, const QString& setting) {
    static const QRegularExpression vendorKey(
        QStringLiteral(R"re(ATTRS\{idVendor\}=="([^"]*)")re"));
    static const QRegularExpression productKey(
        QStringLiteral(R"re(ATTRS\{idProduct\}=="([^"]*)")re"));
    static const QRegularExpression productEnv(
        QStringLiteral(R"re(ENV\{PRODUCT\}=="([0-9A-Fa-f]+)/([0-9A-Fa-f]+)/)re"));
    QFile rules(file);
    if (!rules.open(QIODevice::ReadOnly)) {
        return {};
    }
    std::vector<UsbId> ids;
    const QStringList lines = QString::fromUtf8(rules.read(RuleFileLimit)).split(u'\n');
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'#') || (!setting.isEmpty() && !line.contains(setting))) {
            continue;
        }
        if (const auto product = productEnv.match(line); product.hasMatch()) {
            const auto vendors = HexValues(product.captured(1));
            const auto products = HexValues(product.captured(2));
            if (!vendors.empty() && !products.empty()) {
                ids.push_back({vendors.front(), products.front()});
            }
            continue;
        }
        const auto vendor = vendorKey.match(line);
        const auto product = productKey.match(line);
        if (!vendor.hasMatch() || !product.hasMatch()) {
            continue;
        }
        for (const quint16 v : HexValues(vendor.captured(1))) {
            for (const quint16 p : HexValues(product.captured(1))) {
                ids.push_back({v, p});
            }
        }
    }
    return ids;
}
