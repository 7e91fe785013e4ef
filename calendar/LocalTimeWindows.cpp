#include "calendar/LocalTime.h"

std::tm LocalTime(std::time_t t) {
    std::tm parts{};
    localtime_s(&parts, &t);
    return parts;
}
