#include "files/FileError.h"
#include "files/SaveSystem.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace files::detail {

namespace {

namespace fs = std::filesystem;

int Descriptor(NativeFile file) {
    return static_cast<int>(file);
}

bool IsRegular(int descriptor) {
    struct stat info {};
    return ::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode);
}

// Opens a path that is not a regular file for writing. O_NONBLOCK keeps a FIFO without a
// reader from blocking the open; the writes themselves block as usual.
File OpenSpecial(const fs::path& path, const fs::path& shown, int flags) {
    const int descriptor = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (descriptor < 0) {
        if (errno == ENXIO) {
            throw FileError(FileError::Kind::Failed, shown, "a FIFO that no program reads");
        }
        Fail(shown, LastError());
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    return File(descriptor);
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

// Many new files reach the disk faster with one sync of their file system than with a sync
// each; the single file of an ordinary save does not make the disk flush what others wrote.
constexpr std::size_t FilesForOneSync = 4;

// What most file systems take, when the folder does not say.
constexpr std::size_t DefaultNameLimit = 255;

} // namespace

SystemError LastError() {
    return static_cast<SystemError>(errno);
}

std::string ErrorText(SystemError error) {
    return SystemReason(static_cast<int>(error));
}

bool CloseFile(NativeFile file) {
    return ::close(Descriptor(file)) == 0 || errno == EINTR;
}

Target Resolve(const fs::path& given) {
    Target target;
    target.Path = given;
    for (int hop = 0; hop < 40; ++hop) {
        if (OwnDescriptor(target.Path)) {
            target.Is = Target::Kind::Special;
            return target;
        }
        struct stat info {};
        if (::lstat(target.Path.c_str(), &info) != 0) {
            if (errno != ENOENT) {
                Fail(given, LastError());
            }
            return target; // a link to a file yet to be made makes that file
        }
        if (!S_ISLNK(info.st_mode)) {
            target.Is = S_ISREG(info.st_mode)   ? Target::Kind::Regular
                        : S_ISDIR(info.st_mode) ? Target::Kind::Folder
                                                : Target::Kind::Special;
            target.Mode = info.st_mode;
            target.Owner = info.st_uid;
            target.Group = info.st_gid;
            return target;
        }
        std::error_code error;
        const fs::path next = fs::read_symlink(target.Path, error);
        if (error) {
            Fail(given, static_cast<SystemError>(error.value()));
        }
        target.Path = next.is_absolute() ? next : target.Path.parent_path() / next;
    }
    Fail(given, ELOOP);
}

std::size_t NameLimit(const fs::path& folder) {
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : DefaultNameLimit;
}

// A target the rename could replace although the file itself may not be written.
bool MayWrite(const Target& target) {
    return target.Is != Target::Kind::Regular ||
           ::faccessat(AT_FDCWD, target.Path.c_str(), W_OK, AT_EACCESS) == 0;
}

File OpenDirect(const Target& target, const fs::path& shown) {
    if (const std::optional<int> descriptor = OwnDescriptor(target.Path)) {
        return File(*descriptor, false);
    }
    return OpenSpecial(target.Path, shown, O_WRONLY);
}

NativeFile CreateNew(const fs::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

bool IsNameTaken(SystemError error) {
    return error == EEXIST;
}

SystemError NameTaken() {
    return EEXIST;
}

bool WriteAll(NativeFile file, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(Descriptor(file), bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A terminal or a pipe cannot be synced, and need not be.
bool FlushToDisk(NativeFile file) {
    if (::fsync(Descriptor(file)) == 0) {
        return true;
    }
    const int error = errno;
    if ((error == EINVAL || error == ENOTSUP) && !IsRegular(Descriptor(file))) {
        return true;
    }
    errno = error;
    return false;
}

NativeFile OpenToSync(const fs::path& path) {
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
}

bool FlushWritten(NativeFile) {
    return true;
}

void SyncWritten(std::span<const NewFile> files) {
#ifdef __linux__
    if (files.size() >= FilesForOneSync) {
        std::vector<dev_t> synced;
        for (const NewFile& file : files) {
            const File opened(OpenToSync(file.Temporary));
            struct stat info {};
            if (opened.Get() == NoFile || ::fstat(Descriptor(opened.Get()), &info) != 0) {
                Fail(file.Shown, LastError());
            }
            if (std::find(synced.begin(), synced.end(), info.st_dev) == synced.end()) {
                if (::syncfs(Descriptor(opened.Get())) != 0) {
                    Fail(file.Shown, LastError());
                }
                synced.push_back(info.st_dev);
            }
        }
        return;
    }
#endif
    for (const NewFile& file : files) {
        SyncClosed(file.Temporary, file.Shown);
    }
}

// The new file takes the old one's rights and, when run as root, its owner, so that replacing a
// user's file does not take it from the user.
void Replace(const NewFile& file) {
    if (file.Where.Is != Target::Kind::Missing) {
        ::chmod(file.Temporary.c_str(), static_cast<mode_t>(file.Where.Mode & 07777));
        if (::geteuid() == 0) {
            [[maybe_unused]] const int ignored =
                ::chown(file.Temporary.c_str(), file.Where.Owner, file.Where.Group);
        }
    }
    if (::rename(file.Temporary.c_str(), file.Where.Path.c_str()) != 0) {
        Fail(file.Shown, LastError());
    }
}

void SyncFolder(const fs::path& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

void RemoveFile(const fs::path& path) {
    ::unlink(path.c_str());
}

File OpenToAppend(const fs::path& path, std::optional<std::uint64_t>& length) {
    File file = OpenSpecial(path, path, O_WRONLY | O_APPEND | O_CREAT);
    struct stat info {};
    if (::fstat(Descriptor(file.Get()), &info) == 0 && S_ISREG(info.st_mode)) {
        length = static_cast<std::uint64_t>(info.st_size);
    }
    return file;
}

void CutBack(NativeFile file, const fs::path&, std::uint64_t length) {
    [[maybe_unused]] const int ignored = ::ftruncate(Descriptor(file), static_cast<off_t>(length));
}

} // namespace files::detail
