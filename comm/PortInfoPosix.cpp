#include "comm/PortInfo.h"

QChar PortListSeparator() {
    return u':';
}
