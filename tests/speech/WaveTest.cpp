// Wave files into OpenAL buffers: the formats the service and users give, and files that must be refused
// without reading outside them. Needs an OpenAL device: OpenAL Soft's "wave" driver stands in for a sound card.
#include <AL/al.h>
#include <AL/alc.h>

#include "plugin/Audio.h"
#include "speech/Wave.h"
#include "SpeechFixtures.h"

namespace {

using speechtest::Le;
using speechtest::Wave;

class WaveTest : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        speechtest::WaveDriverOutput();
        System_InitAudio(12000);
        ASSERT_NE(my_context, nullptr) << "OpenAL Soft could not open its wave driver";
        alcMakeContextCurrent(my_context); // the checks below read buffers through it
    }
    void TearDown() override
    {
        alcMakeContextCurrent(nullptr);
        Wave_ReleaseAllUtterances();
        System_CloseAudio();
        HostTest::TearDown();
    }
    static std::string File(const std::string &name, const std::string &contents)
    {
        simhost::WriteFile("Resources/plugins/Vellomir64/" + name, contents);
        return simhost::PluginFolder() + name;
    }
    /// The loaded buffer's frequency, channels, bits and size (deleted at once); empty when refused.
    static std::vector<ALint> Load(const std::string &contents)
    {
        ALuint buffer = Utils_load_wave(File("test.wav", contents).c_str());
        if (buffer == 0)
            return {};
        std::vector<ALint> values;
        for (ALenum property : {AL_FREQUENCY, AL_CHANNELS, AL_BITS, AL_SIZE})
            alGetBufferi(buffer, property, &values.emplace_back());
        alDeleteBuffers(1, &buffer);
        return values;
    }
};

TEST_F(WaveTest, MonoAndStereoEightAndSixteenBitLoadAndExtraChunksAndAPartialFrameAreHandled)
{
    struct Case {
        int channels, bits, rate;
        size_t bytes, loaded;
        std::string extra; ///< a chunk between fmt and data
    } cases[] = {{1, 8, 11025, 400, 400, ""},
                 {2, 8, 22050, 800, 800, ""},
                 {1, 16, 24000, 800, 800, ""},
                 {2, 16, 44100, 1600, 1600, ""},
                 // 50 frames and a stray byte, after a LIST chunk of odd length (padded)
                 {1, 16, 24000, 101, 100, "LIST" + Le(3, 4) + "abc" + '\0'}};
    for (const Case &c : cases)
        EXPECT_EQ(Load(Wave(c.channels, c.bits, c.rate, std::string(c.bytes, '\x10'), 1, c.extra)),
                  (std::vector<ALint>{c.rate, c.channels, c.bits, (ALint)c.loaded}));
}

TEST_F(WaveTest, UnusableFilesAreRefusedWithTheirReason)
{
    std::string good = Wave(1, 16, 24000, std::string(200, '\x01'));
    const size_t data = good.find("data");
    std::string noData = good.substr(0, data), dataPastEnd = good, fmtPastEnd = good;
    noData.replace(4, 4, Le((uint32_t)noData.size() - 8, 4)); // a RIFF length without data
    dataPastEnd.replace(data + 4, 4, std::string("\xff\xff\xff\x7f", 4));
    fmtPastEnd.replace(16, 4, std::string("\xf0\xff\xff\xff", 4));
    struct Case {
        std::string image;
        const char *reason;
    } cases[] = {
        {Wave(1, 24, 24000, std::string(300, '\x01')), "Must have 8 or 16 bit sounds."},
        {Wave(3, 16, 24000, std::string(300, '\x01')), "Must have mono or stereo sound."},
        {Wave(1, 16, 24000, std::string(300, '\x01'), 3), "Wave file is not PCM format data."},
        {good.substr(0, good.size() - 50), "Could not find RIFF chunk in wave file."}, // truncated
        {"", "Could not find RIFF chunk in wave file."},
        {std::string("RIFF\x04\0\0\0WAVX", 12), "Could not find WAVE signature in wave file."},
        {std::string("RIFF\x04\0\0\0WAVE", 12), "Could not find FMT chunk in wave file."},
        {noData, "I could not find the DATA chunk."},
        {dataPastEnd, "I could not find the DATA chunk."},
        {fmtPastEnd, "Could not find FMT chunk in wave file."},
    };
    for (const Case &c : cases) {
        simhost::ClearLog();
        EXPECT_TRUE(Load(c.image).empty()) << c.reason;
        EXPECT_TRUE(Logged(c.reason)) << c.reason;
    }
    EXPECT_EQ(Utils_load_wave("/nonexistent/Vellomir_temp.wav"), 0u);
    EXPECT_TRUE(Logged("can't open file /nonexistent/Vellomir_temp.wav"));
}

TEST_F(WaveTest, FiveHundredUtterancesInARowAllPlayAndOneStillPlayingIsNotCut)
{
    // 32 sources: without giving back finished ones, the 33rd utterance would be silent.
    std::string path = File("short.wav", speechtest::SineWave(120));
    for (int utterance = 0; utterance < 500; utterance++) {
        int waitedMs = 0;
        while (Wave_HeldUtterances() >= 8) {
            ASSERT_LT(waitedMs, 3000) << "finished utterances are not released (utterance " << utterance << ")";
            usleep(2000);
            waitedMs += 2;
            Wave_ReleaseFinishedUtterances();
        }
        Utils_WavAddToBufferQueue(path.c_str(), OpenAlBufferCounter);
        ASSERT_TRUE(Wave_PlayQueuedBuffers()) << "utterance " << utterance;
        ALint state = 0;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        ASSERT_TRUE(state == AL_PLAYING || state == AL_STOPPED) << "utterance " << utterance;
    }
    EXPECT_FALSE(Logged("Could not generate"));
    // An utterance still playing is not cut.
    Wave_ReleaseAllUtterances();
    Utils_WavAddToBufferQueue(File("long.wav", speechtest::SineWave(24000)).c_str(), OpenAlBufferCounter); // 1 s
    ASSERT_TRUE(Wave_PlayQueuedBuffers());
    ALuint playing = source;
    Wave_ReleaseFinishedUtterances();
    EXPECT_EQ(Wave_HeldUtterances(), 1);
    ALint state = 0;
    alGetSourcei(playing, AL_SOURCE_STATE, &state);
    EXPECT_EQ(state, AL_PLAYING);
}

} // namespace
