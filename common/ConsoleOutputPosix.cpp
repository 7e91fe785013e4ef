#include "common/ConsoleOutput.h"

void PrepareConsoleOutput() {}

void RestoreConsoleOutput() {}
