// Filing a flight plan from the flight plan window over the bundled sample, at gate A1 of Seattle-Tacoma:
// the checks and what the user sees when one fails, real routes resolved to the fix file's positions,
// the files written and read back by the window.
#include <cmath>
#include <functional>

#include "Harness.h"
#include "XPStandardWidgets.h"
#include "planning/FlightPlanFiling.h"
#include "planning/FlightPlanRoute.h"
#include "planning/FlightPlanText.h"
#include "planning/FlightPlanWindow.h"
#include "plugin/FirstFrame.h"
#include "plugin/PluginGlobals.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "support/Filing.h"
#include "support/PluginHost.h"
#include "ui/Settings.h"
#include "ui/WarningWindow.h"

namespace {

const std::string kFolder = "Resources/plugins/Vellomir64/";
const char *const kCom1 = "sim/cockpit2/radios/actuators/com1_frequency_hz_833";
const char *const kGoodRoute = "SEA MCKEN ONALS MALAY.FL.120 COUGA ROARK BTG";

class FilingTest : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        Filing_AtSeattle();
    }
    void TearDown() override
    {
        FlightPlanWindow_Destroy();
        Warning_Destroy();
        HostTest::TearDown();
    }
    static void Open() { CreateFileFlightPlanControl(100, 700, 850, 330); }
    static void Set(XPWidgetID field, const std::string &text) { XPSetWidgetDescriptor(field, text.c_str()); }
    /// Opens the window, types a good KSEA-KPDX plan, applies changes, presses "Insert Flightplan".
    static void File(const std::function<void()> &change = [] {}) { Filing_File(kGoodRoute, change); }
    /// The warning's text, and the warning closed.
    static std::string Warning()
    {
        void *window = simhost::FindWindowByTitle("Vellomir - Warning");
        std::string text;
        for (const std::string &line : window ? simhost::WidgetTexts(window, xpWidgetClass_Caption)
                                              : std::vector<std::string>())
            text += line;
        Warning_Destroy();
        return text;
    }
    /// What a refused filing must leave alone, as one text.
    static std::string Now()
    {
        std::string text = pilotObj.pianoDiVolo + "|" + pilotObj.nomePilota + "|" + pilotObj.depAirportICAO + "|" +
                           pilotObj.arrAirportICAO + "|" + simhost::ReadFile(kFolder + "FlightPlan.txt") + "|" +
                           simhost::ReadFile(kFolder + "FlightSettings.txt") + "|" + gActualAptICAO + "|";
        for (const pilot::flightPlanLoc &p : pilotObj.flightPlanVec)
            text += p.name + "." + std::to_string(p.fl) + " ";
        for (double value : {(double)pilotObj.plannedFL, (double)gTransLevelFLDep, (double)gTransLevelFLArr,
                             (double)tdDescentSpeed, (double)simhost::GetInt(kCom1), (double)gIsFPFiled,
                             pilotObj.parser.towerFrequency})
            text += "|" + std::to_string(value);
        return text;
    }
};

TEST_F(FilingTest, EveryRefusalShowsItsWarningAndChangesNeitherTheFlightNorComOneNorTheFiles)
{
    File();
    ASSERT_EQ(Warning(), "");
    ASSERT_EQ(gIsFPFiled, 1);
    const std::string filed = Now();
    struct Case {
        XPWidgetID *field;
        std::string text, warning;
        const char *departure = "KBFI"; // a refused re-filing at another airport keeps KSEA's radio too
    };
    const std::string tooLong = [] {
        std::string route;
        while (route.size() <= 511)
            route += "SEA BTG ";
        return route;
    }();
    // clang-format off
    const std::vector<Case> cases = {
        {&ControlFlightPlanEdit, "SEA MCKEN XYZZY BTG", "Waypoint not found: XYZZY"},
        {&ControlFlightPlanEdit, "SEA MCKEN STARR BTG", "Waypoint not found: STARR"}, // not cut to "R"
        {&ControlFlightPlanEdit, tooLong, "Flight plan too long: at most 511 characters"},
        {&ControlFlightPlanEdit, "DCT V23 J1", "No waypoint of the flight plan was found"},
        {&ControlFlightPlanEdit, "KSEA SEA BTG", "Departure and arrival airports should not be filed in flight plan",
         "KSEA"},
        {&ControlFlightPlanEdit, "SEA BTG.kpdx kpdx", "Departure and arrival airports should not be filed in flight plan"},
        {&ControlFlightlevelEdit, "611", "flight level incorrect"},
        {&ControlFlightlevelEdit, "abc", "flight level incorrect"},
        {&ControlFlightlevelEdit, "0.5", "flight level incorrect"},
        {&ControlTLDep, "900", "transition levels incorrect"},
        {&ControlTLArr, "abc", "transition levels incorrect"},
        {&ControlDescentSpeed, "99", "descent speed incorrect"},
        {&ControlArrivalEdit, "PDX", "Arrival airport not found"},   // not KPDX by a fragment
        {&ControlArrivalEdit, "K-P", "Invalid arrival airport"},
        {&ControlDepartureEdit, "KS", "Invalid departure airport"},
        {&ControlDepartureEdit, "KXYZ", "Departure airport not found"},
        {&ControlDepartureEdit, "3WA5", "Departure ICAO is an heliport"},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        File([&] {
            Set(ControlDepartureEdit, c.departure);
            Set(*c.field, c.text);
        });
        EXPECT_EQ(Warning(), c.warning);
        EXPECT_EQ(Now(), filed);
        EXPECT_EQ(fileFlightPlanWinIsOpen, 1); // the form stays for a correction
        FlightPlanWindow_Destroy();
    }
    EXPECT_TRUE(simhost::HostErrors().empty());
}

TEST_F(FilingTest, RealRoutesResolveToTheFixFilesPositionsAndAreSavedAsFiled)
{
    struct Point {
        const char *id;
        int navType, fl;
        double lat, lon;
    };
    struct Case {
        const char *route, *arrival, *stored;
        std::vector<Point> points;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {kGoodRoute, "KPDX", kGoodRoute,
         {{"SEA", 1024, 0, 47.435372, -122.309617}, {"MCKEN", 512, 0, 46.867694, -122.562617},
          {"ONALS", 512, 0, 46.635850, -122.664247}, {"MALAY", 512, 120, 46.422775, -122.760914},
          {"COUGA", 512, 0, 46.092008, -122.677386}, {"ROARK", 512, 0, 45.911972, -122.632347},
          {"BTG", 4, 0, 45.747811, -122.591536}}},
        // airway and direct words are dropped; AP is the NDB, not the DME IIAP at Portland
        // levels outside FL 1 to 610 are not forced
        {"sea dct OLM.FL.abc V165 BTG.FL.611 J1 AP", "kpdx", "SEA DCT OLM.FL.ABC V165 BTG.FL.611 J1 AP",
         {{"SEA", 1024, 0, 47.435372, -122.309617}, {"OLM", 4, 0, 46.971639, -122.901833},
          {"BTG", 4, 0, 45.747811, -122.591536}, {"AP", 2, 0, 48.873989, -123.289919}}},
        // punctuation separates words; repeats and SID/STAR words go, the forced level stays
        {"SID sea,MCKEN/onals ONALS.FL.90 onals STAR", "KPDX", "SEA MCKEN ONALS ONALS.FL.90 ONALS",
         {{"SEA", 1024, 0, 47.435372, -122.309617}, {"MCKEN", 512, 0, 46.867694, -122.562617},
          {"ONALS", 512, 90, 46.635850, -122.664247}}},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.route);
        File([&] {
            Set(ControlFlightPlanEdit, c.route);
            Set(ControlArrivalEdit, c.arrival);
            Set(ControlDepartureEdit, "ksea");
            XPSetWidgetProperty(ControlOptionsChooseSid, xpProperty_ButtonState, 0); // a SID filed at once
        });
        ASSERT_EQ(Warning(), "");
        EXPECT_EQ(pilotObj.pianoDiVolo, c.stored);
        EXPECT_EQ(pilotObj.depAirportICAO, "KSEA");
        // The SID chosen for 16L comes first (any of them), then the route as filed.
        std::vector<pilot::flightPlanLoc> route;
        for (const pilot::flightPlanLoc &p : pilotObj.flightPlanVec)
            if (p.order == 2)
                route.push_back(p);
            else
                EXPECT_TRUE(p.order == 1 && route.empty()) << p.name;
        EXPECT_TRUE(pilotObj.sidFiled);
        EXPECT_GT(pilotObj.flightPlanVec.size(), route.size());
        ASSERT_EQ(route.size(), c.points.size());
        for (size_t i = 0; i < c.points.size(); i++) {
            const pilot::flightPlanLoc &p = route[i];
            const Point &e = c.points[i]; // the levels drawn after filing: 160 where none is forced
            EXPECT_EQ(p.name + " " + std::to_string(p.navType) + " " + std::to_string(p.forcedFl) + " " +
                          std::to_string(p.fl),
                      std::string(e.id) + " " + std::to_string(e.navType) + " " + std::to_string(e.fl) + " " +
                          std::to_string(e.fl != 0 ? e.fl : 160));
            EXPECT_LT(std::hypot(p.lat - e.lat, p.lon - e.lon), 0.001) << p.name;
        }
        EXPECT_STREQ(pilotObj.nomePilota, "ALASKA @123@");
        EXPECT_STREQ(pilotObj.departureRunwayName, "16L");
        EXPECT_NEAR(pilotObj.altezzaAeroportoArrivo, 30, 1); // KPDX's elevation in feet
        EXPECT_EQ(simhost::ReadFile(kFolder + "FlightPlan.txt"), std::string("KSEA SID ") + c.stored + " STAR KPDX\n");
        EXPECT_EQ(simhost::ReadFile(kFolder + "FlightSettings.txt"),
                  "FL#160\nICAOFlightName#asa\nICAOFlightNumber#123\nTransLevelFLDep#180\nTransLevelFLArr#180\n");
        EXPECT_EQ(fileFlightPlanWinIsOpen, 0);
    }
}

TEST_F(FilingTest, TheReopenedWindowShowsWhatWasFiledAndOpeningItChangesNothing)
{
    File([] {
        Set(ControlIcaoFlightName, "Piper Cherokee Six Three Nine Delta"); // 31 characters are kept
        Set(ControlIcaoFlightNumber, "");
        XPSetWidgetProperty(ControlOptionsChooseSid, xpProperty_ButtonState, 1);
        XPSetWidgetProperty(ControlOptionsVFRDiscovery, xpProperty_ButtonState, 1);
    });
    ASSERT_EQ(Warning(), "");
    EXPECT_STREQ(pilotObj.nomePilota, "Piper Cherokee Six Three Nine @N737VM@");
    const std::string route = pilotObj.pianoDiVolo;
    Open();
    fileFlightPlanWinIsOpen = 0; // even when its flag was cleared
    Open();                      // a second opening brings the same window to the front
    EXPECT_EQ(simhost::WidgetWindowTitles(), std::vector<std::string>{"Control"});
    std::vector<std::string> fields = simhost::WidgetTexts(ControlFileFlightPlanWindow, xpWidgetClass_TextField);
    EXPECT_EQ(fields, (std::vector<std::string>{"Piper Cherokee Six Three Nine D", "N737VM", "KSEA", "KPDX", "18000",
                                                "18000", "160", "1800", kGoodRoute}));
    EXPECT_EQ(XPGetWidgetProperty(ControlOptionsChooseSid, xpProperty_ButtonState, nullptr), 1);
    EXPECT_EQ(XPGetWidgetProperty(ControlOptionsVFRDiscovery, xpProperty_ButtonState, nullptr), 1);
    FlightPlanWindow_Destroy();

    // Files edited by hand fill the fields only: the flight keeps its plan until it is filed.
    simhost::WriteFile(kFolder + "FlightPlan.txt", "KSEA SID OLM STARR STAR KBFI\n");
    simhost::WriteFile(kFolder + "FlightSettings.txt", "TransLevelFLDep#50\nFL#12#3\nFL#abc\nICAOFlightNumber#9\n");
    const std::string edited = Now();
    Open();
    fields = simhost::WidgetTexts(ControlFileFlightPlanWindow, xpWidgetClass_TextField);
    EXPECT_EQ(fields[1] + " " + fields[3] + " " + fields[4] + " " + fields[6] + " " + fields[8],
              "9 KBFI 5000 160 OLM STARR"); // both FL lines refused
    EXPECT_EQ(Now(), edited);
    EXPECT_EQ(pilotObj.pianoDiVolo, route);
}

TEST_F(FilingTest, AnotherDepartureIsReadAndRetunedOnlyToARealFrequencyAndTheOldSidIsForgotten)
{
    pilotObj.numeroDiSidTrovate = 2;
    pilotObj.sidSelezionata = pilotObj.sidFiled = true;
    simhost::SetFloat("sim/flightmodel/weight/m_total", 140000);
    // McChord has no delivery frequency: COM1 stays as tuned.
    File([] {
        Set(ControlDepartureEdit, "KTCM");
        Set(ControlFlightPlanEdit, "OLM BTG");
        Set(ControlIcaoFlightName, "BAW");
        Set(ControlIcaoFlightNumber, "12345678901234567890");
    });
    ASSERT_EQ(Warning(), "");
    EXPECT_STREQ(gActualAptICAO, "KTCM");
    EXPECT_EQ(pilotObj.depAirportFullName, "MC CHORD AFB");
    EXPECT_EQ(simhost::GetInt(kCom1), 128000);
    EXPECT_EQ(pilotObj.numeroDiSidTrovate, 0);
    EXPECT_FALSE(pilotObj.sidFiled);
    EXPECT_STREQ(pilotObj.nomePilota, "SPEEDBIRD @1234567890123456@ Heavy");
    EXPECT_EQ(std::string(pilotObj.departureRunwayName, 2), "16"); // one of McChord's, from the airport read for it
    // Boeing Field has one: the radio follows the tuned kind of facility there.
    File([] { Set(ControlDepartureEdit, "KBFI"); });
    ASSERT_EQ(Warning(), "");
    EXPECT_EQ(pilotObj.parser.deliveryFrequency, simhost::GetInt(kCom1));
    EXPECT_NE(simhost::GetInt(kCom1), 128000);
    EXPECT_STREQ(pilotObj.departureRunwayName, "13L");
}

TEST_F(FilingTest, AFailedSaveKeepsTheOldFilesAndSaysSoAndTheKmlIsWrittenOnlyWhenAskedFor)
{
    File();
    ASSERT_EQ(Warning(), "");
    const std::string before = simhost::ReadFile(kFolder + "FlightPlan.txt");
    EXPECT_FALSE(simhost::FileExists(kFolder + "FlightPlan.kml"));
    // A folder in the way of the temporary file makes the write fail.
    simhost::WriteFile(kFolder + "FlightPlan.txt.tmp/x", "");
    gKMLExp = 1;
    File([] { Set(ControlFlightPlanEdit, "OLM BTG"); });
    EXPECT_EQ(Warning(), "The flight plan is filed, but could not be saved in FlightPlan.txt");
    EXPECT_EQ(simhost::ReadFile(kFolder + "FlightPlan.txt"), before);
    EXPECT_EQ(pilotObj.pianoDiVolo, "OLM BTG");
    std::string kml = simhost::ReadFile(kFolder + "FlightPlan.kml");
    EXPECT_NE(kml.find("<Placemark><name>OLM</name><styleUrl>#msn_ylw-pushpin</styleUrl><Point><coordinates>"
                       "-122.902,46.9716</coordinates></Point></Placemark>\n"),
              std::string::npos);
    EXPECT_EQ(kml.substr(kml.size() - 27), "</Folder></Document></kml>\n");
}

TEST(FlightPlanText, RouteWordsAreSplitAtAnyOtherCharacterAndOnlyWholeWordsAreRemoved)
{
    using Words = std::vector<std::string>;
    EXPECT_EQ(FlightPlan_RouteWords("mcken/onals,  malay.fl.120\tdct-btg"),
              (Words{"MCKEN", "ONALS", "MALAY.FL.120", "DCT", "BTG"}));
    EXPECT_EQ(FlightPlan_RouteWords("\xc3\xa9 ;"), Words{});
    Words words = {"SID", "STARR", "STAR.", "AGLER", "AGL", "SID", "STAR", "AGL.FL.100", "ZAGL"};
    EXPECT_EQ(FlightPlan_RemoveWords(words, {"SID", "STAR"}), 4);
    EXPECT_EQ(FlightPlan_RemoveWords(words, {"AGL"}), 2); // an airport AGL takes neither AGLER nor ZAGL
    EXPECT_EQ(words, (Words{"STARR", "AGLER", "ZAGL"}));

    for (const char *airway : {"J1", "V23", "UL607", "Q7", "T257", "A1B"})
        EXPECT_TRUE(FlightPlan_IsAirway(airway)) << airway;
    for (const char *word : {"SEA", "MCKEN", "KSEA", "ABC1D", "1A", "J12345", ""})
        EXPECT_FALSE(FlightPlan_IsAirway(word)) << word;
    EXPECT_EQ(FlightPlan_CleanCode("eddl-x"), "EDDL");
    EXPECT_EQ(FlightPlan_CleanNumber("ab 1-2#3"), "AB 1-23");
}

TEST(FlightPlanText, NeighbouringRepeatsGoTheFirstKeepsAForcedLevelAndOtherNamesStay)
{
    const std::pair<const char *, const char *> cases[] = {{"ACVOL.0 CVO.0", "ACVOL.0 CVO.0"},
                                                           {"A.0 A.120 A.0 B.90 B.0 B.0 C.0", "A.120 B.90 C.0"},
                                                           {"A.100 A.120 B.0 A.0", "A.100 B.0 A.0"}};
    for (const auto &c : cases) {
        std::vector<pilot::flightPlanLoc> points;
        for (const std::string &word : FlightPlan_RouteWords(std::string(c.first) + " ")) {
            points.emplace_back();
            points.back().name = word.substr(0, word.find('.'));
            points.back().fl = points.back().forcedFl = std::stoi(word.substr(word.find('.') + 1));
        }
        FlightPlan_PurgeDuplicates(points);
        std::string out;
        for (const pilot::flightPlanLoc &p : points)
            out += (out.empty() ? "" : " ") + p.name + "." + std::to_string(p.fl);
        EXPECT_EQ(out, c.second);
    }
}

} // namespace
