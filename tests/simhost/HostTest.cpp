// simhost's datarefs, files and clock as the SDK documents them.
#include <algorithm>
#include <cstring>

#include "XPLMDataAccess.h"
#include "XPLMProcessing.h"
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
    simhost::ClearHostErrors();
}

TEST_F(SimHostTest, EachVersionPublishesItsOwnDatarefNames)
{
    // The names the plug-in asks for or might, and whether X-Plane 11 and 12 publish them.
    const struct {
        const char *name;
        bool xp11, xp12;
    } kNames[] = {
        {"sim/cockpit2/radios/actuators/com1_frequency_hz_833", true, true},
        {"sim/weather/wind_speed_kt[0]", true, true},
        {"sim/weather/aircraft/qnh_pas", false, true},
        {"sim/weather/region/wind_direction_degt", false, true},
        {"sim/weather/region/wind_direction_degt[0]", false, false}, // arrays have no element names
    };
    for (int version : {11300, 11500, 12000}) {
        ResetHost(version);
        int before = simhost::FindDataRefCalls(); // the linked plug-in code's own look-ups
        for (const auto &n : kNames)
            EXPECT_EQ(XPLMFindDataRef(n.name) != nullptr, version >= 12000 ? n.xp12 : n.xp11) << n.name << " " << version;
        EXPECT_EQ(simhost::MissingDataRefs().size(), version >= 12000 ? 1u : 3u);
        EXPECT_EQ(simhost::FindDataRefCalls() - before, (int)(sizeof kNames / sizeof kNames[0]));
    }
    // The weather in each version's own datarefs and units: X-Plane 12's old wind speed is in m/s.
    simhost::SetWeather(250, 20, 1013.25f);
    EXPECT_NEAR(simhost::GetFloat("sim/weather/wind_speed_kt[0]"), 10.29f, 0.01f);
    EXPECT_EQ(simhost::GetFloatArray("sim/weather/region/wind_direction_degt"), std::vector<float>(13, 250.0f));
}

TEST_F(SimHostTest, PluginWritesThatXPlaneRefusesAreReportedAndChangeNothing)
{
    simhost::PlaceAircraft(47.449, -122.309, 100.0, 90.0f, true);
    simhost::TuneCom1(121.7);
    // Read-only, and COM1 frequencies outside the band in each dataref's unit (0, kHz into 10 kHz, the reverse).
    XPLMSetDatad(XPLMFindDataRef("sim/flightmodel/position/latitude"), 10.0);
    EXPECT_EQ(simhost::GetDouble("sim/flightmodel/position/latitude"), 47.449);
    for (int hz : {0, 121700})
        XPLMSetDatai(XPLMFindDataRef("sim/cockpit/radios/com1_freq_hz"), hz);
    XPLMSetDatai(XPLMFindDataRef("sim/cockpit2/radios/actuators/com1_frequency_hz_833"), 12170);
    EXPECT_EQ(simhost::HostErrors().size(), 4u);
    simhost::ClearHostErrors();
    // In the band, writable: no error; the harness (the simulator itself) writes read-only datarefs freely.
    XPLMSetDatai(XPLMFindDataRef("sim/cockpit2/radios/actuators/com1_frequency_hz_833"), 118025);
    EXPECT_EQ(simhost::GetInt("sim/cockpit/radios/com1_freq_hz"), 11802);
    simhost::SetDouble("sim/flightmodel/position/latitude", 10.0);
    EXPECT_EQ(simhost::GetDouble("sim/flightmodel/position/latitude"), 10.0);

    // A byte dataref never grows: the bytes past its 40 are dropped.
    XPLMDataRef tail = XPLMFindDataRef("sim/aircraft/view/acf_tailnum");
    std::string longTail(60, 'N');
    XPLMSetDatab(tail, longTail.data(), 30, (int)longTail.size());
    EXPECT_EQ(XPLMGetDatab(tail, nullptr, 0, 0), 40);
    EXPECT_EQ(simhost::GetBytes("sim/aircraft/view/acf_tailnum").substr(30), std::string(10, 'N'));
}

int gPublished = 7;
int ReadPublished(void *)
{
    return gPublished;
}

TEST_F(SimHostTest, UnregisteredPluginDatarefIsOrphanedAndAdoptedWhenRegisteredAgain)
{
    auto publish = [] {
        return XPLMRegisterDataAccessor("Other/value", xplmType_Int, 0, ReadPublished, nullptr, nullptr, nullptr,
                                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                        nullptr);
    };
    XPLMDataRef published = publish();
    XPLMDataRef held = XPLMFindDataRef("Other/value");
    EXPECT_EQ(XPLMGetDatai(held), 7);
    XPLMUnregisterDataAccessor(published);
    // The handle others hold stays usable: it reads 0, is not good, and the name still finds it.
    EXPECT_EQ(XPLMGetDatai(held), 0);
    EXPECT_EQ(XPLMIsDataRefGood(held), 0);
    EXPECT_EQ(XPLMFindDataRef("Other/value"), held);
    XPLMSetDatai(held, 3);
    EXPECT_EQ(publish(), held);
    EXPECT_EQ(XPLMGetDatai(held), 7);
    EXPECT_EQ(XPLMIsDataRefGood(held), 1);
    EXPECT_TRUE(simhost::HostErrors().empty());
}

TEST_F(SimHostTest, DirectoryListingAndPathFollowTheSdk)
{
    EXPECT_NE(simhost::SystemPath().find("/X-Plane 12/"), std::string::npos); // a space, as installed
    std::vector<std::string> written;
    for (char c = 'a'; c <= 'p'; c++)
        written.push_back(std::string(1, c) + ".txt");
    for (const std::string &name : written)
        simhost::WriteFile("Custom Scenery/pack/" + name, "x");
    std::string dir = simhost::SystemPath() + "Custom Scenery/pack";
    auto list = [&](int first, int bufferSize, int indexCount, int &complete) {
        std::vector<char> names((size_t)bufferSize, '#');
        std::vector<char *> indices((size_t)indexCount + 1, (char *)"sentinel");
        int total = 0, returned = 0;
        complete = XPLMGetDirectoryContents(dir.c_str(), first, names.data(), bufferSize, indices.data(), indexCount,
                                            &total, &returned);
        EXPECT_EQ(total, 16);
        EXPECT_EQ(indices[(size_t)returned], nullptr); // the index ends in a null
        std::vector<std::string> out(indices.begin(), indices.begin() + returned);
        // The names end with an empty one, inside the buffer.
        EXPECT_EQ(names[(size_t)(returned * 6)], '\0');
        return out;
    };
    int complete = 0;
    std::vector<std::string> all = list(0, 16 * 6 + 1, 17, complete);
    EXPECT_EQ(complete, 1);
    EXPECT_NE(all, written); // shuffled (one chance in 16! to come sorted)
    EXPECT_TRUE(std::is_permutation(all.begin(), all.end(), written.begin()));
    // No room for the closing entries: a partial listing, which the next call continues in the same order.
    std::vector<std::string> first = list(0, 16 * 6, 17, complete);
    EXPECT_EQ(complete, 0);
    EXPECT_EQ(first.size(), 15u);
    EXPECT_EQ(list(0, 16 * 6 + 1, 16, complete).size(), 15u);
    std::vector<std::string> rest = list(15, 16 * 6 + 1, 17, complete);
    first.insert(first.end(), rest.begin(), rest.end());
    EXPECT_EQ(first, all);

    // The seed sets the order: the same seed repeats it.
    simhost::Options options;
    options.directorySeed = simhost::DirectorySeed();
    simhost::Reset(options);
    for (const std::string &name : written)
        simhost::WriteFile("Custom Scenery/pack/" + name, "x");
    dir = simhost::SystemPath() + "Custom Scenery/pack";
    EXPECT_EQ(list(0, 16 * 6 + 1, 17, complete), all);

    char names[64], path[512];
    char *indices[8];
    int total = 0, returned = 0;
    EXPECT_EQ(XPLMGetDirectoryContents((dir + "/missing").c_str(), 0, names, 64, indices, 8, &total, &returned), 0);
    EXPECT_EQ(total, 0);
    XPLMGetSystemPath(path);
    EXPECT_EQ(path[strlen(path) - 1], '/');
}

TEST_F(SimHostTest, ElapsedTimeKeepsUpOverALongFlight)
{
    // Ten hours at 7 frames a second: summed in a float the clock would end hundreds of seconds off.
    simhost::Options options;
    options.frameRate = 7.0f;
    simhost::Reset(options);
    simhost::RunFrames(10 * 3600 * 7);
    EXPECT_NEAR(XPLMGetElapsedTime(), 36000.0f, 0.01f);
}

} // namespace
