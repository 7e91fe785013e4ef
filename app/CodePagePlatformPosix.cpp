// A Unix system has no code pages of its own: the check has nothing to read.
#include "app/CodePageCheck.h"

std::optional<CodePages> ReadSystemCodePages() {
    return std::nullopt;
}
