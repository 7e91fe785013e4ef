// The Debian package's dependencies bring what the doctor may find missing.
#include "tools/cli/DoctorPlatform.h"

const char* FontRemedyForm() {
    return "debian";
}
