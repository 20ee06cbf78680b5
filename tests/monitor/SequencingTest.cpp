// Waypoint sequencing and vectors on scripted tracks: an aircraft moved second by second along a script
// (straight legs and standard-rate turns), the sequencing and vector calls run after every second.
#include <cmath>
#include <string>
#include <vector>

#include "Harness.h"
#include "comms/MessageQueue.h"
#include "monitor/HeadingVectors.h"
#include "monitor/WaypointSequencing.h"
#include "monitor/WaypointTracking.h"
#include "plugin/FacilityNaming.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"
#include "ui/Settings.h"

namespace {

const double kLat0 = 45.0, kLon0 = -100.0;

class SequencingTest : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        saved_ = {maxHeadingError, calculateWCA, preciseHeading};
        p.datiPilotaImpostati = p.primaChiamataCenterEffettuataMIA = 1;
        p.trueAirspeed = 128.6f; // 250 kt
        p.gActualFrequencyName = gActualFrequencyName = "CENTER";
        frequenzaLibera = true;
    }
    void TearDown() override
    {
        queue.clear();
        maxHeadingError = saved_[0], calculateWCA = saved_[1], preciseHeading = saved_[2];
        HostTest::TearDown();
    }
    /// A waypoint north_nm and east_nm of the origin.
    void Wp(const char *name, double north_nm, double east_nm, int order = 2)
    {
        p.AddToFlightPlan((float)(kLat0 + north_nm / 60.0), (float)(kLon0 + east_nm / (60.0 * std::cos(kLat0 * M_PI / 180))),
                          name, order, 0, 100, 0);
    }
    void At(double north_nm, double east_nm, float heading)
    {
        north_ = north_nm, east_ = east_nm;
        p.headingAttuale = heading;
    }
    /// Flies seconds along the heading, turning at 3 deg/s towards target (< 0: straight on), running the
    /// stage each second; returns the log lines of switches.
    void Fly(int seconds, float target = -1)
    {
        for (int s = 0; s < seconds; s++) {
            if (target >= 0) {
                const float turn = std::remainder(target - p.headingAttuale, 360.0f);
                p.headingAttuale = std::fmod(p.headingAttuale + std::fmax(-3.0f, std::fmin(3.0f, turn)) + 360.0f, 360.0f);
            }
            const double track = (track_ >= 0 ? track_ : p.headingAttuale) * M_PI / 180;
            north_ += 250.0 / 3600 * std::cos(track);
            east_ += 250.0 / 3600 * std::sin(track);
            p.latitudine = kLat0 + north_ / 60.0;
            p.longitudine = kLon0 + east_ / (60.0 * std::cos(kLat0 * M_PI / 180));
            simhost::RunSeconds(1);
            NaviCheck_WaypointSequencing(&p);
            while (!queue.empty()) {
                if (queue.front().message == 550)
                    vectors++;
                queue.pop_front();
            }
        }
    }
    /// The cause of the last switch in the log, "" when none.
    static std::string Cause()
    {
        std::string cause;
        for (const std::string &line : simhost::LogLines()) {
            const size_t at = line.find("Waypoint switch cause: ");
            if (at != std::string::npos)
                cause = line.substr(at + 23, line.find('.', at) - at - 23);
        }
        return cause;
    }
    pilot p;
    double north_ = 0, east_ = 0;
    int vectors = 0;
    float track_ = -1; ///< the track over the ground when the wind makes it differ from the heading
    std::vector<int> saved_;
};

TEST_F(SequencingTest, EachSwitchingCauseOnItsTrack)
{
    struct Case {
        const char *name;
        double abeam_nm; ///< the track passes the fix this far to the east
        int seconds, atIndex;
        const char *cause;
        const char *firstName;
    };
    const Case cases[] = {
        {"overhead", 0, 150, 1, "fix reached", "A"},
        {"2 nm abeam", 2, 150, 1, "fix reached laterally", "A"},
        {"3 nm abeam, flying away", 3, 200, 1, "fix passed", "A"},
        {"8 nm abeam: lost only after 180 s moving away", 8, 200, 0, "", "A"},
        {"8 nm abeam, 180 s later", 8, 420, 1, "lost fix", "A"},
        {"a departure point is left at once", 0, 2, 1, "departure point", "Departure 16L"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        p.flightPlanVec.clear();
        NaviCheck_ActivateWaypoint(&p, 0, true);
        p.gIsCopiing = 0;
        simhost::ClearLog();
        Wp(c.firstName, 0, c.abeam_nm);
        Wp("B", 60, 0);
        At(-8, 0, 0); // 8 nm south, northbound
        Fly(c.seconds);
        EXPECT_EQ(p.gActualFlightPlanIndex, c.atIndex);
        EXPECT_EQ(Cause(), c.cause);
    }
}

TEST_F(SequencingTest, SkipRequestSwitchesAndKeepsTheTowerHandOver)
{
    Wp("A", 20, 0), Wp("B", 40, 0);
    At(0, 0, 0);
    p.HandoffTorreComunicato = true;
    Fly(2);
    p.saltoRichiesto = true;
    Fly(1);
    EXPECT_EQ(p.gActualFlightPlanIndex, 1);
    EXPECT_EQ(Cause(), "user request");
    EXPECT_TRUE(p.HandoffTorreComunicato);
}

TEST_F(SequencingTest, ActivationForgetsThePreviousWaypointAndSkipsWhatIsBehind)
{
    // Checked in past the first two points: the first frame makes the third active, no turn back.
    Wp("RWY", -10, 0, 0), Wp("CAVOB", -5, 0, 1), Wp("HAROB", 20, 0), Wp("BTG", 40, 0);
    At(0, 0, 0);
    Fly(1);
    EXPECT_EQ(p.gActualFlightPlanIndex, 2);

    // A switch pending when the pilot jumps back to CAVOB does not undo the jump.
    p.switchToNextPoint = 1;
    NaviCheck_ActivateWaypoint(&p, 1, false);
    Fly(1);
    EXPECT_EQ(p.gActualFlightPlanIndex, 1);

    // Outside the route nothing is sequenced and the index stays.
    for (int outside : {-1, 4}) {
        p.gActualFlightPlanIndex = outside;
        Fly(2);
        EXPECT_EQ(p.gActualFlightPlanIndex, outside);
    }

    // On the last waypoint a pending switch is dropped: an approach appended later is not skipped at once.
    p.gActualFlightPlanIndex = 3;
    Fly(1);
    p.switchToNextPoint = 1;
    Fly(1);
    EXPECT_EQ(p.switchToNextPoint, 0);
    Wp("ILS", 50, 0, 5);
    Fly(1);
    EXPECT_EQ(p.gActualFlightPlanIndex, 3);
}

TEST_F(SequencingTest, TheCloseTurnPointsOfADoglegAreEachFlownTo)
{
    // Legs of 2.4 nm turning 60 degrees: the first point is 60 degrees off the nose and within 2.5 nm when
    // it becomes active. Each is reached (within 1 nm), none taken as passed while the aircraft turns to it.
    Wp("D1", 1.2, 2.08), Wp("D2", 0, 4.16), Wp("D3", 1.2, 6.24), Wp("END", 30, 6);
    At(0, 0, 0);
    Fly(1);
    std::vector<std::string> causes;
    for (int i = 0; i < 3; i++) {
        const int k = p.gActualFlightPlanIndex;
        for (int s = 0; s < 200 && p.gActualFlightPlanIndex == k; s++)
            Fly(1, p.headingTarget);
        causes.push_back(Cause());
    }
    EXPECT_EQ(p.gActualFlightPlanIndex, 3);
    EXPECT_EQ(causes, std::vector<std::string>(3, "fix reached"));
}

TEST_F(SequencingTest, TheVectorRulesInEightSituations)
{
    struct Case {
        const char *name;
        int order, remaining;
        float d, E;
        bool autopilot, newFix;
        float sinceLast, turned;
        bool vector;
    };
    const Case cases[] = {
        {"en route, 15 degrees off", 2, 5, 20, 15, false, false, 200, 0, true},
        {"en route, 6 degrees off", 2, 5, 20, 6, false, false, 200, 0, false},
        {"en route, turning", 2, 5, 20, 15, false, false, 200, 1, false},
        {"new fix, a minute after the last vector", 2, 5, 20, 15, false, true, 61, 0, true},
        {"within 80 s of the last vector", 2, 5, 20, 15, false, false, 70, 0, false},
        {"autopilot en route, within 320 s", 2, 5, 20, 15, true, false, 300, 0, false},
        {"approach leg 6 nm out, 6 degrees off", 4, 2, 6, 6, false, false, 100, 0, true},
        {"autopilot on the approach leg", 4, 2, 12, 6, true, false, 500, 0, true},
        {"STAR fix 3 nm ahead, not new", 3, 4, 3, 15, false, false, 200, 0, false},
    };
    Wp("A", 0, 0), Wp("B", 10, 0), Wp("C", 20, 0), Wp("D", 30, 0), Wp("E", 40, 0);
    simhost::RunSeconds(600);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        p.gActualFlightPlanIndex = p.waypointTracciato = 5 - c.remaining;
        p.flightPlanVec[(size_t)p.gActualFlightPlanIndex].order = c.order;
        p.primoHeadingChiamato = true;
        p.chiamaHeading = false;
        p.orarioHeadingDovuto = 0;
        p.gIsCopiing = 0;
        p.distanzaWaypointAttuale = c.d;
        p.headingError = c.E;
        p.statoAutopilotaAdesso = c.autopilot ? 529 : 0;
        p.prossimoFixTrigged = c.newFix;
        p.orarioUltimoHeading = simhost::ElapsedTime() - c.sinceLast;
        p.angoloDiVirata = c.turned;
        // Due this frame, given on the next (with the announce delay of the autopilot's 12 s, 13 s later).
        bool given = NaviCheck_HeadingVectors(&p);
        simhost::RunSeconds(c.autopilot ? 13.0f : 0.1f);
        given = given || NaviCheck_HeadingVectors(&p);
        EXPECT_EQ(given, c.vector);
        queue.clear();
    }
}

TEST_F(SequencingTest, AVectorWaitsItsDelayIsHeardAndBoundedSettingsHold)
{
    Wp("A", 30, 0), Wp("B", 60, 0);
    At(0, 0, 40); // 40 degrees off the course to A
    simhost::RunSeconds(100);
    p.headingAnnounceDelay = 100000; // absurd: at most 300 s
    Fly(2);
    EXPECT_TRUE(p.chiamaHeading);
    Fly(301);
    EXPECT_EQ(vectors, 1);

    // Due, then no longer due, then due again: the delay counts from the second time.
    p.headingAnnounceDelay = 20;
    p.gIsCopiing = 0;
    p.orarioUltimoHeading = 0;
    Fly(1);
    p.headingAttuale = p.headingTarget;
    Fly(1);
    EXPECT_EQ(p.orarioHeadingDovuto, 0);
    p.headingAttuale = p.headingTarget + 40;
    Fly(15);
    EXPECT_EQ(vectors, 1);

    // Tuned to the ground: nothing is given (nor counted) until the centre is tuned.
    p.gActualFrequencyName = "GROUND";
    Fly(30);
    EXPECT_EQ(vectors, 1);
    EXPECT_EQ(p.gIsCopiing, 0);
    p.gActualFrequencyName = "CENTER";
    Fly(1);
    EXPECT_EQ(vectors, 2);

    // A margin of 0 does not ask for a vector every frame on course.
    maxHeadingError = 0;
    p.gIsCopiing = 0;
    p.headingAttuale = p.headingTarget + 1;
    p.orarioUltimoHeading = 0;
    Fly(30);
    EXPECT_EQ(vectors, 2);
}

TEST_F(SequencingTest, AnAutopilotCrabbingIntoACrossWindIsOnItsRoute)
{
    calculateWCA = 1;
    Wp("A", 200, 0), Wp("B", 260, 0);
    At(0, 0, 0);
    p.statoAutopilotaAdesso = 529;
    p.windHeading = 270, p.velocitaVento = 60; // from the west: 14.4 degrees into it
    p.headingAttuale = 360 - 14.4f; // what the autopilot holds to track north
    track_ = 0;
    Fly(20 * 60);
    EXPECT_EQ(vectors, 0);
    EXPECT_LT(p.headingError, 2.0f);
}

} // namespace
