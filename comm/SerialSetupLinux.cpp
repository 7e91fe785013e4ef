// The system's side of a Linux set-up: ModemManager, brltty and udev, as /proc, /sys and the
// rule folders show them.
#include "comm/LinuxSystem.h"
#include "comm/PortTexts.h"
#include "comm/SerialSetup.h"
#include "comm/UdevRules.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>

namespace {

// "CH340 (1a86:7523), CP210x (10c4:ea60)": the adapters among ids.
QString AdaptersText(const std::vector<UsbId>& ids) {
    QStringList names;
    for (const UsbSerialAdapter& adapter : UsbSerialAdapters) {
        if (std::find(ids.begin(), ids.end(), adapter.Id) != ids.end()) {
            names.append(QStringLiteral("%1 (%2)").arg(QLatin1String(adapter.Family),
                                                       UsbIdText(adapter.Id)));
        }
    }
    return names.join(QStringLiteral(", "));
}

// The families of the adapters missing from ids, each named once.
QString MissingFamilies(const std::vector<UsbId>& ids) {
    QStringList families;
    for (const UsbSerialAdapter& adapter : UsbSerialAdapters) {
        const QString family = QLatin1String(adapter.Family);
        if (std::find(ids.begin(), ids.end(), adapter.Id) == ids.end() &&
            !families.contains(family)) {
            families.append(family);
        }
    }
    return families.join(QStringLiteral(", "));
}

SetupFinding ModemManagerFinding(const QStringList& rules, const QString& toolRule) {
    const QString subject = QStringLiteral("ModemManager");
    const qint64 pid = RunningProgram(subject);
    if (pid == 0) {
        return {subject, true, QStringLiteral("not running")};
    }
    std::vector<UsbId> ignored;
    for (const QString& rule : rules) {
        const std::vector<UsbId> ids = UsbIdsInRules(rule, QStringLiteral("ID_MM_DEVICE_IGNORE"));
        ignored.insert(ignored.end(), ids.begin(), ids.end());
    }
    const QString missing = MissingFamilies(ignored);
    if (missing.isEmpty()) {
        return {
            subject, true,
            QStringLiteral("running (PID %1); udev keeps it off the USB serial adapters").arg(pid)};
    }
    return {subject, false, {}, porttext::ModemManagerProbes(pid, missing, toolRule)};
}

SetupFinding BrlttyFinding(const QStringList& rules) {
    const QString subject = QStringLiteral("brltty");
    QJsonArray claims;
    for (const QString& rule : rules) {
        if (!IsBrlttyRule(rule)) {
            continue;
        }
        const QString adapters = AdaptersText(UsbIdsInRules(rule));
        if (!adapters.isEmpty()) {
            claims.append(QJsonObject{{QStringLiteral("rule"), rule},
                                      {QStringLiteral("adapters"), adapters}});
        }
    }
    if (claims.isEmpty()) {
        return {subject, true, QStringLiteral("no udev rule of brltty claims USB serial adapters")};
    }
    return {subject, false, {}, porttext::BrlttyClaims(claims)};
}

// The latency timer of each FTDI adapter plugged in; its driver alone has one.
std::vector<SetupFinding> LatencyFindings(const QString& toolRule) {
    std::vector<SetupFinding> findings;
    const QDir ttys(QStringLiteral("/sys/class/tty"));
    for (const QString& tty : ttys.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)) {
        const QString timer = ttys.filePath(tty + QStringLiteral("/device/latency_timer"));
        bool ok = false;
        const int milliseconds = ReadSmallFile(timer).trimmed().toInt(&ok);
        if (!ok) {
            continue;
        }
        const QString subject = QStringLiteral("latency timer of /dev/") + tty;
        if (milliseconds <= 1) {
            findings.push_back({subject, true, QStringLiteral("%1 ms").arg(milliseconds)});
            continue;
        }
        findings.push_back(
            {subject,
             false,
             {},
             Problem(QStringLiteral("latency-timer"))
                 .Set(QStringLiteral("port"), QStringLiteral("/dev/") + tty)
                 .Set(QStringLiteral("milliseconds"), milliseconds)
                 .Set(QStringLiteral("rule"), toolRule)
                 .Set(QStringLiteral("command"),
                      CommandAsRoot(QStringLiteral("tee ") + timer, ThisUsersRootAccess()))});
    }
    if (findings.empty()) {
        findings.push_back({QStringLiteral("FTDI latency timers"), true,
                            QStringLiteral("no FTDI adapter plugged in")});
    }
    return findings;
}

SetupFinding ToolRuleFinding(const QStringList& rules, const QString& installedRule) {
    const QString subject = QStringLiteral("udev rule");
    for (const QString& rule : rules) {
        if (QFileInfo(rule).fileName() != ToolUdevRuleName) {
            continue;
        }
        const QString missing =
            MissingFamilies(UsbIdsInRules(rule, QStringLiteral("ID_MM_DEVICE_IGNORE")));
        if (!missing.isEmpty()) {
            return {subject,
                    false,
                    {},
                    Problem(QStringLiteral("udev-rule"), QStringLiteral("old"))
                        .Set(QStringLiteral("rule"), rule)
                        .Set(QStringLiteral("families"), missing)};
        }
        return {subject, true, QStringLiteral("installed: ") + rule};
    }
    if (!installedRule.isEmpty()) {
        return {
            subject,
            false,
            {},
            Problem(QStringLiteral("udev-rule"), QStringLiteral("unread"))
                .Set(QStringLiteral("rule"), installedRule)
                .Set(QStringLiteral("command"),
                     CommandAsRoot(QStringLiteral("cp %1 /etc/udev/rules.d/").arg(installedRule),
                                   ThisUsersRootAccess()))};
    }
    return {subject,
            false,
            {},
            Problem(QStringLiteral("udev-rule"), QStringLiteral("missing"))
                .Set(QStringLiteral("rule"), ToolUdevRuleName)};
}

} // namespace

std::vector<SetupFinding> CheckSystemSerialSetup(const QString& installedRule) {
    const QStringList rules = UdevRuleFiles(UdevRuleFolders());
    const QString toolRule = installedRule.isEmpty() ? ToolUdevRuleName : installedRule;
    std::vector<SetupFinding> findings = {ToolRuleFinding(rules, installedRule),
                                          ModemManagerFinding(rules, toolRule),
                                          BrlttyFinding(rules)};
    const std::vector<SetupFinding> latency = LatencyFindings(toolRule);
    findings.insert(findings.end(), latency.begin(), latency.end());
    return findings;
}

QString InstalledUdevRule(const QString& programFolder, const QString& rulesFolder) {
    const QString folder = QDir(programFolder + QStringLiteral("/..")).filePath(rulesFolder);
    const QString rule = QDir(folder).filePath(ToolUdevRuleName);
    return QFileInfo::exists(rule) ? QFileInfo(rule).canonicalFilePath() : QString();
}
