// The system's code pages, read and never written: they are the machine's, shared by every
// program that is not Unicode, and this one is.
#include "app/CodePageCheck.h"

#include <windows.h>

std::optional<CodePages> ReadSystemCodePages() {
    return CodePages{static_cast<unsigned>(GetACP()), static_cast<unsigned>(GetOEMCP())};
}
