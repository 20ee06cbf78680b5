// The navigation monitor on a KSEA to KPDX flight filed over the bundled sample: which call it starts in
// each situation (one per frame, heard where the pilot listens), the arrival set-up, the landing roll, a
// missed approach, an emergency, and bad values that must not stop it.
#include <cmath>
#include <functional>

#include "Harness.h"
#include "comms/DialogState.h"
#include "comms/MessageQueue.h"
#include "comms/PhrasesArrival.h"
#include "comms/PhrasesHandOver.h"
#include "monitor/NavigationMonitor.h"
#include "monitor/RadioMonitor.h"
#include "navdata/AptNav.h"
#include "plugin/ProcedureSetup.h"
#include "state/FlightGlobals.h"
#include "support/Filing.h"
#include "support/PluginHost.h"
#include "ui/Settings.h"

namespace {

const double kCenter = 12850, kPdxApproach = 11880, kPdxTower = 11830;

class MonitorTest : public HostTest {
  protected:
    pilot &p = pilotObj;

    void SetUp() override
    {
        HostTest::SetUp();
        manualChooseSID = manualChooseSTAR = 0;
        Filing_AtSeattle();
        Filing_File("BTG");
        ASSERT_EQ(p.gIsFPFiled, 1);
        queue.clear();
        checkSquawkCode = checkGroundElevation = 0;
        // En route on the centre, 30 nm north of Portland, the last route waypoint active.
        p.clearedToTakeOff = 1;
        p.isOnGround = 0;
        p.gIsIFRCleared = 1;
        p.primaChiamataCenterEffettuata = p.primaChiamataCenterEffettuataMIA = 1;
        p.frequenzaCenter = p.gActualFrequency = kCenter;
        p.gActualFrequencyName = "CENTER";
        p.targetAirport.approachFrequency = kPdxApproach;
        p.targetAirport.towerFrequency = kPdxTower;
        p.altitudineFeets = 16000;
        p.clearedFL = 160;
        p.groundSpeed = 120;
        p.orarioDiDecollo = 1;
        p.latitudine = 46.09;
        p.longitudine = -122.60;
        p.gActualFlightPlanIndex = (int)p.flightPlanVec.size() - 1;
        p.flightPlanVec.back().fl = 160;
        p.faseDiscesa = 3; // the descent ladder is done here (DescentFlightTest flies it)
        p.ultimaRicercaCenter = 1000000;
        simhost::RunSeconds(300);
    }
    void TearDown() override
    {
        queue.clear();
        HostTest::TearDown();
    }
    void Frame(float seconds = 0.1f)
    {
        simhost::RunSeconds(seconds);
        FrameDriver_ProcedureSetup(p, simhost::ElapsedTime());
        NaviCheck_UpdateRadio(&p);
        NaviCheck_CheckNavigation(&p);
    }
    /// A chosen landing runway (KPDX 10R) without setting up the arrival again.
    void ArrivalRunway()
    {
        snprintf(p.arrivalRunwayStruct.name, sizeof p.arrivalRunwayStruct.name, "10R");
        p.arrivalRunwayStruct.lat = 45.59515f;
        p.arrivalRunwayStruct.lon = -122.62147f;
        p.pistaArrivoScelta = p.ilsPathCreated = p.starSelezionata = true;
    }
};

TEST_F(MonitorTest, EachSituationStartsOneCallHeardOnTheTunedFacility)
{
    struct Case {
        const char *situation;
        std::function<void(pilot &)> set;
        int code;
        const char *filter;
    };
    const Case cases[] = {
        {"climbing out on the departure tower", [](pilot &r) {
             r.primaChiamataCenterEffettuata = r.primaChiamataCenterEffettuataMIA = 0;
             r.gActualFrequency = r.parser.towerFrequency;
             r.gActualFrequencyName = "TOWER";
         }, 1010, "ALL"},
        {"landing information on the centre, a new level pending too", [](pilot &r) {
             r.flightPlanVec.back().fl = 120;
         }, 550, "CENTER"},
        {"landing information with approach", [](pilot &r) { r.cicloApproach = 1; }, 550, "APPROACH"},
        {"approach hand-over, a new level pending too", [](pilot &r) {
             r.informazioniDiAtterraggioComunicate = 1;
             r.flightPlanVec.back().fl = 120;
         }, 1011, "ALL"},
        {"wrong squawk", [](pilot &r) {
             checkSquawkCode = 1;
             r.transponder = 4521;
             r.engineRunning = 1;
         }, 2000, "ALL"},
        {"tower contacted, 2.5 nm from the threshold", [](pilot &r) {
             r.informazioniDiAtterraggioComunicate = r.primaChiamataApproachEffettuata = 1;
             r.gTargetAirportTowerInitialCallDone = 1;
             r.latitudine = 45.6100;
             r.longitudine = -122.6800;
             r.altitudineFeets = 1500; // on final, not 16,000 ft high (that would be an expedite call)
             r.clearedFL = r.flightPlanVec.back().fl = 15;
         }, 760, "TOWER"},
        {"the same after IFR was cancelled: the service has ended, no call", [](pilot &r) {
             r.informazioniDiAtterraggioComunicate = r.primaChiamataApproachEffettuata = 1;
             r.gTargetAirportTowerInitialCallDone = 1;
             r.latitudine = 45.6100;
             r.longitudine = -122.6800;
             r.altitudineFeets = 1500;
             r.clearedFL = r.flightPlanVec.back().fl = 15;
             r.serviceTerminated = true;
         }, 0, ""},
    };
    for (const Case &c : cases) {
        SetUp();
        ArrivalRunway();
        c.set(p);
        Frame();
        ASSERT_EQ(queue.size(), c.code == 0 ? 0u : 1u) << c.situation;
        if (c.code != 0) {
            EXPECT_EQ(queue.front().message, c.code) << c.situation;
            EXPECT_EQ(queue.front().frequencyFilter, c.filter) << c.situation;
        }
        queue.clear();
        TearDown();
    }
    SetUp();
}

TEST_F(MonitorTest, ADeviationIsCalledOnceItHasLasted)
{
    // 1,000 ft above the cleared 6,000 ft in level flight: said once the deviation has lasted 15 s.
    ArrivalRunway();
    p.informazioniDiAtterraggioComunicate = p.primaChiamataApproachEffettuata = 1;
    p.clearedFL = p.flightPlanVec.back().fl = 60;
    p.altitudineFeets = 7000;
    p.verticalSpeed = 0;
    float quiet_s = 0;
    bool called = false;
    for (; quiet_s < 30 && !called; quiet_s += 1) {
        Frame(1);
        for (const messaggio &m : queue) // vectors may come meanwhile
            called = called || m.message == 520;
        queue.clear();
        p.gIsCopiing = gIsCopiing = 0;
    }
    EXPECT_TRUE(called);
    EXPECT_GE(quiet_s, 15);
}

TEST_F(MonitorTest, ArrivalIsSetUpOverFramesWithTheRunwayChosenOnce)
{
    p.percorsoArrivoRichiesto = true;
    Frame();
    EXPECT_TRUE(p.pistaArrivoScelta);
    EXPECT_NEAR(p.totalTrip, 112, 5) << "KSEA 16L to the KPDX reference point";
    EXPECT_FALSE(p.ilsPathCreated) << "the runway and the STAR search take separate frames";
    const std::string runway = p.arrivalRunwayStruct.name;
    ASSERT_FALSE(runway.empty());
    for (int i = 0; i < 200 && !p.ilsPathCreated; i++) {
        simhost::SetWeather(runway[0] == '1' ? 280 : 100, 25, 1013);
        Frame(1);
    }
    EXPECT_TRUE(p.ilsPathCreated);
    EXPECT_EQ(std::string(p.arrivalRunwayStruct.name), runway) << "a wind change does not pick another runway";
    EXPECT_EQ(p.flightPlanVec.back().order, 6);
    EXPECT_EQ(LogCount("Set matching arrival runway"), 1);
}

TEST_F(MonitorTest, NothingOfTheArrivalBeforeTheTakeOff)
{
    // A 40 nm route: its top of descent lies on the departure runway.
    p.isOnGround = 1;
    p.latitudine = 45.70;
    p.distanzaDestinazioneLinear = 5;
    for (int i = 0; i < 100; i++)
        Frame(1);
    EXPECT_EQ(p.gTODReached, 0);
    EXPECT_FALSE(p.decollato);
    EXPECT_FALSE(p.pistaArrivoScelta);
    EXPECT_FALSE(p.landedNotified);
    EXPECT_TRUE(queue.empty());
}

TEST_F(MonitorTest, LandingOnALongRunwayIsVacatedThenMissedApproachAndTouchAndGoStartOver)
{
    ArrivalRunway();
    p.decollato = true;
    p.gTODReached = p.clearedToLand = p.gTargetAirportTowerInitialCallDone = 1;
    p.HandoffTorreComunicato = true;
    // The reference point 3 nm away, the threshold 0.3 nm behind: a touchdown on a long runway.
    p.destinazioneCercata = p.arrAirportICAO;
    p.latDestinazione = 45.545f;
    p.lonDestinazione = -122.62147f;
    p.latitudine = 45.5915;
    p.longitudine = -122.6150;
    p.isOnGround = 1;
    p.groundSpeed = 60;
    Frame(4);
    EXPECT_TRUE(p.destroyMissedApproach) << "3 s after touchdown";
    p.isOnGround = 0;
    Frame();
    EXPECT_FALSE(p.destroyMissedApproach) << "a touch-and-go: the tower may be called again";
    EXPECT_FALSE(p.distruggereFinestraTower);

    Tower_MissedApproach(&p);
    Tower_MissedApproachResponse(&p);
    Tower_MissedApproachReadback(&p, "");
    EXPECT_EQ(p.flightPlanVec[(size_t)p.gActualFlightPlanIndex].order, 2) << "no approach points yet: not moved on";
    EXPECT_EQ(p.clearedToLand, 0);
    EXPECT_FALSE(p.HandoffTorreComunicato);
    EXPECT_EQ(p.gTargetAirportTowerInitialCallDone, 0);
    queue.clear();

    p.isOnGround = 1;
    p.groundSpeed = 12;
    Frame(1);
    Frame(13);
    EXPECT_TRUE(p.landedNotified) << "a landing counts, with or without a clearance";
    ASSERT_FALSE(queue.empty());
    EXPECT_EQ(queue.front().message, p.targetAirport.groundFrequency != 0 ? 790 : 820);
}

TEST_F(MonitorTest, EmergencyGetsNoLandingInformationCallNorClimbButItsClearance)
{
    ArrivalRunway();
    p.inEmergenza = true;
    p.altitudineFeets = 8000; // low enough for no expedite call this close
    p.clearedFL = 80;
    p.flightPlanVec.back().fl = 240; // the path's levels above the aircraft
    Frame();
    EXPECT_EQ(p.informazioniDiAtterraggioComunicate, 1) << "counted as given";
    EXPECT_LE(p.flightPlanVec.back().fl, 160) << "levels capped at the emergency's altitude";
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(queue.front().message, 1011) << "the approach hand-over follows";
    queue.clear();
    HandOverApproachGot(&p);
    p.frequenzaObiettivo = 0;
    p.primaChiamataApproachEffettuata = p.gTargetAirportTowerInitialCallDone = 1;
    p.latitudine = 45.6100;
    p.longitudine = -122.6800;
    Frame();
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(queue.front().message, 760);
}

TEST_F(MonitorTest, BadSettingsAndIndexesAndDatarefsDoNotStopIt)
{
    tdDescentSpeed = 0;
    EXPECT_EQ(NaviCheck_DescentRate(), 1500);
    EXPECT_NEAR(NaviCheck_DistanzaTOD(16000, 0, 240), 46.67f, 0.01f) << "(16000/1500 + 1) min at 4 nm/min";
    EXPECT_EQ(NaviCheck_DistanzaTOD(500, 1000, 240), 0);
    simhost::SetFloat("sim/cockpit2/gauges/indicators/wind_speed_kts", 1e30f);
    simhost::SetFloat("sim/weather/aircraft/wind_now_direction_degt", NAN);
    for (int index : {-1, 1000}) {
        p.gActualFlightPlanIndex = index;
        Frame();
        EXPECT_EQ(NaviCheck_ActiveWaypoint(&p), nullptr);
        EXPECT_EQ(p.velocitaVento, 0);
        EXPECT_EQ(p.windHeading, 0);
    }
}

TEST_F(MonitorTest, TheNextCentreIsLookedUpEvery130Seconds)
{
    p.ultimaRicercaCenter = 0;
    for (int i = 0; i < 1000; i++)
        Frame(0.1f);
    EXPECT_EQ(LogCount("vecchia frequenza center archiviata"), 1);
}

} // namespace
