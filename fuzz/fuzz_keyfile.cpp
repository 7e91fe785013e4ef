// The key file: any bytes make a key table; a slot is filled only from its own line.
#include "device/KeyTable.h"
#include "fuzz/FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const KeyTable table = ParseKeyTable(bytes);
    // Lines beyond the input's line count leave their slots unused.
    const qsizetype lines = bytes.count('\n') + 1;
    for (qsizetype slot = lines; slot < KeySlotCount; ++slot) {
        for (std::size_t k = 0; k < KeySlotSize; ++k) {
            Require(table[static_cast<std::size_t>(slot) * KeySlotSize + k] == 0xFF,
                    "a slot without a line stays unused");
        }
    }
    return 0;
}
