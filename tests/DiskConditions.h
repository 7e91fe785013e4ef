#pragma once

// Disks and permissions as a hostile machine offers them: a file system without a free byte,
// one mounted read-only, a file this program may write but not read. Mounting needs root (CI
// runs as root); the tests skip what they cannot set up and say why.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <unistd.h>

// A tmpfs of its own under a temporary folder, unmounted when it goes.
class SmallFilesystem {
public:
    static constexpr int PageSize = 4096; // tmpfs hands out whole pages

    SmallFilesystem() {
        if (::geteuid() != 0) {
            problem_ = QStringLiteral("mounting a small tmpfs needs root");
        } else if (::mount("tmpfs", NativePath().constData(), "tmpfs", 0, "size=256k,mode=0777") !=
                   0) {
            problem_ = QStringLiteral("cannot mount a tmpfs: %1").arg(errno);
        }
    }
    ~SmallFilesystem() {
        if (problem_.isEmpty()) {
            ::umount2(NativePath().constData(), MNT_DETACH);
        }
    }
    SmallFilesystem(const SmallFilesystem&) = delete;
    SmallFilesystem& operator=(const SmallFilesystem&) = delete;

    // Empty when mounted, else why not.
    const QString& Problem() const { return problem_; }
    QString Path() const { return dir_.path(); }

    // Takes every free byte: a file that is a whole number of pages cannot grow by one byte.
    bool Fill() const {
        const int descriptor =
            ::open((NativePath() + "/.filler").constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (descriptor < 0) {
            return false;
        }
        const QByteArray page(PageSize, 'f');
        while (::write(descriptor, page.constData(), PageSize) > 0) {
        }
        const bool full = errno == ENOSPC;
        ::close(descriptor);
        return full;
    }

    bool MakeReadOnly() const {
        return ::mount("tmpfs", NativePath().constData(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                       nullptr) == 0;
    }

private:
    QByteArray NativePath() const { return QFile::encodeName(dir_.path()); }

    QTemporaryDir dir_;
    QString problem_;
};

// Makes files unreadable to this thread while it lives although it is root: the file system
// user becomes an ordinary one, which drops root's right to read any file. Without root the
// file's mode alone does it.
class OrdinaryUser {
public:
    static constexpr uid_t Nobody = 65534;

    // Switches only when asked to, so that one test can run with and without it.
    explicit OrdinaryUser(bool wanted) : switched_(wanted && ::geteuid() == 0) {
        if (switched_) {
            ::setfsuid(Nobody);
            ::setfsgid(Nobody);
        }
    }
    ~OrdinaryUser() { Leave(); }
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;

    void Leave() {
        if (switched_) {
            ::setfsuid(0);
            ::setfsgid(0);
            switched_ = false;
        }
    }

    // Hands the path to the user the thread will act as; before the switch, as root alone
    // may.
    static bool Hand(const QString& path) {
        return ::geteuid() != 0 ||
               ::chown(QFile::encodeName(path).constData(), Nobody, Nobody) == 0;
    }

private:
    bool switched_;
};
