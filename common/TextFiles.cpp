#include "common/TextFiles.h"

#include "common/ShownText.h"
#include "common/UserError.h"
#include "files/CodePage1256.h"
#include "files/InputFile.h"
#include "files/SafeSave.h"

#include <string>

namespace {

// Without the converter every text would come out empty, and a saved log would lose its history.
UserError ConverterMissingError() {
    return UserError(QStringLiteral("Windows-1256 text cannot be converted here: the system has no "
                                    "converter for it (%1)")
                         .arg(Windows1256RemedyText()));
}

QString CodePointText(char32_t c) {
    return QStringLiteral("U+%1").arg(QString::number(c, 16).toUpper(), 4, u'0');
}

QByteArray Bytes(const std::string& bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::u16string_view Units(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// The escape a log line keeps a character in that the code page lacks.
QByteArray EscapeOf(char32_t c) {
    return c > 0xFFFF ? "\\U" + QByteArray::number(c, 16).toUpper().rightJustified(8, '0')
                      : "\\u" + QByteArray::number(c, 16).toUpper().rightJustified(4, '0');
}

// The text in the code page, with an escape for each character it cannot hold.
QByteArray EscapedBytes(const QString& text) {
    const QString mapped = ToWindows1256Repertoire(text);
    std::u16string_view rest = Units(mapped);
    QByteArray bytes;
    for (;;) {
        try {
            return bytes + Bytes(files::EncodeWindows1256(rest));
        } catch (const files::Unmappable& error) {
            bytes += Bytes(files::EncodeWindows1256(rest.substr(0, error.Position())));
            bytes += EscapeOf(error.CodePoint());
            rest.remove_prefix(error.Position() + (error.CodePoint() > 0xFFFF ? 2 : 1));
        } catch (const files::ConverterMissing&) {
            throw ConverterMissingError();
        }
    }
}

// Converted at once: a log of many lines is one call of the converter.
QByteArray Joined(const QStringList& lines) {
    return lines.isEmpty()
               ? QByteArray()
               : EscapedBytes(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

} // namespace

bool Windows1256ConverterWorks() {
    return files::Windows1256Available();
}

QString Windows1256RemedyText() {
    return QString::fromStdString(files::Windows1256Remedy());
}

QString FromWindows1256(const QByteArray& bytes) {
    try {
        const std::u16string text = files::DecodeWindows1256(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        return QString(reinterpret_cast<const QChar*>(text.data()),
                       static_cast<qsizetype>(text.size()));
    } catch (const files::ConverterMissing&) {
        throw ConverterMissingError();
    }
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
    const QString mapped = ToWindows1256Repertoire(text);
    try {
        return Bytes(files::EncodeWindows1256(Units(mapped)));
    } catch (const files::ConverterMissing&) {
        throw ConverterMissingError();
    } catch (const files::Unmappable& error) {
        const QString character = mapped.mid(static_cast<qsizetype>(error.Position()),
                                             error.CodePoint() > 0xFFFF ? 2 : 1);
        throw UserError(
            QStringLiteral("the character \"%1\" (%2) has no place in Windows-1256, the "
                           "code page of the device's files")
                .arg(EscapedText(character), CodePointText(error.CodePoint())));
    }
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
