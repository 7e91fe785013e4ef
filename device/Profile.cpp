#include "device/Profile.h"

#include "common/ShownText.h"
#include "common/TextFiles.h"
#include "common/UserError.h"

#include <functional>
#include <map>
#include <vector>

namespace {

using Fail = std::function<void(const QString&)>;

// One key of the file: the field its value goes to; none for upload.resend.
struct Key {
    QString Section;
    QString Name;
    const SettingsField* Field;
};

const std::vector<Key>& Keys() {
    static const std::vector<Key> keys = [] {
        std::vector<Key> k;
        for (const SettingsField& field : SettingsFieldTable) {
            if (field.ProfileKey) {
                const QString key = QLatin1String(field.ProfileKey);
                k.push_back({key.section(u'.', 0, 0), key.section(u'.', 1), &field});
            }
        }
        // How the upload is run, not what the device holds: no field, so no read-back lists it.
        k.push_back({QStringLiteral("upload"), QStringLiteral("resend"), nullptr});
        return k;
    }();
    return keys;
}

int Number(const QString& value, const Fail& fail) {
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!ok) {
        fail(NotAnIntegerMessage(value));
    }
    return n;
}

bool Truth(const QString& value, const Fail& fail) {
    const QString v = value.toLower();
    if (v != QStringLiteral("true") && v != QStringLiteral("false")) {
        fail(QStringLiteral("'%1' is neither true nor false").arg(ShownValue(value)));
    }
    return v == QStringLiteral("true");
}

// The county is the one index a profile gives; the province follows from it.
bool IsCounty(const SettingsField& field) {
    return field.Kind == FieldKind::Index && field.Index == &StoredSettings::CountyIndex;
}

// A coordinate the profile gives replaces the database's.
bool& Given(Profile& p, QString SettingsFields::*coordinate) {
    return coordinate == &SettingsFields::Longitude ? p.HasLongitude : p.HasLatitude;
}

// "'95' is not a latitude from 0 to 90".
QString OffTheEarthText(const QString& value, bool latitude) {
    return QStringLiteral("'%1' is not a %2 from 0 to %3")
        .arg(ShownValue(value), latitude ? QStringLiteral("latitude") : QStringLiteral("longitude"))
        .arg(latitude ? 90 : 180);
}

// A profile names a place: the device's bytes would take up to 255.99 degrees, but a latitude
// beyond 90 or a longitude beyond 180 is on no map. A text that is no coordinate at all is the
// settings block's to refuse, with its own words.
void CheckOnEarth(const SettingsField& field, const QString& value, const Fail& fail) {
    Coordinate coordinate;
    try {
        coordinate = ReadCoordinate(value, QLatin1String(field.Control));
    } catch (const SettingsError&) {
        return;
    }
    const bool latitude = field.Text == &SettingsFields::Latitude;
    if (coordinate.Degrees * 100 + coordinate.Hundredths > (latitude ? 90 : 180) * 100) {
        fail(OffTheEarthText(value, latitude));
    }
}

void Set(Profile& p, const Key& key, const QString& value, const Fail& fail) {
    if (!key.Field) {
        p.Resend = Truth(value, fail);
        return;
    }
    const SettingsField& field = *key.Field;
    switch (field.Kind) {
    case FieldKind::Index:
        if (IsCounty(field)) {
            p.County = Number(value, fail);
        }
        break;
    case FieldKind::Coordinate:
        CheckOnEarth(field, value, fail);
        p.Fields.*field.Text = value;
        Given(p, field.Text) = true;
        break;
    case FieldKind::Number:
        p.Fields.*field.Text = value;
        break;
    case FieldKind::Level:
        p.Fields.*field.Level = Number(value, fail);
        break;
    case FieldKind::Flag:
        p.Fields.*field.Checked = Truth(value, fail);
        break;
    }
}

QString Value(const SettingsField& field, const SettingsFields& fields, int county) {
    switch (field.Kind) {
    case FieldKind::Index:
        return IsCounty(field) ? QString::number(county) : QString();
    case FieldKind::Coordinate:
    case FieldKind::Number:
        return fields.*field.Text;
    case FieldKind::Level:
        return QString::number(fields.*field.Level);
    case FieldKind::Flag:
        return fields.*field.Checked ? QStringLiteral("true") : QStringLiteral("false");
    }
    return {};
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
                fail(QStringLiteral("'%1' is not a section header").arg(ShownValue(line)));
            }
            section = line.mid(1, line.size() - 2).trimmed().toLower();
            if (!IsSection(section)) {
                fail(QStringLiteral("unknown section [%1]").arg(ShownValue(section)));
            }
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) {
            fail(
                QStringLiteral("'%1' is not a line of the form key = value").arg(ShownValue(line)));
        }
        if (section.isEmpty()) {
            fail(QStringLiteral("'%1' stands before any section").arg(ShownValue(line)));
        }
        const QString name = line.left(equals).trimmed().toLower();
        const QString value = line.mid(equals + 1).trimmed();
        const Key* key = FindKey(section, name);
        if (!key) {
            fail(QStringLiteral("unknown key '%1' in section [%2]")
                     .arg(ShownValue(name), ShownValue(section)));
        }
        const auto [earlier, first] = seen.try_emplace({section, name}, lineNumber);
        if (!first) {
            fail(QStringLiteral("key '%1' in section [%2] is given twice (first on line %3)")
                     .arg(name, section)
                     .arg(earlier->second));
        }
        Set(profile, *key, value, fail);
    }
    return profile;
}

std::vector<ProfileEntry> ProfileEntries(const SettingsFields& fields, int county) {
    std::vector<ProfileEntry> entries;
    for (const Key& key : Keys()) {
        if (key.Field) {
            entries.push_back({key.Section, key.Name, Value(*key.Field, fields, county)});
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
    for (const SettingsField& field : SettingsFieldTable) {
        if (field.ProfileKey && control == QLatin1String(field.Control)) {
            return QLatin1String(field.ProfileKey);
        }
    }
    return {};
}
