// The local voice: the radio sound's filter, the synthesiser's command line, real speech from espeak-ng
// played through OpenAL Soft's "wave" driver, and synthesisers that are missing, hang or write garbage.
#include <algorithm>
#include <fstream>
#include <sys/stat.h>

#include "SpeechFixtures.h"
#include "comms/DialogBox.h"
#include "speech/LocalTTS.h"
#include "speech/RadioSound.h"
#include "support/WaveDriver.h"
#include "ui/ExternalTool.h"

namespace {

using namespace speechtest;

/// Level in decibels of a tone after the band-pass, relative to its level before.
double ToneGainDb(double frequency, double rate)
{
    std::vector<float> samples((size_t)rate);
    for (size_t i = 0; i < samples.size(); i++)
        samples[i] = 0.5f * (float)sin(2.0 * M_PI * frequency * (double)i / rate);
    RadioSound_BandPass(samples, rate);
    double in = 0, out = 0;
    for (size_t i = samples.size() / 2; i < samples.size(); i++) { // the filter has settled
        double reference = 0.5 * sin(2.0 * M_PI * frequency * (double)i / rate);
        in += reference * reference;
        out += (double)samples[i] * samples[i];
    }
    return 10.0 * log10(out / in);
}

TEST(RadioSound, VoiceBandPassesAndEachOctaveOutsideFallsBy24Decibels)
{
    const struct {
        double rate, frequency, minDb, maxDb;
    } cases[] = {
        // the band's middle; each edge -6 dB (the high one lower: the bilinear warp); an octave below, two
        // below, one above; the cloud voice's rate; below twice the high edge the low-pass is left out
        {22050, 1000, -1.0, 0.5}, {22050, 250, -7.0, -5.0}, {22050, 3500, -8.0, -5.0}, {22050, 125, -60, -23.0},
        {22050, 60, -90, -45.0},  {22050, 7000, -90, -24.0}, {24000, 8000, -90, -24.0}, {8000, 3000, -4.0, 0.5},
    };
    for (const auto &c : cases) {
        double gain = ToneGainDb(c.frequency, c.rate);
        EXPECT_TRUE(gain >= c.minDb && gain <= c.maxDb) << gain << " dB, " << c.frequency << " Hz at " << c.rate;
    }
}

TEST(RadioSound, AWaveBecomesAMonoRadioWaveWithASquelchTailAndGarbageIsLeftAlone)
{
    std::string image = SineWave(24000, 30000.0), again = image; // one second at 24 kHz, loud
    ASSERT_TRUE(RadioSound_Apply(image, 7));
    RadioSound_Apply(again, 7);
    EXPECT_EQ(again, image); // the same noise for the same seed
    WavePcm pcm;
    ASSERT_TRUE(Wave_ParsePcm(image, &pcm));
    EXPECT_EQ(pcm.channels * 100 + pcm.bitsPerSample, 116);
    EXPECT_EQ(pcm.sampleRate, 24000u);
    EXPECT_EQ(pcm.dataLength / 2, 24000u + (uint32_t)(kRadioSquelchSeconds * 24000));
    int peak = 0;
    for (uint32_t i = 0; i + 1 < pcm.dataLength; i += 2)
        peak = std::max(peak, abs((int16_t)(pcm.data[i] | (pcm.data[i + 1] << 8))));
    EXPECT_TRUE(peak > 12000 && peak < 32000) << peak; // compressed, still strong, never clipped
    for (std::string garbage : {std::string("<html>busy</html>"), Wave(1, 24, 24000, "abcdef"), std::string()}) {
        std::string kept = garbage;
        EXPECT_FALSE(RadioSound_Apply(kept, 1));
        EXPECT_EQ(kept, garbage);
    }
}

/// A temporary folder for synthesiser stand-ins.
std::string TempFolder()
{
    char base[] = "/tmp/vellomir-tts-XXXXXX";
    return mkdtemp(base) != nullptr ? std::string(base) : std::string("/tmp");
}

/// Writes an executable shell script.
std::string Script(const std::string &folder, const char *name, const std::string &body)
{
    std::string path = folder + "/" + name;
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    chmod(path.c_str(), 0755);
    return path;
}

std::string Espeak()
{
    const char *names[] = {"espeak-ng"};
    return Utils_FindTool(names, 1, getenv("PATH"));
}

class LocalVoiceTest : public SoundDeviceTest {
  protected:
    void SetUp() override
    {
        SoundDeviceTest::SetUp();
        azureTtsOn = 0;
        localTtsOn = 1;
        localTtsCommand[0] = '\0';
        snprintf(voceLocaleAttuale, sizeof voceLocaleAttuale, "%s", "en-us+m1");
        snprintf(userVoiceLocale, sizeof userVoiceLocale, "%s", "en-gb+m3");
        folder = TempFolder();
    }
    void TearDown() override
    {
        localTtsOn = 0;
        localTtsCommand[0] = '\0';
        LocalTTS_SetTimeoutMs(0);
        SoundDeviceTest::TearDown();
    }
    static void RunUntilHeard()
    {
        RunFramesWhile([] { return SpeechWorker_Pending() > 0 || Wave_HeldUtterances() > 0 || !queue.empty(); });
    }
    std::string folder;
};

TEST_F(LocalVoiceTest, CommandLinesKeepTheTextOutOfTheArguments)
{
    std::string piper = Script(folder, "piper", "exit 0");
    const struct {
        std::string command;
        const char *voice;
        std::vector<std::string> argv;
        bool stdoutWave;
    } cases[] = {
        {piper + " --model /v/en.onnx --output_file {wave}", "x",
         {piper, "--model", "/v/en.onnx", "--output_file", "/p/w.wav"}, false},
        {"  " + piper + "\t--speaker {voice} ", "en-gb+f3", {piper, "--speaker", "en-gb+f3"}, true},
        {piper + " --text %s%n {wave}", "", {piper, "--text", "%s%n", "/p/w.wav"}, false},
        // the default (a missing one: BrokenSynthesisers)
        {"", "en-gb+m3", {Espeak(), "-v", "en-gb+m3", "-w", "/p/w.wav", "--stdin"}, false},
    };
    for (const auto &c : cases) {
        if (c.argv[0].empty())
            continue; // no espeak-ng here
        snprintf(localTtsCommand, sizeof localTtsCommand, "%s", c.command.c_str());
        std::vector<std::string> argv;
        bool stdoutWave = false;
        ASSERT_TRUE(LocalTTS_Command(c.voice, "/p/w.wav", argv, &stdoutWave, nullptr)) << c.command;
        EXPECT_EQ(argv, c.argv) << c.command;
        EXPECT_EQ(stdoutWave, c.stdoutWave) << c.command;
    }
}

TEST_F(LocalVoiceTest, EspeakSpeaksTheMessagesInQueueOrderThroughTheSoundDevice)
{
    if (Espeak().empty())
        GTEST_SKIP() << "espeak-ng is not installed (scripts/deps.sh installs it)";
    std::string heard = folder + "/heard.txt";
    std::string wrapper = Script(folder, "speak", "tee -a " + heard + " | " + Espeak() + " -v \"$1\" -w \"$2\" --stdin");
    snprintf(localTtsCommand, sizeof localTtsCommand, "%s {voice} {wave}", wrapper.c_str());
    radioSoundOn = 1;
    TowerRadio_Queue("Vellomir @123@, runway *27L* cleared to land");
    TowerRadio_Queue("Wind calm", "TOWER", 0, 0, true);
    RunUntilHeard();
    EXPECT_LT(simhost::LongestFrameDrawSeconds(), 0.25); // the synthesiser never runs in the frame
    EXPECT_TRUE(simhost::SpokenTexts().empty());
    EXPECT_EQ(LogCount("Local voice synthesised"), 2);

    std::ifstream file(heard);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_LT(text.find("one two tree"), text.find("Wind calm")) << text; // rendered, and in order
    EXPECT_NE(text.find("two seven left"), std::string::npos) << text;

    Wave_ReleaseAllUtterances();
    System_CloseAudio(); // the driver completes its file
    LoudSpan span = WaveDriver_LoudSpan(WaveDriver_Samples(output), 1500);
    ASSERT_GE(span.first, 0) << "the output is silent";
    double seconds = (double)(span.last - span.first) / 24000.0; // about four seconds and one, in a row
    EXPECT_TRUE(seconds > 4.5 && seconds < 12.0) << seconds;
}

TEST_F(LocalVoiceTest, BrokenSynthesisersLeaveTheMessageToXPlanesVoiceWithoutHoldingTheFrame)
{
    LocalTTS_SetTimeoutMs(300);
    const struct {
        std::string command;
        const char *logged;
    } cases[] = {
        {folder + "/missing-synthesiser {wave}", "The local voice needs the synthesiser"},
        {Script(folder, "hang", "sleep 20") + " {wave}", "ran longer than 300 ms and was stopped"},
        {Script(folder, "garbage", "echo '<html>no voice</html>' > \"$1\"") + " {wave}", "not a playable wave"},
        {Script(folder, "fails", "exit 3") + " {wave}", "failed (exit status 3)"},
        {Script(folder, "silent", "exit 0") + " {wave}", "wrote no readable wave file"},
        {Script(folder, "stdout", "cat /dev/urandom | head -c 3000"), "3000 bytes that are not a playable wave"},
    };
    for (const auto &c : cases) {
        snprintf(localTtsCommand, sizeof localTtsCommand, "%s", c.command.c_str());
        size_t spoken = simhost::SpokenTexts().size();
        auto start = std::chrono::steady_clock::now();
        TowerRadio_Queue("Line up and wait");
        RunUntilHeard();
        double seconds = SecondsSince(start);
        EXPECT_TRUE(Logged(c.logged)) << c.command;
        ASSERT_EQ(simhost::SpokenTexts().size(), spoken + 1) << c.command;
        EXPECT_EQ(simhost::SpokenTexts().back().text, "Line up and wait") << c.command;
        EXPECT_EQ(Wave_HeldUtterances(), 0) << c.command;
        EXPECT_LT(seconds, 3.0) << c.command;
    }
    EXPECT_LT(simhost::LongestFrameDrawSeconds(), 0.25);
    EXPECT_NE(simhost::FindWindowByTitle("Vellomir - Warning"), nullptr); // the missing program, once
}

} // namespace
