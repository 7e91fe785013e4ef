#pragma once

// What the programs print must reach its reader: a listing cut short by a full disk, or printed
// into nothing, must not end as a success.

// Holds each standard stream the program was started without (closed by its caller) on the null
// device, opened so that writing to it fails as it would on the closed stream. Otherwise the
// next file the program opens (a port, the log, a database) would take the stream's number and
// get what is printed. Call first thing in main.
void HoldClosedStandardStreams();

// The program's exit status once standard output is flushed. When something printed did not go
// out (a full disk, a closed stream), says so on standard error ("<program>: cannot write standard
// output: <why>"), and the status is at least exitcode::Failed.
int FlushedOutputStatus(int status, const char* program);

// Whether standard error is a terminal, where a person reads it as it comes.
bool StandardErrorIsTerminal();

// Whether the program has a standard error to write to at all: a Windows program with a window
// of its own, started without a console, has none. Always on Unix.
bool StandardErrorPresent();

// The error number a write to standard output gets now, 0 when it is not known; for the message
// of a write that failed earlier, whose number is gone.
int StandardOutputWriteError();
