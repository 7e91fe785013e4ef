#pragma once

#include <QStringList>

class QCoreApplication;

// Where Qt's own translations are looked for: Qt's folder, then one beside the program, where
// windeployqt puts them.
QStringList QtTranslationFolders();

// Qt's own texts (dialog buttons, the file dialog, edit menus) and the texts this program adds
// to the window, in the window's language, Persian, whatever the system's language is. The
// layout stays left to right. Returns a note for each translation that could not be loaded.
QStringList InstallPersianTranslations(QCoreApplication& app,
                                       const QStringList& qtFolders = QtTranslationFolders());
