#include "location/TextFiles.h"

#include "location/UserError.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

const char* const CodePage = "windows-1256";

QByteArray Joined(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += ToWindows1256(line);
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace

// Without the converter every text would come out empty, and a saved log would lose its history.
static void RequireConverter(bool valid) {
    if (!valid) {
        throw UserError(QStringLiteral("Windows-1256 text cannot be converted here: Qt was built "
                                       "without ICU (install Debian's libqt6core6 and libicu72)"));
    }
}

QString FromWindows1256(const QByteArray& bytes) {
    QStringDecoder decoder(CodePage);
    RequireConverter(decoder.isValid());
    return decoder.decode(bytes);
}

QString ToWindows1256Repertoire(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u == 0x06CC) { // Farsi yeh
            c = QChar(0x064A);
        } else if (u == 0x06C0) { // heh with yeh above
            c = QChar(0x0647);
        } else if (u >= 0x06F0 && u <= 0x06F9) { // Persian digits
            c = QChar(u'0' + (u - 0x06F0));
        } else if (u >= 0x0660 && u <= 0x0669) { // Arabic-Indic digits
            c = QChar(u'0' + (u - 0x0660));
        }
    }
    return out;
}

QByteArray ToWindows1256(const QString& text) {
    QStringEncoder encoder(CodePage);
    RequireConverter(encoder.isValid());
    return encoder.encode(ToWindows1256Repertoire(text));
}

QString CannotOpenText(const QString& path) {
    return QStringLiteral("Cannot open file %1").arg(path);
}

QStringList ReadLines1256(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw UserError(CannotOpenText(path));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw UserError(QStringLiteral("Cannot read file %1: %2").arg(path, file.errorString()));
    }
    QString text = FromWindows1256(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(u'\n')) {
        text.chop(1);
    }
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

void SaveLines1256(const QString& path, const QStringList& lines) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw UserError(QStringLiteral("Cannot create file %1: %2").arg(path, file.errorString()));
    }
    const QByteArray bytes = Joined(lines);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        throw UserError(QStringLiteral("Cannot write file %1: %2").arg(path, file.errorString()));
    }
}

void AppendLines1256(const QString& path, const QStringList& lines) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        throw UserError(
            QStringLiteral("Cannot open file %1 for appending: %2").arg(path, file.errorString()));
    }
    const QByteArray bytes = Joined(lines);
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        throw UserError(QStringLiteral("Cannot write file %1: %2").arg(path, file.errorString()));
    }
}
