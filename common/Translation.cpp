#include "common/Translation.h"

#include <QCoreApplication>
#include <QTranslator>
#include <atomic>

namespace {

std::atomic<bool> persianChosen{false};

} // namespace

bool InstallPersianTranslation(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral(":/i18n/muezzin-config_fa.qm"))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

bool PersianLocaleAsked() {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty()) {
            return value.startsWith(QStringLiteral("fa"));
        }
    }
    return false;
}

Wording CommandLineWording() {
    return persianChosen ? Wording::PersianText : Wording::English;
}

void ChooseCommandLineLanguage(QCoreApplication& app) {
    persianChosen = PersianLocaleAsked() && InstallPersianTranslation(app);
}
