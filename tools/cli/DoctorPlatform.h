#pragma once

#include <QString>

// What the doctor tells the user to install, in the terms of the platform's own software.

// For Qt's Windows-1256 converter, which is missing.
QString ConverterRemedy();

// For a font with the Persian letters, which no font has.
QString FontRemedy();
