// Load speed of the INI reader on a generated multi-megabyte file, and of the module loader on
// the most expensive module files of the largest size it reads, next to the INI reader's parse of
// the same bytes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

#include "modulefile/IniFile.h"
#include "modulefile/ModuleLoader.h"
#include "tests/fakes/HostileModules.h"
#include "tests/fakes/RecordingPrompter.h"
#include "tests/fakes/TempDir.h"

namespace {

using namespace tessaly;

// About 8 MB of sections and entries in the shapes a Module Description File uses: quoted step
// strings, comments, blank lines and CR LF line ends.
std::string GenerateIni() {
    std::string text;
    std::mt19937 random(20240601);
    for (int s = 0; text.size() < 8u * 1024 * 1024; ++s) {
        text += "; function " + std::to_string(s) + "\r\n[Function" + std::to_string(s) + "Device" +
                std::to_string(s % 7) + "]\r\n";
        for (int e = 0; e < 24; ++e) {
            text += "InterruptDetect" + std::to_string(e) + " = \"";
            for (auto steps = random() % 5; steps > 0; --steps) {
                char step[64];
                std::snprintf(step, sizeof step, "C16 BAR%u 0x%08X 0xFFFF 0x%04X;",
                              static_cast<unsigned>(random() % 6), static_cast<unsigned>(random()),
                              static_cast<unsigned>(random() % 65536));
                text += step;
            }
            text += "\"\r\n";
        }
        text += "ModelCode=0x1234\r\nVISARegistration=\"Some Registration Name\"\r\n\r\n";
    }
    return text;
}

// Written once into a temporary folder, removed at exit.
struct GeneratedFile {
    testing::TempDir dir;
    std::string bytes = GenerateIni();
    std::string path = dir.Write("bench.ini", bytes);
};

void BM_IniLoad(benchmark::State& state) {
    static const GeneratedFile file;
    for (auto _ : state) {
        IniDocument document = IniCreate(false);
        if (IniLoad(*document, file.path) != 0) {
            state.SkipWithError("IniLoad failed");
            break;
        }
        benchmark::DoNotOptimize(document->sections.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.bytes.size()));
}
BENCHMARK(BM_IniLoad)->Unit(benchmark::kMillisecond);

const testing::HostileModule& Hostile(std::int64_t index) {
    static const std::vector<testing::HostileModule> modules = testing::HostileModules();
    return modules.at(static_cast<std::size_t>(index));
}

// The INI reader alone: the baseline of each module file below.
void BM_HostileParse(benchmark::State& state) {
    const testing::HostileModule& module = Hostile(state.range(0));
    state.SetLabel(module.name);
    for (auto _ : state) {
        IniDocument document = IniCreate(false);
        IniLoadFromMemory(*document, module.bytes);
        benchmark::DoNotOptimize(document->sections.data());
    }
}

// The same bytes parsed and loaded as a module description file.
void BM_HostileLoad(benchmark::State& state) {
    const testing::HostileModule& module = Hostile(state.range(0));
    state.SetLabel(module.name);
    for (auto _ : state) {
        IniDocument document = IniCreate(false);
        IniLoadFromMemory(*document, module.bytes);
        testing::RecordingPrompter prompter;
        DeviceDescription device;
        const auto first = [](const std::vector<std::string>&) { return std::optional<int>(0); };
        if (LoadModuleDescription(device, *document, prompter, first) != 0 ||
            testing::ModuleSummary(device) != module.expected) {
            state.SkipWithError("the module did not load as expected");
            break;
        }
    }
}

void HostileArguments(benchmark::internal::Benchmark* benchmark) {
    benchmark->DenseRange(0, static_cast<int>(testing::HostileModules(1024).size()) - 1)
        ->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_HostileParse)->Apply(HostileArguments);
BENCHMARK(BM_HostileLoad)->Apply(HostileArguments);

}  // namespace

BENCHMARK_MAIN();
