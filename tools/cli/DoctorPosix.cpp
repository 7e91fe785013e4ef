// The Debian package's dependencies bring what the doctor may find missing.
#include "tools/cli/DoctorPlatform.h"

QString FontRemedy() {
    return QStringLiteral("install fonts-noto-ui-core");
}
