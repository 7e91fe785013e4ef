#pragma once

#include "tools/cli/CommandSupport.h"

#include <QCommandLineParser>

// The commands' bodies, each given its own options as parsed and the global options; each
// returns the exit status, and a UserError it throws is the command's error.

// CommandsSetup.cpp: what is done without a device: the set-up's checks, the ports, the
// counties, the PC clock, the city database, the help.
int RunDoctorCommand(const QCommandLineParser& parser, const GlobalOptions& global);
int RunPorts(const QCommandLineParser& parser, const GlobalOptions& global);
int RunCounties(const QCommandLineParser& parser, const GlobalOptions& global);
int RunClock(const QCommandLineParser& parser, const GlobalOptions& global);
int RunImportCities(const QCommandLineParser& parser, const GlobalOptions& global);
// help [COMMAND]: what --help shows, for those who type the word.
int RunHelp(const QCommandLineParser& parser, const GlobalOptions& global);
int RunExportCities(const QCommandLineParser& parser, const GlobalOptions& global);

// CommandsDevice.cpp: the device's search, clock, settings and firmware.
int RunFind(const QCommandLineParser& parser, const GlobalOptions& global);
int RunSetClock(const QCommandLineParser& parser, const GlobalOptions& global);
int RunReadSettings(const QCommandLineParser& parser, const GlobalOptions& global);
int RunUpgradeCommand(const QCommandLineParser& parser, const GlobalOptions& global);

// CommandsApply.cpp: the settings, the timetables and the key table written into the device.
int RunApply(const QCommandLineParser& parser, const GlobalOptions& global);

// CommandsTimetable.cpp: a county's timetable of one year, as the device gets it.
int RunTimetable(const QCommandLineParser& parser, const GlobalOptions& global);
