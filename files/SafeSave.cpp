#include "files/SafeSave.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <optional>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const fs::path& path, int error) {
    throw FileError(FileError::Kind::Failed, path, SystemReason(error));
}

// Closes on every way out unless released.
class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return descriptor_; }
    // A close can report a write error that the writes did not.
    void Close(const fs::path& path) {
        const int descriptor = descriptor_;
        descriptor_ = -1;
        if (::close(descriptor) != 0 && errno != EINTR) {
            Fail(path, errno);
        }
    }

private:
    int descriptor_;
};

void WriteAll(int descriptor, std::string_view bytes, const fs::path& path) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(descriptor, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail(path, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

// A terminal or a pipe cannot be synced, and need not be.
void Sync(int descriptor, const fs::path& path, bool regular) {
    if (::fsync(descriptor) != 0 && (regular || (errno != EINVAL && errno != ENOTSUP))) {
        Fail(path, errno);
    }
}

bool IsRegular(int descriptor) {
    struct stat info {};
    return ::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode);
}

// Opens a path that is not a regular file for writing. O_NONBLOCK keeps a FIFO without a
// reader from blocking the open; the writes themselves block as usual.
int OpenSpecial(const fs::path& path, const fs::path& shown, int flags) {
    const int descriptor = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (descriptor < 0) {
        if (errno == ENXIO) {
            throw FileError(FileError::Kind::Failed, shown, "a FIFO that no program reads");
        }
        Fail(shown, errno);
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    return descriptor;
}

// "/dev/fd/1", "/proc/self/fd/1": a descriptor of this program, which must be written as it
// stands (at its offset, after what the program wrote to it already), not opened anew.
std::optional<int> OwnDescriptor(const fs::path& path) {
    const std::string text = path.string();
    for (const std::string_view prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        if (text.size() > prefix.size() && text.compare(0, prefix.size(), prefix) == 0) {
            int descriptor = -1;
            const char* first = text.data() + prefix.size();
            const char* last = text.data() + text.size();
            const auto [end, error] = std::from_chars(first, last, descriptor);
            if (error == std::errc() && end == last) {
                return descriptor;
            }
        }
    }
    return std::nullopt;
}

// Where a save really goes.
struct Target {
    fs::path Path;                 // the file itself, every symbolic link followed
    std::optional<int> Descriptor; // one of the program's own descriptors
    bool Exists = false;
    struct stat Info {};
};

Target Resolve(const fs::path& given) {
    Target target;
    target.Path = given;
    for (int hop = 0; hop < 40; ++hop) {
        target.Descriptor = OwnDescriptor(target.Path);
        if (target.Descriptor) {
            return target;
        }
        if (::lstat(target.Path.c_str(), &target.Info) != 0) {
            if (errno != ENOENT) {
                Fail(given, errno);
            }
            return target; // a link to a file yet to be made makes that file
        }
        if (!S_ISLNK(target.Info.st_mode)) {
            target.Exists = true;
            return target;
        }
        std::error_code error;
        const fs::path next = fs::read_symlink(target.Path, error);
        if (error) {
            Fail(given, error.value());
        }
        target.Path = next.is_absolute() ? next : target.Path.parent_path() / next;
    }
    Fail(given, ELOOP);
}

fs::path FolderOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

// A new file beside the target, so that the rename stays within one file system. The random
// part keeps programs apart, the counter the threads of one program.
std::pair<fs::path, int> CreateTemporary(const fs::path& target, const fs::path& shown) {
    static const unsigned long long programTag = std::random_device{}();
    static std::atomic<unsigned long long> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path temporary = FolderOf(target) / ("." + target.filename().string() + "." +
                                                       std::to_string(programTag % 1000000) + "-" +
                                                       std::to_string(counter++));
        const int descriptor =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0) {
            return {temporary, descriptor};
        }
        if (errno != EEXIST) {
            Fail(shown, errno);
        }
    }
    Fail(shown, EEXIST);
}

// Refuses a target the rename could replace although the file itself may not be written.
void CheckReplaceable(const Target& target, const fs::path& shown) {
    if (!target.Exists) {
        return;
    }
    if (S_ISDIR(target.Info.st_mode)) {
        Fail(shown, EISDIR);
    }
    if (::faccessat(AT_FDCWD, target.Path.c_str(), W_OK, AT_EACCESS) != 0) {
        Fail(shown, errno);
    }
}

// Gives the new file the old one's rights and, when run as root, its owner, so that replacing
// a user's file does not take it from the user.
void TakeOver(int descriptor, const Target& target) {
    if (!target.Exists) {
        return;
    }
    ::fchmod(descriptor, target.Info.st_mode & 07777);
    if (::geteuid() == 0) {
        [[maybe_unused]] const int ignored =
            ::fchown(descriptor, target.Info.st_uid, target.Info.st_gid);
    }
}

// The new file is whole and synced: it takes the target's place. The folder's own sync makes
// the rename last; the replacement has happened by then, so its failure is no failure of it.
void Commit(const fs::path& temporary, const Target& target, const fs::path& shown) {
    if (::rename(temporary.c_str(), target.Path.c_str()) != 0) {
        Fail(shown, errno);
    }
    const int folder = ::open(FolderOf(target.Path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

// Runs the steps that fill the temporary file; on any failure removes it.
template <typename Steps>
void ThroughTemporary(const Target& target, const fs::path& shown, Steps&& steps) {
    auto [temporary, descriptor] = CreateTemporary(target.Path, shown);
    Descriptor file(descriptor);
    try {
        steps(temporary, file);
        Commit(temporary, target, shown);
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
}

void WriteDirectly(const Target& target, const fs::path& shown, std::string_view bytes) {
    if (target.Descriptor) {
        WriteAll(*target.Descriptor, bytes, shown);
        Sync(*target.Descriptor, shown, IsRegular(*target.Descriptor));
        return;
    }
    Descriptor file(OpenSpecial(target.Path, shown, O_WRONLY));
    WriteAll(file.Get(), bytes, shown);
    Sync(file.Get(), shown, false);
    file.Close(shown);
}

} // namespace

void SaveFile(const fs::path& path, std::string_view bytes) {
    const Target target = Resolve(path);
    if (target.Descriptor ||
        (target.Exists && !S_ISREG(target.Info.st_mode) && !S_ISDIR(target.Info.st_mode))) {
        WriteDirectly(target, path, bytes);
        return;
    }
    CheckReplaceable(target, path);
    ThroughTemporary(target, path, [&](const fs::path&, Descriptor& file) {
        WriteAll(file.Get(), bytes, path);
        Sync(file.Get(), path, true);
        TakeOver(file.Get(), target);
        file.Close(path);
    });
}

void ReplaceFile(const fs::path& path, const std::function<void(const fs::path&)>& build) {
    const Target target = Resolve(path);
    if (target.Descriptor ||
        (target.Exists && !S_ISREG(target.Info.st_mode) && !S_ISDIR(target.Info.st_mode))) {
        throw FileError(FileError::Kind::NotRegular, path,
                        "not a regular file, which this file must be");
    }
    CheckReplaceable(target, path);
    ThroughTemporary(target, path, [&](const fs::path& temporary, Descriptor& file) {
        file.Close(path);
        build(temporary);
        Descriptor built(::open(temporary.c_str(), O_RDONLY | O_CLOEXEC));
        if (built.Get() < 0) {
            Fail(path, errno);
        }
        Sync(built.Get(), path, true);
        TakeOver(built.Get(), target);
        built.Close(path);
    });
}

void AppendToFile(const fs::path& path, std::string_view bytes) {
    Descriptor file(OpenSpecial(path, path, O_WRONLY | O_APPEND | O_CREAT));
    struct stat info {};
    const bool regular = ::fstat(file.Get(), &info) == 0 && S_ISREG(info.st_mode);
    try {
        WriteAll(file.Get(), bytes, path);
        Sync(file.Get(), path, regular);
    } catch (const FileError&) {
        if (regular) {
            [[maybe_unused]] const int ignored = ::ftruncate(file.Get(), info.st_size);
        }
        throw;
    }
    file.Close(path);
}

} // namespace files
