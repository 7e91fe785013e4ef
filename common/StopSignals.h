#pragma once

#include <QObject>
#include <QString>
#include <functional>

// SIGTERM, SIGINT and SIGHUP (on Windows: Ctrl+C, Ctrl+Break and the console closing) end a run
// the way a normal end does: the port released, the log written, and an exit status that says
// the run was stopped. The first such signal is recorded and the program winds down; a second one
// ends the process at once, as it would have ended without this handling. On POSIX systems a
// second one within a second of the first is the same stop said twice (timeout(1) signals the
// program and then its process group) and changes nothing.

// The hang-up's number, SIGHUP's where the system has one; Windows has none, and its console
// closing stands for it under this number.
inline constexpr int HangUpSignal = 1;

// Installs the handling, once, before any thread is started. A signal the program was started
// with ignored (nohup) stays ignored.
void InstallStopSignals();

// The signal that asked the run to stop; 0 while none has.
int StopSignal();

// "SIGTERM".
QString StopSignalName(int signal);

// The exit status of a run a signal stopped: 128 and its number, as a shell reports it.
int StopExitStatus(int signal);

// Calls onStop on the event loop of the calling thread once a stop signal has arrived, at once
// when one already has; the watch ends with context. One watch per process.
void WatchStopSignals(QObject* context, std::function<void(int signal)> onStop);

// The log line of a run a signal stopped, after the date text; %1 is the signal's name.
inline const QString StoppedLogTemplate = QStringLiteral(" برنامه با دریافت سیگنال %1 متوقف شد ");
