#pragma once

#include "location/StartFolder.h"
#include "tools/cli/Console.h"
#include "tools/cli/Devices.h"
#include "tools/cli/JsonReport.h"

#include <QString>
#include <QStringList>

// What every command is given besides its own options: the global options, which stand before
// the command's name or after it.
struct GlobalOptions {
    QString Port;          // the first port given; empty: search as the window does
    QStringList Ports;     // every port given
    bool AllPorts = false; // every candidate port where a device answers
    QString Folder;        // the start folder once chosen; before, --folder or nothing
    bool Verbose = false;  // every frame on standard error
    bool Quiet = false;    // the results and the errors alone
    // --format json: the document the command fills, printed when it ends; else none.
    JsonReport* Json = nullptr;
    // --format as given: text, json, or a format of the command's own (timetable's csv).
    QString Format = QStringLiteral("text");

    // Several devices at once: each port given, or each where a device answers.
    bool ManyDevices() const { return AllPorts || Ports.size() > 1; }
};

// Says why the command does nothing, in the JSON document too; returns the problem's exit status.
int RefuseCommand(const GlobalOptions& global, const Problem& problem);

// The command's console: quiet or not, its listings and notes left to the JSON document when
// standard output carries one; logging to logPath unless it is empty.
Console CommandConsole(const GlobalOptions& global, const QString& logPath = {});

// Runs the job on the command's devices: one found by a search or on the port given, shown
// alone; or several at once, in a closing table. Each device's part goes into the JSON
// document when one is asked for.
int ServeDevices(const GlobalOptions& global, Console& console, const DeviceJob& job,
                 DeviceRunOptions options = {});

// The start folder as an absolute path ending with '/', as the tool's file names are joined to.
QString StartFolderPath(const GlobalOptions& global);

// Chosen only by the commands that read or write the tool's files, so that the others never
// create or fill the data folder. What went wrong with the choice is said on standard error.
StartFolderChoice ChooseStartFolderAndWarn(const QString& flag);

// Said after an error that names a file of the start folder: maybe the folder is not the one
// meant (start-folder-hint).
Problem StartFolderHint(const StartFolderChoice& choice);
