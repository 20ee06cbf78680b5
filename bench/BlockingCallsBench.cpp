// What may still hold the simulator's thread outside the network (which runs on the speech worker): the
// settings file written and synced (Options' Save, start with autostart, stop), a clipboard tool that
// hangs (Control-C / Control-V in a text field; killed after its time limit), and opening the speech
// libraries and the sound device the first time cloud speech is needed (start, or switching it on).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "Harness.h"
#include "plugin/Audio.h"
#include "plugin/Https.h"
#include "ui/Clipboard.h"
#include "ui/Settings.h"

namespace fs = std::filesystem;

namespace
{

/// A simulated X-Plane folder on the disk the build is on (not a memory file system): fsync costs there.
void ResetOnDisk()
{
    simhost::Options options;
    options.xplaneFolder = fs::current_path() / "bench-xplane";
    fs::create_directories(options.xplaneFolder);
    simhost::Reset(options);
    simhost::WriteFile("Resources/plugins/Vellomir64/Voices.txt", "");
}

void BM_WriteSettings(benchmark::State &state)
{
    ResetOnDisk();
    snprintf(azureKey, sizeof azureKey, "%s", "0123456789abcdef");
    double longest = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        writeSettings();
        longest = std::max(longest, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["longest_ms"] = longest * 1000.0;
    simhost::Shutdown();
    std::error_code ignored;
    fs::remove_all(fs::current_path() / "bench-xplane", ignored);
}
BENCHMARK(BM_WriteSettings)->Iterations(50)->Unit(benchmark::kMillisecond);

void BM_ClipboardToolThatHangs(benchmark::State &state)
{
    char folder[] = "/tmp/vellomir-hang-XXXXXX";
    mkdtemp(folder);
    std::string tool = std::string(folder) + "/xclip";
    FILE *script = fopen(tool.c_str(), "w");
    fprintf(script, "#!/bin/sh\nsleep 30\n");
    fclose(script);
    chmod(tool.c_str(), 0755);
    setenv(kClipboardPathVariable, folder, 1);
    simhost::Reset();
    for (auto _ : state)
        benchmark::DoNotOptimize(Utils_GetClipboardText());
    simhost::Shutdown();
    unsetenv(kClipboardPathVariable);
    fs::remove_all(folder);
}
BENCHMARK(BM_ClipboardToolThatHangs)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_OpenSpeechLibrariesAndSoundDevice(benchmark::State &state)
{
    setenv("ALSOFT_DRIVERS", "null", 1);
    simhost::Reset();
    for (auto _ : state) {
        bool curl = Https_Available();
        System_InitAudio(12000);
        state.counters["ready"] = curl && my_context != nullptr;
    }
    System_CloseAudio();
    simhost::Shutdown();
}
// Once: the libraries stay open for the process.
BENCHMARK(BM_OpenSpeechLibrariesAndSoundDevice)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
