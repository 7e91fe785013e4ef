// The Debian package's dependencies bring what the doctor may find missing.
#include "tools/cli/DoctorPlatform.h"

QString ConverterRemedy() {
    return QStringLiteral("install Debian's libqt6core6 with libicu72");
}

QString FontRemedy() {
    return QStringLiteral("install fonts-noto-ui-core");
}
