// Altitude clearances and the descent ladder's levels: every phrase form, the deviation wording kept for
// deviations, the transition level on both sides, terrain floors, and the approach setting left alone.
#include <cmath>
#include <string>

#include "XPLMNavigation.h"
#include "comms/MessageQueue.h"
#include "monitor/Altitude.h"
#include "monitor/Descent.h"
#include "monitor/LevelText.h"
#include "monitor/NavigationMonitor.h"
#include "plugin/PluginGlobals.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"
#include "ui/Settings.h"

namespace {

class AltitudeClearanceTest : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        simhost::SetWeather(0, 0, 1013.25f);
        Fresh();
    }
    void TearDown() override
    {
        gTransLevelFLDep = gTransLevelFLArr = 50;
        expedite = 0;
        requestedFLChange = false;
        firstCallToThisCenter = 1;
        preciseHeading = 1;
        tdDescentSpeed = 1500;
        HostTest::TearDown();
    }
    void Fresh()
    {
        r.ResetFlight();
        r.flightPlanVec.clear();
        r.stars.clear();
        snprintf(r.nomePilota, sizeof r.nomePilota, "Vellomir @12@");
        r.datiPilotaImpostati = 1;
        queue.clear();
        expedite = 0;
        requestedFLChange = false;
        firstCallToThisCenter = 0;
    }
    /// A route of two waypoints at the given levels (hundreds of feet), the first one active.
    void Levels(int active, int next)
    {
        r.AddToFlightPlan(45.9f, -122.6f, "WP1", 2, 0, active, 0);
        r.AddToFlightPlan(45.7f, -122.6f, "WP2", 2, 0, next, 0);
        r.gActualFlightPlanIndex = 0;
    }
    std::string Said() const { return queue.empty() ? "" : queue.back().text; }
    std::string ReadBack() const { return queue.empty() ? "" : queue.back().readbackText; }
    pilot &r = pilotObj;
};

TEST_F(AltitudeClearanceTest, EveryPhraseForm)
{
    const struct {
        const char *what;
        int altitude, active, next, cleared, transArr;
        int tod, expediteLevel;
        const char *text, *readback;
    } rows[] = {
        {"climb", 5000, 200, 200, 50, 180, 0, 0, "Vellomir @12@, climb to flight level #200#",
         "climb to flight level #200#, Vellomir @12@."},
        {"maintain", 7100, 70, 70, 70, 180, 1, 0, "Vellomir @12@, maintain 7000 feet", "maintain 7000 feet, Vellomir @12@."},
        {"a new step is a clearance", 8500, 70, 70, 85, 180, 1, 0, "Vellomir @12@, descend to 7000 feet",
         "descend to 7000 feet, Vellomir @12@."},
        {"deviation from the cleared level", 8500, 70, 70, 70, 180, 1, 0,
         "Vellomir @12@, you are 1500 feet above your clearance altitude, descend to and maintain 7000 feet",
         "descending to 7000 feet, Vellomir @12@."},
        {"deviation below", 6000, 70, 70, 70, 180, 1, 0,
         "Vellomir @12@, you are 1000 feet below your clearance altitude, climb and maintain 7000 feet",
         "climbing to 7000 feet, Vellomir @12@."},
        {"expedite", 12000, 70, 40, 70, 180, 1, 5, "Vellomir @12@, expedite descent to 7000 feet",
         "expediting descent to 7000 feet, Vellomir @12@."},
        {"US transition level", 20000, 150, 150, 200, 180, 1, 0,
         "Vellomir @12@, descend to 15000 feet, QNH #1013#, transition level #180#",
         "descend to 15000 feet, QNH #1013#, transition level #180#, Vellomir @12@"},
        {"European transition level", 8000, 40, 40, 80, 50, 1, 0,
         "Vellomir @12@, descend to 4000 feet, QNH #1013#, transition level #50#", nullptr},
        {"above the transition level", 30000, 240, 100, 300, 180, 1, 0, "Vellomir @12@, descend to flight level #240#",
         nullptr},
    };
    for (const auto &row : rows) {
        Fresh();
        Levels(row.active, row.next);
        r.altitudineFeets = (float)row.altitude;
        r.clearedFL = row.cleared;
        r.gTODReached = row.tod;
        gTransLevelFLArr = row.transArr;
        gTransLevelFLDep = 180;
        expedite = (int16_t)row.expediteLevel;
        r.autopilotaRilevato = true; // no heading with the clearance
        ControlloAltitudine(&r, 0);
        EXPECT_EQ(Said(), row.text) << row.what;
        if (row.readback != nullptr) {
            EXPECT_EQ(ReadBack(), row.readback) << row.what;
        }
        EXPECT_EQ(r.clearedFL, row.active) << row.what;
        EXPECT_EQ(queue.back().message, 520) << row.what;
        EXPECT_EQ(r.gIsCopiing, 1) << row.what;
    }
}

TEST_F(AltitudeClearanceTest, StarHeadingLevelChangeEmergencyAndBounds)
{
    gTransLevelFLArr = gTransLevelFLDep = 180;
    // Via the STAR, once, with the heading to fly.
    Levels(150, 100);
    r.gTODReached = 1;
    r.altitudineFeets = 20000;
    r.clearedFL = 200;
    r.informazioniDiAtterraggioComunicate = 1;
    r.faseDiscesa = 1;
    r.numeroDiStarTrovate = 1;
    r.AddStar("HAWKZ7", "", 45.8, -122.6, false);
    r.cicloApproach = 1;
    r.latitudine = 45.9; // due west of the active waypoint, heading 20 degrees left of it
    r.longitudine = -122.9;
    r.trueAirspeed = 120;
    r.headingAttuale = 68;
    preciseHeading = 0;
    ControlloAltitudine(&r, 0);
    EXPECT_EQ(Said(), "Vellomir @12@, turn right heading #090#, descend via STAR HAWKZ#7# to 15000 feet");
    EXPECT_EQ(queue.back().message, 525);
    EXPECT_EQ(r.starAnnunciata, 1);
    r.clearedFL = 200;
    r.headingAttuale = 89; // on track
    ControlloAltitudine(&r, 1);
    EXPECT_EQ(Said(), "Vellomir @12@, descend to 15000 feet");

    // The pilot's new cruise level.
    Fresh();
    Levels(200, 200);
    r.altitudineFeets = 20000;
    r.plannedFL = 240;
    requestedFLChange = true;
    ControlloAltitudine(&r, 0);
    EXPECT_EQ(Said(), "Vellomir @12@, cleared altitude flight level #240#, maintain flight level #200#");
    EXPECT_FALSE(requestedFLChange);

    // No climb in an emergency, and nothing left waiting for a read-back.
    Fresh();
    Levels(200, 200);
    r.altitudineFeets = 5000;
    r.inEmergenza = true;
    ControlloAltitudine(&r, 0);
    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(r.gIsCopiing, 0);

    // Past the plan's end the last level holds; 45,000 ft off does not overflow the deviation.
    Fresh();
    Levels(350, 0);
    r.gActualFlightPlanIndex = 7;
    r.altitudineFeets = 45000;
    r.gTODReached = 1;
    ControlloAltitudine(&r, 0);
    EXPECT_EQ(r.errorDelta, 32700);
    EXPECT_EQ(Said().rfind("Vellomir @12@, descend to 0 feet", 0), 0u) << Said();
}

TEST_F(AltitudeClearanceTest, OnlyASustainedDeviationOffFinalIsCalled)
{
    Levels(70, 70);
    r.clearedFL = 70;
    const struct {
        float time, altitude;
        bool called;
    } rows[] = {{100, 7600, false}, {110, 7600, false}, {115, 7600, true}, {116, 7100, false}, {120, 7600, false},
                {136, 7600, true}};
    for (const auto &row : rows) {
        r.altitudineFeets = row.altitude;
        EXPECT_EQ(NaviCheck_DeviazioneProlungata(&r, row.time), row.called) << row.time;
    }
    r.faseDiscesa = 3;
    r.flightPlanVec[0].order = 4;
    EXPECT_FALSE(NaviCheck_DeviazioneProlungata(&r, 200)); // below the final altitude on the glide path
}

TEST_F(AltitudeClearanceTest, SpokenLevelsOnBothSidesOfTheTransitionLevel)
{
    const struct {
        int transition, feet;
        const char *spoken;
    } rows[] = {{180, 17000, "17000 feet"}, {180, 18000, "flight level #180#"}, {50, 4900, "4900 feet"},
                {50, 5000, "flight level #50#"}, {50, 6000, "flight level #60#"}};
    for (const auto &row : rows) {
        gTransLevelFLDep = row.transition;
        EXPECT_EQ(Utils_FeetsOrFL(row.feet), row.spoken) << row.feet;
    }
    FLTolerance = 200;
    EXPECT_EQ(isClimbOrDescend(10000, 10150, 0), 0);
    EXPECT_EQ(isClimbOrDescend(10000, 10300, 0), -1);
    EXPECT_EQ(isClimbOrDescend(10400, 10000, 0), 1);
    FLTolerance = 300;
}

TEST_F(AltitudeClearanceTest, DescentStepsKeepAboveTheTerrainAndLeaveTheSettingAlone)
{
    const struct {
        const char *what;
        int requested;
        float runway, field;
        bool last;
        int obstacle, before, clearedFL;
        int level, fase;
        bool called;
    } rows[] = {
        {"a step rounds up to the thousand", 7000, 350, 350, false, 0, 0, 200, 8000, 0, true},
        {"the final step does not", 7000, 350, 350, true, 0, 0, 200, 7300, 3, true},
        {"a step not 500 ft lower is refused", 7000, 350, 350, false, 0, 8000, 200, 8000, 0, false},
        {"the final level above the terrain", 3000, 31, 31, true, 4000, 7000, 70, 5000, 0, true},
        {"a higher terrain floor raises it", 3000, 31, 31, true, 9000, 5000, 50, 10000, 0, true},
        {"the cleared level already (hundreds against feet)", 7000, 350, 350, false, 0, 0, 80, 8000, 0, false},
        {"the field's elevation before a runway is chosen", 10000, 0, 2376, false, 0, 0, 200, 13000, 0, true},
    };
    for (const auto &row : rows) {
        Fresh();
        Levels(200, 200);
        r.flightPlanVec[0].navType = xplm_Nav_Fix; // entered with its level (approach points are not)
        r.AddToFlightPlan(45.6f, -122.6f, "RWY", 6, 0, 0, 0);
        r.altitudineFeets = 20000;
        r.gTODReached = 1;
        r.arrivalRunwayStruct.heightft = row.runway;
        r.altezzaAeroportoArrivo = row.field;
        r.ostacoloMassimoFt = row.obstacle;
        r.altezzaDiscesaFeet = row.before;
        r.clearedFL = row.clearedFL;
        NaviCheck_impostafaseDiscesa(&r, row.requested, true, row.last);
        EXPECT_EQ(r.altezzaDiscesaFeet, row.level) << row.what;
        EXPECT_EQ(r.faseDiscesa, row.fase) << row.what;
        EXPECT_EQ(!queue.empty(), row.called) << row.what;
        if (row.called && row.before != row.level) {
            EXPECT_EQ(r.flightPlanVec[0].fl, row.level / 100) << row.what;
            // The FMS flies the step too: a pilot on the FMS's levels descends when told.
            int inFms = 0;
            for (const simhost::FmsEntry &e : simhost::FmsPlan())
                inFms += std::fabs(e.lat - 45.9f) < 1e-3f && e.altitude_ft == row.level ? 1 : 0;
            EXPECT_EQ(inFms, 1) << row.what;
        }
    }
    EXPECT_EQ(altezzaApproachIFR, 3000);

    // Flight after flight at Spokane the final altitude stays 3,000 ft above the field.
    for (int flight = 0; flight < 3; flight++) {
        Fresh();
        Levels(100, 100);
        r.arrivalRunwayStruct.heightft = 2376;
        NaviCheck_impostafaseDiscesa(&r, altezzaApproachIFR, true, true);
        EXPECT_EQ(r.altezzaDiscesaFeet, 5300) << flight;
    }
}

TEST_F(AltitudeClearanceTest, TopOfDescentRateIsBoundedWhereUsed)
{
    const struct {
        int setting;
        float nm;
    } rows[] = {{1500, (19969 / 1500.0f + 1) * 7}, {2500, (19969 / 2500.0f + 1) * 7}, {0, (19969 / 1500.0f + 1) * 7},
                {-300, (19969 / 1500.0f + 1) * 7}, {90000, (19969 / 6000.0f + 1) * 7}};
    for (const auto &row : rows) {
        tdDescentSpeed = row.setting;
        EXPECT_NEAR(NaviCheck_DistanzaTOD(20000, 31, 420), row.nm, 0.01) << row.setting;
    }
}

} // namespace
