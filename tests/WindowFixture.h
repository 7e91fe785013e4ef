#pragma once

#include "app/TForm1.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>
#include <utility>
#include <vector>

using Shown = std::pair<QString, QString>; // a message box's caption and text

// The window in a start folder of its own, its timers stopped and its boxes recorded instead of
// shown.
struct WindowFixture {
    QTemporaryDir folder;
    CommLink link;
    CalendarClock clock;
    std::vector<Shown> boxes;
    std::unique_ptr<TForm1> window;

    // The start folder is the temporary folder, or a folder below it; the search finds these
    // ports only.
    void Open(const QStringList& ports = {}, const QString& below = {}) {
        WindowTiming timing;
        timing.StartTimers = false;
        window = std::make_unique<TForm1>(link, clock, folder.path() + u'/' + below, timing);
        window->SetMessageBox([this](const QString& caption, const QString& text) {
            boxes.emplace_back(caption, text);
        });
        window->SetPortSources({[ports] { return ports; }, {}});
    }
    template <typename T> T* Find(const QString& name) const { return window->findChild<T*>(name); }
    QString Path(const QString& name) const { return folder.filePath(name); }
    void Write(const QString& name, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(Path(name)).path());
        QFile file(Path(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
};
