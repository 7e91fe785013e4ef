#include "app/Translations.h"

#include "app/AppTexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// Qt's Persian: qt_fa, which windeployqt makes of every module's catalogue a program needs (and
// which Debian's qt_fa.qm gathers from the modules' files beside it), and qtbase_fa, the widgets'
// own, where Qt is installed by module. Each found is installed.
bool InstallQtTranslations(QCoreApplication& app, const QStringList& folders) {
    bool any = false;
    for (const QString& name : {QStringLiteral("qt_fa"), QStringLiteral("qtbase_fa")}) {
        auto* translator = new QTranslator(&app);
        bool loaded = false;
        for (const QString& folder : folders) {
            if (translator->load(name, folder)) {
                loaded = true;
                break;
            }
        }
        if (loaded) {
            QCoreApplication::installTranslator(translator);
            any = true;
        } else {
            delete translator;
        }
    }
    return any;
}

} // namespace

QStringList QtTranslationFolders() {
    return {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
            QCoreApplication::applicationDirPath() + QStringLiteral("/translations")};
}

QStringList InstallPersianTranslations(QCoreApplication& app, const QStringList& qtFolders) {
    QStringList notes;
    auto* own = new QTranslator(&app);
    if (own->load(QStringLiteral(":/i18n/muezzin-config_fa.qm"))) {
        QCoreApplication::installTranslator(own);
    } else {
        notes.append(TranslationMissingText);
    }
    if (!InstallQtTranslations(app, qtFolders)) {
        notes.append(QtTranslationMissingText());
    }
    // Qt's Persian translation would turn the layout right to left; the window is laid out
    // left to right with its Persian captions in place.
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    return notes;
}
