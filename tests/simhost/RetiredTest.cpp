// Destroyed windows and probes: a late call on a recent one is named as such, while the host keeps only
// the last 64 of each, so that a long run (the soak) neither grows nor searches further as it goes.
#include "XPLMDisplay.h"
#include "XPLMScenery.h"
#include "support/PluginHost.h"

namespace {

class RetiredTest : public HostTest {};

TEST_F(RetiredTest, ARecentlyDestroyedHandleIsNamedAndOnlyTheLastFewHundredAreKept)
{
    const int kCreated = 100; // more than the host keeps
    std::vector<XPLMWindowID> windows;
    std::vector<XPLMProbeRef> probes;
    for (int i = 0; i < kCreated; i++) {
        XPLMCreateWindow_t params = {};
        params.structSize = sizeof params;
        params.right = params.top = 100;
        windows.push_back(XPLMCreateWindowEx(&params));
        XPLMDestroyWindow(windows.back());
        probes.push_back(XPLMCreateProbe(xplm_ProbeY));
        XPLMDestroyProbe(probes.back());
    }
    ASSERT_TRUE(simhost::HostErrors().empty());
    EXPECT_EQ(simhost::DestroyedObjectsKept(), 2 * 64u);
    XPLMProbeInfo_t info;
    info.structSize = sizeof info;
    XPLMDestroyWindow(windows.back());
    XPLMProbeTerrainXYZ(probes.back(), 0, 0, 0, &info);
    const std::vector<std::string> errors = simhost::HostErrors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].find("on a destroyed window"), std::string::npos) << errors[0];
    EXPECT_NE(errors[1].find("was destroyed"), std::string::npos) << errors[1];
    simhost::ClearHostErrors();
    EXPECT_TRUE(simhost::Windows().empty());
}

} // namespace
