#include "files/SafeSave.h"
#include "files/SaveParts.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

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

// A new file beside the target, open for writing.
std::pair<fs::path, int> CreateTemporary(const fs::path& target, const fs::path& shown) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path temporary = detail::TemporaryBeside(target);
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
void TakeOver(const fs::path& temporary, const Target& target) {
    if (!target.Exists) {
        return;
    }
    ::chmod(temporary.c_str(), target.Info.st_mode & 07777);
    if (::geteuid() == 0) {
        [[maybe_unused]] const int ignored =
            ::chown(temporary.c_str(), target.Info.st_uid, target.Info.st_gid);
    }
}

// A new file, written whole beside its target and closed, not yet in its place.
struct Pending {
    Target Where;
    fs::path Shown;
    fs::path Temporary;
};

void SyncFile(const fs::path& path, const fs::path& shown) {
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) {
        Fail(shown, errno);
    }
    Sync(file.Get(), shown, true);
    file.Close(shown);
}

// Many new files reach the disk faster with one sync of their file system than with a sync
// each; the single file of an ordinary save does not make the disk flush what others wrote.
constexpr std::size_t FilesForOneSync = 4;

void SyncAll(const std::vector<Pending>& pending) {
#ifdef __linux__
    if (pending.size() >= FilesForOneSync) {
        std::vector<dev_t> synced;
        for (const Pending& file : pending) {
            Descriptor opened(::open(file.Temporary.c_str(), O_RDONLY | O_CLOEXEC));
            struct stat info {};
            if (opened.Get() < 0 || ::fstat(opened.Get(), &info) != 0) {
                Fail(file.Shown, errno);
            }
            if (std::find(synced.begin(), synced.end(), info.st_dev) == synced.end()) {
                if (::syncfs(opened.Get()) != 0) {
                    Fail(file.Shown, errno);
                }
                synced.push_back(info.st_dev);
            }
        }
        return;
    }
#endif
    for (const Pending& file : pending) {
        SyncFile(file.Temporary, file.Shown);
    }
}

// The folder's sync makes a rename last. The replacement has happened by then, so its failure
// is no failure of the save.
void SyncFolder(const fs::path& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

void RemoveAll(const std::vector<Pending>& pending, std::size_t from = 0) {
    for (std::size_t i = from; i < pending.size(); ++i) {
        ::unlink(pending[i].Temporary.c_str());
    }
}

// Every new file is whole and closed: syncs them, gives them the old files' rights, moves each
// into its place and syncs each folder once. A failure removes the new files not yet moved.
void Complete(const std::vector<Pending>& pending) {
    try {
        SyncAll(pending);
        for (const Pending& file : pending) {
            TakeOver(file.Temporary, file.Where);
        }
    } catch (...) {
        RemoveAll(pending);
        throw;
    }
    std::vector<fs::path> folders;
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const Pending& file = pending[i];
        if (::rename(file.Temporary.c_str(), file.Where.Path.c_str()) != 0) {
            const int error = errno;
            RemoveAll(pending, i);
            Fail(file.Shown, error);
        }
        const fs::path folder = detail::FolderOf(file.Where.Path);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(folder);
        }
    }
    for (const fs::path& folder : folders) {
        SyncFolder(folder);
    }
}

bool IsSpecial(const Target& target) {
    return target.Descriptor ||
           (target.Exists && !S_ISREG(target.Info.st_mode) && !S_ISDIR(target.Info.st_mode));
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

void SaveFiles(std::span<const FileBytes> files) {
    std::vector<Pending> pending;
    pending.reserve(files.size());
    try {
        for (const FileBytes& file : files) {
            Target target = Resolve(file.Path);
            if (IsSpecial(target)) {
                WriteDirectly(target, file.Path, file.Bytes);
                continue;
            }
            CheckReplaceable(target, file.Path);
            const auto [temporary, descriptor] = CreateTemporary(target.Path, file.Path);
            pending.push_back({std::move(target), file.Path, temporary});
            Descriptor written(descriptor);
            WriteAll(written.Get(), file.Bytes, file.Path);
            written.Close(file.Path);
        }
    } catch (...) {
        RemoveAll(pending);
        throw;
    }
    Complete(pending);
}

void SaveBuiltFile(const fs::path& path, const std::function<void(const fs::path&)>& build) {
    Target target = Resolve(path);
    if (IsSpecial(target)) {
        detail::RefuseSpecial(path);
    }
    CheckReplaceable(target, path);
    const auto [temporary, descriptor] = CreateTemporary(target.Path, path);
    std::vector<Pending> pending{{std::move(target), path, temporary}};
    try {
        Descriptor(descriptor).Close(path);
        build(temporary);
    } catch (...) {
        RemoveAll(pending);
        throw;
    }
    Complete(pending);
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
