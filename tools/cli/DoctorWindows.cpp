// On Windows the system brings the fonts, and the installer the Qt libraries.
#include "tools/cli/DoctorPlatform.h"

const char* FontRemedyForm() {
    return "windows";
}
