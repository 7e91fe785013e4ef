#include "tools/cli/Results.h"

#include "common/StopSignals.h"
#include "common/Translation.h"
#include "device/DeviceTexts.h"
#include "device/UpgradeTexts.h"

#include <QStringList>

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

Problem IncompleteApply(int confirmed) {
    return Problem(QStringLiteral("apply-incomplete"))
        .Set(QStringLiteral("confirmed"), confirmed)
        .Set(QStringLiteral("total"), UploadBlockCount);
}

Problem UpgradeStageLeft(int pagesConfirmed) {
    return Problem(QStringLiteral("upgrade-stage-left"))
        .Set(QStringLiteral("confirmed"), pagesConfirmed)
        .Set(QStringLiteral("total"), FirmwarePageCount);
}

Problem Stopped(int signal, const QString& form) {
    return Problem(QStringLiteral("stopped"), form)
        .Set(QStringLiteral("signal"), StopSignalName(signal))
        .Set(QStringLiteral("signal_number"), signal);
}

QString UploadResultText(const UploadResult& result) {
    QString text = result.Interrupted()
                       ? ProblemText(IncompleteApply(result.BlocksConfirmed), CommandLineWording())
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
    // The count is said already: the stage's words alone follow the status.
    Problem stage = UpgradeStageLeft(result.PagesConfirmed);
    stage.Form = QStringLiteral("stage");
    return text + QStringLiteral("; ") + ProblemText(stage, CommandLineWording());
}
