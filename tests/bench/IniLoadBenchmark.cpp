// Load speed of the INI reader on a generated multi-megabyte file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "modulefile/IniFile.h"

namespace {

using namespace tessaly;

// About 8 MB of sections and entries in the shapes a Module Description File uses: quoted step
// strings, comments, blank lines and CR LF line ends.
std::string GenerateIni() {
    std::string text;
    std::mt19937 random(20240601);
    char line[300];
    for (int s = 0; text.size() < 8u * 1024 * 1024; ++s) {
        std::snprintf(line, sizeof line, "; function %d\r\n[Function%dDevice%d]\r\n", s, s, s % 7);
        text += line;
        for (int e = 0; e < 24; ++e) {
            const int steps = static_cast<int>(random() % 5);
            std::string value = "\"";
            for (int k = 0; k < steps; ++k) {
                std::snprintf(line, sizeof line, "C16 BAR%d 0x%08X 0xFFFF 0x%04X;",
                              static_cast<int>(random() % 6), static_cast<unsigned>(random()),
                              static_cast<unsigned>(random() % 65536));
                value += line;
            }
            value += "\"";
            std::snprintf(line, sizeof line, "InterruptDetect%d = %s\r\n", e, value.c_str());
            text += line;
        }
        text += "ModelCode=0x1234\r\nVISARegistration=\"Some Registration Name\"\r\n\r\n";
    }
    return text;
}

// The generated file, written once into the temporary folder and removed at exit.
struct GeneratedFile {
    GeneratedFile() : bytes(GenerateIni()) {
        path = (std::filesystem::temp_directory_path() /
                ("tessaly-ini-bench-" + std::to_string(std::random_device{}()) + ".ini"))
                   .string();
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    ~GeneratedFile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    std::string bytes;
    std::string path;
};

const GeneratedFile& File() {
    static const GeneratedFile file;
    return file;
}

void BM_IniLoad(benchmark::State& state) {
    const GeneratedFile& file = File();
    for (auto _ : state) {
        IniDocument document = IniCreate(false);
        if (IniLoad(*document, file.path) != 0) {
            state.SkipWithError("IniLoad failed");
            break;
        }
        benchmark::DoNotOptimize(document->sections.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(file.bytes.size()));
    state.counters["file_MB"] = static_cast<double>(file.bytes.size()) / 1e6;
}
BENCHMARK(BM_IniLoad)->Unit(benchmark::kMillisecond);

void BM_IniLoadFromMemory(benchmark::State& state) {
    const GeneratedFile& file = File();
    for (auto _ : state) {
        IniDocument document = IniCreate(false);
        IniLoadFromMemory(*document, file.bytes);
        benchmark::DoNotOptimize(document->sections.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(file.bytes.size()));
}
BENCHMARK(BM_IniLoadFromMemory)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
