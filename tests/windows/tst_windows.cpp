// The layers without Qt as a Windows program (run under wine here): the Windows branch of the file
// layer with its failure paths, the Windows-1256 converter, the calendar, the clock sample under
// the system's zone and the frame composer held to the tables of the Linux suites, and a
// timetable file held to the one the Linux build wrote.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "calendar/CalendarClock.h"
#include "calendar/CivilTime.h"
#include "comm/Frame.h"
#include "files/CodePage1256.h"
#include "files/InputFile.h"
#include "files/SafeSave.h"
#include "files/WindowsSystem.h"
#include "prayer/TimetableFile.h"
#include "tests/PortableCases.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <doctest.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr std::size_t Limit = 1 << 20;

// Calls visit with each name in a folder, at any depth of path; the library's own folder calls
// stop at MAX_PATH.
void ForEachName(const fs::path& folder,
                 const std::function<void(const WIN32_FIND_DATAW&)>& visit) {
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = LR"(\\?\)" + folder.native() + LR"(\*)";
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") {
            visit(found);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

void RemoveTree(const fs::path& folder) {
    ForEachName(folder, [&](const WIN32_FIND_DATAW& found) {
        const fs::path path = folder / found.cFileName;
        const std::wstring name = LR"(\\?\)" + path.native();
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            RemoveTree(path);
        } else {
            SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(name.c_str());
        }
    });
    RemoveDirectoryW((LR"(\\?\)" + folder.native()).c_str());
}

// A fresh folder with a Persian name in the system's temporary folder, removed afterwards.
class Scratch {
public:
    Scratch() {
        static int count = 0;
        folder_ = fs::temp_directory_path() / (L"آزمایش ذخیره " + std::to_wstring(count++));
        RemoveTree(folder_);
        fs::create_directories(folder_);
    }
    ~Scratch() { RemoveTree(folder_); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const fs::path& Folder() const { return folder_; }

    // Every name in a folder, so that a temporary file left behind shows.
    static std::string Names(const fs::path& folder) {
        std::string names;
        ForEachName(folder, [&](const WIN32_FIND_DATAW& found) {
            names += (names.empty() ? "" : " | ") + files::PathText(found.cFileName);
        });
        return names;
    }

private:
    fs::path folder_;
};

// A folder deep enough that a file in it lies past MAX_PATH, made the long way round since the
// library's own calls stop at MAX_PATH.
fs::path LongFolder(const fs::path& base) {
    std::wstring path = L"\\\\?\\" + fs::absolute(base).make_preferred().native();
    for (int i = 0; i < 12; ++i) {
        path += L"\\پوشه‌ای با نامی دراز " + std::to_wstring(i);
        REQUIRE(CreateDirectoryW(path.c_str(), nullptr));
    }
    return fs::path(path.substr(4));
}

std::string Read(const fs::path& path) {
    return files::ReadFileBounded(path, Limit, files::Overlong::Refuse);
}

// What another program does to a file: holds it open with a sharing mode, for a while or until
// the holder goes.
class Holder {
public:
    Holder(const fs::path& path, DWORD access, DWORD sharing)
        : handle_(CreateFileW(path.c_str(), access, sharing, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {
        REQUIRE(handle_ != INVALID_HANDLE_VALUE);
    }
    ~Holder() {
        if (letGo_.joinable()) {
            letGo_.join();
        }
        CloseHandle(handle_);
    }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;

    void LetGoAfter(std::chrono::milliseconds wait) {
        letGo_ = std::thread([this, wait] {
            std::this_thread::sleep_for(wait);
            CloseHandle(handle_);
            handle_ = INVALID_HANDLE_VALUE;
        });
    }

private:
    HANDLE handle_;
    std::thread letGo_;
};

// The refusal's words, or "" when the call went through.
std::string Refusal(const std::function<void()>& call) {
    try {
        call();
    } catch (const files::FileError& error) {
        return error.what();
    }
    return "";
}

// What another program does to the target before the save.
enum class Before {
    Nothing,
    Write,
    HoldWithoutSharing,
    HoldSharingRead,
    HoldSharingAll,
    HoldBriefly,
    ReadOnly,
    Folder
};

struct SaveCase {
    const char* Name;
    Before Arrange;
    bool Deep;             // the target lies past MAX_PATH
    const char* Refused;   // part of the refusal's words; nullptr when the save goes through
    bool LongName = false; // a name of 246 characters, whose temporary name must be shorter
};

constexpr SaveCase SaveCases[] = {
    {"replaces a file in a Persian folder", Before::Write, false, nullptr},
    {"makes a new file", Before::Nothing, false, nullptr},
    {"replaces a file past MAX_PATH", Before::Write, true, nullptr},
    {"makes a new file past MAX_PATH", Before::Nothing, true, nullptr},
    {"waits for a file held open for a moment", Before::HoldBriefly, false, nullptr},
    {"replaces a file whose reader lets others delete it", Before::HoldSharingAll, false, nullptr},
    {"refuses a file held open without sharing", Before::HoldWithoutSharing, false,
     "held open by another program"},
    {"refuses a file held open by an editor", Before::HoldSharingRead, false,
     "held open by another program"},
    {"refuses a read-only file", Before::ReadOnly, false, "ccess"},
    {"refuses a folder", Before::Folder, false, "irectory"},
    {"replaces a file with a 246-character name", Before::Write, false, nullptr, true},
};

// Another program's handle on the target, when it holds one.
std::unique_ptr<Holder> Arrange(Before before, const fs::path& target) {
    if (before == Before::Folder) {
        fs::create_directory(target);
        return nullptr;
    }
    if (before != Before::Nothing) {
        files::SaveFile(target, "old");
    }
    std::unique_ptr<Holder> holding;
    switch (before) {
    case Before::HoldWithoutSharing:
        holding = std::make_unique<Holder>(target, GENERIC_READ, 0);
        break;
    case Before::HoldSharingRead:
        holding = std::make_unique<Holder>(target, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ);
        break;
    case Before::HoldSharingAll:
        holding = std::make_unique<Holder>(target, GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        break;
    case Before::HoldBriefly:
        holding = std::make_unique<Holder>(target, GENERIC_READ, 0);
        holding->LetGoAfter(150ms);
        break;
    case Before::ReadOnly:
        REQUIRE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
        break;
    default:
        break;
    }
    return holding;
}

} // namespace

TEST_CASE("a save replaces the file whole or keeps the old one, and leaves no temporary file") {
    for (const SaveCase& test : SaveCases) {
        INFO(std::string(test.Name));
        Scratch scratch;
        const fs::path folder = test.Deep ? LongFolder(scratch.Folder()) : scratch.Folder();
        // Latin letters: wine keeps names in UTF-8, where Persian ones would pass 255 bytes.
        const fs::path target =
            folder / (test.LongName ? std::wstring(242, L'a') + L".ini" : L"تنظیمات دستگاه.ini");
        if (test.Deep) {
            CHECK(target.native().size() > MAX_PATH);
        }
        std::string refusal;
        {
            const auto holding = Arrange(test.Arrange, target);
            refusal = Refusal([&] { files::SaveFile(target, "new"); });
        }
        if (test.Refused) {
            CHECK(refusal.find(test.Refused) != std::string::npos);
            // The refusal names the Persian path whole.
            CHECK(refusal.find(reinterpret_cast<const char*>(u8"تنظیمات دستگاه.ini")) !=
                  std::string::npos);
            if (test.Arrange != Before::Folder) {
                SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
                CHECK(Read(target) == "old");
            }
        } else {
            CHECK(refusal == "");
            CHECK(Read(target) == "new");
        }
        CHECK(Scratch::Names(folder) == files::PathText(target.filename()));
    }
}

TEST_CASE("several files: a failure before the renames replaces none") {
    Scratch scratch;
    const fs::path first = scratch.Folder() / L"1405.PTL";
    files::SaveFile(first, "old");
    const std::string_view bytes = "new";
    const files::FileBytes batch[] = {{first, bytes},
                                      {scratch.Folder() / L"نیست" / L"1406.PTL", bytes}};
    CHECK(Refusal([&] { files::SaveFiles(batch); }) != "");
    CHECK(Read(first) == "old");
    CHECK(Scratch::Names(scratch.Folder()) == files::PathText(first.filename()));
}

TEST_CASE("a file another library writes by name") {
    Scratch scratch;
    const fs::path target = scratch.Folder() / L"city.db";
    files::SaveFile(target, "old");
    SUBCASE("a failing build keeps the old file") {
        CHECK(Refusal([&] {
                  files::SaveBuiltFile(target, [](const fs::path&) {
                      throw files::FileError(files::FileError::Kind::Failed, "x", "disk full");
                  });
              }) != "");
        CHECK(Read(target) == "old");
    }
    SUBCASE("a finished build takes its place") {
        files::SaveBuiltFile(target, [](const fs::path& temporary) {
            std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(_wfopen(temporary.c_str(), L"wb"),
                                                                 &std::fclose);
            REQUIRE(file);
            std::fputs("new", file.get());
        });
        CHECK(Read(target) == "new");
    }
    CHECK(Scratch::Names(scratch.Folder()) == files::PathText(target.filename()));
}

TEST_CASE("appending adds to the end, or refuses and leaves the file as it was") {
    struct Case {
        const char* Name;
        Before Arrange;
        bool Deep;
        const char* Refused;
    };
    constexpr Case Cases[] = {
        {"adds to a file", Before::Write, false, nullptr},
        {"makes a missing file", Before::Nothing, false, nullptr},
        {"adds to a file past MAX_PATH", Before::Write, true, nullptr},
        {"adds to a file another program reads and lets others write", Before::HoldSharingAll,
         false, nullptr},
        {"refuses a file held open without sharing", Before::HoldWithoutSharing, false,
         "held open by another program"},
        {"refuses a read-only file", Before::ReadOnly, false, "ccess"},
        {"refuses a folder", Before::Folder, false, "irectory"},
    };
    for (const Case& test : Cases) {
        INFO(std::string(test.Name));
        Scratch scratch;
        const fs::path folder = test.Deep ? LongFolder(scratch.Folder()) : scratch.Folder();
        const fs::path target = folder / L"log.txt";
        std::string refusal;
        {
            const auto holding = Arrange(test.Arrange, target);
            refusal = Refusal([&] { files::AppendToFile(target, "+line\r\n"); });
        }
        const std::string before = test.Arrange == Before::Nothing ? "" : "old";
        if (test.Refused) {
            CHECK(refusal.find(test.Refused) != std::string::npos);
            if (test.Arrange != Before::Folder) {
                SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
                CHECK(Read(target) == before);
            }
        } else {
            CHECK(refusal == "");
            CHECK(Read(target) == before + "+line\r\n");
        }
    }
}

TEST_CASE("an input file is read up to its bound, and only a disk file is read") {
    Scratch scratch;
    const fs::path file = scratch.Folder() / L"ostan.txt";
    files::SaveFile(file, std::string(100, 'x'));
    SUBCASE("bounds") {
        CHECK(files::ReadFileBounded(file, 100, files::Overlong::Refuse).size() == 100);
        CHECK(files::ReadFileBounded(file, 10, files::Overlong::Ignore) == std::string(10, 'x'));
        try {
            files::ReadFileBounded(file, 99, files::Overlong::Refuse);
            FAIL("a file one byte too long was read");
        } catch (const files::FileError& error) {
            CHECK(error.What() == files::FileError::Kind::TooLarge);
        }
    }
    SUBCASE("while another program writes it") {
        Holder writer(file, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
        CHECK(Read(file).size() == 100);
    }
    SUBCASE("while another program replaces it") {
        files::InputFile reading(file);
        const fs::path replacement = scratch.Folder() / L"ostan.new";
        files::SaveFile(replacement, "new");
        CHECK(ReplaceFileW(file.c_str(), replacement.c_str(), nullptr, 0, nullptr, nullptr));
        std::string old(200, '\0');
        old.resize(reading.Read(old.data(), old.size()));
        CHECK(old == std::string(100, 'x'));
        CHECK(Read(file) == "new");
    }
    SUBCASE("refusals") {
        const struct {
            const char* Name;
            fs::path Path;
            files::FileError::Kind Kind;
            files::FileError::Cause Cause; // what the message says of it
        } refused[] = {
            {"missing", scratch.Folder() / L"نیست.txt", files::FileError::Kind::CannotOpen,
             files::FileError::Cause::NotFound},
            {"a folder", scratch.Folder(), files::FileError::Kind::CannotOpen,
             files::FileError::Cause::Folder},
            {"a device", L"NUL", files::FileError::Kind::NotRegular,
             files::FileError::Cause::Other},
            {"held open without sharing", file, files::FileError::Kind::CannotOpen,
             files::FileError::Cause::HeldOpen},
        };
        const Holder exclusive(file, GENERIC_READ, 0);
        for (const auto& test : refused) {
            INFO(std::string(test.Name));
            try {
                files::InputFile opened(test.Path);
                FAIL("opened");
            } catch (const files::FileError& error) {
                CHECK(error.What() == test.Kind);
                CHECK(error.Why() == test.Cause);
            }
        }
    }
}

// Wine takes paths of any length, Windows does not without the \\?\ prefix: the prefix itself is
// checked here.
TEST_CASE("a path past MAX_PATH reaches the system with the prefix that lifts the limit") {
    const std::wstring name(300, L'ب');
    const struct {
        const char* Name;
        std::wstring Given;
        std::wstring Expected;
    } paths[] = {
        {"a short path as it stands", L"a/b.txt", L"a/b.txt"},
        {"a long one, made normal", L"C:/x/../" + name, LR"(\\?\C:\)" + name},
        {"a long one on a share", LR"(\\server\share\)" + name, LR"(\\?\UNC\server\share\)" + name},
        {"a long one with the prefix", LR"(\\?\C:\)" + name, LR"(\\?\C:\)" + name},
    };
    for (const auto& test : paths) {
        INFO(std::string(test.Name));
        CHECK(files::PathText(files::windows::SystemPath(test.Given)) ==
              files::PathText(test.Expected));
    }
}

TEST_CASE("a device is written as it stands, never replaced") {
    Scratch scratch;
    const fs::path before = fs::current_path();
    fs::current_path(scratch.Folder());
    CHECK(Refusal([] { files::SaveFile("NUL", "bytes"); }) == "");
    CHECK(Refusal([] { files::AppendToFile("nul", "bytes"); }) == "");
    CHECK(Scratch::Names(scratch.Folder()) == "");
    fs::current_path(before);
}

// The system's names of devices hold in every folder and with any extension; a save or an append
// never makes a file of that name, and a read refuses it unopened. (COM1-9, LPT1-9, AUX and PRN
// are real ports and printers under wine, so their rule is held by COM0, LPT0 and the others.)
TEST_CASE("the names of devices, with an extension and with the digit 0") {
    const struct {
        const wchar_t* Name;
        bool Device;
        bool Written; // saved and appended to (never a console, which would print)
    } names[] = {
        {L"nul.txt", true, true},      {L"NUL.tar.gz", true, true},   {L"nul .log", true, true},
        {L"COM0", true, true},         {L"com0.txt", true, true},     {L"LPT0.log", true, true},
        {L"con.log", true, false},     {L"CON", true, false},         {L"conout$", true, false},
        {L"nullify.txt", false, true}, {L"console.log", false, true}, {L"com.txt", false, true},
        {L"lpt.txt", false, true},     {L"comx.txt", false, true},
    };
    for (const auto& test : names) {
        INFO(files::PathText(test.Name));
        Scratch scratch;
        const fs::path path = scratch.Folder() / test.Name;
        CHECK(files::windows::IsDevice(path) == test.Device);
        if (test.Written) {
            const std::string saved = Refusal([&] { files::SaveFile(path, "x"); });
            const std::string appended = Refusal([&] { files::AppendToFile(path, "y"); });
            if (test.Device) {
                CHECK(Scratch::Names(scratch.Folder()) == "");
            } else {
                CHECK(saved == "");
                CHECK(appended == "");
                CHECK(Read(path) == "xy");
            }
        }
        if (test.Device) {
            try {
                files::InputFile opened(path);
                FAIL("opened");
            } catch (const files::FileError& error) {
                CHECK(error.What() == files::FileError::Kind::NotRegular);
            }
        }
    }
}

namespace {

// What ReplaceFileW leaves when the new file cannot follow the old one: the old file under the
// backup name, and the error that says so.
BOOL WINAPI StopHalfWay(LPCWSTR replaced, LPCWSTR, LPCWSTR backup, DWORD, LPVOID, LPVOID) {
    MoveFileExW(replaced, backup, 0);
    SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
    return FALSE;
}

// The same, while another program makes a file of the old one's name.
BOOL WINAPI StopHalfWayNameTaken(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD,
                                 LPVOID, LPVOID) {
    StopHalfWay(replaced, replacement, backup, 0, nullptr, nullptr);
    files::SaveFile(fs::path(replaced), "other");
    SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
    return FALSE;
}

} // namespace

TEST_CASE("a replacement stopped half way puts the old file back, or says where it is") {
    Scratch scratch;
    const fs::path target = scratch.Folder() / L"تنظیمات.ini";
    const fs::path replacement = scratch.Folder() / L"تنظیمات.new";
    const fs::path backup = scratch.Folder() / L"تنظیمات.old";
    files::SaveFile(target, "old");
    files::SaveFile(replacement, "new");
    SUBCASE("put back, to be tried again") {
        CHECK(files::windows::ReplaceThroughBackup(target, replacement, backup, target,
                                                   &StopHalfWay) ==
              ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
        CHECK(Read(target) == "old");
        CHECK(Read(replacement) == "new");
        CHECK(!fs::exists(backup));
    }
    SUBCASE("its name taken meanwhile: both names said, nothing overwritten") {
        const std::string refusal = Refusal([&] {
            files::windows::ReplaceThroughBackup(target, replacement, backup, target,
                                                 &StopHalfWayNameTaken);
        });
        CHECK(refusal.find(files::PathText(target)) == 0);
        CHECK(refusal.find("kept as " + files::PathText(backup)) != std::string::npos);
        CHECK(Read(backup) == "old");
        CHECK(Read(target) == "other");
    }
}

TEST_CASE("Windows-1256 is the Linux suite's table both ways, and holds no other character") {
    std::string bytes;
    for (int b = 0; b < 256; ++b) {
        bytes.push_back(static_cast<char>(b));
    }
    const std::u16string table(std::begin(cases::Windows1256), std::end(cases::Windows1256));
    CHECK(files::Windows1256Available());
    const std::u16string read = files::DecodeWindows1256(bytes);
    REQUIRE(read.size() == 256);
    std::string differing;
    for (std::size_t b = 0; b < 256; ++b) {
        if (read[b] != table[b]) {
            differing += " " + std::to_string(b);
        }
    }
    CHECK(differing == "");
    CHECK(files::EncodeWindows1256(table) == bytes);
    // No best fit: every other character is refused where it stands.
    std::string written;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (table.find(static_cast<char16_t>(c)) != std::u16string::npos) {
            continue;
        }
        const char16_t text[] = {u'a', static_cast<char16_t>(c)};
        try {
            files::EncodeWindows1256(std::u16string_view(text, 2));
            written += " " + std::to_string(c);
        } catch (const files::Unmappable& error) {
            if (error.Position() != 1 || error.CodePoint() != c) {
                written += " at " + std::to_string(c);
            }
        }
    }
    CHECK(written == "");
    try {
        files::EncodeWindows1256(u"ab\U0001F600");
        FAIL("written");
    } catch (const files::Unmappable& error) {
        CHECK(error.Position() == 2);
        CHECK(error.CodePoint() == U'\U0001F600');
    }
    const std::u16string_view persian = cases::Windows1256PersianText;
    CHECK(files::EncodeWindows1256(persian) == cases::Windows1256PersianBytes);
    CHECK(files::DecodeWindows1256(cases::Windows1256PersianBytes) == persian);
}

TEST_CASE("solar dates are those of the Linux suite") {
    for (const cases::SolarDate& date : cases::SolarDates) {
        INFO(std::string(date.Name));
        CalendarClock clock;
        clock.Year = date.Year;
        clock.Month = static_cast<std::uint8_t>(date.Month);
        clock.Day = static_cast<std::uint8_t>(date.Day);
        ToSolarDate(clock);
        CHECK(clock.SolarYear == date.SolarYear);
        CHECK(int{clock.SolarMonth} == date.SolarMonth);
        CHECK(int{clock.SolarDay} == date.SolarDay);
    }
}

// Wine takes its zone from TZ when it starts, as Windows has it from its settings; ctest runs this
// case again under each zone wine can show. The C runtime reads TZ on its own and would take
// Asia/Tehran for UTC: the sample must come from the system's zone.
TEST_CASE("the clock sample follows the system's zone, as in the Linux suite" *
          doctest::skip(std::getenv("MUEZZIN_ZONE_CASES") == nullptr)) {
    const char* given = std::getenv("TZ");
    REQUIRE(given != nullptr);
    const std::string zone = given;
    int rows = 0;
    for (const cases::ClockSample& sample : cases::ClockSamples) {
        if (zone != sample.Zone || sample.LastSecondBefore) {
            continue;
        }
        INFO(std::string(sample.Name));
        ++rows;
        const auto& at = sample.Utc;
        const auto t = static_cast<std::time_t>(civil::DaysFromDate(at[0], at[1], at[2]) * 86400 +
                                                at[3] * 3600 + at[4] * 60 + at[5]);
        CalendarClock clock;
        clock.DaylightSaving = !sample.Daylight;
        SampleClock(clock, t);
        const std::vector<int> got = {clock.Year, clock.Month,  clock.Day,
                                      clock.Hour, clock.Minute, clock.Second};
        CHECK(got == std::vector<int>(std::begin(sample.Sample), std::end(sample.Sample)));
        CHECK(clock.DaylightSaving == sample.Daylight);
        char hour[3] = {};
        std::snprintf(hour, sizeof hour, "%02d", sample.LocalHour);
        CHECK(std::string(clock.DateText.data()).find(std::string(" , ") + hour + ":") !=
              std::string::npos);
    }
    CHECK(rows > 0);
}

TEST_CASE("frames are composed as in the Linux suite") {
    std::array<frame::Byte, frame::BufferSize> buffer{};
    for (const cases::FrameLength& row : cases::FrameLengths) {
        INFO(std::string(row.Name));
        const std::vector<frame::Byte> data(static_cast<std::size_t>(row.DataCount), 0x5A);
        const auto size = frame::Compose(buffer, frame::command::WritePage, 0x91, 0x80, data);
        CHECK(size.has_value() == (row.Length >= 0));
        if (size) {
            CHECK(*size == static_cast<std::size_t>(row.FrameSize));
            CHECK(int{buffer[frame::LengthAt]} == row.Length);
            CHECK(buffer[frame::ParamHighAt] == 0x91);
        }
    }
}

// scripts/windows-check gives the file the Linux build's muezzin-timetable wrote, and its place.
TEST_CASE("a timetable file is byte for byte the one the Linux build writes" *
          doctest::skip(std::getenv("MUEZZIN_LINUX_TIMETABLE") == nullptr)) {
    const char* reference = std::getenv("MUEZZIN_LINUX_TIMETABLE");
    const char* place = std::getenv("MUEZZIN_TIMETABLE_PLACE"); // "<year> <latitude> <longitude>"
    REQUIRE(reference != nullptr);
    REQUIRE(place != nullptr);
    int year = 0;
    double latitude = 0;
    double longitude = 0;
    std::istringstream(place) >> year >> latitude >> longitude;
    REQUIRE(year > 0);
    Scratch scratch;
    const fs::path written = scratch.Folder() / L"data" / L"1" / (std::to_wstring(year) + L".PTL");
    prayer::WriteTimetableFile(written, prayer::TimetableFileImage(year, latitude, longitude));
    const std::string expected = Read(fs::path(reference));
    CHECK(expected.size() == prayer::TimetableFileSize);
    CHECK(Read(written) == expected);
}
