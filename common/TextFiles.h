#pragma once

#include "common/SizeLimits.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <filesystem>

namespace files {
class FileError;
}

// Text files the device world shares (ostan.txt, log.txt, names as the user sees them) are
// Windows-1256, converted by the system's own converter (files/CodePage1256). Characters that
// code page lacks are first written as their look-alikes, so that Persian text fits it whole.

// Whether the system can read and write Windows-1256 here.
bool Windows1256ConverterWorks();
// What makes it able to, for the message that says it cannot.
QString Windows1256RemedyText();

// Both throw UserError where the converter is missing, rather than turn every text into nothing.
// ToWindows1256 also throws UserError, naming the character, for a character the code page
// cannot hold even as a look-alike.
QString FromWindows1256(const QByteArray& bytes);
QByteArray ToWindows1256(const QString& text);

// The look-alike mapping alone (Farsi yeh -> yeh, Persian digits -> ASCII digits, ...).
QString ToWindows1256Repertoire(const QString& text);

// The message of a file that cannot be opened.
QString CannotOpenText(const QString& path);

// A path as the file functions take it.
std::filesystem::path FilePath(const QString& path);

// Why a file operation failed, in the system's words.
QString ReasonOf(const files::FileError& error);

// The user's message for an input file that cannot be read: "Cannot open file <path>" when it
// cannot be opened (with why, when it is not a regular file), "Cannot read file <path>: <why>"
// otherwise.
QString ReadErrorText(const files::FileError& error, const QString& path);

// The bytes of an input file (a regular file only) of at most limit bytes. Throws UserError.
QByteArray ReadInputFile(const QString& path, std::size_t limit);

// Reads the lines of a Windows-1256 text file (CR LF or LF). Throws UserError when it cannot
// be opened or read, or is larger than limit.
QStringList ReadLines1256(const QString& path, std::size_t limit = TextFileSizeLimit);

// Replaces the file with the bytes through the shared save, which leaves the old file whole on
// any failure. Throws UserError ("Cannot write file <path>: <why>").
void SaveBytes(const QString& path, const QByteArray& bytes);

// Replaces the file with the lines (CR LF after each) as SaveBytes does. A character the code page
// cannot hold even as a look-alike is written as its escape (\uHHHH, \UHHHHHHHH beyond the
// first plane), so that a log keeps every line and shows where a character could not be kept.
// Throws UserError.
void SaveLines1256(const QString& path, const QStringList& lines);

// Appends the lines (CR LF after each) as SaveLines1256 writes them; a failure leaves the file as
// it was. Throws UserError.
void AppendLines1256(const QString& path, const QStringList& lines);
