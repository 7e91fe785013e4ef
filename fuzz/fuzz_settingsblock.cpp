// The settings-block decoder: any 128 bytes decode; fields decoded from a block build a block
// that decodes to the same fields.
#include "device/SettingsBlock.h"
#include "fuzz/FuzzTarget.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SettingsBlock block{};
    std::copy_n(data, std::min(size, block.size()), block.begin());
    const StoredSettings stored = DecodeSettingsBlock(block);
    SettingsBlock rebuilt{};
    try {
        rebuilt = BuildSettingsBlock(stored.Fields, stored.CountyIndex, stored.ProvinceIndex,
                                     stored.GlyphCodes, 1404);
    } catch (const SettingsError&) {
        return 0; // a block no window could have built, such as a level above 32
    }
    const StoredSettings again = DecodeSettingsBlock(rebuilt);
    Require(again.Fields == stored.Fields, "fields survive a build and a decode");
    Require(again.CountyIndex == stored.CountyIndex, "the county survives");
    Require(again.ProvinceIndex == stored.ProvinceIndex, "the province survives");
    Require(again.GlyphCodes == stored.GlyphCodes, "the display name survives");
    return 0;
}
