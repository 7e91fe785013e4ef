#include "tools/cli/Results.h"

#include "device/UpgradeTexts.h"

#include <QStringList>

namespace {

QString OutcomeText(BlockOutcome outcome) {
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

QString AddressText(int address) {
    return QStringLiteral("0x") + QStringLiteral("%1").arg(address, 4, 16, QChar(u'0')).toUpper();
}

} // namespace

QString UploadResultText(const UploadResult& result) {
    QString text = QStringLiteral("%1 of %2 blocks confirmed")
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
        const QString where = first == last ? AddressText(blocks[first].Address)
                                            : AddressText(blocks[first].Address) + u'-' +
                                                  AddressText(blocks[last].Address);
        parts.append(where + u' ' + OutcomeText(blocks[first].Outcome));
        first = last + 1;
    }
    return text + QStringLiteral("; not confirmed: ") + parts.join(QStringLiteral(", "));
}

QString UpgradeResultText(const UpgradeResult& result) {
    return QStringLiteral("%1 of %2 pages confirmed, %3")
        .arg(result.PagesConfirmed)
        .arg(FirmwarePageCount)
        .arg(result.Completed  ? FinishedStatusText
             : result.LinkLost ? LinkLostStatusText
                               : FailedStatusText);
}
