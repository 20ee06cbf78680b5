// A message delivered by the frame driver with the cloud engine on is synthesised by the (local) service
// and played for real through OpenAL Soft's "wave" driver, whose output file is then checked.
#include <AL/al.h>
#include <AL/alc.h>
#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

#include "SpeechFixtures.h"
#include "comms/DialogBox.h"
#include "plugin/Audio.h"
#include "plugin/LibCurl.h"
#include "plugin/LibOpenAL.h"
#include "speech/SpeechWorker.h"
#include "speech/Voices.h"
#include "speech/Wave.h"
#include "support/TowerRadio.h"
#include "support/WaveDriver.h"

namespace {

class PlaybackTest : public speechtest::SoundDeviceTest {
  protected:
    void SetUp() override
    {
        SoundDeviceTest::SetUp();
        snprintf(voceRandomAttuale, sizeof voceRandomAttuale, "%s", "en-US-JennyNeural");
        snprintf(azureToken, sizeof azureToken, "%s", "tok");
        azureReturnCode = 0;
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
};

TEST_F(PlaybackTest, DeliveredMessagesAreHeardThroughTheSoundDeviceAndGarbageIsNot)
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

    // A pilot message is asked in the pilot's voice; garbage instead of a wave is not played.
    Speech({Answer(200, "<html>Service temporarily unavailable</html>")});
    TowerRadio_Queue("Ready for departure", "TOWER", 0, 0, true);
    simhost::RunFrame();
    RunUntilSpoken();
    ASSERT_EQ(server.RequestsTo("/cognitiveservices/v1").size(), 2u);
    EXPECT_NE(server.RequestsTo("/cognitiveservices/v1")[1].body.find("<voice name='en-GB-RyanNeural'>"),
              std::string::npos);
    EXPECT_TRUE(simhost::SpokenTexts().empty()); // the simulator's own speech stays quiet
    EXPECT_TRUE(Logged("Could not find RIFF chunk in wave file."));
    EXPECT_EQ(Wave_HeldUtterances(), 0);

    Wave_ReleaseAllUtterances();
    System_CloseAudio(); // the driver completes its file
    std::vector<int16_t> samples = WaveDriver_Samples(output);
    ASSERT_FALSE(samples.empty()) << "no output from the wave driver at " << output;
    LoudSpan span = WaveDriver_LoudSpan(samples, 2000);
    ASSERT_GE(span.first, 0) << "the output is silent";
    EXPECT_NEAR(span.last - span.first, kSamples, 60);
    EXPECT_GT(span.loud, kSamples / 2);
}

} // namespace

// MARK: the service answers on the speech worker: the frame never waits for it

namespace {

/// The dialogue box's lines that hold text.
bool Shown(const std::string &text)
{
    for (const std::string &line : gOutputDialogues)
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

TEST_F(PlaybackTest, SlowServiceNeverHoldsTheFrameAndTheMessagesAreHeardInQueueOrder)
{
    Speech({Answer(200, speechtest::SineWave(2400), 400)});
    TowerRadio_Queue("First message");
    TowerRadio_Queue("Second message");
    simhost::RunFrame();
    // The first frame showed the first message and handed its voice over without waiting for it.
    EXPECT_TRUE(Shown("First message"));
    EXPECT_EQ(Wave_HeldUtterances(), 0);
    EXPECT_EQ(azureReturnCode, 0);
    // The second waits until the first is heard.
    simhost::RunFrames(3);
    EXPECT_FALSE(Shown("Second message"));
    EXPECT_EQ(queue.size(), 1u);

    RunUntilSpoken();
    simhost::RunFrame();
    EXPECT_FALSE(Shown("Second message")); // the first is still heard
    PlayOut();
    simhost::RunFrame();
    RunUntilSpoken();
    EXPECT_TRUE(Shown("Second message"));
    std::vector<RecordedRequest> requests = server.RequestsTo("/cognitiveservices/v1");
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_NE(requests[0].body.find("First message"), std::string::npos);
    EXPECT_NE(requests[1].body.find("Second message"), std::string::npos);
    EXPECT_EQ(azureReturnCode, 200);
}

TEST_F(PlaybackTest, StoppingEndsARequestTheServiceHoldsAndDropsTheWaitingOnes)
{
    Speech({Answer(200, speechtest::SineWave(100), 8000)});
    AzureTTS_SetRequestTimeoutMs(0); // the standard ten seconds
    TowerRadio_Queue("Held by the service");
    simhost::RunFrame();
    AzureTTS_KeepTokenAlive();
    for (int i = 0; i < 200 && server.Requests().empty(); i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(100)); // the request is in the service's hands
    auto start = std::chrono::steady_clock::now();
    SpeechWorker_Stop();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 1.0);
    EXPECT_FALSE(Logged("abandoned"));
    EXPECT_EQ(SpeechWorker_Pending(), 0);
    EXPECT_EQ(Wave_HeldUtterances(), 0);
}

TEST_F(PlaybackTest, AnotherAddOnsCurrentContextIsNeitherAdoptedNorReplaced)
{
    System_CloseAudio();
    ALCdevice *theirDevice = alcOpenDevice(nullptr);
    ASSERT_NE(theirDevice, nullptr);
    ALCcontext *theirs = alcCreateContext(theirDevice, nullptr);
    alcMakeContextCurrent(theirs);

    System_InitAudio(12000);
    ASSERT_NE(my_context, nullptr);
    EXPECT_NE(my_context, theirs);
    EXPECT_EQ(alcGetCurrentContext(), theirs);

    Speech({Answer(200, speechtest::SineWave(2400))});
    TowerRadio_Queue("Cleared to land");
    simhost::RunFrame();
    RunUntilSpoken();
    EXPECT_EQ(Wave_HeldUtterances(), 1); // played, in our context
    EXPECT_EQ(alcGetCurrentContext(), theirs);
    Wave_ReleaseAllUtterances();
    EXPECT_EQ(alcGetCurrentContext(), theirs);

    System_CloseAudio();
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(theirs);
    alcCloseDevice(theirDevice);
}

// MARK: a speech library missing: X-Plane's own voice speaks, and the log says once what is missing

class MissingLibraryTest : public PlaybackTest {
  protected:
    void TearDown() override
    {
        unsetenv("VELLOMIR_LIBCURL");
        unsetenv("VELLOMIR_LIBOPENAL");
        Curl_Forget();
        PlaybackTest::TearDown();
        OpenAL_Forget();
    }
};

TEST_F(MissingLibraryTest, EachHiddenLibraryLeavesTheMessagesToXPlanesVoice)
{
    struct Case {
        const char *variable, *hidden;
    } cases[] = {{"VELLOMIR_LIBCURL", "/nonexistent/libcurl.so.4"},
                 {"VELLOMIR_LIBOPENAL", "/nonexistent/libopenal.so.1"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.variable);
        Wave_ReleaseAllUtterances();
        System_CloseAudio();
        setenv(c.variable, c.hidden, 1);
        Curl_Forget();
        OpenAL_Forget();
        size_t spoken = simhost::SpokenTexts().size();
        TowerRadio_Queue("Runway two seven left cleared to land");
        TowerRadio_Queue("Contact ground");
        simhost::RunFrames(2);
        ASSERT_EQ(simhost::SpokenTexts().size(), spoken + 2);
        EXPECT_EQ(simhost::SpokenTexts().back().text, "Contact ground");
        EXPECT_EQ(SpeechWorker_Pending(), 0);
        EXPECT_EQ(LogCount(std::string("missing: ") + c.hidden), 1);
        unsetenv(c.variable);
    }
    EXPECT_TRUE(server.RequestsTo("/cognitiveservices/v1").empty());
}

} // namespace
