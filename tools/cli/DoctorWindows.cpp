// On Windows the system brings the fonts, and the installer the Qt libraries.
#include "tools/cli/DoctorPlatform.h"

QString ConverterRemedy() {
    return QStringLiteral("install the tool again from its installer, which brings the Qt "
                          "libraries beside the programs");
}

QString FontRemedy() {
    return QStringLiteral("install Tahoma, or Noto Sans Arabic UI");
}
