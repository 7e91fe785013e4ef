// The timetable file: any 6144 bytes convert into a year block whose header names the year and
// whose every stored time is decoded from the file's codes.
#include "device/YearBlock.h"
#include "fuzz/FuzzTarget.h"

#include <array>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const int year = 1300 + ((data[0] << 8 | data[1]) % 256);
    std::array<std::uint8_t, TimetableFileSize> file{};
    std::memcpy(file.data(), data + 2, std::min(size - 2, file.size()));
    const YearBlock block = ConvertTimetable(file, year);
    Require(std::memcmp(block.data(), std::to_string(year).data(), 4) == 0,
            "the header starts with the year");
    Require(block[YearBlockTimeOffset(12, 30, 5)] ==
                DecodeHour(file[TimetableFileOffset(12, 30, 5)]),
            "the last time of the year is the file's");
    return 0;
}
