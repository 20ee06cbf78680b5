// Messages delivered by the frame driver with the cloud engine on are synthesised by the (local) service on
// the speech worker and played for real through OpenAL Soft's "wave" driver, whose output file is checked.
#include <AL/al.h>
#include <AL/alc.h>

#include "SpeechFixtures.h"
#include "comms/DialogBox.h"
#include "plugin/LibCurl.h"
#include "plugin/LibOpenAL.h"
#include "speech/Voices.h"
#include "support/WaveDriver.h"

namespace {

using namespace speechtest;

class PlaybackTest : public SoundDeviceTest {
  protected:
    void SetUp() override
    {
        SoundDeviceTest::SetUp();
        snprintf(voceRandomAttuale, sizeof voceRandomAttuale, "%s", "en-US-JennyNeural");
        snprintf(azureToken, sizeof azureToken, "%s", "tok");
        azureReturnCode = 0;
    }
    static void RunUntilSpoken() { RunFramesWhile([] { return SpeechWorker_Pending() > 0; }); }
    static void PlayOut() { RunFramesWhile([] { return Wave_HeldUtterances() > 0; }); }
    /// True when a line of the dialogue box holds text.
    static bool Shown(const std::string &text)
    {
        for (const std::string &line : gOutputDialogues)
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }
};

TEST_F(PlaybackTest, SlowServiceNeverHoldsTheFrameMessagesAreHeardInOrderAndGarbageIsNot)
{
    const int kSamples = 6000; // a quarter of a second at 24 kHz
    Speech({Answer(200, SineWave(kSamples), 400), Answer(200, "<html>Service temporarily unavailable</html>")});
    TowerRadio_Queue("Vellomir @123@, wind 'wind' calm, runway *27L* cleared to land");
    TowerRadio_Queue("Ready for departure", "TOWER", 0, 0, true); // a pilot message: the pilot's voice
    simhost::RunFrame();
    // The first frame showed the first message and handed its voice over without waiting for it; the
    // second waits until the first is heard.
    EXPECT_TRUE(Shown("cleared to land"));
    EXPECT_EQ(Wave_HeldUtterances(), 0);
    EXPECT_EQ(azureReturnCode, 0);
    simhost::RunFrames(3);
    EXPECT_FALSE(Shown("Ready for departure"));
    EXPECT_EQ(queue.size(), 1u);
    RunUntilSpoken();
    simhost::RunFrame();
    EXPECT_EQ(azureReturnCode, 200);
    EXPECT_EQ(Wave_HeldUtterances(), 1);
    EXPECT_FALSE(Shown("Ready for departure"));
    PlayOut();
    simhost::RunFrame();
    RunUntilSpoken();
    EXPECT_TRUE(Shown("Ready for departure"));

    std::vector<RecordedRequest> requests = SpeechRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_NE(requests[0].body.find("<voice name='en-US-JennyNeural'> Vellomir one two tree , wind &apos;wind&apos; "
                                    "calm, runway two seven left  cleared to land </voice>"),
              std::string::npos)
        << requests[0].body;
    EXPECT_NE(requests[1].body.find("<voice name='en-GB-RyanNeural'> Ready for departure"), std::string::npos);
    EXPECT_TRUE(simhost::SpokenTexts().empty()); // the simulator's own speech stays quiet
    EXPECT_TRUE(Logged("Could not find RIFF chunk in wave file."));
    EXPECT_EQ(Wave_HeldUtterances(), 0);

    Wave_ReleaseAllUtterances();
    System_CloseAudio(); // the driver completes its file
    LoudSpan span = WaveDriver_LoudSpan(WaveDriver_Samples(output), 2000);
    ASSERT_GE(span.first, 0) << "the output is silent";
    EXPECT_NEAR(span.last - span.first, kSamples, 60);
    EXPECT_GT(span.loud, kSamples / 2);
}

TEST_F(PlaybackTest, StoppingEndsARequestTheServiceHoldsAndDropsTheWaitingOnes)
{
    Speech({Answer(200, SineWave(100), 8000)});
    AzureTTS_SetRequestTimeoutMs(0); // the standard ten seconds
    TowerRadio_Queue("Held by the service");
    simhost::RunFrame();
    AzureTTS_KeepTokenAlive();
    for (int i = 0; i < 200 && server.Requests().empty(); i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(100)); // the request is in the service's hands
    auto start = std::chrono::steady_clock::now();
    SpeechWorker_Stop();
    EXPECT_LT(SecondsSince(start), 1.0);
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
    Speech({Answer(200, SineWave(2400))});
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
    for (auto hidden : std::vector<std::pair<const char *, std::string>>{
             {"VELLOMIR_LIBCURL", "/nonexistent/libcurl.so.4"},
             {"VELLOMIR_LIBOPENAL", "/nonexistent/libopenal.so.1"}}) {
        SCOPED_TRACE(hidden.first);
        Wave_ReleaseAllUtterances();
        System_CloseAudio();
        setenv(hidden.first, hidden.second.c_str(), 1);
        Curl_Forget();
        OpenAL_Forget();
        size_t spoken = simhost::SpokenTexts().size();
        TowerRadio_Queue("Runway two seven left cleared to land");
        TowerRadio_Queue("Contact ground");
        simhost::RunFrames(2);
        ASSERT_EQ(simhost::SpokenTexts().size(), spoken + 2);
        EXPECT_EQ(simhost::SpokenTexts().back().text, "Contact ground");
        EXPECT_EQ(SpeechWorker_Pending(), 0);
        EXPECT_EQ(LogCount("missing: " + hidden.second), 1);
        unsetenv(hidden.first);
    }
    EXPECT_TRUE(SpeechRequests().empty());
}

} // namespace
