#pragma once

// The console a command-line program writes to, set for what it writes: UTF-8 text (Persian
// names, the log's lines) and the terminal's escape sequences (the progress bar's ESC[K).
// Windows' console takes both from the program, and keeps them for the shell and the programs
// after it, so they are put back at exit. A Unix terminal takes UTF-8 and escapes as they come:
// nothing to do there.

// Call first thing in main; the console is put back at exit by itself.
void PrepareConsoleOutput();

// Puts the console back as it was; once, however often called (at exit, or before the system
// ends the process on a second Ctrl+C).
void RestoreConsoleOutput();
