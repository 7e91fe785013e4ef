#pragma once

#include "common/Problem.h"

#include <QString>

// Where the tool's files are looked for: --folder when given; else the working directory when
// it holds the tool's files; else the user's data folder, filled from the installed sample on
// first use. The window, muezzin-cli and muezzin-timetable all choose it this way.

enum class StartFolderSource { Flag, WorkingDirectory, DataFolder };

// The province list, which a start folder holds beside the city database.
inline const QString ProvinceFileName = QStringLiteral("ostan.txt");

// Where the choice came from, as the command line names it: "--folder", "the working directory"
// or "the user's data folder".
QString StartFolderOriginText(StartFolderSource source);

// The places the choice looks at, given rather than asked for so that tests can set them.
struct StartFolderPlaces {
    QString Flag; // empty when --folder was not given
    QString WorkingDirectory;
    QString DataFolder;
    QString InstalledSample; // the sample start folder installed with the programs
};

struct StartFolderChoice {
    QString Folder; // absolute, ending with '/'
    StartFolderSource Source = StartFolderSource::WorkingDirectory;
    // Why the data folder could not be filled (start-folder); empty when all went well.
    Problem SetUpProblem;
    bool Seeded = false; // the sample's files were copied into the data folder just now
};

// Whether the folder holds the province list or the city database.
bool HoldsToolFiles(const QString& folder);

// Chooses the start folder and, when it is the data folder and lacks the province list or the
// city database, first copies the installed sample into it: only the files it does not have,
// and each of them whole or not at all.
StartFolderChoice ChooseStartFolder(const StartFolderPlaces& places);

// The places of this process: its working directory, the user's data folder of the tool (the
// same for all its programs) and the sample installed beside the programs
// (../share/muezzin-config/sample from the program's folder). Needs the application object.
StartFolderPlaces SystemStartFolderPlaces(const QString& flag);

// Copies every file of the sample that the folder lacks. The copies are made in a temporary
// folder beside it and moved in afterwards, the province list and the city database last, so
// that an interrupted copy leaves the folder to be filled again at the next start. Returns the
// problem (start-folder), or an empty one.
Problem SeedDataFolder(const QString& folder, const QString& sample);
