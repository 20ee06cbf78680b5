// The frame while the cloud voice is slow: the frame driver delivers queued messages with the cloud engine
// on, against the local HTTPS test server answering every synthesis after two seconds, frames running in
// real time at 60 Hz. Reports the longest frame (the wall-clock time of the driver's draw callback; the
// simulator's budget is about 16 ms) and, for comparison, one synthesis waited for as the frame once did.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>

#include "BenchSample.h"
#include "Harness.h"
#include "comms/MessageQueue.h"
#include "navdata/AptNav.h"
#include "plugin/Audio.h"
#include "plugin/FirstFrame.h"
#include "plugin/FrameDriver.h"
#include "plugin/Https.h"
#include "plugin/PluginGlobals.h"
#include "plugin/SimDataRefs.h"
#include "speech/AzureTTS.h"
#include "speech/SpeechWorker.h"
#include "speech/Voices.h"
#include "speech/Wave.h"
#include "state/Pilot.h"
#include "support/TlsTestServer.h"
#include "ui/Settings.h"

namespace
{

const int kServiceDelayMs = 2000;
const int kMessages = 3;
const char *const kSpeechPath = "/cognitiveservices/v1";

/// A mono 16-bit 24 kHz wave of a tenth of a second.
std::string ShortWave()
{
    std::string samples;
    for (int i = 0; i < 2400; i++) {
        int16_t sample = (int16_t)(8000.0 * sin(2.0 * M_PI * 440.0 * i / 24000.0));
        samples += (char)(sample & 0xff);
        samples += (char)((sample >> 8) & 0xff);
    }
    auto le = [](uint32_t value, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; i++)
            out += (char)((value >> (8 * i)) & 0xff);
        return out;
    };
    std::string body = "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(24000, 4) + le(48000, 4) + le(2, 2) +
                       le(16, 2) + "data" + le((uint32_t)samples.size(), 4) + samples;
    return "RIFF" + le((uint32_t)body.size(), 4) + body;
}

/// KSEA at a gate with the driver window open and the cloud engine on against the server.
bool SetUp(TlsTestServer &server)
{
    for (const char *name : {"http_proxy", "https_proxy", "HTTPS_PROXY", "ALL_PROXY", "all_proxy"})
        unsetenv(name);
    Bench_AtSeattleGate();
    if (!server.Start() || my_context == nullptr || !Https_Available())
        return false;
    server.Script(kSpeechPath, {{200, ShortWave(), kServiceDelayMs}});
    snprintf(azureTtsUrl, sizeof azureTtsUrl, "%s", server.Url(kSpeechPath).c_str());
    snprintf(azureTokenUrl, sizeof azureTokenUrl, "%s", server.Url("/sts/v1.0/issueToken").c_str());
    snprintf(httpsCaFile, sizeof httpsCaFile, "%s", server.CaFile().c_str());
    snprintf(azureToken, sizeof azureToken, "%s", "token");
    snprintf(voceRandomAttuale, sizeof voceRandomAttuale, "%s", "en-US-JennyNeural");
    azureTtsOn = 1;
    gIsSpeechActivated = 1;
    return true;
}

void TearDown(TlsTestServer &server)
{
    Bench_LeaveSeattleGate();
    server.Stop();
    azureTtsOn = 0;
    simhost::Shutdown();
}

void QueueMessages()
{
    for (int i = 0; i < kMessages; i++) {
        messaggio m;
        snprintf(m.text, sizeof m.text, "Vellomir @12%d@, contact departure #124.2#", i);
        m.frequencyFilter = "ALL";
        m.duration = 1;
        m.sender = &pilotObj;
        queue.push_back(m);
    }
}

void BM_FramesWhileTheCloudVoiceIsSlow(benchmark::State &state)
{
    TlsTestServer server;
    if (!SetUp(server)) {
        state.SkipWithError("no HTTPS test server, sound device or libcurl");
        TearDown(server);
        return;
    }
    using Clock = std::chrono::steady_clock;
    int frames = 0;
    for (auto _ : state) {
        QueueMessages();
        Clock::time_point next = Clock::now();
        const Clock::time_point giveUp = next + std::chrono::seconds(30);
        while ((!queue.empty() || SpeechWorker_Pending() > 0) && Clock::now() < giveUp) {
            simhost::RunFrame();
            frames++;
            next += std::chrono::microseconds(16667);
            std::this_thread::sleep_until(next);
        }
        state.SetIterationTime(simhost::LongestFrameDrawSeconds());
    }
    state.counters["longest_frame_ms"] = simhost::LongestFrameDrawSeconds() * 1000.0;
    state.counters["frames"] = frames;
    state.counters["syntheses"] = (double)server.RequestsTo(kSpeechPath).size();
    state.counters["last_status"] = azureReturnCode;
    TearDown(server);
}
BENCHMARK(BM_FramesWhileTheCloudVoiceIsSlow)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

/// One synthesis waited for, as a frame that called the service itself would have waited.
void BM_OneSynthesisWaitedFor(benchmark::State &state)
{
    TlsTestServer server;
    if (!SetUp(server)) {
        state.SkipWithError("no HTTPS test server, sound device or libcurl");
        TearDown(server);
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(azureTTS("Vellomir one two, contact departure", kPilotVoice, false));
    TearDown(server);
}
BENCHMARK(BM_OneSynthesisWaitedFor)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
