// simhost's datarefs, files and versions as the SDK documents them.
#include <cstring>

#include "XPLMDataAccess.h"
#include "XPLMUtilities.h"
#include "support/PluginHost.h"

namespace {

class SimHostTest : public HostTest {};

TEST_F(SimHostTest, DatarefsAreTypedAndUnknownNamesGiveNoHandle)
{
    EXPECT_EQ(XPLMFindDataRef("sim/no/such/dataref"), nullptr);
    EXPECT_EQ(XPLMGetDatai(nullptr), 0);
    EXPECT_EQ(XPLMGetDataf(nullptr), 0.0f);

    simhost::SetDouble("sim/flightmodel/position/latitude", 47.449);
    XPLMDataRef lat = XPLMFindDataRef("sim/flightmodel/position/latitude");
    EXPECT_DOUBLE_EQ(XPLMGetDatad(lat), 47.449);
    EXPECT_FLOAT_EQ(XPLMGetDataf(lat), 47.449f);

    XPLMDataRef engines = XPLMFindDataRef("sim/flightmodel/engine/ENGN_running");
    EXPECT_EQ(XPLMGetDatavi(engines, nullptr, 0, 0), 16);
    simhost::SetIntArray("sim/flightmodel/engine/ENGN_running", {1, 1});
    int first[2] = {0, 0};
    EXPECT_EQ(XPLMGetDatavi(engines, first, 0, 2), 2);
    EXPECT_EQ(first[0], 1);

    simhost::SetBytes("sim/aircraft/view/acf_tailnum", "N172SP");
    char tail[41] = {0};
    XPLMGetDatab(XPLMFindDataRef("sim/aircraft/view/acf_tailnum"), tail, 0, 40);
    EXPECT_STREQ(tail, "N172SP");

    // Reading an int dataref as a float is a plug-in fault.
    EXPECT_EQ(XPLMGetDataf(XPLMFindDataRef("sim/time/paused")), 0.0f);
    EXPECT_EQ(simhost::HostErrors().size(), 1u);
}

TEST_F(SimHostTest, DirectoryListingPathAndVersionFollowTheSdk)
{
    for (const char *name : {"b.txt", "a.txt", "c.txt"})
        simhost::WriteFile(std::string("Custom Scenery/pack/") + name, "x");
    std::string dir = simhost::SystemPath() + "Custom Scenery/pack";
    char names[64];
    char *indices[8];
    int total = 0, returned = 0;
    EXPECT_EQ(XPLMGetDirectoryContents(dir.c_str(), 0, names, sizeof names, indices, 8, &total, &returned), 1);
    EXPECT_EQ(total, 3);
    ASSERT_EQ(returned, 3);
    EXPECT_STREQ(indices[0], "a.txt");
    EXPECT_STREQ(indices[2], "c.txt");
    // Room for one name only: a partial listing, and the next call continues from an index.
    EXPECT_EQ(XPLMGetDirectoryContents(dir.c_str(), 0, names, 8, indices, 8, &total, &returned), 0);
    EXPECT_EQ(returned, 1);
    EXPECT_EQ(XPLMGetDirectoryContents(dir.c_str(), 1, names, sizeof names, indices, 8, &total, &returned), 1);
    EXPECT_STREQ(indices[0], "b.txt");
    EXPECT_EQ(XPLMGetDirectoryContents((dir + "/missing").c_str(), 0, names, sizeof names, indices, 8, &total,
                                       &returned),
              0);
    EXPECT_EQ(total, 0);

    ResetHost(11330);
    int xplane = 0, xplm = 0;
    XPLMHostApplicationID id = 0;
    XPLMGetVersions(&xplane, &xplm, &id);
    EXPECT_TRUE(xplane == 11330 && id == xplm_Host_XPlane);
    char path[512];
    XPLMGetSystemPath(path);
    EXPECT_EQ(path[strlen(path) - 1], '/');
}

} // namespace
