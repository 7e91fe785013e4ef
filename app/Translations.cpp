#include "app/Translations.h"

#include "app/AppTexts.h"
#include "common/Translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// Where Qt keeps its translations: Qt's own folder, or one beside the program where Qt was
// deployed with it.
bool LoadQtTranslation(QTranslator& translator) {
    const QString name = QStringLiteral("qtbase_fa");
    return translator.load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
           translator.load(name, QCoreApplication::applicationDirPath() +
                                     QStringLiteral("/translations"));
}

} // namespace

QStringList InstallPersianTranslations(QCoreApplication& app) {
    QStringList notes;
    if (!InstallPersianTranslation(app)) {
        notes.append(TranslationMissingText);
    }
    auto* qt = new QTranslator(&app);
    if (LoadQtTranslation(*qt)) {
        QCoreApplication::installTranslator(qt);
    } else {
        notes.append(QtTranslationMissingText());
    }
    // Qt's Persian translation would turn the layout right to left; the window is laid out
    // left to right with its Persian captions in place.
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    return notes;
}
