#include "common/TextFiles.h"

#include "common/UserError.h"
#include "files/InputFile.h"
#include "files/SafeSave.h"

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

bool Windows1256ConverterWorks() {
    return QStringDecoder(CodePage).isValid() && QStringEncoder(CodePage).isValid();
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

std::filesystem::path FilePath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

namespace {

QString SizeText(std::size_t bytes) {
    return bytes >= (std::size_t{1} << 20) ? QStringLiteral("%1 MiB").arg(bytes >> 20)
                                           : QStringLiteral("%1 KiB").arg(bytes >> 10);
}

QString CannotWriteText(const QString& path, const files::FileError& error) {
    return QStringLiteral("Cannot write file %1: %2").arg(path, ReasonOf(error));
}

} // namespace

QString ReasonOf(const files::FileError& error) {
    return QString::fromUtf8(error.Reason());
}

QString ReadErrorText(const files::FileError& error, const QString& path) {
    switch (error.What()) {
    case files::FileError::Kind::CannotOpen:
        return CannotOpenText(path);
    case files::FileError::Kind::NotRegular:
        return CannotOpenText(path) + QStringLiteral(": ") + ReasonOf(error);
    case files::FileError::Kind::TooLarge:
    case files::FileError::Kind::Failed:
        break;
    }
    return QStringLiteral("Cannot read file %1: %2").arg(path, ReasonOf(error));
}

QByteArray ReadInputFile(const QString& path, std::size_t limit) {
    try {
        const std::string bytes =
            files::ReadFileBounded(FilePath(path), limit, files::Overlong::Refuse);
        return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    } catch (const files::FileError& error) {
        if (error.What() == files::FileError::Kind::TooLarge) {
            throw UserError(
                QStringLiteral("Cannot read file %1: larger than %2").arg(path, SizeText(limit)));
        }
        throw UserError(ReadErrorText(error, path));
    }
}

QStringList ReadLines1256(const QString& path, std::size_t limit) {
    QString text = FromWindows1256(ReadInputFile(path, limit));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(u'\n')) {
        text.chop(1);
    }
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

void SaveBytes(const QString& path, const QByteArray& bytes) {
    try {
        files::SaveFile(FilePath(path), std::string_view(bytes.constData(), bytes.size()));
    } catch (const files::FileError& error) {
        throw UserError(CannotWriteText(path, error));
    }
}

void SaveLines1256(const QString& path, const QStringList& lines) {
    SaveBytes(path, Joined(lines));
}

void AppendLines1256(const QString& path, const QStringList& lines) {
    const QByteArray bytes = Joined(lines);
    try {
        files::AppendToFile(FilePath(path), std::string_view(bytes.constData(), bytes.size()));
    } catch (const files::FileError& error) {
        throw UserError(CannotWriteText(path, error));
    }
}
