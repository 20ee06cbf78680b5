// The local voice: the frame while espeak-ng speaks queued messages (frames in real time at 60 Hz; the
// longest draw callback is reported, the simulator's budget being about 16 ms), one espeak-ng run for a
// typical controller message, and the radio sound on its wave.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "BenchSample.h"
#include "Harness.h"
#include "comms/MessageQueue.h"
#include "navdata/AptNav.h"
#include "plugin/Audio.h"
#include "plugin/FirstFrame.h"
#include "plugin/FrameDriver.h"
#include "plugin/PluginGlobals.h"
#include "plugin/SimDataRefs.h"
#include "speech/LocalTTS.h"
#include "speech/RadioSound.h"
#include "speech/SpeechWorker.h"
#include "speech/Wave.h"
#include "state/Pilot.h"
#include "ui/ExternalTool.h"
#include "ui/Settings.h"

namespace
{

const char *const kMessage = "Vellomir one two tree, runway two seven left, cleared to land, wind one six zero at eight";

std::string Espeak()
{
    const char *names[] = {"espeak-ng"};
    return Utils_FindTool(names, 1, getenv("PATH"));
}

/// KSEA at a gate with the driver window open and the local voice on.
bool SetUp()
{
    Bench_AtSeattleGate();
    localTtsOn = 1;
    radioSoundOn = 1;
    gIsSpeechActivated = 1;
    snprintf(voceLocaleAttuale, sizeof voceLocaleAttuale, "%s", "en-gb-scotland+m3");
    return my_context != nullptr && !Espeak().empty();
}

void TearDown()
{
    Bench_LeaveSeattleGate();
    localTtsOn = 0;
    simhost::Shutdown();
}

void BM_FramesWhileTheLocalVoiceSpeaks(benchmark::State &state)
{
    if (!SetUp()) {
        state.SkipWithError("no sound device or no espeak-ng");
        TearDown();
        return;
    }
    using Clock = std::chrono::steady_clock;
    int frames = 0;
    for (auto _ : state) {
        for (int i = 0; i < 3; i++) {
            messaggio m;
            snprintf(m.text, sizeof m.text, "Vellomir @12%d@, runway *16L*, contact departure #124.2#", i);
            m.frequencyFilter = "ALL";
            m.duration = 1;
            m.sender = &pilotObj;
            queue.push_back(m);
        }
        Clock::time_point next = Clock::now();
        const Clock::time_point giveUp = next + std::chrono::seconds(60);
        while ((!queue.empty() || SpeechWorker_Pending() > 0 || Wave_HeldUtterances() > 0) && Clock::now() < giveUp) {
            simhost::RunFrame();
            frames++;
            next += std::chrono::microseconds(16667);
            std::this_thread::sleep_until(next);
        }
        state.SetIterationTime(simhost::LongestFrameDrawSeconds());
    }
    state.counters["longest_frame_ms"] = simhost::LongestFrameDrawSeconds() * 1000.0;
    state.counters["frames"] = frames;
    TearDown();
}
BENCHMARK(BM_FramesWhileTheLocalVoiceSpeaks)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

/// One espeak-ng run for a controller message, as the speech worker runs it.
void BM_EspeakSynthesis(benchmark::State &state)
{
    std::string espeak = Espeak();
    if (espeak.empty()) {
        state.SkipWithError("no espeak-ng");
        return;
    }
    const char *argv[] = {espeak.c_str(), "-v", "en-gb-scotland+m3", "-w", "/tmp/vellomir-bench.wav", "--stdin",
                          nullptr};
    std::string text = kMessage;
    for (auto _ : state)
        benchmark::DoNotOptimize(Utils_RunTool(argv, &text, nullptr, 0, kLocalTtsTimeoutMs));
}
BENCHMARK(BM_EspeakSynthesis)->Unit(benchmark::kMillisecond);

/// The radio sound on that message's wave (about five seconds at 22 kHz).
void BM_RadioSound(benchmark::State &state)
{
    std::ifstream file("/tmp/vellomir-bench.wav", std::ios::binary);
    std::string wave((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    WavePcm pcm;
    if (!Wave_ParsePcm(wave, &pcm)) {
        state.SkipWithError("no wave from the synthesis benchmark");
        return;
    }
    state.counters["speech_seconds"] = (double)pcm.dataLength / 2 / pcm.sampleRate;
    for (auto _ : state) {
        std::string image = wave;
        benchmark::DoNotOptimize(RadioSound_Apply(image, 1));
    }
}
BENCHMARK(BM_RadioSound)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
