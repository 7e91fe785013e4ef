#pragma once

#include "common/Problem.h"

class QCoreApplication;

// The programs' Persian: app/translations/muezzin-config_fa.ts, built into the programs. The
// window always speaks it; the command line when its user's locale is Persian.

// Installs the translation into the application; false when it cannot be loaded.
bool InstallPersianTranslation(QCoreApplication& app);

// Whether the language of messages the environment asks for is Persian: the first of LANGUAGE,
// LC_ALL, LC_MESSAGES and LANG that is set starts with "fa".
bool PersianLocaleAsked();

// How the command line words problems: in Persian when the locale asks for it (and the
// translation is installed), otherwise in English.
Wording CommandLineWording();

// Installs the translation when the locale asks for Persian; the command-line programs call it
// once their application object exists.
void ChooseCommandLineLanguage(QCoreApplication& app);
