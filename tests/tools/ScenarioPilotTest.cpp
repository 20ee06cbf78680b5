// The scripted pilot's scenario lines against the loaded plug-in's windows, and what it reads from the
// screen and the plug-in's route file. Typing into the flight plan window by its captions is flown by the
// default scenario.
#include "Scenario.h"
#include "ScenarioPilot.h"
#include "support/PluginHost.h"

#include <cstring>

namespace {

TEST(ScenarioSightTest, SquawkCodesBlanksRouteFilesAndWindowChanges)
{
    const struct {
        const char *message, *code;
    } squawks[] = {{"N737VM, cleared to KPDX. Squawk 4521.", "4521"}, {"squawk #0742#, Seattle ground", "0742"},
                   {"SQUAWK 1234 ... squawk 7700", "7700"},         {"squawk 4581", ""},
                   {"squawk 45210", ""},                             {"Squawking", ""}};
    for (const auto &s : squawks)
        EXPECT_EQ(Scenario_SquawkIn(s.message), s.code) << s.message;
    EXPECT_EQ(Scenario_CollapseBlanks("  Taxi to \t runway  16L\n"), " Taxi to runway 16L ");

    std::vector<ScenarioPoint> points;
    std::string error;
    ASSERT_TRUE(Scenario_ReadRouteKml("<Placemark><coordinates>-122.30,47.44,0 -122.31,47.45,0</coordinates>"
                                      "</Placemark><Placemark><coordinates>\n-122.31,47.45,0 -122.32,47.46,0\n"
                                      "</coordinates></Placemark>",
                                      points, error));
    ASSERT_EQ(points.size(), 3u);
    EXPECT_DOUBLE_EQ(points[2].lat, 47.46);
    EXPECT_DOUBLE_EQ(points[2].lon, -122.32);
    EXPECT_FALSE(Scenario_ReadRouteKml("<coordinates>-122.3;47.4</coordinates>", points, error));
    EXPECT_EQ(error, "cannot read the coordinate \"-122.3;47.4\"");
    EXPECT_FALSE(Scenario_ReadRouteKml("<coordinates>-122.3,47.4", points, error));

    int a = 0, b = 0;
    const std::vector<ScenarioWindow> before = {{&a, "Options", {"Save"}}, {&b, "Request", {"Request taxi"}}};
    const std::vector<ScenarioWindow> after = {{&b, "Request", {"Request takeoff", "Say again"}}};
    EXPECT_EQ(Scenario_WindowChanges(before, after),
              (std::vector<std::string>{"WIN- \"Options\"", "WIN- \"Request\"",
                                        "WIN+ \"Request\" [Request takeoff] [Say again]"}));
}

class ScenarioPilotTest : public PluginTest {
  protected:
    int Fly(const std::string &text, std::string &error)
    {
        Scenario s;
        if (!Scenario_Parse(text, s, error))
            return -1;
        s.path = "p.scn";
        ScenarioHooks hooks;
        hooks.loadPlugin = [] { return simhost::PluginLoaded() || simhost::LoadPlugin(VELLOMIR_XPL_PATH); };
        return Scenario_Run(s, hooks, error);
    }
};

TEST_F(ScenarioPilotTest, VerbsOnThePluginsWindows)
{
    const struct {
        const char *lines;
        const char *error; ///< empty: the scenario passes
    } cases[] = {
        {"load\nawait window \"Vellomir - Welcome!\" within 1\nexpect buttons \"Vellomir - Welcome!\" \"Ok\"\n"
         "press \"Ok\"\nawait nowindow \"Vellomir - Welcome!\" within 1\nexpect no window \"Vellomir - Welcome!\"\n"
         "menu Vellomirv2 \"Frequencies selector\"\nawait button \"Center\" within 1\nexpect buttons "
         "\"Frequencies selector\" Tower Ground Delivery Atis Approach Departure Center\n"
         "command Vellomir/frequency_selector_toggle\nexpect no window \"Frequencies selector\"\n",
         ""},
        {"load\nexpect buttons \"Vellomir - Welcome!\" Ok Cancel\n",
         "p.scn: line 2: \"Vellomir - Welcome!\" shows the buttons \"Ok\", not \"Ok\" \"Cancel\""},
        {"load\nawait button \"Cancel\" within 2\n", "p.scn: line 2: button \"Cancel\" did not happen within 2 s"},
        // Settings laid before the plug-in starts; the Options window filled, ticked and saved.
        {"setting welcomeMessage202012 0\nsetting maxHeadingError 7\nload\nwait 1\n"
         "expect no window \"Vellomir - Welcome!\"\nmenu Vellomirv2 Options\n"
         "type Options \"Heading error\" 12\ntype Options \"Heading announce delay#2\" 33\n"
         "check Options \"Create Google Earth\" on\ncheck Options \"Check for updates on startup\" off\n"
         "press Save\nexpect file Settings.txt \"maxHeadingError#12\"\nexpect file Settings.txt \"gKMLExp#1\"\n"
         "expect file Settings.txt \"headingAnnounceDelayAP#33\"\nexpect file Settings.txt \"updateCheck#0\"\n",
         ""},
        {"load\ntype \"Vellomir - Welcome!\" Nothing x\n",
         "p.scn: line 2: no text field for the caption \"Nothing\" in \"Vellomir - Welcome!\""},
        {"load\nmenu Vellomirv2 Options\ncheck Options \"Nothing\" on\n",
         "p.scn: line 3: no check box \"Nothing\" in \"Options\""},
        {"load\ncommand Vellomir/nothing\n", "p.scn: line 2: no command Vellomir/nothing"},
        {"load\nsquawk heard\n", "p.scn: line 2: no message on screen has given a squawk code yet"},
        // The awaits of a kind go on from the last line matched; blanks are loose.
        {"place parking KSEA A1\nload\nmessage airport-loaded\nawait log \"Airport  found:\tSeattle\" within 5\n"
         "await log \"Airport found\" within 2\n",
         "p.scn: line 5: no log line with \"Airport found\" within 2 s"},
        {"com1 121.9\nsquawk 4521\nload\nwait 0.1\nexpect com1 121.900\nexpect dataref "
         "sim/cockpit/radios/transponder_code 4521\nexpect dataref sim/flightmodel/engine/ENGN_running[0] 0\n"
         "expect dataref sim/cockpit/radios/transponder_code 4522\n",
         "p.scn: line 8: sim/cockpit/radios/transponder_code is 4521, not 4522"},
        {"load\nexpect file ../Log.txt x\n", "p.scn: line 2: expect file needs a file of the plug-in's folder, not \"../Log.txt\""},
    };
    for (const auto &c : cases) {
        ResetHost(12000);
        ASSERT_TRUE(simhost::InstallSample(std::string(VELLOMIR_SOURCE_DIR) + "/data/sample"));
        std::string error;
        EXPECT_EQ(Fly(c.lines, error), c.error[0] == 0 ? 0 : 4) << c.lines;
        EXPECT_EQ(error.substr(0, strlen(c.error)), c.error) << c.lines;
    }
    std::string error;
    Scenario bad;
    EXPECT_FALSE(Scenario_Parse("setting azureKey \"a#b\"\n", bad, error));
    EXPECT_EQ(error, "line 1: a setting's key or value cannot hold '#' or a control character");
}

TEST_F(ScenarioPilotTest, TaxiesStraightToAParkingAPointAndAlongTheClearedRoute)
{
    ASSERT_TRUE(simhost::InstallSample(std::string(VELLOMIR_SOURCE_DIR) + "/data/sample"));
    std::string error;
    ASSERT_EQ(Fly("place parking KSEA A1\nload\ntaxi route\n", error), 4);
    EXPECT_NE(error.find("setting gKMLExp 1"), std::string::npos) << error;

    // A1 to A2 to a point east of them, then along a route of three legs written as the plug-in writes it.
    PluginFile("TaxiPath.kml", "<Placemark><name>0 - A</name><LineString><coordinates>-122.3000,47.4500,0 "
                               "-122.3000,47.4520,0</coordinates></LineString></Placemark>\n<Placemark><name>1 - "
                               "B</name><LineString><coordinates>-122.3000,47.4520,0 -122.2980,47.4520,0 "
                               "</coordinates></LineString></Placemark>\n");
    ASSERT_EQ(Fly("taxi to parking KSEA A2\n", error), 0) << error; // data/scenarios/pilot.scn checks where
    ASSERT_EQ(Fly("taxi to 47.4500 -122.3000 speed 20\n", error), 0) << error;
    const float t0 = simhost::ElapsedTime();
    ASSERT_EQ(Fly("taxi route\n", error), 0) << error;
    const simhost::AircraftState end = simhost::Aircraft();
    EXPECT_NEAR(end.lat, 47.4520, 1e-7);
    EXPECT_NEAR(end.lon, -122.2980, 1e-7);
    EXPECT_EQ(end.speed_kt, 0.0f);
    EXPECT_TRUE(end.onGround);
    EXPECT_NEAR(end.headingTrue_deg, 90.0f, 0.5f);
    // 0.12 nm of route at 15 kt is 29 s at least; about 3 s more for each start and stop.
    EXPECT_GT(simhost::ElapsedTime() - t0, 29.0f);
    EXPECT_LT(simhost::ElapsedTime() - t0, 120.0f);
    EXPECT_EQ(Fly("place position 47.45 -122.30 elevation 500 airborne\ntaxi to 47.46 -122.30\n", error), 4);
    EXPECT_EQ(error, "p.scn: line 2: taxi: the aircraft is in the air");
}

TEST_F(ScenarioPilotTest, TakesOffFromARunwayAndLandsOnAnotherAlongItsCentreline)
{
    ASSERT_TRUE(simhost::InstallSample(std::string(VELLOMIR_SOURCE_DIR) + "/data/sample"));
    std::string error;
    ASSERT_EQ(Fly("place parking KSEA A1\ntake off KSEA 16L altitude 3000 speed 200\n", error), 0) << error;
    simhost::AircraftState a = simhost::Aircraft();
    EXPECT_FALSE(a.onGround);
    EXPECT_NEAR(a.headingTrue_deg, 180.5f, 1.0f) << "16L's true heading";
    EXPECT_NEAR(a.lon, -122.3078, 0.002) << "on the centreline";
    ASSERT_EQ(Fly("land KTCM 16\n", error), 0) << error;
    a = simhost::Aircraft();
    EXPECT_TRUE(a.onGround);
    EXPECT_LE(a.speed_kt, 16.0f);
    EXPECT_NEAR(a.lon, -122.4765, 0.002) << "on the centreline of 16";
    EXPECT_LT(a.lat, 47.1515) << "past the threshold";
    EXPECT_GT(a.lat, 47.1238) << "before the far end";
    EXPECT_EQ(Fly("land KTCM 17\n", error), 4);
    EXPECT_EQ(error, "p.scn: line 1: land: no runway 17 at KTCM in the apt.dat");
    EXPECT_EQ(Scenario_FrequencyIn("Contact Seattle Center on 128.500, bye. on 1.5"), 128.5);
    EXPECT_EQ(Fly("expect no say \"cleared to land\"\nexpect once say \"cleared to land\"\n", error), 4);
    EXPECT_EQ(error, "p.scn: line 2: \"cleared to land\" was said 0 times, expected 1");
}

} // namespace
