#include "files/SafeSave.h"

#include "files/SaveSystem.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <random>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace files {

namespace fs = std::filesystem;
using namespace detail;

namespace {

// The folder a path lies in; "." for a bare name.
fs::path FolderOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

// Room kept below the name limit for a file that a builder makes beside its new file (SQLite's
// "-journal").
constexpr std::size_t SideFileRoom = 8;

// Whether the unit continues a character: a UTF-8 continuation byte on POSIX, the second half
// of a UTF-16 surrogate pair on Windows.
template <typename Unit> bool ContinuesCharacter(Unit unit) {
    const auto value = static_cast<std::make_unsigned_t<Unit>>(unit);
    if constexpr (sizeof(Unit) == 1) {
        return (value & 0xC0U) == 0x80U;
    } else {
        return value >= 0xDC00U && value <= 0xDFFFU;
    }
}

// The name's first units at most, cut where a character begins, so that the shortened name
// stays text.
fs::path::string_type CutName(const fs::path::string_type& name, std::size_t units) {
    if (name.size() <= units) {
        return name;
    }
    while (units > 0 && ContinuesCharacter(name[units])) {
        --units;
    }
    return name.substr(0, units);
}

} // namespace

namespace detail {

void Fail(const fs::path& shown, SystemError error) {
    throw FileError(FileError::Kind::Failed, shown, ErrorText(error));
}

File::File(File&& other) noexcept
    : native_(std::exchange(other.native_, NoFile)), owned_(other.owned_) {}

File::~File() {
    if (owned_ && native_ != NoFile) {
        CloseFile(native_);
    }
}

void File::Close(const fs::path& shown) {
    if (!owned_) {
        return;
    }
    if (!CloseFile(std::exchange(native_, NoFile))) {
        Fail(shown, LastError());
    }
}

fs::path TemporaryBeside(const fs::path& target) {
    static const unsigned long long programTag = std::random_device{}();
    static std::atomic<unsigned long long> counter{0};
    const std::string suffix =
        "." + std::to_string(programTag % 1000000) + "-" + std::to_string(counter++);
    // The part taken from the target's name is cut so that the whole stays within the folder's
    // name limit, with room for a file a builder makes beside it; the suffix alone keeps it
    // unique.
    const std::size_t taken = suffix.size() + 1 + SideFileRoom;
    const std::size_t limit = NameLimit(FolderOf(target));
    // Joined in the system's own characters: only the digits are narrow text.
    fs::path name(".");
    name += CutName(target.filename().native(), limit > taken ? limit - taken : 0);
    name += suffix;
    return FolderOf(target) / name;
}

void CheckWritable(const Target& target, const fs::path& shown) {
    if (target.Is == Target::Kind::Folder) {
        throw FileError(FileError::Kind::Failed, shown, SystemReason(EISDIR));
    }
    if (!MayWrite(target)) {
        Fail(shown, LastError());
    }
}

void SyncClosed(const fs::path& path, const fs::path& shown) {
    File opened(OpenToSync(path));
    if (opened.Get() == NoFile || !FlushToDisk(opened.Get())) {
        Fail(shown, LastError());
    }
    opened.Close(shown);
}

} // namespace detail

namespace {

void WriteDirectly(const Target& target, const fs::path& shown, std::string_view bytes) {
    File file = OpenDirect(target, shown);
    if (!WriteAll(file.Get(), bytes) || !FlushToDisk(file.Get())) {
        Fail(shown, LastError());
    }
    file.Close(shown);
}

// A new file beside the target, open for writing.
std::pair<fs::path, File> CreateTemporary(const fs::path& target, const fs::path& shown) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path temporary = TemporaryBeside(target);
        const NativeFile created = CreateNew(temporary);
        if (created != NoFile) {
            return {std::move(temporary), File(created)};
        }
        const SystemError error = LastError();
        if (!IsNameTaken(error)) {
            Fail(shown, error);
        }
    }
    Fail(shown, NameTaken());
}

void RemoveAll(std::span<const NewFile> files, std::size_t from = 0) {
    for (std::size_t i = from; i < files.size(); ++i) {
        RemoveFile(files[i].Temporary);
    }
}

// Every new file is whole and on the disk: moves each into its place and syncs each folder once.
// A failure removes the new files not yet moved.
void MoveIntoPlace(std::span<const NewFile> files) {
    std::vector<fs::path> folders;
    for (std::size_t i = 0; i < files.size(); ++i) {
        try {
            Replace(files[i]);
        } catch (...) {
            RemoveAll(files, i);
            throw;
        }
        const fs::path folder = FolderOf(files[i].Where.Path);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(folder);
        }
    }
    for (const fs::path& folder : folders) {
        SyncFolder(folder);
    }
}

} // namespace

void SaveFile(const fs::path& path, std::string_view bytes) {
    const FileBytes file{path, bytes};
    SaveFiles(std::span<const FileBytes>(&file, 1));
}

void SaveFiles(std::span<const FileBytes> files) {
    std::vector<NewFile> written;
    written.reserve(files.size());
    try {
        for (const FileBytes& file : files) {
            Target target = Resolve(file.Path);
            if (target.Is == Target::Kind::Special) {
                WriteDirectly(target, file.Path, file.Bytes);
                continue;
            }
            CheckWritable(target, file.Path);
            auto [temporary, created] = CreateTemporary(target.Path, file.Path);
            written.push_back({std::move(target), file.Path, std::move(temporary)});
            if (!WriteAll(created.Get(), file.Bytes) || !FlushWritten(created.Get())) {
                Fail(file.Path, LastError());
            }
            created.Close(file.Path);
        }
        SyncWritten(written);
    } catch (...) {
        RemoveAll(written);
        throw;
    }
    MoveIntoPlace(written);
}

void SaveBuiltFile(const fs::path& path, const std::function<void(const fs::path&)>& build) {
    Target target = Resolve(path);
    if (target.Is == Target::Kind::Special) {
        throw FileError(FileError::Kind::NotRegular, path,
                        "not a regular file, which this file must be");
    }
    CheckWritable(target, path);
    auto [temporary, created] = CreateTemporary(target.Path, path);
    const std::vector<NewFile> written{{std::move(target), path, temporary}};
    try {
        created.Close(path);
        build(temporary);
        // What the builder wrote reaches the disk before the file takes the old one's place.
        SyncClosed(temporary, path);
    } catch (...) {
        RemoveAll(written);
        throw;
    }
    MoveIntoPlace(written);
}

void AppendToFile(const fs::path& path, std::string_view bytes) {
    std::optional<std::uint64_t> length;
    File file = OpenToAppend(path, length);
    try {
        if (!WriteAll(file.Get(), bytes) || !FlushToDisk(file.Get())) {
            Fail(path, LastError());
        }
    } catch (const FileError&) {
        if (length) {
            CutBack(file.Get(), path, *length);
        }
        throw;
    }
    file.Close(path);
}

void CheckCanAppend(const fs::path& path) {
    const Target target = Resolve(path);
    if (target.Is == Target::Kind::Missing) {
        CheckCanCreateIn(FolderOf(target.Path));
        return;
    }
    if (target.Is == Target::Kind::Folder) {
        throw FileError(FileError::Kind::Failed, path, SystemReason(EISDIR));
    }
    std::optional<std::uint64_t> length;
    File file = OpenToAppend(path, length);
    file.Close(path);
}

void CheckCanCreateIn(const fs::path& folder) {
    auto [temporary, created] = CreateTemporary(folder / "check", folder);
    try {
        created.Close(folder);
    } catch (...) {
        RemoveFile(temporary);
        throw;
    }
    RemoveFile(temporary);
}

} // namespace files
