// The real Vellomir64.xpl's start and frame driver over the bundled sample: the scenery indexed at start, the
// first frame of a flight finding the airport under the aircraft, what each X-Plane version is asked for, and
// scenery the index does not know.
#include <algorithm>
#include <functional>

#include "XPLMPlugin.h"
#include "support/PluginHost.h"

namespace {

class FrameDriverTest : public PluginTest {
  protected:
    /// The sample scenery, the aircraft on a gate of KSEA (or wherever place puts it), the plug-in
    /// loaded and a flight started as X-Plane starts one.
    bool StartAt(int version, const std::function<void()> &place)
    {
        ResetHost(version);
        if (!simhost::InstallSample(std::string(VELLOMIR_SOURCE_DIR) + "/data/sample"))
            return false;
        place();
        if (!Load(version))
            return false;
        simhost::SendMessage(XPLM_MSG_PLANE_LOADED, 0);
        simhost::SendMessage(XPLM_MSG_AIRPORT_LOADED, 0);
        simhost::RunFrames(2);
        return true;
    }
    bool StartAtKsea(int version = 12000)
    {
        return StartAt(version, [] { simhost::PlaceAtParking("KSEA", "A1"); });
    }
    /// Tunes COM1 and runs a frame; true when the plug-in named the facility as expected.
    static bool Names(double megahertz, const std::string &facility)
    {
        simhost::TuneCom1(megahertz);
        simhost::RunFrame();
        char line[96];
        snprintf(line, sizeof line, "Tuned facility: %s (COM1 %.3f)", facility.c_str(), megahertz);
        return Logged(line);
    }
};

TEST_F(FrameDriverTest, SampleIndexedAtStartAndTheAirportUnderTheAircraftLookedForOnceAFlight)
{
    // KSEA's frequencies named and the reset in the air over McChord: data/scenarios/frequencies.scn.
    ASSERT_TRUE(StartAtKsea());
    EXPECT_TRUE(Logged("airport index: 517 airports, ILS index: 34 airports"));
    EXPECT_TRUE(Logged("earth_nav.dat version: 1911") && Logged("earth_fix.dat version: 1911"));
    // The scan happens between the menu and the flight datarefs of the start sequence.
    const std::vector<std::string> &log = simhost::LogLines();
    auto at = [&](const char *text) {
        return std::find_if(log.begin(), log.end(), [&](const std::string &l) { return l.find(text) != l.npos; });
    };
    EXPECT_LT(at("loading X-Plane apt.dat"), at("User debug enabled"));
    EXPECT_TRUE(Logged("parking found: A1 (type: jets)"));
    EXPECT_TRUE(Logged("Airport has 6 ILS/LOC runways!"));
    simhost::RunSeconds(5);
    EXPECT_EQ(LogCount("Looking for closer airport"), 1);
    EXPECT_TRUE(simhost::HostErrors().empty());
}

TEST_F(FrameDriverTest, EachVersionIsAskedOnlyForWhatItPublishesAndNothingIsSearchedPerFrame)
{
    // The datarefs whose names differ between the versions, and whether the plug-in binds them there.
    const struct {
        const char *name;
        int at11300, at11500, at12000; ///< 1 when bound at that version
    } kBound[] = {
        {"sim/weather/wind_direction_degt[0]", 1, 1, 0},
        {"sim/weather/wind_speed_kt[0]", 1, 1, 0},
        {"sim/weather/aircraft/wind_now_direction_degt", 0, 0, 1},
        {"sim/weather/aircraft/altimeter_temperature_error", 0, 0, 1},
        {"sim/cockpit/radios/com1_freq_hz", 1, 0, 0}, // tens of kHz before 11.30, then kHz
        {"sim/cockpit2/radios/actuators/com1_frequency_hz_833", 0, 1, 1},
    };
    for (int version : {11300, 11500, 12000}) {
        ASSERT_TRUE(StartAtKsea(version));
        EXPECT_TRUE(Names(121.7, "GROUND")) << version;
        std::string missing;
        for (const std::string &name : simhost::MissingDataRefs())
            if (name.rfind("ixeg/", 0) != 0) // the IXEG 737's own, there only with that aircraft
                missing += name + " ";
        EXPECT_EQ(missing, "") << version;
        for (const auto &b : kBound)
            EXPECT_EQ(simhost::FindCount(b.name), version == 11300 ? b.at11300 : version == 11500 ? b.at11500 : b.at12000) << b.name << version;
        int datarefs = simhost::FindDataRefCalls(), navaids = simhost::FindNavAidCalls();
        EXPECT_EQ(navaids, 1); // the airport under the aircraft, once a flight
        simhost::SetWeather(250, 12, 1002.0f, -10.0f);
        simhost::RunSeconds(5);
        EXPECT_EQ(simhost::FindDataRefCalls(), datarefs) << version;
        EXPECT_EQ(simhost::FindNavAidCalls(), navaids) << version;
    }
}

// MARK: bad input

TEST_F(FrameDriverTest, NoAirportInTheSceneryLeavesTheRadioWithoutControllers)
{
    ResetHost(12000);
    simhost::WriteFile("Global Scenery/Global Airports/Earth nav data/apt.dat", "not an apt.dat\n1 433 1 0 KSEA x\n");
    simhost::PlaceAircraft(47.44, -122.30, 130, 0, true);
    ASSERT_TRUE(Load());
    simhost::RunFrames(3);
    EXPECT_TRUE(Logged("Airport not found!"));
    simhost::TuneCom1(126.85);
    simhost::RunFrames(3);
    EXPECT_FALSE(Logged("Tuned facility"));
    EXPECT_TRUE(simhost::HostErrors().empty());
}

TEST_F(FrameDriverTest, AirportTheIndexDoesNotKnowIsLoggedAndLeftEmpty)
{
    // Scenery laid after the plug-in's start: the simulator lists the airport, the index built at
    // start has no file and offset for it.
    ASSERT_TRUE(StartAtKsea());
    ASSERT_TRUE(Names(128.0, "DELIVERY"));
    simhost::WriteFile("Custom Scenery/New/Earth nav data/apt.dat",
                       "I\n1000 Version\n\n1 433 0 0 XNEW New field\n"
                       "100 30 1 0 0.25 0 0 0 09 47.4422 -122.3031 0 0 0 0 0 0 27 47.4422 -122.3011 0 0 0 0 0 0\n"
                       "54 12800 TWR\n99\n");
    ASSERT_TRUE(simhost::ClickMenuItem("Vellomirv2", "Reset plugin"));
    simhost::RunFrames(2);
    EXPECT_TRUE(Logged("Airport found: New field"));
    EXPECT_TRUE(Logged("Error opening file: "));
    EXPECT_TRUE(Logged("Tuned facility: NONE (COM1 128.000)")); // KSEA's delivery is gone with KSEA
    EXPECT_TRUE(simhost::HostErrors().empty());
}

} // namespace
