// The profile reader: any bytes are read or refused with a message; a profile it reads, written
// back as a profile, reads as the same fields.
#include "device/Profile.h"
#include "fuzz/FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Profile profile;
    try {
        profile = ParseProfile(bytes, QStringLiteral("fuzz.ini"));
    } catch (const UserError& error) {
        Require(!error.Text().isEmpty(), "a refusal says why");
        return 0;
    }
    const int county = profile.County.value_or(0);
    Profile again;
    try {
        again = ParseProfile(ProfileText(profile.Fields, county).toUtf8(), QStringLiteral("again"));
    } catch (const UserError&) {
        Require(false, "a profile written from read fields reads back");
    }
    Require(again.Fields == profile.Fields, "the fields survive a write and a read");
    Require(again.County == county, "the county survives a write and a read");
    return 0;
}
