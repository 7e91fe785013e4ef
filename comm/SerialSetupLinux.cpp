// The system's side of a Linux set-up: ModemManager, brltty and udev, as /proc, /sys and the
// rule folders show them.
#include "comm/LinuxSystem.h"
#include "comm/PortTexts.h"
#include "comm/SerialSetup.h"
#include "comm/UdevRules.h"

#include <QDir>
#include <QFileInfo>
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
    return {subject, false, porttext::ModemManagerProbesTemplate().arg(pid).arg(missing, toolRule)};
}

SetupFinding BrlttyFinding(const QStringList& rules) {
    const QString subject = QStringLiteral("brltty");
    QStringList claims;
    for (const QString& rule : rules) {
        if (!IsBrlttyRule(rule)) {
            continue;
        }
        const QString adapters = AdaptersText(UsbIdsInRules(rule));
        if (!adapters.isEmpty()) {
            claims.append(QStringLiteral("%1 claims %2").arg(rule, adapters));
        }
    }
    if (claims.isEmpty()) {
        return {subject, true, QStringLiteral("no udev rule of brltty claims USB serial adapters")};
    }
    return {subject, false,
            porttext::BrlttyClaimsTemplate().arg(claims.join(QStringLiteral("; ")))};
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
            {subject, false,
             QStringLiteral("%1 ms, which every reply waits for: the udev rule %2 sets 1 ms when "
                            "the adapter is plugged in; install it and plug the adapter in again "
                            "(or now: echo 1 | %3)")
                 .arg(milliseconds)
                 .arg(toolRule,
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
            return {subject, false,
                    QStringLiteral("%1 does not keep ModemManager off %2 adapters: it is older "
                                   "than this tool; install this tool's rule in its place")
                        .arg(rule, missing)};
        }
        return {subject, true, QStringLiteral("installed: ") + rule};
    }
    if (!installedRule.isEmpty()) {
        return {
            subject, false,
            QStringLiteral("installed as %1, where udev does not read it: copy it to "
                           "/etc/udev/rules.d (%2) and plug the adapter in again")
                .arg(installedRule,
                     CommandAsRoot(QStringLiteral("cp %1 /etc/udev/rules.d/").arg(installedRule),
                                   ThisUsersRootAccess()))};
    }
    return {subject, false,
            QStringLiteral("%1 is not installed: it keeps ModemManager off the adapters and "
                           "lowers the FTDI latency timer; install the tool's package, or copy "
                           "packaging/%1 to /etc/udev/rules.d")
                .arg(ToolUdevRuleName)};
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
