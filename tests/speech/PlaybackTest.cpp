// A message delivered by the frame driver with the cloud engine on is synthesised by the (local) service
// and played for real through OpenAL Soft's "wave" driver, whose output file is then checked.
#include <AL/al.h>
#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

#include "SpeechFixtures.h"
#include "plugin/Audio.h"
#include "speech/SpeechWorker.h"
#include "speech/Voices.h"
#include "speech/Wave.h"
#include "support/TowerRadio.h"

namespace {

class PlaybackTest : public speechtest::CloudSpeechTest {
  protected:
    void SetUp() override
    {
        output = speechtest::WaveDriverOutput();
        CloudSpeechTest::SetUp();
        System_InitAudio(12000);
        ASSERT_NE(my_context, nullptr);
        TowerRadio_Open();
        snprintf(voceRandomAttuale, sizeof voceRandomAttuale, "%s", "en-US-JennyNeural");
        snprintf(azureToken, sizeof azureToken, "%s", "tok");
    }
    void TearDown() override
    {
        TowerRadio_Close();
        Wave_ReleaseAllUtterances();
        System_CloseAudio();
        CloudSpeechTest::TearDown();
    }
    /// Runs frames (with real time passing for the service) until the speech worker has nothing left.
    static void RunUntilSpoken()
    {
        for (int i = 0; i < 1000 && SpeechWorker_Pending() > 0; i++) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            simhost::RunFrame();
        }
    }
    /// Runs frames (with real time passing for the mixer) until every utterance has been released.
    static void PlayOut()
    {
        for (int i = 0; i < 400 && Wave_HeldUtterances() > 0; i++) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            simhost::RunFrame();
        }
    }
    /// Samples of the driver's output file (mono 16-bit).
    std::vector<int16_t> Output() const
    {
        std::ifstream file(output, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        std::vector<int16_t> samples;
        size_t data = bytes.find("data");
        for (size_t s = data + 8; data < 256 && s + 1 < bytes.size(); s += 2)
            samples.push_back((int16_t)((unsigned char)bytes[s] | ((unsigned char)bytes[s + 1] << 8)));
        return samples;
    }

    std::string output;
};

TEST_F(PlaybackTest, DeliveredControllerMessageIsHeardThroughTheSoundDevice)
{
    const int kSamples = 6000; // a quarter of a second at 24 kHz
    Speech({Answer(200, speechtest::SineWave(kSamples, 12000.0))});
    TowerRadio_Queue("Vellomir @123@, wind 'wind' calm, runway *27L* cleared to land");
    simhost::RunFrame();
    RunUntilSpoken();
    ASSERT_EQ(server.RequestsTo("/cognitiveservices/v1").size(), 1u);
    EXPECT_NE(server.RequestsTo("/cognitiveservices/v1")[0].body.find(
                  "<voice name='en-US-JennyNeural'> Vellomir one two tree , wind &apos;wind&apos; calm, runway two seven left "
                  " cleared to land </voice>"),
              std::string::npos)
        << server.RequestsTo("/cognitiveservices/v1")[0].body;
    EXPECT_EQ(azureReturnCode, 200);
    EXPECT_EQ(Wave_HeldUtterances(), 1);
    PlayOut();
    EXPECT_EQ(Wave_HeldUtterances(), 0);

    Wave_ReleaseAllUtterances();
    System_CloseAudio(); // the driver completes its file
    std::vector<int16_t> samples = Output();
    ASSERT_FALSE(samples.empty()) << "no output from the wave driver at " << output;
    auto isLoud = [](int16_t sample) { return abs(sample) > 2000; };
    auto first = std::find_if(samples.begin(), samples.end(), isLoud);
    ASSERT_NE(first, samples.end()) << "the output is silent";
    auto last = std::find_if(samples.rbegin(), samples.rend(), isLoud).base();
    EXPECT_NEAR(last - first, kSamples, 60);
    long loud = std::count_if(samples.begin(), samples.end(), isLoud);
    EXPECT_GT(loud, kSamples / 2);
}

TEST_F(PlaybackTest, PilotMessageIsAskedInThePilotVoiceAndGarbageInsteadOfAWaveIsNotPlayed)
{
    Speech({Answer(200, "<html>Service temporarily unavailable</html>")});
    TowerRadio_Queue("Ready for departure", "TOWER", 0, 0, true);
    simhost::RunFrame();
    RunUntilSpoken();
    ASSERT_EQ(server.RequestsTo("/cognitiveservices/v1").size(), 1u);
    EXPECT_NE(server.RequestsTo("/cognitiveservices/v1")[0].body.find("<voice name='en-GB-RyanNeural'>"),
              std::string::npos);
    EXPECT_TRUE(simhost::SpokenTexts().empty()); // the simulator's own speech stays quiet
    EXPECT_EQ(azureReturnCode, 200);
    EXPECT_TRUE(Logged("Could not find RIFF chunk in wave file."));
    EXPECT_EQ(Wave_HeldUtterances(), 0);
    EXPECT_EQ(OpenAlBufferCounter, 0);
}

} // namespace
