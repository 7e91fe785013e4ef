// A plain driver for the fuzz targets where libFuzzer is missing: it takes libFuzzer's command
// line (corpus folders or files, -max_total_time=, -timeout=, -runs=, -seed=, -max_len=,
// -artifact_prefix=), runs every corpus input, then random mutations of them until the time is
// up. It has no coverage feedback; built under the sanitizers it still finds what random bytes
// reach. A fault ends the run with the input written to the artifact prefix.
#include "fuzz/FuzzTarget.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#if __has_include(<sanitizer/common_interface_defs.h>)
#include <sanitizer/common_interface_defs.h>
#define MUEZZIN_HAS_SANITIZER_API 1
#endif

namespace {

using Input = std::vector<std::uint8_t>;

// What a signal handler needs to save the input that brought the fault.
struct CurrentInput {
    const std::uint8_t* Data = nullptr;
    std::size_t Size = 0;
    char CrashPath[4096] = {};
    char TimeoutPath[4096] = {};
};
CurrentInput current;

void SaveInput(const char* path) {
    const int descriptor = ::open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (descriptor >= 0) {
        if (current.Size > 0) {
            [[maybe_unused]] const ssize_t written =
                ::write(descriptor, current.Data, current.Size);
        }
        ::close(descriptor);
    }
    const char* note = "fuzz driver: the input was saved to ";
    [[maybe_unused]] ssize_t n = ::write(STDERR_FILENO, note, std::strlen(note));
    n = ::write(STDERR_FILENO, path, std::strlen(path));
    n = ::write(STDERR_FILENO, "\n", 1);
}

void OnDeath() {
    SaveInput(current.CrashPath);
}

void OnAbort(int) {
    SaveInput(current.CrashPath);
    std::signal(SIGABRT, SIG_DFL);
    std::raise(SIGABRT);
}

void OnTimeout(int) {
    const char* note = "fuzz driver: an input ran past the time-out (a hang)\n";
    [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, note, std::strlen(note));
    SaveInput(current.TimeoutPath);
    ::_exit(70);
}

struct Options {
    double Seconds = 10;
    unsigned Timeout = 10;
    long long Runs = -1;
    std::uint64_t Seed = std::random_device{}();
    std::size_t MaxLength = 4096;
    std::string ArtifactPrefix = "./";
    std::vector<std::filesystem::path> Corpus;
};

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const auto value = [&](const char* name) -> const char* {
            const std::size_t length = std::strlen(name);
            return argument.compare(0, length, name) == 0 ? argv[i] + length : nullptr;
        };
        if (const char* v = value("-max_total_time=")) {
            options.Seconds = std::stod(v);
        } else if (const char* t = value("-timeout=")) {
            options.Timeout = static_cast<unsigned>(std::stoul(t));
        } else if (const char* r = value("-runs=")) {
            options.Runs = std::stoll(r);
        } else if (const char* s = value("-seed=")) {
            options.Seed = std::stoull(s);
        } else if (const char* m = value("-max_len=")) {
            options.MaxLength = std::stoul(m);
        } else if (const char* a = value("-artifact_prefix=")) {
            options.ArtifactPrefix = a;
        } else if (argument.empty() || argument[0] != '-') {
            options.Corpus.emplace_back(argument);
        } // libFuzzer's other flags mean nothing here
    }
    return options;
}

Input ReadInput(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return Input(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<Input> LoadCorpus(const Options& options) {
    std::vector<Input> corpus;
    for (const std::filesystem::path& place : options.Corpus) {
        std::error_code error;
        if (std::filesystem::is_directory(place, error)) {
            for (const auto& entry : std::filesystem::directory_iterator(place, error)) {
                if (entry.is_regular_file()) {
                    corpus.push_back(ReadInput(entry.path()));
                }
            }
        } else if (std::filesystem::is_regular_file(place, error)) {
            corpus.push_back(ReadInput(place));
        }
    }
    if (corpus.empty()) {
        corpus.emplace_back();
    }
    return corpus;
}

void RunOne(const Input& input, unsigned timeout) {
    current.Data = input.data();
    current.Size = input.size();
    ::alarm(timeout);
    LLVMFuzzerTestOneInput(input.data(), input.size());
    ::alarm(0);
}

// Bytes that the parsers under test treat specially.
constexpr std::uint8_t Special[] = {0,    '\n', '\r', '"',  ',',  '=',  '[', ']',  '#',
                                    ';',  ' ',  '.',  '-',  '0',  '9',  'F', 0x55, 0xAA,
                                    0x7F, 0x80, 0xC3, 0xEF, 0xBB, 0xBF, 0xFF};

Input Mutate(Input input, const std::vector<Input>& pool, std::mt19937_64& random,
             std::size_t maxLength) {
    const auto below = [&](std::size_t n) {
        return n == 0 ? std::size_t{0} : static_cast<std::size_t>(random() % n);
    };
    const int steps = 1 + static_cast<int>(below(4));
    for (int step = 0; step < steps; ++step) {
        switch (below(7)) {
        case 0: // flip a bit
            if (!input.empty()) {
                input[below(input.size())] ^= static_cast<std::uint8_t>(1u << below(8));
            }
            break;
        case 1: // any byte
            if (!input.empty()) {
                input[below(input.size())] = static_cast<std::uint8_t>(random());
            }
            break;
        case 2: // a special byte, inserted
            input.insert(input.begin() + static_cast<std::ptrdiff_t>(below(input.size() + 1)),
                         Special[below(std::size(Special))]);
            break;
        case 3: { // a range removed
            const std::size_t from = below(input.size() + 1);
            const std::size_t count = below(std::min<std::size_t>(16, input.size() - from) + 1);
            input.erase(input.begin() + static_cast<std::ptrdiff_t>(from),
                        input.begin() + static_cast<std::ptrdiff_t>(from + count));
            break;
        }
        case 4: { // a range repeated
            const std::size_t from = below(input.size() + 1);
            const std::size_t count = below(std::min<std::size_t>(64, input.size() - from) + 1);
            const Input part(input.begin() + static_cast<std::ptrdiff_t>(from),
                             input.begin() + static_cast<std::ptrdiff_t>(from + count));
            input.insert(input.begin() + static_cast<std::ptrdiff_t>(below(input.size() + 1)),
                         part.begin(), part.end());
            break;
        }
        case 5: { // a piece of another input
            const Input& other = pool[below(pool.size())];
            const std::size_t from = below(other.size() + 1);
            const std::size_t count = below(std::min<std::size_t>(128, other.size() - from) + 1);
            input.insert(input.begin() + static_cast<std::ptrdiff_t>(below(input.size() + 1)),
                         other.begin() + static_cast<std::ptrdiff_t>(from),
                         other.begin() + static_cast<std::ptrdiff_t>(from + count));
            break;
        }
        default: // cut short
            input.resize(below(input.size() + 1));
            break;
        }
    }
    if (input.size() > maxLength) {
        input.resize(maxLength);
    }
    return input;
}

} // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    std::snprintf(current.CrashPath, sizeof current.CrashPath, "%scrash-input",
                  options.ArtifactPrefix.c_str());
    std::snprintf(current.TimeoutPath, sizeof current.TimeoutPath, "%stimeout-input",
                  options.ArtifactPrefix.c_str());
#ifdef MUEZZIN_HAS_SANITIZER_API
    __sanitizer_set_death_callback(OnDeath);
#endif
    std::signal(SIGABRT, OnAbort);
    std::signal(SIGALRM, OnTimeout);

    std::vector<Input> pool = LoadCorpus(options);
    std::mt19937_64 random(options.Seed);
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    long long runs = 0;
    for (const Input& input : pool) {
        RunOne(input, options.Timeout);
        ++runs;
    }
    const std::size_t seeds = pool.size();
    while ((options.Runs < 0 || runs < options.Runs) && elapsed() < options.Seconds) {
        Input input = Mutate(pool[random() % pool.size()], pool, random, options.MaxLength);
        RunOne(input, options.Timeout);
        ++runs;
        // Some mutants stay, so that inputs can drift far from the seeds.
        if (runs % 64 == 0) {
            if (pool.size() < seeds + 256) {
                pool.push_back(std::move(input));
            } else {
                pool[seeds + random() % 256] = std::move(input);
            }
        }
    }
    std::printf("Done %lld runs in %.0f second(s) (plain driver, seed %llu)\n", runs, elapsed(),
                static_cast<unsigned long long>(options.Seed));
    std::printf("stat::number_of_executed_units: %lld\n", runs);
    return 0;
}
