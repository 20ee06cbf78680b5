// The route written into simhost's legacy FMS (both of its clearing behaviours), the window of entries on
// a long route, the "Jump to" window, and the new active waypoint after a route rebuild.
#include <string>
#include <vector>

#include "Harness.h"
#include "XPLMNavigation.h"
#include "XPStandardWidgets.h"
#include "navdata/AptNav.h"
#include "navdata/FindNavType.h"
#include "navdata/ProcedureSearch.h"
#include "planning/FlightPlanWindow.h"
#include "planning/ApproachPath.h"
#include "planning/Fms.h"
#include "planning/JumpToWaypoint.h"
#include "planning/Procedures.h"
#include "planning/RunwaySelection.h"
#include "plugin/FrameDriver.h"
#include "plugin/SimDataRefs.h"
#include "RouteText.h"
#include "support/Filing.h"
#include "support/PluginHost.h"
#include "ui/Settings.h"

namespace {

class FmsTest : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        manualChooseSID = manualChooseSTAR = 0;
        programFMSApproxILS = programFMSDirectOnJump = enableFmcProgramming = 1;
        ASSERT_TRUE(simhost::InstallSample(std::string(VELLOMIR_SOURCE_DIR) + "/data/sample"));
        NewFlight();
    }
    void NewFlight() { Filing_SeattleRecord(record); }
    void TearDown() override { JumpToWaypoint_Close(); FlightPlanWindow_Destroy(); HostTest::TearDown(); }
    /// A route of count waypoints P00... (P000... past 100) going south from 47 N.
    void LongRoute(int count, float step)
    {
        for (int k = 0; k < count; k++) {
            char name[16];
            snprintf(name, sizeof name, count > 100 ? "P%03d" : "P%02d", k);
            record.AddToFlightPlan(47.0f - step * (float)k, -122.3f, name, 2, 0, 100, 0);
        }
    }
    /// Near Portland: the STAR HHOOD4 for 10R and the final approach by hand, descending to 6000 ft (the
    /// STAR's restrictions show in the levels).
    static void ArriveAtPortland(pilot &p)
    {
        char rwy[8] = "10R";
        searchSTAR11(p.arrAirportICAO, rwy, &p);
        fileSTAR11(&p);
        p.arrivalRunwayStruct.lat = 45.5887f, p.arrivalRunwayStruct.lon = -122.6060f;
        p.arrivalRunwayStruct.heightft = 30;
        p.AddToFlightPlan(45.5800f, -122.8000f, "ILS", 5, 0, 30, 0);
        p.AddToFlightPlan(45.5887f, -122.6060f, "Runway 10R", 6, 0, 30, 0);
        p.altezzaDiscesaFeet = 6000, p.faseDiscesa = 2;
        drawFlighLevels(&p);
    }
    /// The FMS as "kind:ID/altitude" words, "latlon/altitude" for a lat/lon entry.
    static std::string Plan()
    {
        std::string text;
        for (const simhost::FmsEntry &e : simhost::FmsPlan())
            text += (text.empty() ? "" : " ") + (e.kind == "latlon" ? "latlon" : e.kind + ":" + e.id) + "/" +
                    std::to_string(e.altitude_ft);
        return text;
    }
    /// Fills the FMS with a long plan of an earlier flight.
    static void StalePlan(int entries)
    {
        for (int i = 0; i < entries; i++)
            XPLMSetFMSEntryLatLon(i, 40.0f + 0.1f * (float)i, -120.0f, 1000);
    }
    static bool DestinationAndDisplayed(int entry)
    {
        return simhost::FmsDestinationEntry() == entry && simhost::FmsDisplayedEntry() == entry;
    }
    KeepSettings keep{&manualChooseSID, &manualChooseSTAR, &programFMSApproxILS, &programFMSDirectOnJump,
                      &enableFmcProgramming, &lookForSTAR};
    pilot record;
};

TEST_F(FmsTest, SeattleToPortlandReplacesALongerPlanEntryByEntryAndSteadyFramesNeverProgramIt)
{
    for (simhost::FmsClear clearing : {simhost::FmsClear::Shift, simhost::FmsClear::Blank}) {
        SCOPED_TRACE(clearing == simhost::FmsClear::Shift ? "shift" : "blank");
        Filing_AtSeattle();
        simhost::SetFmsClearing(clearing);
        StalePlan(40); // an earlier, longer flight: none of it may survive
        Filing_File("HAROB BTG HHOOD"); // the SID HAROB6 from 16L comes with it
        EXPECT_EQ(Plan(), "airport:KSEA/0 fix:CAVOB/16000 fix:RENBE/16000 fix:RICHR/16000 fix:EMRLD/16000 "
                          "fix:HAROB/16000 vor:BTG/16000 fix:HHOOD/16000 airport:KPDX/0");
        EXPECT_TRUE(simhost::FmsEntryAt(XPLMCountFMSEntries()).empty() || clearing == simhost::FmsClear::Blank);
        EXPECT_TRUE(DestinationAndDisplayed(1));
        ArriveAtPortland(pilotObj);
        ProgramFMS(&pilotObj);
        EXPECT_EQ(Plan(), "airport:KSEA/0 fix:CAVOB/6000 fix:RENBE/6000 fix:RICHR/6000 fix:EMRLD/6000 "
                          "fix:HAROB/11000 vor:BTG/11000 fix:HHOOD/11000 fix:BLRUN/11000 fix:SSDEE/11000 "
                          "fix:THEID/10000 fix:EMZEY/8000 fix:CIZZL/6000 fix:YORKY/6000 fix:NNUTT/5000 latlon/0 "
                          "latlon/0 airport:KPDX/0");
        EXPECT_TRUE(DestinationAndDisplayed(1));
        FlightPlanWindow_Destroy();
    }
    // Flown by the FMS on its own (CAVOB passed within the frames run), frames never write to it.
    System_CreateDriverWindow();
    Driver_SkipFirstFrame();
    simhost::PlaceAircraft(47.40, -122.31, 600, 180, false);
    simhost::FlyFms(11000, 250);
    const int before = simhost::FmsWriteCalls();
    simhost::RunFrames(600);
    EXPECT_EQ(simhost::FmsWriteCalls(), before);
    EXPECT_GT(simhost::FmsDestinationEntry(), 1);
    System_DestroyDriverWindow();
    pilotObj = pilot();
}

TEST_F(FmsTest, PointsTheFmsCannotTakeAreEnteredByPositionAndTheEntriesStayContiguous)
{
    // A DME, an identifier the simulator does not know, a generated point with and without
    // programFMSApproxILS, airport identifiers empty or partial, and an aircraft in the air.
    const struct {
        const char *what;
        int approx, onGround;
        const char *dep, *arr;
        const char *plan;
        int activeAt, destination;
    } rows[] = {
        {"all programmed", 1, 1, "KSEA", "KPDX",
         "airport:KSEA/0 vor:BTG/9000 latlon/9000 latlon/9000 latlon/0 fix:HHOOD/9000 airport:KPDX/0", 1, 2},
        {"generated point left out", 0, 1, "KSEA", "KPDX",
         "airport:KSEA/0 vor:BTG/9000 latlon/9000 latlon/9000 fix:HHOOD/9000 airport:KPDX/0", 1, 2},
        {"partial and empty airports", 1, 1, "", "KPD",
         "latlon/0 vor:BTG/9000 latlon/9000 latlon/9000 latlon/0 fix:HHOOD/9000 latlon/0", 1, 2},
        {"airborne after a diversion", 1, 0, "KSEA", "KPDX",
         "latlon/4500 vor:BTG/9000 latlon/9000 latlon/9000 latlon/0 fix:HHOOD/9000 airport:KPDX/0", 1, 2},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        NewFlight();
        programFMSApproxILS = row.approx;
        record.isOnGround = row.onGround, record.altitudineFeets = 4500;
        record.depAirportICAO = row.dep, record.arrAirportICAO = row.arr;
        record.arrivalRunwayStruct.lat = 45.5887f, record.arrivalRunwayStruct.lon = -122.6060f;
        record.AddToFlightPlan(45.7148f, -122.6508f, "BTG", 2, xplm_Nav_VOR, 90, 0);
        record.AddToFlightPlan(45.7148f, -122.6508f, "BTG", 2, xplm_Nav_DME, 90, 0);
        record.AddToFlightPlan(45.6f, -122.3f, "QQQQ", 2, xplm_Nav_VOR, 90, 0);
        record.AddToFlightPlan(45.5f, -122.2f, "Approximation 1", 4, 0, 90, 0);
        record.AddToFlightPlan(45.3928f, -121.9594f, "HHOOD", 3, xplm_Nav_Fix, 90, 0);
        record.gActualFlightPlanIndex = row.activeAt;
        ProgramFMS(&record);
        EXPECT_EQ(Plan(), row.plan);
        EXPECT_TRUE(DestinationAndDisplayed(row.destination)) << simhost::FmsDestinationEntry();
        EXPECT_TRUE(simhost::HostErrors().empty());
    }
    // The active waypoint on the point left out: the FMS flies to the next programmed one, the window
    // starting just before the active waypoint.
    programFMSApproxILS = 0, record.isOnGround = 1;
    record.gActualFlightPlanIndex = 3;
    ProgramFMS(&record);
    EXPECT_EQ(Plan(), "airport:KSEA/0 latlon/9000 fix:HHOOD/9000 airport:KPDX/0");
    EXPECT_EQ(Fms_EntryOfWaypoint(&record, 3), -1);
    EXPECT_EQ(Fms_EntryOfWaypoint(&record, 4), 2);
    EXPECT_TRUE(DestinationAndDisplayed(2));
    // An index of -1 or past the end is read within the route: the first or the last waypoint.
    for (int index : {-1, 99}) {
        record.gActualFlightPlanIndex = index;
        ProgramFMS(&record);
        EXPECT_EQ(simhost::FmsEntryAt(simhost::FmsDestinationEntry()).id, index < 0 ? "BTG" : "HHOOD") << index;
    }
}

TEST_F(FmsTest, TheWindowOfEntriesFollowsTheActiveWaypointOfALongRoute)
{
    LongRoute(120, 0.02f);
    struct Step {
        int active, count, destination, firstRouteEntry;
        bool reprogrammed;
    };
    const Step steps[] = {
        {0, 100, 1, 0, true},    // the first 98 waypoints and the arrival: X-Plane's 100 entries
        {97, 100, 98, 0, false}, // within the window: only the destination moves
        {98, 25, 2, 97, true}, // past it: programmed again from just before the active waypoint
        {10, 100, 2, 9, true}, // a jump back
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.active);
        const int before = simhost::FmsWriteCalls();
        record.gActualFlightPlanIndex = step.active;
        if (step.active == 0)
            ProgramFMS(&record);
        else
            Fms_FollowActiveWaypoint(&record);
        EXPECT_EQ(XPLMCountFMSEntries(), step.count);
        EXPECT_TRUE(DestinationAndDisplayed(step.destination)) << simhost::FmsDestinationEntry();
        EXPECT_EQ(simhost::FmsEntryAt(1).lat, record.flightPlanVec[(size_t)step.firstRouteEntry].lat);
        EXPECT_EQ(simhost::FmsEntryAt(step.count - 1).id, "KPDX");
        EXPECT_EQ(simhost::FmsWriteCalls() - before > 2, step.reprogrammed);
    }
    EXPECT_TRUE(simhost::HostErrors().empty());
}

TEST_F(FmsTest, TheJumpWindowListsTheRouteInColumnsAndActsOnlyOnTheWaypointItNames)
{
    LongRoute(40, 0.05f);
    record.gActualFlightPlanIndex = 1;
    ProgramFMS(&record);
    record.distanzaMinimaWaypoint = 0.4f; // what the monitor measured against the old waypoint
    record.gLastDistanceToActWP = 0.5f;
    JumpToWaypoint(&record);
    void *window = simhost::FindWindowByTitle("Jump to");
    ASSERT_NE(window, nullptr);
    // 40 buttons in columns, each inside the window on the screen; the active one marked.
    int left = 0, top = 0, right = 0, bottom = 0;
    XPGetWidgetGeometry(window, &left, &top, &right, &bottom);
    EXPECT_GE(bottom, 0);
    for (int k : {0, 14, 15, 39}) {
        int l = 0, t = 0, r = 0, b = 0;
        XPGetWidgetGeometry(ChooseWptBtn[(size_t)k], &l, &t, &r, &b);
        EXPECT_TRUE(l >= left && r <= right && b >= bottom && t <= top) << k;
    }
    EXPECT_NE(simhost::FindWidget(window, "P01*", xpWidgetClass_Button), nullptr);

    // The third button: waypoint 2, FMS entry 3, and the tracking of the old waypoint forgotten.
    ASSERT_TRUE(simhost::ClickWidget(simhost::NthWidgetOfClass(window, xpWidgetClass_Button, 2)));
    EXPECT_EQ(record.gActualFlightPlanIndex, 2);
    EXPECT_TRUE(DestinationAndDisplayed(3));
    EXPECT_EQ(simhost::FindWindowByTitle("Jump to"), nullptr);
    EXPECT_EQ(record.distanzaMinimaWaypoint, 0);
    EXPECT_EQ(record.gLastDistanceToActWP, 100);

    // The route is rebuilt under an open window: its buttons no longer name their waypoints.
    JumpToWaypoint(&record);
    record.flightPlanVec.erase(record.flightPlanVec.begin());
    ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(simhost::FindWindowByTitle("Jump to"), "P05")));
    EXPECT_EQ(record.gActualFlightPlanIndex, 2);
    EXPECT_TRUE(Logged("The route has changed since the window opened: P05 is no longer waypoint 5, no jump"));
    // and programming the rebuilt route closes it.
    JumpToWaypoint(&record);
    ProgramFMS(&record);
    EXPECT_EQ(simhost::FindWindowByTitle("Jump to"), nullptr);
    EXPECT_TRUE(simhost::HostErrors().empty());
}

TEST_F(FmsTest, TheActiveWaypointAfterARebuildIsTheClosestFromTheLastOccurrenceOfTheOldOneAndNeverMinusOne)
{
    // Waypoints every 0.1 degree south from 47.0 N along 122.3 W (the two Y both at 46.0 N).
    const struct {
        const char *what;
        std::vector<const char *> names;
        int oldIndex, expected;
        double aircraftLat;
    } rows[] = {
        {"closest after the old name", {"A1", "A2", "OLD", "B", "C"}, 2, 3, 46.71},
        {"the old name twice: only from its last occurrence", {"OLD", "A2", "OLD", "B", "C"}, 0, 2, 46.99},
        {"equal distances: the later waypoint", {"X", "Y", "Y"}, 0, 2, 46.0},
        {"an index of -1", {"A1", "A2", "B"}, -1, 2, 46.0},
        {"nothing within 1000 nm: the old waypoint stays", {"A1", "OLD", "B"}, 1, 1, -10.0},
        {"nothing within 1000 nm and a stale index", {"A1", "A2", "B"}, 7, 2, -10.0},
        {"empty route", {}, 3, 0, 46.0},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        NewFlight();
        record.latitudine = row.aircraftLat;
        record.longitudine = -122.3;
        float lat = 47.0f;
        for (const char *name : row.names) {
            record.AddToFlightPlan(std::string(name) == "Y" ? 46.0f : lat, -122.3f, name, 2, 0, 100, 0);
            lat -= 0.1f;
        }
        record.gActualFlightPlanIndex = row.oldIndex;
        cercaNuovoFlightPlanIndex(&record);
        EXPECT_EQ(record.gActualFlightPlanIndex, row.expected);
    }
}

TEST_F(FmsTest, ANewArrivalRunwayProgramsTheLevelsDrawnForIt)
{
    lookForSTAR = 0; // the STAR counts as chosen: the FMS is programmed at once
    Utils_readAllAptDat();
    record.isOnGround = 0, record.latitudine = 46.2, record.longitudine = -122.6;
    record.AddToFlightPlan(45.7148f, -122.6508f, "BTG", 2, xplm_Nav_VOR, 0, 0);
    for (bool runwayChange : {true, false}) { // the runway changed, the approach path built again
        record.flightPlanVec[0].fl = 999; // a level of the route before the change
        runwayChange ? ChangeArrRunway(&record) : SetILSPath(&record);
        EXPECT_EQ(simhost::FmsEntryAt(1).id + " " + std::to_string(simhost::FmsEntryAt(1).altitude_ft), "BTG 20000");
    }
}

} // namespace
