#pragma once

#include "common/Problem.h"
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
// That it cannot, with what makes it able to here: no-converter, its form the system's remedy.
Problem ConverterMissingProblem();

// Both throw UserError where the converter is missing, rather than turn every text into nothing.
// ToWindows1256 also throws UserError (unmappable-character, naming the character) for a
// character the code page cannot hold even as a look-alike.
QString FromWindows1256(const QByteArray& bytes);
QByteArray ToWindows1256(const QString& text);

// The look-alike mapping alone (Farsi yeh -> yeh, Persian digits -> ASCII digits, ...), and the
// window's Unicode isolates as the direction marks the code page holds.
QString ToWindows1256Repertoire(const QString& text);

// A path as the file functions take it.
std::filesystem::path FilePath(const QString& path);

// Why a file operation failed, in the system's words.
QString ReasonOf(const files::FileError& error);

// What was done with the file that failed: read (or opened to read), written, or written as a
// database, whose messages name it without "file".
enum class FileUse { Read, Write, WriteDatabase };

// The file's failure as a problem: file-not-found, file-permission, not-a-file, disk-full,
// file-held or file-failed, with the path and the system's reason.
Problem FileProblem(const files::FileError& error, const QString& path, FileUse use);

// A file larger than its kind may be: file-too-large, with the limit in bytes.
Problem TooLargeProblem(const QString& path, std::size_t limit);

// The bytes of an input file (a regular file only) of at most limit bytes. Throws UserError.
QByteArray ReadInputFile(const QString& path, std::size_t limit);

// Reads the lines of a Windows-1256 text file (CR LF or LF). Throws UserError when it cannot
// be opened or read, or is larger than limit.
QStringList ReadLines1256(const QString& path, std::size_t limit = TextFileSizeLimit);

// Replaces the file with the bytes through the shared save, which leaves the old file whole on
// any failure. Throws UserError (a FileProblem of the write).
void SaveBytes(const QString& path, const QByteArray& bytes);

// Replaces the file with the lines (CR LF after each) as SaveBytes does. A character the code page
// cannot hold even as a look-alike is written as its escape (\uHHHH, \UHHHHHHHH beyond the
// first plane), so that a log keeps every line and shows where a character could not be kept.
// Throws UserError.
void SaveLines1256(const QString& path, const QStringList& lines);

// Appends the lines (CR LF after each) as SaveLines1256 writes them; a failure leaves the file as
// it was. Throws UserError.
void AppendLines1256(const QString& path, const QStringList& lines);
