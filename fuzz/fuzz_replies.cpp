// The reply handling of every device command: whatever the device sends, however many bytes
// arrive and however the transfer ended, each judge decides without reading past the reply.
// The first byte chooses the command, the next two give the count of bytes read (0 to 512),
// the fourth how the transfer ended; the rest is the reply and, beyond 512 bytes, the frame
// that was sent (else the frame sent is the reply itself, so that echoes can match).
#include "comm/Discovery.h"
#include "device/ReadBack.h"
#include "device/Upgrade.h"
#include "device/Upload.h"
#include "fuzz/FuzzTarget.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    CommLink link;
    const std::uint8_t command = data[0];
    // The count may disagree with the bytes that look like a reply: the rest of the buffer is
    // zero, as ReceiveReply leaves it.
    link.BytesRead = static_cast<std::uint32_t>((data[1] << 8 | data[2]) % (frame::BufferSize + 1));
    link.IoStatus = (data[3] & 1) ? iostatus::Failed : 0;
    const std::size_t rest = size - 4;
    const std::size_t reply = std::min(rest, link.RxBuffer.size());
    std::copy_n(data + 4, reply, link.RxBuffer.begin());
    const std::size_t sent = std::min(rest - reply, link.TxFrame.size());
    std::copy_n(data + 4 + reply, sent, link.TxFrame.begin());
    if (sent == 0) {
        link.TxFrame = link.RxBuffer;
    }
    SilentHost host;
    switch (command % 7) {
    case 0:
        IsProbeReply(link);
        break;
    case 1:
        if (IsVersionReply(link)) {
            Require(VersionTextOf(link.RxBuffer).size() <= 14, "a version text of 14 at most");
        }
        break;
    case 2:
        if (const auto block = SettingsOfReply(link)) {
            Require(link.BytesRead == frame::BlockFrameSize, "only a whole reply has settings");
            DecodeSettingsBlock(*block);
        }
        break;
    case 3: {
        const BlockOutcome outcome = JudgeBlockReply(link, host);
        Require(outcome != BlockOutcome::Confirmed || link.BytesRead == frame::BlockFrameSize,
                "only a whole echo confirms a block");
        break;
    }
    case 4:
        StageEntered(link);
        break;
    case 5:
        MemoryErased(link);
        break;
    default:
        Require(!EchoMatches(link) || link.BytesRead == frame::PageFrameSize,
                "only a whole echo confirms a page");
        break;
    }
    return 0;
}
