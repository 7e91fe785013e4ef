#pragma once

#include <QFont>

// How the programs draw Persian: the window with its font, the doctor checking that it can.
// Needs a QGuiApplication.

// Tahoma where the system has it; else a face that shapes Persian well.
QFont WindowFont();

// Whether the font, with the fall-back fonts Qt finds for it, has the Persian letters.
bool FontCoversPersian(const QFont& font);
