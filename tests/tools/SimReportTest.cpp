// vellomir-sim's health report: the counting OpenAL between the plug-in and OpenAL Soft, and the
// frame-time percentile.
#include <AL/al.h>
#include <AL/alc.h>
#include <cstdlib>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <vector>

#include "SimReport.h"

namespace
{

TEST(SimReportOpenAL, CountsWhatIsHeldAndKeepsOpenALsErrorsForTheCaller)
{
    setenv("ALSOFT_DRIVERS", "null", 0);
    unsetenv("VELLOMIR_ALCOUNT_REAL");
    void *lib = dlopen(VELLOMIR_ALCOUNT_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    auto fn = [&](const char *name) { return dlsym(lib, name); };
    auto openDevice = (decltype(&alcOpenDevice))fn("alcOpenDevice");
    auto closeDevice = (decltype(&alcCloseDevice))fn("alcCloseDevice");
    auto createContext = (decltype(&alcCreateContext))fn("alcCreateContext");
    auto destroyContext = (decltype(&alcDestroyContext))fn("alcDestroyContext");
    auto makeCurrent = (decltype(&alcMakeContextCurrent))fn("alcMakeContextCurrent");
    auto genSources = (decltype(&alGenSources))fn("alGenSources");
    auto deleteSources = (decltype(&alDeleteSources))fn("alDeleteSources");
    auto genBuffers = (decltype(&alGenBuffers))fn("alGenBuffers");
    auto getError = (decltype(&alGetError))fn("alGetError");
    auto counts = (int (*)(int *, int *, int *, int *, int *, int *))fn("vellomirAlCounts");
    ASSERT_NE(counts, nullptr);
    // Sources, buffers, contexts, devices, orphaned names, bad deletes.
    auto held = [&]() {
        std::vector<int> h(6);
        counts(&h[0], &h[1], &h[2], &h[3], &h[4], &h[5]);
        return h;
    };

    ALCdevice *device = openDevice(nullptr);
    if (device == nullptr)
        GTEST_SKIP() << "no OpenAL device";
    ALCcontext *context = createContext(device, nullptr);
    ASSERT_TRUE(makeCurrent(context));
    ALuint sources[3], buffers[2];
    genSources(3, sources);
    genBuffers(2, buffers);
    deleteSources(1, &sources[0]);
    EXPECT_EQ(getError(), AL_NO_ERROR);
    EXPECT_EQ(held(), (std::vector<int>{2, 2, 1, 1, 0, 0}));

    // A failed call keeps nothing, and its error reaches the caller's next alGetError as OpenAL's would.
    deleteSources(1, &sources[0]);
    EXPECT_EQ(getError(), AL_INVALID_NAME);
    ALuint unused[2] = {0, 0};
    genSources(-1, unused);
    EXPECT_EQ(getError(), AL_INVALID_VALUE);
    EXPECT_EQ(getError(), AL_NO_ERROR);
    EXPECT_EQ(held()[0], 2);

    // What the context and device still held when they went is orphaned.
    makeCurrent(nullptr);
    destroyContext(context);
    closeDevice(device);
    EXPECT_EQ(held(), (std::vector<int>{0, 0, 0, 0, 4, 0}));
}

TEST(SimReportFrames, PercentileIsTheBinEdgeAndTheLongestBeyondTheBins)
{
    struct Case {
        unsigned fast, slowBin, slow;
        double longest, fraction, expected;
    } cases[] = {
        {999, 0, 1, 0.005, 0.999, 0.01},                         // one slow frame in a thousand is above it
        {998, 500, 2, 5.003, 0.999, 5.01},                       // two are not
        {990, FrameHistogram::kBins - 1, 10, 80.0, 0.999, 80.0}, // past the last bin: the longest frame
        {0, 0, 0, 0.0, 0.999, 0.0},                              // no frame yet
    };
    for (const Case &c : cases) {
        FrameHistogram h;
        h.counts[0] = c.fast;
        h.counts[c.slowBin] += c.slow;
        h.frames = c.fast + c.slow;
        h.longestMs = c.longest;
        EXPECT_NEAR(SimReport_Percentile(h, c.fraction), c.expected, 1e-9) << c.fast << " fast, " << c.slow << " slow";
    }
}

} // namespace
