// SID and STAR insertion into a route, the route backup and the level profile, on the sample region's
// procedures (KSEA, KPDX) and on hand-built routes.
#include <string>
#include <vector>

#include "Harness.h"
#include "navdata/AptFiles.h"
#include "navdata/AptNav.h"
#include "navdata/FindNavType.h"
#include "navdata/ProcedureSearch.h"
#include "planning/Procedures.h"
#include "planning/RunwaySelection.h"
#include "RouteText.h"
#include "plugin/PluginGlobals.h"
#include "support/Filing.h"
#include "support/PluginHost.h"
#include "support/ProcedureData.h"
#include "ui/Settings.h"

namespace
{

class ProceduresTest : public HostTest
{
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        manualChooseSID = manualChooseSTAR = 0;
        respectRestrictions = 1, altezzaApproachIFR = 3000, altezzaApproachVFR = 2000;
        LayProcedureData({"KSEA", "KPDX"});
        Filing_SeattleRecord(record);
        record.isOnGround = 0;
        snprintf(record.nomePilota, sizeof record.nomePilota, "N123");
    }
    void Route(const std::vector<const char *> &words) { Filing_Route(record, words); }
    void SearchAndFile(bool star, const char *runway)
    {
        char rwy[8];
        snprintf(rwy, sizeof rwy, "%s", runway);
        if (star) {
            searchSTAR11(record.arrAirportICAO, rwy, &record);
            fileSTAR11(&record);
        } else {
            searchSID11(record.depAirportICAO, rwy, &record);
            fileSID11(&record);
        }
    }
    std::string Names() const { return RouteNames(record); }
    KeepSettings keep{&manualChooseSID, &manualChooseSTAR, &respectRestrictions, &altezzaApproachIFR,
                      &altezzaApproachVFR};
    pilot record;
};

TEST_F(ProceduresTest, SidInsertionKeepsTheRouteWithoutDuplicatesStaleIndexesOrTheDummyPoint)
{
    fileSID11(&record); // an empty route, no SID yet: the dummy departure point ahead of the runway
    EXPECT_EQ(Names(), "Departure/0");
    EXPECT_TRUE(flightPlanEmpty);
    ProcedureSearch_Seed(1); // the runway changes: the SID leads the route, the dummy point goes
    SearchAndFile(false, "16L");
    ASSERT_GT(record.numeroDiSidTrovate, 0);
    EXPECT_EQ(Names().find("Departure"), std::string::npos) << Names();
    EXPECT_EQ(record.flightPlanVec.front().order, 1);
    EXPECT_FALSE(flightPlanEmpty);

    record = pilot();
    record.depAirportICAO = "KSEA", record.plannedFL = 200;
    Route({"HAROB", "BTG"});
    char runway[] = "16L";
    searchSID11("KSEA", runway, &record);
    const struct {
        int selected;
        const char *route;
        int countAfter;
    } rows[] = {
        {2, "CAVOB/1 RENBE/1 RICHR/1 EMRLD/1 HAROB/2 BTG/2", 5}, // HAROB6 ends at the route's first fix
        {0, "CAVOB/1 RENBE/1 RICHR/1 TOMRE/1 BANGR/1 HAROB/2 BTG/2", 5},
        {3, "HAROB/2 BTG/2", 5},  // SEA7, vectors: nothing to insert, still found
        {42, "HAROB/2 BTG/2", 5}, // an index from an earlier search: nothing read past the list
        {-1, "HAROB/2 BTG/2", 5},
    };
    for (const auto &row : rows) {
        record.selectedSID = (int16_t)row.selected;
        record.numeroDiSidTrovate = 5;
        fileSID11(&record);
        EXPECT_EQ(Names(), row.route) << row.selected;
        EXPECT_EQ(record.numeroDiSidTrovate, row.countAfter) << row.selected;
        EXPECT_TRUE(record.sidFiled);
    }
    EXPECT_TRUE(Logged("Selected procedure 42 is not among the 5 found, nothing inserted"));
}

TEST_F(ProceduresTest, DepartureRunwayChangeOnTheGroundSearchesAndFilesTheSidAgain)
{
    ASSERT_TRUE(simhost::InstallGlobalAptDat(TestData("runways/apt.dat")));
    ClearSceneryIndex();
    parseSingleAptDat(simhost::SystemPath() + simhost::GlobalAptDatPath(12000));
    simhost::SetWeather(340, 15, 1013);
    record.parser.readAptDat("KSEA", IcaoMap["KSEA"].ICAOfilePath, IcaoMap["KSEA"].readOffset, 0);
    record.isOnGround = 1;
    Route({"HAROB", "BTG"});
    SetMatchingRunway(&record, 1);
    ASSERT_STREQ(record.departureRunwayName, "34R");
    SearchAndFile(false, "34R");
    EXPECT_EQ(Names(), "DODVE/1 WUREL/1 ATOME/1 BREMM/1 HAROB/2 BTG/2");

    record.preferredDepRunway = 1; // 16L
    record.preferredDepRunwayAirport = "KSEA";
    ChangeDepRunway(&record);
    ASSERT_STREQ(record.departureRunwayName, "16L");
    EXPECT_EQ(Names(), "CAVOB/1 RENBE/1 RICHR/1 EMRLD/1 HAROB/2 BTG/2");

    record.isOnGround = 0; // in the air the SID flown stays
    record.preferredDepRunway = 0;
    ChangeDepRunway(&record);
    EXPECT_STREQ(record.departureRunwayName, "34R");
    EXPECT_EQ(Names(), "CAVOB/1 RENBE/1 RICHR/1 EMRLD/1 HAROB/2 BTG/2");
}

TEST_F(ProceduresTest, FixUnknownToTheSimulatorKeepsTheSearchPositionAndStarReplacesTheEarlierOne)
{
    // QQQQQ is in the plug-in's fix file only: X-Plane's database cannot resolve it.
    const std::string fixes = simhost::ReadFile("Resources/plugins/Vellomir64/navdata/earth_fix.dat");
    simhost::WriteFile("Resources/plugins/Vellomir64/navdata/earth_fix.dat",
                       " 47.500000000 -122.500000000  QQQQQ ENRT K1 2105431 QQQQQ\r\n" + fixes);
    WriteCifp("KSEA", "SID:010,4,TEST1,RW16L,CAVOB,K1,P,C,E   , ,   ,TF, , , , , ,      ,    ,    ,    ,    , ,     ,"
                      "     ,     , ,   ,    ,   , , , , , , , , ;\n"
                      "SID:020,4,TEST1,RW16L,QQQQQ,K1,P,C,E   , ,   ,TF, , , , , ,      ,    ,    ,    ,    , ,     ,"
                      "     ,     , ,   ,    ,   , , , , , , , , ;\n");
    SearchAndFile(false, "16L");
    ASSERT_EQ(Names(), "CAVOB/1 QQQQQ/1");
    EXPECT_FLOAT_EQ(record.flightPlanVec[1].lat, 47.5f);
    EXPECT_FLOAT_EQ(record.flightPlanVec[1].lon, -122.5f);
    EXPECT_EQ(record.flightPlanVec[1].navType + record.flightPlanVec[0].navType, 2 * 512); // CAVOB's type kept

    // A second STAR replaces the first; approach points go with it.
    record = pilot();
    record.arrAirportICAO = "KPDX", record.plannedFL = 200;
    Route({"BTG", "HHOOD"});
    SearchAndFile(true, "10R");
    record.AddToFlightPlan(45.6f, -122.7f, "ILS", 5, 0, 0, 0);
    record.AddToFlightPlan(45.59f, -122.6f, "Runway 10R", 6, 0, 0, 0);
    for (size_t i = 0; i < record.stars.size(); i++)
        if (record.stars[i].name == "TMBRS2")
            record.selectedSTAR = (int16_t)i;
    fileSTAR11(&record);
    EXPECT_EQ(Names(), "BTG/2 HHOOD/2 TMBRS/3 VANTZ/3 FLOWR/3 FFULL/3 SSAIL/3 MYCRO/3 BBREW/3 PUBBB/3");
}

TEST_F(ProceduresTest, BackupAndRestoreRoundTripKeepsFixesOrderAndFiledLevels)
{
    const struct {
        const char *name;
        int order, restriction, forced;
    } route[] = {{"Departure", 0, 0, 0}, {"CAVOB", 1, 50, 0}, {"HAROB", 2, 0, 0},     {"BTG", 2, 0, 150},
                 {"BLRUN", 3, 110, 0},   {"ILS", 5, 0, 0},    {"Runway 10R", 6, 0, 0}};
    for (const auto &r : route) {
        record.AddToFlightPlan(45.5f, -122.5f, r.name, r.order, 512, r.forced, r.restriction);
        record.flightPlanVec.back().forcedFl = r.forced;
    }
    backuPianoDivolo(&record, true, true);
    restorePianoDivolo(&record);
    EXPECT_EQ(Names(), "Departure/0 CAVOB/1 HAROB/2 BTG/2 BLRUN/3");
    std::string kept;
    for (const pilot::flightPlanLoc &loc : record.flightPlanVec)
        kept += std::to_string(loc.restriction) + "/" + std::to_string(loc.forcedFl) + " ";
    EXPECT_EQ(kept, "0/0 50/0 0/0 0/150 110/0 ");
    EXPECT_EQ(record.flightPlanVec[3].fl, 150); // the filed level survives the profile
    EXPECT_EQ(record.flightPlanVec[2].fl, 200);
    backuPianoDivolo(&record, false, false);
    restorePianoDivolo(&record);
    EXPECT_EQ(Names(), "Departure/0 HAROB/2 BTG/2");
    record.flightPlanBackup.clear();
    restorePianoDivolo(&record);
    EXPECT_TRUE(record.flightPlanVec.empty());
    EXPECT_TRUE(Logged("FlightPlan restore error, no backup found!"));
}

TEST_F(ProceduresTest, LevelProfileFollowsRestrictionsAheadTheLastOneMetAndTheFieldElevation)
{
    struct Wpt {
        int order, restriction;
    };
    const struct {
        const char *what;
        int planned, descentFeet, respect, index;
        float fieldFt;
        std::vector<Wpt> route;
        std::vector<int> expected;
    } rows[] = {
        // clang-format off
        // Unrestricted SID fixes take the next SID ceiling ahead: no climb to cruise between two ceilings.
        {"sid ceilings", 350, 0, 1, 0, 0, {{1, 0}, {1, 0}, {1, 60}, {1, 0}, {1, 100}, {1, 0}, {2, 0}},
         {60, 60, 60, 100, 100, 350, 350}},
        {"restrictions off", 350, 0, 0, 0, 0, {{1, 0}, {1, 60}, {2, 0}, {3, 120}}, {350, 350, 350, 350}},
        // After the highest STAR restriction the profile keeps the last one met (80), never climbs back.
        {"last restriction met", 240, 10000, 1, 0, 0, {{2, 0}, {3, 0}, {3, 120}, {3, 0}, {3, 80}, {3, 0}},
         {120, 120, 120, 120, 100, 80}},
        {"route under a STAR floor", 240, 8000, 1, 0, 0, {{2, 0}, {3, 100}}, {100, 100}},
        {"route above the floors", 240, 0, 1, 0, 0, {{2, 0}, {3, 100}}, {240, 240}},
        // A STAR restriction above the filed level is met at the filed level.
        {"restriction above cruise", 150, 0, 1, 0, 0, {{2, 0}, {3, 190}, {3, 0}}, {150, 150, 150}},
        {"index below zero", 240, 0, 1, -3, 0, {{1, 0}, {1, 60}, {2, 0}}, {60, 60, 240}},
        // The runway's level is the approach height above a 5,400 ft field.
        {"high field", 240, 0, 1, 0, 5400, {{2, 0}, {6, 0}}, {240, 84}},
        // clang-format on
    };
    for (const auto &row : rows) {
        record.flightPlanVec.clear();
        for (const Wpt &w : row.route)
            record.AddToFlightPlan(45.5f, -122.5f, "WPT", w.order, 0, 0, w.restriction);
        record.plannedFL = row.planned;
        record.altezzaDiscesaFeet = row.descentFeet;
        respectRestrictions = row.respect;
        record.gActualFlightPlanIndex = row.index;
        record.arrivalRunwayStruct.heightft = row.fieldFt;
        drawFlighLevels(&record);
        EXPECT_EQ(RouteLevels(record), row.expected) << row.what;
    }
    record.vfrFlight = 1; // the approach height of VFR flights
    drawFlighLevels(&record);
    EXPECT_EQ(record.flightPlanVec.back().fl, 74);
}

} // namespace
