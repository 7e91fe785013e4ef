#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Text files the device world shares (ostan.txt, log.txt, names as the user sees them) are
// Windows-1256. Characters that code page lacks are written as their look-alikes, so that
// nothing turns into "?".

// Both throw UserError where the converter is missing, rather than turn every text into nothing.
QString FromWindows1256(const QByteArray& bytes);
QByteArray ToWindows1256(const QString& text);

// The look-alike mapping alone (Farsi yeh -> yeh, Persian digits -> ASCII digits, ...).
QString ToWindows1256Repertoire(const QString& text);

// The message of a file that cannot be opened.
QString CannotOpenText(const QString& path);

// Reads the lines of a Windows-1256 text file (CR LF or LF). Throws UserError when it cannot
// be opened.
QStringList ReadLines1256(const QString& path);

// Replaces the file with the lines (CR LF after each) in one step: a temporary file beside it
// is written and renamed over it, so a failure leaves the old file whole. Throws UserError.
void SaveLines1256(const QString& path, const QStringList& lines);

// Appends the lines (CR LF after each). Throws UserError.
void AppendLines1256(const QString& path, const QStringList& lines);
