#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// A program run by a test as a user runs it: how it ended, and what it said.
struct Outcome {
    int Status = -1; // -1: crashed or did not end
    QString Out;
    QString Err;
};

// Waits for the started process to end, killing it when it has not after the wait.
inline Outcome Finish(QProcess& process, int waitMs = 120000) {
    Outcome outcome;
    if (!process.waitForFinished(waitMs)) {
        process.kill();
        process.waitForFinished();
        return outcome;
    }
    outcome.Status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    outcome.Out = QString::fromUtf8(process.readAllStandardOutput());
    outcome.Err = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

inline void StartProgram(QProcess& process, const QString& program, const QStringList& arguments,
                         const QString& folder, const QProcessEnvironment& env) {
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(folder);
    process.setProcessEnvironment(env);
    process.start();
}

inline Outcome RunProgram(const QString& program, const QStringList& arguments,
                          const QString& folder, const QProcessEnvironment& env) {
    QProcess process;
    StartProgram(process, program, arguments, folder, env);
    return Finish(process);
}
