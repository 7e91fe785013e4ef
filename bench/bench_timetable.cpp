// Ten solar years of timetable files for 500 counties spread over Iran (latitudes 25..40,
// longitudes 44..63), computed and written into a temporary folder; prints the time taken.
// The folder is made in the system's temporary folder, or in the folder given as argument.
#include "prayer/TimetableFile.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

} // namespace

int main(int argc, char* argv[]) {
    constexpr int Rows = 20;    // latitudes
    constexpr int Columns = 25; // longitudes
    constexpr int Counties = Rows * Columns;
    constexpr int FirstYear = 1404;
    constexpr int Years = 10;
    constexpr double TargetSeconds = 10.0;

    const fs::path parent = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    const fs::path root = parent / ("muezzin-bench-" + std::to_string(std::random_device{}()));
    const std::clock_t cpuStart = std::clock();
    Clock::duration computing{};
    Clock::duration writing{};
    const auto start = Clock::now();
    // Written as muezzin-timetable writes them: a batch of counties synced at once.
    constexpr std::size_t BatchFiles = 200;
    std::vector<prayer::TimetableFileOut> batch;
    const auto flush = [&] {
        const auto before = Clock::now();
        prayer::WriteTimetableFiles(batch);
        writing += Clock::now() - before;
        batch.clear();
    };
    for (int county = 0; county < Counties; ++county) {
        const int row = county / Columns;
        const int column = county % Columns;
        const double latitude = 25.0 + 15.0 * row / (Rows - 1);
        const double longitude = 44.0 + 19.0 * column / (Columns - 1);
        const fs::path folder = root / "data" / std::to_string(county / 100 + 1) /
                                std::to_string(county / 10 + 1) / std::to_string(county + 1);
        for (int year = FirstYear; year < FirstYear + Years; ++year) {
            const auto before = Clock::now();
            batch.push_back({folder / (std::to_string(year) + ".PTL"),
                             prayer::TimetableFileImage(year, latitude, longitude)});
            computing += Clock::now() - before;
        }
        if (batch.size() >= BatchFiles) {
            flush();
        }
    }
    flush();
    const double total = Seconds(Clock::now() - start);
    // Processor time beside the wall time shows how much of it other work on the machine took.
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;

    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file() && entry.file_size() == prayer::TimetableFileSize) {
            ++files;
        }
    }
    fs::remove_all(root);

    std::printf("written under    : %s\n", parent.string().c_str());
    std::printf("counties x years : %d x %d\n", Counties, Years);
    std::printf("files of 6144 B  : %d of %d\n", files, Counties * Years);
    std::printf("computing        : %.3f s\n", Seconds(computing));
    std::printf("writing          : %.3f s\n", Seconds(writing));
    std::printf("total            : %.3f s (target < %.0f s)\n", total, TargetSeconds);
    std::printf("processor time   : %.3f s\n", cpu);
    return files == Counties * Years && total < TargetSeconds ? 0 : 1;
}
