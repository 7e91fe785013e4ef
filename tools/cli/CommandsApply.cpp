// apply: the settings, ten years of timetables and the key table written into the device.
#include "calendar/CalendarClock.h"
#include "common/TextFiles.h"
#include "device/Profile.h"
#include "device/Upload.h"
#include "location/CityDatabase.h"
#include "location/LocationSelection.h"
#include "tools/cli/Commands.h"
#include "tools/cli/CountyNames.h"
#include "tools/cli/Results.h"

namespace {

int UploadExitStatus(const UploadResult& result) {
    if (!result.Started) {
        return exitcode::InputError;
    }
    return result.Complete() ? exitcode::Ok : exitcode::Failed;
}

} // namespace

int RunApply(const QCommandLineParser& parser, const GlobalOptions& global) {
    const QString folder = StartFolderPath(global);
    Console console = CommandConsole(global, folder + QStringLiteral("log.txt"));
    Profile profile;
    if (parser.isSet(QStringLiteral("profile"))) {
        profile = ReadProfile(parser.value(QStringLiteral("profile")));
    }
    if (parser.isSet(QStringLiteral("county"))) {
        profile.County = CountyOfValue(folder, parser.value(QStringLiteral("county")), console);
    }
    if (!profile.County) {
        return RefuseCommand(global, Problem(QStringLiteral("no-county")));
    }

    // The county is chosen as the three boxes of the window choose it.
    const QStringList provinces = ReadLines1256(folder + ProvinceFileName);
    CityDatabase db(CityDatabase::PathIn(folder));
    LocationSelection location;
    const CountySelection chosen =
        SelectCountyByIndex(location, db, *profile.County, folder, provinces);
    if (chosen.Choice.Approximate && !(profile.HasLongitude && profile.HasLatitude)) {
        console.Say(ApproximateCoordinates(*profile.County));
    }
    SettingsFields fields = profile.Fields;
    if (!profile.HasLongitude) {
        fields.Longitude = chosen.Choice.LongitudeText;
    }
    if (!profile.HasLatitude) {
        fields.Latitude = chosen.Choice.LatitudeText;
    }
    UploadInput input = UploadInputOf(fields, location, folder);
    input.Resend = profile.Resend && !parser.isSet(QStringLiteral("no-resend"));

    // Read once for every device. Bad input is reported before any port is touched, with the
    // profile key that holds it.
    const PreparedUpload upload = PrepareUpload(input, ClockNow().SolarYear);
    try {
        upload.ThrowInputError();
    } catch (const SettingsError& error) {
        // The field is named by the profile's key, which the command line knows it by.
        Problem problem = error.Reported();
        throw UserError(
            problem.Set(QStringLiteral("key"), TextOrNull(ProfileKeyOfControl(error.Control()))));
    }

    return ServeDevices(global, console, [&](DeviceContext& device) {
        const UploadResult result = RunUpload(device.Link, device.Host, upload);
        // A year that could not be had has said so in the log, with what makes it.
        Problem incomplete = result.YearGap;
        if (result.Interrupted()) {
            incomplete = IncompleteApply(result.BlocksConfirmed);
            device.Host.AppendProblemLine(incomplete);
        }
        const QString text = UploadResultText(result);
        // Refused before a block was sent, the host has said why.
        return DeviceOutcome{.Status = UploadExitStatus(result),
                             .Result = text,
                             .Alone = result.Started ? text.toUtf8() : QByteArray(),
                             .Facts = UploadJson(result),
                             .Reported = incomplete};
    });
}
