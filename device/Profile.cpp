#include "device/Profile.h"

#include "common/TextFiles.h"
#include "common/UserError.h"

#include <QMap>
#include <functional>
#include <map>
#include <vector>

namespace {

// One key of the file: where its value goes in the profile.
struct Key {
    QString Section;
    QString Name;
    std::function<void(Profile&, const QString&, const std::function<void(const QString&)>&)> Set;
    std::function<QString(const SettingsFields&, int)> Get;
};

using Fail = std::function<void(const QString&)>;

auto TextKey(const QString& section, const QString& name, QString SettingsFields::*field) {
    return Key{section, name,
               [field](Profile& p, const QString& value, const Fail&) { p.Fields.*field = value; },
               [field](const SettingsFields& f, int) { return f.*field; }};
}

auto FlagKey(const QString& section, const QString& name, bool SettingsFields::*field) {
    return Key{section, name,
               [field](Profile& p, const QString& value, const Fail& fail) {
                   const QString v = value.toLower();
                   if (v != QStringLiteral("true") && v != QStringLiteral("false")) {
                       fail(QStringLiteral("'%1' is neither true nor false").arg(value));
                   }
                   p.Fields.*field = v == QStringLiteral("true");
               },
               [field](const SettingsFields& f, int) {
                   return f.*field ? QStringLiteral("true") : QStringLiteral("false");
               }};
}

int Number(const QString& value, const Fail& fail) {
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!ok) {
        fail(QStringLiteral("'%1' is not a valid integer value").arg(value));
    }
    return n;
}

auto LevelKey(const QString& section, const QString& name, int SettingsFields::*field) {
    return Key{section, name,
               [field](Profile& p, const QString& value, const Fail& fail) {
                   p.Fields.*field = Number(value, fail);
               },
               [field](const SettingsFields& f, int) { return QString::number(f.*field); }};
}

const std::vector<Key>& Keys() {
    static const std::vector<Key> keys = [] {
        using F = SettingsFields;
        std::vector<Key> k = {
            {QStringLiteral("location"), QStringLiteral("county"),
             [](Profile& p, const QString& value, const Fail& fail) {
                 p.County = Number(value, fail);
             },
             [](const SettingsFields&, int county) { return QString::number(county); }},
            {QStringLiteral("location"), QStringLiteral("longitude"),
             [](Profile& p, const QString& value, const Fail&) {
                 p.Fields.Longitude = value;
                 p.HasLongitude = true;
             },
             [](const SettingsFields& f, int) { return f.Longitude; }},
            {QStringLiteral("location"), QStringLiteral("latitude"),
             [](Profile& p, const QString& value, const Fail&) {
                 p.Fields.Latitude = value;
                 p.HasLatitude = true;
             },
             [](const SettingsFields& f, int) { return f.Latitude; }},
        };
        struct Prayer {
            const char* Name;
            QString F::*Call;
            QString F::*Supplication;
            bool F::*Random;
            bool F::*Quran;
            int F::*CallLevel;
            int F::*SupplicationLevel;
            int F::*QuranLevel;
        };
        const Prayer prayers[] = {
            {"dawn", &F::DawnCall, &F::DawnSupplication, &F::DawnRandom, &F::DawnQuran,
             &F::DawnCallLevel, &F::DawnSupplicationLevel, &F::DawnQuranLevel},
            {"noon", &F::NoonCall, &F::NoonSupplication, &F::NoonRandom, &F::NoonQuran,
             &F::NoonCallLevel, &F::NoonSupplicationLevel, &F::NoonQuranLevel},
            {"sunset", &F::SunsetCall, &F::SunsetSupplication, &F::SunsetRandom, &F::SunsetQuran,
             &F::SunsetCallLevel, &F::SunsetSupplicationLevel, &F::SunsetQuranLevel},
        };
        for (const Prayer& prayer : prayers) {
            const QString s = QString::fromLatin1(prayer.Name);
            k.push_back(TextKey(s, QStringLiteral("call"), prayer.Call));
            k.push_back(TextKey(s, QStringLiteral("supplication"), prayer.Supplication));
            k.push_back(FlagKey(s, QStringLiteral("random"), prayer.Random));
            k.push_back(FlagKey(s, QStringLiteral("quran"), prayer.Quran));
            k.push_back(LevelKey(s, QStringLiteral("call_level"), prayer.CallLevel));
            k.push_back(
                LevelKey(s, QStringLiteral("supplication_level"), prayer.SupplicationLevel));
            k.push_back(LevelKey(s, QStringLiteral("quran_level"), prayer.QuranLevel));
        }
        k.push_back(
            TextKey(QStringLiteral("files"), QStringLiteral("call_count"), &F::CallFileCount));
        k.push_back(
            TextKey(QStringLiteral("files"), QStringLiteral("quran_count"), &F::QuranFileCount));
        k.push_back(
            TextKey(QStringLiteral("option1"), QStringLiteral("folder"), &F::Option1Folder));
        k.push_back(TextKey(QStringLiteral("option1"), QStringLiteral("file"), &F::Option1File));
        k.push_back(LevelKey(QStringLiteral("option1"), QStringLiteral("level"), &F::Option1Level));
        k.push_back(
            TextKey(QStringLiteral("option2"), QStringLiteral("folder"), &F::Option2Folder));
        k.push_back(TextKey(QStringLiteral("option2"), QStringLiteral("file"), &F::Option2File));
        k.push_back(LevelKey(QStringLiteral("option2"), QStringLiteral("level"), &F::Option2Level));
        // How the upload is run, not what the device holds: no Get, so no read-back lists it.
        k.push_back({QStringLiteral("upload"),
                     QStringLiteral("resend"),
                     [](Profile& p, const QString& value, const Fail& fail) {
                         const QString v = value.toLower();
                         if (v != QStringLiteral("true") && v != QStringLiteral("false")) {
                             fail(QStringLiteral("'%1' is neither true nor false").arg(value));
                         }
                         p.Resend = v == QStringLiteral("true");
                     },
                     {}});
        return k;
    }();
    return keys;
}

const Key* FindKey(const QString& section, const QString& name) {
    for (const Key& key : Keys()) {
        if (key.Section == section && key.Name == name) {
            return &key;
        }
    }
    return nullptr;
}

bool IsSection(const QString& name) {
    for (const Key& key : Keys()) {
        if (key.Section == name) {
            return true;
        }
    }
    return false;
}

} // namespace

Profile ReadProfile(const QString& path) {
    return ParseProfile(ReadInputFile(path, SettingsFileSizeLimit), path);
}

Profile ParseProfile(const QByteArray& bytes, const QString& fileName) {
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1); // an editor's byte-order mark
    }
    Profile profile;
    QString section;
    std::map<std::pair<QString, QString>, int> seen; // section and key -> line
    int lineNumber = 0;
    for (QString raw : text.split(u'\n')) {
        ++lineNumber;
        const Fail fail = [&](const QString& what) {
            throw UserError(
                QStringLiteral("%1, line %2: %3").arg(fileName).arg(lineNumber).arg(what));
        };
        if (raw.endsWith(u'\r')) {
            raw.chop(1);
        }
        // A control character would cut a value short or hide part of it from the reader.
        for (const QChar c : std::as_const(raw)) {
            if ((c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7F) {
                const QString code =
                    QStringLiteral("%1").arg(c.unicode(), 4, 16, QChar(u'0')).toUpper();
                fail(QStringLiteral("a control character (U+%1) in the line").arg(code));
            }
        }
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u';')) {
            continue;
        }
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']')) {
                fail(QStringLiteral("'%1' is not a section header").arg(line));
            }
            section = line.mid(1, line.size() - 2).trimmed().toLower();
            if (!IsSection(section)) {
                fail(QStringLiteral("unknown section [%1]").arg(section));
            }
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) {
            fail(QStringLiteral("'%1' is not a line of the form key = value").arg(line));
        }
        if (section.isEmpty()) {
            fail(QStringLiteral("'%1' stands before any section").arg(line));
        }
        const QString name = line.left(equals).trimmed().toLower();
        const QString value = line.mid(equals + 1).trimmed();
        const Key* key = FindKey(section, name);
        if (!key) {
            fail(QStringLiteral("unknown key '%1' in section [%2]").arg(name, section));
        }
        const auto [earlier, first] = seen.try_emplace({section, name}, lineNumber);
        if (!first) {
            fail(QStringLiteral("key '%1' in section [%2] is given twice (first on line %3)")
                     .arg(name, section)
                     .arg(earlier->second));
        }
        key->Set(profile, value, fail);
    }
    return profile;
}

std::vector<ProfileEntry> ProfileEntries(const SettingsFields& fields, int county) {
    std::vector<ProfileEntry> entries;
    for (const Key& key : Keys()) {
        if (key.Get) {
            entries.push_back({key.Section, key.Name, key.Get(fields, county)});
        }
    }
    return entries;
}

QString ProfileText(const SettingsFields& fields, int county) {
    QString text;
    QString section;
    for (const ProfileEntry& entry : ProfileEntries(fields, county)) {
        if (entry.Section != section) {
            section = entry.Section;
            text += (text.isEmpty() ? QString() : QStringLiteral("\n")) +
                    QStringLiteral("[%1]\n").arg(section);
        }
        text += QStringLiteral("%1 = %2\n").arg(entry.Key, entry.Value);
    }
    return text;
}

QString ProfileKeyOfControl(const QString& control) {
    static const QMap<QString, QString> keys = {
        {QStringLiteral("Combo3"), QStringLiteral("location.county")},
        {QStringLiteral("LabeledEdit1"), QStringLiteral("location.longitude")},
        {QStringLiteral("LabeledEdit2"), QStringLiteral("location.latitude")},
        {QStringLiteral("LabeledEdit4"), QStringLiteral("dawn.call")},
        {QStringLiteral("LabeledEdit6"), QStringLiteral("dawn.supplication")},
        {QStringLiteral("LabeledEdit11"), QStringLiteral("noon.call")},
        {QStringLiteral("LabeledEdit12"), QStringLiteral("noon.supplication")},
        {QStringLiteral("LabeledEdit14"), QStringLiteral("sunset.call")},
        {QStringLiteral("LabeledEdit15"), QStringLiteral("sunset.supplication")},
        {QStringLiteral("LabeledEdit10"), QStringLiteral("files.call_count")},
        {QStringLiteral("LabeledEdit5"), QStringLiteral("files.quran_count")},
        {QStringLiteral("LabeledEdit17"), QStringLiteral("option1.folder")},
        {QStringLiteral("LabeledEdit19"), QStringLiteral("option1.file")},
        {QStringLiteral("LabeledEdit18"), QStringLiteral("option2.folder")},
        {QStringLiteral("LabeledEdit20"), QStringLiteral("option2.file")},
        {QStringLiteral("TrackBar1"), QStringLiteral("dawn.supplication_level")},
        {QStringLiteral("TrackBar2"), QStringLiteral("dawn.call_level")},
        {QStringLiteral("TrackBar3"), QStringLiteral("dawn.quran_level")},
        {QStringLiteral("TrackBar4"), QStringLiteral("noon.supplication_level")},
        {QStringLiteral("TrackBar5"), QStringLiteral("noon.call_level")},
        {QStringLiteral("TrackBar6"), QStringLiteral("noon.quran_level")},
        {QStringLiteral("TrackBar7"), QStringLiteral("sunset.supplication_level")},
        {QStringLiteral("TrackBar8"), QStringLiteral("sunset.call_level")},
        {QStringLiteral("TrackBar9"), QStringLiteral("sunset.quran_level")},
        {QStringLiteral("TrackBar10"), QStringLiteral("option1.level")},
        {QStringLiteral("TrackBar11"), QStringLiteral("option2.level")},
    };
    return keys.value(control);
}
