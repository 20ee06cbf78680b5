// vellomir-sim's scenario files: words, setup, mistakes named by line, a short flight and the listening
// pilot. The FMS verbs and `jump` are flown by the ATC dialog scenario (sim.atc_dialog_scenario).
#include <cmath>

#include "Scenario.h"
#include "XPLMUtilities.h"
#include "support/PluginHost.h"

namespace {

TEST(ScenarioParse, WordsSetupFirstAndBadValuesNameTheLine)
{
    EXPECT_EQ(Scenario_SplitWords("press \"Request IFR Clearance\"  # the delivery button"),
              (std::vector<std::string>{"press", "Request IFR Clearance"}));
    EXPECT_EQ(Scenario_SplitWords("expect log \"#4521#\""), (std::vector<std::string>{"expect", "log", "#4521#"}));
    EXPECT_TRUE(Scenario_SplitWords("   # only a comment\r").empty());
    EXPECT_EQ(Scenario_SplitWords("com1\t121.9\r"), (std::vector<std::string>{"com1", "121.9"}));

    Scenario s;
    std::string error;
    ASSERT_TRUE(Scenario_Parse("xplane 11330\nfps 20\nsample off\nwait 1\n", s, error)) << error;
    EXPECT_EQ(s.options.xplaneVersion, 11330);
    EXPECT_FLOAT_EQ(s.options.frameRate, 20.0f);
    EXPECT_FALSE(s.sample);
    EXPECT_EQ(s.events.size(), 1u);

    Scenario late;
    EXPECT_FALSE(Scenario_Parse("wait 1\nxplane 11330\n", late, error));
    EXPECT_EQ(error, "line 2: 'xplane' must come before the first event");
    Scenario bad;
    EXPECT_FALSE(Scenario_Parse("\n\nfps fast\n", bad, error));
    EXPECT_EQ(error, "line 3: bad value 'fast' for 'fps'");
}

class ScenarioRunTest : public HostTest {};

TEST_F(ScenarioRunTest, FliesTheEventsAndStopsAtAFailedExpectation)
{
    Scenario s;
    std::string error;
    ASSERT_TRUE(Scenario_Parse("place position 47.449 -122.309 elevation 131 heading 160\n"
                               "com1 121.9\nload\nwait 1\nfly heading 180 altitude 2000 speed 150\nwait 10\n"
                               "wait align 4\nwait align 4\n" // to 12 s, where the second has nothing to wait
                               "expect log \"User debug\"\nexpect window \"No such window\"\nwait 100\n",
                               s, error))
        << error;
    s.path = "test.scn";
    int frames = 0;
    ScenarioHooks hooks;
    hooks.loadPlugin = [] { return simhost::LoadPlugin(VELLOMIR_XPL_PATH); };
    hooks.afterFrame = [&] { frames++; };
    EXPECT_EQ(Scenario_Run(s, hooks, error), 4);
    EXPECT_EQ(error, "test.scn: line 10: expected window \"No such window\" did not happen");
    EXPECT_NEAR(simhost::ElapsedTime(), 12.0f, 0.01f); // the last wait never ran
    EXPECT_EQ(simhost::GetInt("sim/cockpit2/radios/actuators/com1_frequency_hz_833"), 121900);
    EXPECT_GT(simhost::Aircraft().speed_kt, 20.0f);
    EXPECT_GT(frames, 300);

    Scenario unknown;
    ASSERT_TRUE(Scenario_Parse("teleport KSEA\n", unknown, error));
    EXPECT_EQ(Scenario_Run(unknown, hooks, error), 4);
    EXPECT_NE(error.find("line 1: cannot read 'teleport'"), std::string::npos);
}

TEST_F(ScenarioRunTest, ParkingPositionByNameAndWeatherWithTemperature)
{
    ASSERT_TRUE(simhost::InstallGlobalAptDat(TestData("apt/pnw.apt.dat")));
    Scenario s;
    std::string error;
    ASSERT_TRUE(Scenario_Parse("place parking KSEA \"GA Ramp (Weyerhauser)\"\nweather wind 160 8 qnh 1013 isa -5\n"
                               "place parking KSEA \"Q77\"\n",
                               s, error))
        << error;
    s.path = "p.scn";
    ScenarioHooks hooks;
    hooks.loadPlugin = [] { return true; };
    EXPECT_EQ(Scenario_Run(s, hooks, error), 4);
    EXPECT_NEAR(simhost::Aircraft().lat, 47.43903934, 1e-9);
    EXPECT_TRUE(simhost::Aircraft().onGround);
    EXPECT_GT(simhost::GetFloat("sim/weather/aircraft/altimeter_temperature_error"), 5.0f); // 433 ft in cold air
    EXPECT_EQ(error, "p.scn: line 3: KSEA has no parking position \"Q77\" (it has Exit North Ramp, Exit South Ramp, "
                     "Hold 16L, Hold 34R, Horizon Ramp exit, North Cargo Ramp, A1, A10 ...)");

    Scenario badWeather;
    ASSERT_TRUE(Scenario_Parse("weather wind 160 8 qnh 1013 oat 5\n", badWeather, error));
    EXPECT_EQ(Scenario_Run(badWeather, hooks, error), 4);
    EXPECT_EQ(error, ": line 1: weather: after the qnh only 'isa DEGREES' may follow");
}

TEST_F(ScenarioRunTest, TheVectorPilotFliesWhatItHearsAsAMagneticHeadingAndTheWindDriftsIt)
{
    Scenario s;
    std::string error;
    ASSERT_TRUE(Scenario_Parse("place position 47.0 -122.5 elevation 1500 heading 0 airborne\n"
                               "weather wind 270 40 qnh 1013\nfly heading 0 altitude 5000 speed 200\n"
                               "pilot vectors on\nwait 60\nfly heading 400 magnetic\n",
                               s, error))
        << error;
    s.path = "pilot.scn";
    int frames = 0;
    std::vector<std::string> notes;
    ScenarioHooks hooks;
    hooks.loadPlugin = [] { return true; };
    hooks.note = [&](const std::string &note) { notes.push_back(note); };
    hooks.afterFrame = [&] {
        if (++frames == 30)
            XPLMSpeakString("Alaska one, turn right heading zero niner zero, descend to 3000 feet.");
    };
    EXPECT_EQ(Scenario_Run(s, hooks, error), 4);
    EXPECT_EQ(error, "pilot.scn: line 6: fly heading N magnetic needs a heading from 0 to 360");
    const simhost::AircraftState a = simhost::Aircraft();
    const float variation = simhost::ModelMagneticVariation(a.lat, a.lon);
    EXPECT_NEAR(std::remainder(a.headingTrue_deg + variation - 90.0f, 360.0f), 0.0f, 0.1f);
    // The westerly wind adds 40 kt towards the east to the speed through the air.
    const double h = a.headingTrue_deg * M_PI / 180, north = a.speed_kt * std::cos(h), east = a.speed_kt * std::sin(h) + 40;
    EXPECT_NEAR(a.trackTrue_deg, std::atan2(east, north) * 180 / M_PI, 0.5);
    EXPECT_NEAR(a.groundSpeed_kt, std::hypot(north, east), 1.0);
    EXPECT_NEAR(a.elevation_m * 3.28084, 5000, 20); // the vectors alone: the level given is not flown
    EXPECT_EQ(notes, (std::vector<std::string>{"pilot: vector 1, flying heading 90 magnetic"}));
}

TEST(HeardClearance, HeadingsLevelsAndSpeedsAsThePluginSpeaksThem)
{
    const struct {
        const char *text;
        int heading, level, speed;
        bool unread;
    } kCases[] = {
        {"ALASKA one two tree , turn right heading two seven eight .", 278, -1, -1, false},
        {"turn left heading 090, climb and maintain 5000 feet, contact", 90, 5000, -1, false},
        {"ALASKA one two tree , descend to 9000 feet, expect 7000 feet", -1, 9000, -1, false},
        {"ALASKA one two tree , descend via STAR KRATR two  to 9000 feet", -1, 9000, -1, false},
        {"ALASKA one two tree , climb to flight level one eight zero", -1, 18000, -1, false},
        {"you are 500 feet below your clearance altitude, climb and maintain 6000 feet", -1, 6000, -1, false},
        {"cleared altitude 16000 feet, maintain 12000 feet", -1, 12000, -1, false},
        {"descend to four thousand five hundred feet", -1, 4500, -1, false},
        {"ALASKA one two tree , reduce speed to 200 knots.", -1, -1, 200, false},
        {"ALASKA one two tree , maintain 250 knots", -1, -1, 250, false},
        // Not clearances: the wind, the pilot's own call and request, an initial altitude before departure.
        {"ALASKA one two tree , 'wind' one six zero  8 knots, runway one six left", -1, -1, -1, false},
        {"Seattle Center, ALASKA one two tree  passing 1500 feet, climbing 11000 feet", -1, -1, -1, false},
        {"request climb to flight level two four zero", -1, -1, -1, false},
        {"Initial altitude 11000 feet. Squawk two zero zero one .", -1, -1, -1, false},
        // Unreadable: ignored, and said so.
        {"turn right heading, ALASKA", -1, -1, -1, true},
        {"climb via SID", -1, -1, -1, true},
        {"descend to 90000 feet", -1, -1, -1, true},
        {"reduce speed to 9999999999999 knots", -1, -1, -1, true},
        {"climb to flight level 999999 thousand", -1, -1, -1, true},
    };
    for (const auto &c : kCases) {
        const HeardClearance heard = Scenario_HeardClearance(c.text);
        EXPECT_EQ(heard.heading_deg, c.heading) << c.text;
        EXPECT_EQ(heard.level_ft, c.level) << c.text;
        EXPECT_EQ(heard.speed_kt, c.speed) << c.text;
        EXPECT_EQ(heard.unread, c.unread) << c.text;
    }
}

TEST_F(ScenarioRunTest, FollowingTheClearancesChangesTheFmsLevelAndSpeedAndSkipsTheReadback)
{
    Scenario s;
    std::string error;
    ASSERT_TRUE(Scenario_Parse("xplane 11500\nplace position 47.0 -122.5 elevation 1500 heading 0 airborne\n"
                               "fly fms altitude 5000 speed 200\nfollow clearances on\nwait 60\n",
                               s, error))
        << error;
    std::vector<std::string> notes;
    int frames = 0;
    ScenarioHooks hooks;
    hooks.loadPlugin = [] { return true; };
    hooks.note = [&](const std::string &note) { notes.push_back(note); };
    hooks.afterFrame = [&] {
        if (++frames == 30)
            XPLMSpeakString("Alaska one, climb to 6000 feet, reduce speed to 180 knots.");
        if (frames == 60)
            XPLMSpeakString("climb to 6000 feet, reduce speed to 180 knots, Alaska one.");
        if (frames == 90)
            XPLMSpeakString("Alaska one, climb via SID.");
    };
    ASSERT_EQ(Scenario_Run(s, hooks, error), 0) << error;
    const simhost::AircraftState a = simhost::Aircraft();
    EXPECT_NEAR(a.elevation_m * 3.28084, 6000, 20);
    EXPECT_NEAR(a.speed_kt, 180, 0.5);
    EXPECT_EQ(simhost::GetInt("sim/cockpit/autopilot/autopilot_state"), 529); // still on the FMS
    EXPECT_EQ(notes, (std::vector<std::string>{"pilot: flying 6000 ft, 180 kt (0 vectors, 1 levels, 1 speeds, 0 unread)",
                                               "pilot: could not read \"Alaska one, climb via SID.\", not flown"}));
}

} // namespace
