#pragma once

#include <QString>

// What the doctor tells the user to install, in the terms of the platform's own software.

// For a font with the Persian letters, which no font has.
QString FontRemedy();
