#include "tools/cli/Results.h"

#include "common/StopSignals.h"
#include "device/DeviceTexts.h"
#include "device/UpgradeTexts.h"

#include <QStringList>

namespace {

// Where an upgrade cut short leaves the device, and the remedy.
const QString StageLeftText = QStringLiteral(
    "the device is left in its upgrade stage: run upgrade again, which greets it there");

} // namespace

QString BlockOutcomeText(BlockOutcome outcome) {
    switch (outcome) {
    case BlockOutcome::Confirmed:
        return QStringLiteral("confirmed");
    case BlockOutcome::Differs:
        return QStringLiteral("echo differs");
    case BlockOutcome::ShortReply:
        return QStringLiteral("short reply");
    case BlockOutcome::WrongHeader:
        return QStringLiteral("wrong header");
    case BlockOutcome::NoReply:
        return QStringLiteral("no reply");
    case BlockOutcome::NotSent:
        break;
    }
    return QStringLiteral("not sent");
}

QString DisplayGlyphsText(const StoredSettings& stored) {
    QStringList glyphs;
    for (const std::uint8_t code : stored.GlyphCodes) {
        glyphs.append(QStringLiteral("%1").arg(code, 2, 16, QChar(u'0')).toUpper());
    }
    return glyphs.join(u' ');
}

QString IncompleteApplyText(int confirmed) {
    return QStringLiteral("%1 of %2 blocks confirmed; the configuration is incomplete: run apply "
                          "again")
        .arg(confirmed)
        .arg(UploadBlockCount);
}

QString UpgradeStageLeftText(int pagesConfirmed) {
    return QStringLiteral("%1 of %2 pages confirmed; ").arg(pagesConfirmed).arg(FirmwarePageCount) +
           StageLeftText;
}

QString StoppedBeforeCommandText(int signal) {
    return QStringLiteral("stopped by %1 before the device was changed")
        .arg(StopSignalName(signal));
}

QString ClockNotSetStoppedText() {
    return QStringLiteral("the device clock was not set: stopped before the clock frame was sent");
}

QString UploadResultText(const UploadResult& result) {
    QString text = result.Interrupted() ? IncompleteApplyText(result.BlocksConfirmed)
                                        : QStringLiteral("%1 of %2 blocks confirmed")
                                              .arg(result.BlocksConfirmed)
                                              .arg(UploadBlockCount);
    if (result.Unconfirmed.empty()) {
        return text;
    }
    QStringList parts;
    const auto& blocks = result.Unconfirmed;
    for (std::size_t first = 0; first < blocks.size();) {
        std::size_t last = first;
        while (last + 1 < blocks.size() && blocks[last + 1].Outcome == blocks[first].Outcome &&
               blocks[last + 1].Address == blocks[last].Address + 128) {
            ++last;
        }
        const QString where = first == last ? BlockAddressText(blocks[first].Address)
                                            : BlockAddressText(blocks[first].Address) + u'-' +
                                                  BlockAddressText(blocks[last].Address);
        parts.append(where + u' ' + BlockOutcomeText(blocks[first].Outcome));
        first = last + 1;
    }
    return text + QStringLiteral("; not confirmed: ") + parts.join(QStringLiteral(", "));
}

QString UpgradeResultText(const UpgradeResult& result) {
    const QString text = QStringLiteral("%1 of %2 pages confirmed, %3")
                             .arg(result.PagesConfirmed)
                             .arg(FirmwarePageCount)
                             .arg(result.Completed  ? FinishedStatusText
                                  : result.LinkLost ? LinkLostStatusText
                                                    : FailedStatusText);
    if (!result.Interrupted()) {
        return text;
    }
    return text + QStringLiteral("; ") + StageLeftText;
}
