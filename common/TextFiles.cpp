#include "common/TextFiles.h"

#include "common/DirectionMarks.h"
#include "common/ShownText.h"
#include "common/UserError.h"
#include "files/CodePage1256.h"
#include "files/InputFile.h"
#include "files/SafeSave.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Without the converter every text would come out empty, and a saved log would lose its history.
UserError ConverterMissingError() {
    return UserError(ConverterMissingProblem());
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

Problem ConverterMissingProblem() {
    return Problem(QStringLiteral("no-converter"),
                   QString::fromLatin1(files::Windows1256RemedyForm()));
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

namespace {

using namespace direction;

// The mark of a first-strong isolate that starts after at: the direction of its first letter.
char16_t MarkOfFirstStrong(const QString& text, qsizetype at) {
    int depth = 0;
    for (qsizetype i = at; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == LeftToRightIsolate || c == RightToLeftIsolate || c == FirstStrongIsolate) {
            ++depth;
        } else if (c == PopDirectionalIsolate) {
            if (depth-- == 0) {
                break;
            }
        } else if (depth == 0) {
            const QChar::Direction direction = text[i].direction();
            if (direction == QChar::DirR || direction == QChar::DirAL) {
                return RightToLeftMark;
            }
            if (direction == QChar::DirL) {
                return LeftToRightMark;
            }
        }
    }
    return LeftToRightMark;
}

// The window keeps the Latin words of a Persian line in order with isolates, which the code page
// lacks; it has the direction marks, which do the same on both sides of a word.
QString IsolatesAsMarks(const QString& text) {
    QString out;
    std::vector<char16_t> open;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == LeftToRightIsolate || c == RightToLeftIsolate || c == FirstStrongIsolate) {
            const char16_t mark = c == LeftToRightIsolate   ? LeftToRightMark
                                  : c == RightToLeftIsolate ? RightToLeftMark
                                                            : MarkOfFirstStrong(text, i + 1);
            open.push_back(mark);
            out += QChar(mark);
        } else if (c == PopDirectionalIsolate) {
            if (!open.empty()) {
                out += QChar(open.back());
                open.pop_back();
            }
        } else {
            out += text[i];
        }
    }
    return out;
}

bool HoldsIsolates(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() >= LeftToRightIsolate && c.unicode() <= PopDirectionalIsolate;
    });
}

} // namespace

QString ToWindows1256Repertoire(const QString& text) {
    QString out = HoldsIsolates(text) ? IsolatesAsMarks(text) : text;
    // Heh with the hamza above written as two characters ("دادهٔ"), as heh with yeh above below.
    out.replace(QStringLiteral("\u0647\u0654"), QStringLiteral("\u0647"));
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
        throw UserError(Problem(QStringLiteral("unmappable-character"))
                            .Set(QStringLiteral("character"), EscapedText(character))
                            .Set(QStringLiteral("code_point"), CodePointText(error.CodePoint())));
    }
}

std::filesystem::path FilePath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

QString ReasonOf(const files::FileError& error) {
    return QString::fromUtf8(error.Reason());
}

namespace {

// The sentence of a file kind for the use: "read", "write", or "database".
QString FormOf(FileUse use) {
    switch (use) {
    case FileUse::Read:
        return QStringLiteral("read");
    case FileUse::Write:
        return QStringLiteral("write");
    case FileUse::WriteDatabase:
        break;
    }
    return QStringLiteral("write-database");
}

QString KindOf(const files::FileError& error, FileUse use, QString& form) {
    using Cause = files::FileError::Cause;
    const bool reading = use == FileUse::Read;
    if (error.What() == files::FileError::Kind::NotRegular) {
        form = reading ? QStringLiteral("read-special") : QStringLiteral("write-special");
        return QStringLiteral("not-a-file");
    }
    switch (error.Why()) {
    case Cause::NotFound:
        return QStringLiteral("file-not-found");
    case Cause::Permission:
        return QStringLiteral("file-permission");
    case Cause::Folder:
        form = reading ? QStringLiteral("read-folder") : QStringLiteral("write-folder");
        return QStringLiteral("not-a-file");
    case Cause::DiskFull:
        return QStringLiteral("disk-full");
    case Cause::HeldOpen:
        return QStringLiteral("file-held");
    case Cause::NoReader:
        form = QStringLiteral("fifo-unread");
        return QStringLiteral("not-a-file");
    case Cause::Other:
        break;
    }
    if (reading && error.What() == files::FileError::Kind::CannotOpen) {
        form = QStringLiteral("open");
    }
    return QStringLiteral("file-failed");
}

} // namespace

Problem FileProblem(const files::FileError& error, const QString& path, FileUse use) {
    QString form = FormOf(use);
    const QString kind = KindOf(error, use, form);
    // A database's own sentences are those of a failed write; the others say "file".
    if (form == QStringLiteral("write-database") && kind != QStringLiteral("file-failed") &&
        kind != QStringLiteral("disk-full")) {
        form = QStringLiteral("write");
    }
    return Problem(kind, form)
        .Set(QStringLiteral("path"), path)
        .Set(QStringLiteral("reason"), ReasonOf(error));
}

Problem TooLargeProblem(const QString& path, std::size_t limit) {
    const bool mib = limit >= (std::size_t{1} << 20);
    return Problem(QStringLiteral("file-too-large"),
                   mib ? QStringLiteral("mib") : QStringLiteral("kib"))
        .Set(QStringLiteral("path"), path)
        .Set(QStringLiteral("limit"), static_cast<qint64>(limit))
        .Set(mib ? QStringLiteral("mib") : QStringLiteral("kib"),
             static_cast<qint64>(mib ? limit >> 20 : limit >> 10));
}

QByteArray ReadInputFile(const QString& path, std::size_t limit) {
    try {
        const std::string bytes =
            files::ReadFileBounded(FilePath(path), limit, files::Overlong::Refuse);
        return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    } catch (const files::FileError& error) {
        if (error.What() == files::FileError::Kind::TooLarge) {
            throw UserError(TooLargeProblem(path, limit));
        }
        throw UserError(FileProblem(error, path, FileUse::Read));
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
        throw UserError(FileProblem(error, path, FileUse::Write));
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
        throw UserError(FileProblem(error, path, FileUse::Write));
    }
}
