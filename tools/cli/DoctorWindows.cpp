// On Windows the system brings the fonts, and the installer the Qt libraries.
#include "tools/cli/DoctorPlatform.h"

QString FontRemedy() {
    return QStringLiteral("install Tahoma, or Noto Sans Arabic UI");
}
