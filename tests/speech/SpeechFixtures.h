// Shared pieces of the speech tests: wave images, OpenAL Soft's "wave" driver writing into a file, and
// the HTTPS test server standing in for the cloud speech service.
#pragma once

#include <cmath>
#include <unistd.h>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "plugin/Audio.h"
#include "plugin/Https.h"
#include "speech/AzureTTS.h"
#include "speech/SpeechWorker.h"
#include "speech/Wave.h"
#include "support/PluginHost.h"
#include "support/TlsTestServer.h"
#include "support/TowerRadio.h"
#include "ui/Settings.h"

namespace speechtest {

/// Little-endian bytes of a number.
inline std::string Le(uint32_t value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; i++)
        out += (char)((value >> (8 * i)) & 0xff);
    return out;
}

/// A RIFF/WAVE image: a PCM fmt chunk, the extra chunks given, and a data chunk with the sample bytes.
inline std::string Wave(int channels, int bits, int rate, const std::string &samples, int formatTag = 1,
                        const std::string &extraChunks = "")
{
    std::string body = "WAVEfmt " + Le(16, 4) + Le(formatTag, 2) + Le(channels, 2) + Le(rate, 4) +
                       Le(rate * channels * bits / 8, 4) + Le(channels * bits / 8, 2) + Le(bits, 2) + extraChunks +
                       "data" + Le((uint32_t)samples.size(), 4) + samples;
    return "RIFF" + Le((uint32_t)body.size(), 4) + body;
}

/// Mono 16-bit 24 kHz sine of the given number of samples (the service's format).
inline std::string SineWave(int sampleCount, double amplitude = 12000.0)
{
    std::string samples;
    for (int i = 0; i < sampleCount; i++)
        samples += Le((uint16_t)(int16_t)(amplitude * sin(2.0 * M_PI * 440.0 * i / 24000.0)), 2);
    return Wave(1, 16, 24000, samples);
}

/// Points OpenAL Soft at its "wave" driver, which writes what it plays into a file (mono, 16 bit, 24 kHz,
/// at most 32 sources). Must run before the library opens its first device; the file is the same for the
/// whole process and rewritten by every device that opens.
inline std::string WaveDriverOutput()
{
    static std::string output;
    if (!output.empty())
        return output;
    char base[] = "/tmp/vellomir-openal-XXXXXX";
    close(mkstemp(base));
    output = std::string(base) + ".wav";
    std::string conf = std::string(base) + ".conf";
    FILE *file = fopen(conf.c_str(), "w");
    fprintf(file, "[general]\ndrivers = wave\nchannels = mono\nfrequency = 24000\nsample-type = int16\n"
                  "sources = 32\n[wave]\nfile = %s\n", output.c_str());
    fclose(file);
    setenv("ALSOFT_CONF", conf.c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1);
    return output;
}

/// Collects the speech worker's jobs (as frames do, without running one) until none is left; false after
/// ten seconds.
inline bool DrainSpeechWorker()
{
    for (int i = 0; i < 2000; i++, std::this_thread::sleep_for(std::chrono::milliseconds(5)))
        if (SpeechWorker_Collect(), SpeechWorker_Pending() == 0)
            return true;
    return false;
}

/// Runs frames, with real time passing between them, while busy() holds (at most ten seconds).
template <class Busy> void RunFramesWhile(Busy busy)
{
    for (int i = 0; i < 1000 && busy(); i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        simhost::RunFrame();
    }
}

inline double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

const char *const kTokenPath = "/sts/v1.0/issueToken";
const char *const kSpeechPath = "/cognitiveservices/v1";

/// A fresh host with the HTTPS test server standing in for the speech service, a key, the cloud engine on
/// (the waves checked as the service sent them, without the radio sound) and a short request limit.
class CloudSpeechTest : public HostTest {
  protected:
    void SetUp() override
    {
        WaveDriverOutput(); // before a loaded plug-in opens the first OpenAL device of the process
        HostTest::SetUp();
        for (const char *name : {"http_proxy", "https_proxy", "HTTPS_PROXY", "ALL_PROXY", "all_proxy"})
            unsetenv(name);
        ASSERT_TRUE(server.Start());
        snprintf(azureTokenUrl, sizeof azureTokenUrl, "%s", server.Url(kTokenPath).c_str());
        snprintf(azureTtsUrl, sizeof azureTtsUrl, "%s", server.Url(kSpeechPath).c_str());
        snprintf(httpsCaFile, sizeof httpsCaFile, "%s", server.CaFile().c_str());
        snprintf(azureKey, sizeof azureKey, "%s", "0123456789abcdef");
        azureTtsOn = 1;
        radioSoundOn = 0;
        azureToken[0] = '\0';
        lastAzureTokenUpdateTime = 0;
        AzureTTS_SetRequestTimeoutMs(2000);
    }
    void TearDown() override
    {
        server.Stop();
        azureTokenUrl[0] = azureTtsUrl[0] = httpsCaFile[0] = '\0';
        azureTtsOn = 0;
        radioSoundOn = 1;
        AzureTTS_SetRequestTimeoutMs(0);
        HostTest::TearDown();
    }
    void Token(const std::vector<ScriptedResponse> &responses) { server.Script(kTokenPath, responses); }
    void Speech(const std::vector<ScriptedResponse> &responses) { server.Script(kSpeechPath, responses); }
    static ScriptedResponse Answer(int status, const std::string &body = "", int delayMs = 0)
    {
        return {status, body, delayMs};
    }
    std::vector<RecordedRequest> SpeechRequests() { return server.RequestsTo(kSpeechPath); }
    TlsTestServer server;
};

/// CloudSpeechTest with OpenAL Soft's "wave" driver open as the sound device (output: the file it writes)
/// and the tower tuned.
class SoundDeviceTest : public CloudSpeechTest {
  protected:
    void SetUp() override
    {
        output = WaveDriverOutput();
        CloudSpeechTest::SetUp();
        System_InitAudio(12000);
        ASSERT_NE(my_context, nullptr);
        TowerRadio_Open();
    }
    void TearDown() override
    {
        TowerRadio_Close();
        Wave_ReleaseAllUtterances();
        System_CloseAudio();
        CloudSpeechTest::TearDown();
    }
    std::string output;
};

} // namespace speechtest
