#include "calendar/LocalTime.h"

std::tm LocalTime(std::time_t t) {
    // localtime_r need not look at the zone again: a zone set right while the window runs is
    // taken at the next tick (glibc reads /etc/localtime again only when it has changed).
    tzset();
    std::tm parts{};
    localtime_r(&t, &parts);
    parts.tm_isdst = parts.tm_isdst > 0 ? 1 : 0;
    return parts;
}
