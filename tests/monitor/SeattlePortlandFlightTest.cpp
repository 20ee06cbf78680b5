// The filed KSEA to KPDX route of the bundled sample flown frame by frame by simhost's aircraft, with a
// pilot who reads back and flies every vector as a magnetic heading: every waypoint becomes active in
// order, the vectors are few and spaced, none turns the aircraft back.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Harness.h"
#include "comms/MessageQueue.h"
#include "monitor/Functions.h"
#include "monitor/RadioMonitor.h"
#include "monitor/WaypointSequencing.h"
#include "navdata/ProcedureSearch.h"
#include "plugin/FacilityNaming.h"
#include "plugin/FrameReads.h"
#include "planning/Fms.h"
#include "planning/Procedures.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "support/Filing.h"
#include "support/PluginHost.h"
#include "ui/Settings.h"

namespace {

struct Vector {
    float time_s;
    int heading, waypoint;
};
struct Switch {
    float time_s, distance_nm;
    int from, to;
};

class SeattlePortlandFlight : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        saved_ = {manualChooseSID, manualChooseSTAR, preciseHeading, enableFmcProgramming};
        manualChooseSID = manualChooseSTAR = 0;
        preciseHeading = 1;
        enableFmcProgramming = 1;
    }
    void TearDown() override
    {
        queue.clear();
        manualChooseSID = saved_[0], manualChooseSTAR = saved_[1], preciseHeading = saved_[2];
        enableFmcProgramming = saved_[3];
        HostTest::TearDown();
    }
    /// Filed at gate A1 with the SID from 16L, the STAR HHOOD4 and the final approach to 10R appended.
    void File()
    {
        Filing_AtSeattle();
        Filing_File(route_);
        pilot &p = pilotObj;
        char rwy[8] = "10R";
        searchSTAR11(p.arrAirportICAO, rwy, &p);
        fileSTAR11(&p);
        p.AddToFlightPlan(45.5800f, -122.8000f, "ILS", 5, 0, 30, 0);
        p.AddToFlightPlan(45.5887f, -122.6060f, "Runway 10R", 6, 0, 30, 0);
        p.ilsPathCreated = true;
        drawFlighLevels(&p);
    }
    /// What the monitor copies from the simulator each frame, and its turn sampling.
    void Read(pilot &p, float now)
    {
        FrameDriver_ReadPositionAndMotion(p);
        p.trueAirspeed = simhost::GetFloat("sim/flightmodel/position/true_airspeed");
        p.windHeading = (int)simhost::GetFloat("sim/weather/wind_direction_degt[0]");
        p.velocitaVento = (int)simhost::GetFloat("sim/cockpit2/gauges/indicators/wind_speed_kts");
        p.statoAutopilotaAdesso = simhost::GetInt("sim/cockpit/autopilot/autopilot_state");
        p.isOnGround = 0;
        if (now - sample4_ >= 4) {
            p.angoloDiVirata = calcolaDifferenzaTraAngoli(p.headingAttuale, p.HeadingPrecedente);
            sample4_ = sample1_ = now;
        }
        if (now - sample1_ >= 1) {
            p.HeadingPrecedente = p.headingAttuale;
            sample1_ = now;
        }
    }
    /// The pilot: hears each vector, flies it as a magnetic heading 3 s later, reads back after 5 s.
    void Pilot(pilot &p, float now)
    {
        if (readbackAt_ > 0 && now >= readbackAt_) {
            p.gIsCopiing = gIsCopiing = 0;
            readbackAt_ = 0;
        }
        if (turnAt_ > 0 && now >= turnAt_) {
            simhost::FlyHeadingMagnetic((float)turnTo_);
            turnAt_ = 0;
        }
        while (!queue.empty()) {
            const messaggio m = queue.front();
            queue.pop_front();
            const char *h = strstr(m.text, "heading #");
            if (m.message != 550 || h == nullptr)
                continue;
            transcript_ += std::to_string((int)now) + " s: " + m.text + "\n";
            turnTo_ = atoi(h + 9);
            vectors_.push_back({now, turnTo_, p.gActualFlightPlanIndex});
            turnAt_ = now + 3;
            readbackAt_ = now + 5;
        }
    }
    static std::string LastCause()
    {
        const std::vector<std::string> &log = simhost::LogLines();
        for (size_t i = log.size(); i-- > 0;) {
            const size_t at = log[i].find("switch cause: ");
            if (at != std::string::npos)
                return log[i].substr(at + 14, log[i].find('.', at) - at - 14);
        }
        return "";
    }
    /// Flies until the aircraft is within 2 nm of the runway (or the time runs out).
    void Fly(float maxSeconds)
    {
        pilot &p = pilotObj;
        int active = p.gActualFlightPlanIndex;
        double lastLat = p.latitudine, lastLon = p.longitudine;
        const float start = simhost::ElapsedTime();
        while (simhost::ElapsedTime() - start < maxSeconds) {
            simhost::RunFrame();
            const float now = simhost::ElapsedTime();
            Read(p, now);
            NaviCheck_UpdateRadio(&p);
            NaviCheck_WaypointSequencing(&p);
            if (p.gActualFlightPlanIndex != active) {
                const pilot::flightPlanLoc &old = p.flightPlanVec[(size_t)active];
                distanceToCoord d{};
                CalcolaDistanzaCoordinataMini(lastLat, lastLon, old.lat, old.lon, &d, nullptr);
                switches_.push_back({now, d.distance, active, p.gActualFlightPlanIndex});
                transcript_ += std::to_string((int)now) + " s: " + old.name + " -> " +
                               p.flightPlanVec[(size_t)p.gActualFlightPlanIndex].name + " at " +
                               std::to_string(d.distance) + " nm (" + LastCause() + ")\n";
                active = p.gActualFlightPlanIndex;
            }
            lastLat = p.latitudine;
            lastLon = p.longitudine;
            Pilot(p, now);
            const pilot::flightPlanLoc &runway = p.flightPlanVec.back();
            distanceToCoord toRunway{};
            CalcolaDistanzaCoordinataMini(p.latitudine, p.longitudine, runway.lat, runway.lon, &toRunway, nullptr);
            if (active + 1 == (int)p.flightPlanVec.size() && toRunway.distance < 2)
                return;
        }
    }
    std::vector<Vector> vectors_;
    std::vector<Switch> switches_;
    std::string transcript_;
    float sample1_ = 0, sample4_ = 0, readbackAt_ = 0, turnAt_ = 0;
    int turnTo_ = 0;
    std::string route_ = "HAROB BTG HHOOD";
    std::vector<int> saved_;
};

TEST_F(SeattlePortlandFlight, AVectoredPilotFliesEveryWaypointInOrder)
{
    File();
    pilot &p = pilotObj;
    // Airborne off 16L, climbing on the runway heading, checked in with the centre 2 nm out.
    simhost::SetWeather(250, 25, 1013);
    simhost::PlaceAircraft(47.4300, -122.3080, 600, 180, false);
    simhost::FlyTowards(180, 10000, 250, 2000);
    gActualFrequencyName = p.gActualFrequencyName = "CENTER";
    p.clearedToTakeOff = 1;
    p.primaChiamataCenterEffettuata = p.primaChiamataCenterEffettuataMIA = 1;
    Fly(5400);
    std::printf("%s", transcript_.c_str());

    // Every waypoint became active in order, the last is the runway and the aircraft is near it.
    ASSERT_EQ(switches_.size(), p.flightPlanVec.size() - 1);
    for (size_t i = 0; i < switches_.size(); i++)
        EXPECT_EQ(switches_[i].to, (int)i + 1);
    EXPECT_EQ(simhost::FmsDestinationEntry(), Fms_EntryOfWaypoint(&p, p.gActualFlightPlanIndex));
    // Between 5 and 15 vectors, a minute apart at least, none turning the aircraft back against its leg.
    EXPECT_GE(vectors_.size(), 5u);
    EXPECT_LE(vectors_.size(), 15u);
    for (size_t i = 0; i < vectors_.size(); i++) {
        const Vector &v = vectors_[i];
        if (i > 0) {
            EXPECT_GE(v.time_s - vectors_[i - 1].time_s, 60.0f) << v.time_s;
        }
        if (v.waypoint > 0) {
            const pilot::flightPlanLoc &from = p.flightPlanVec[(size_t)v.waypoint - 1], &to = p.flightPlanVec[(size_t)v.waypoint];
            distanceToCoord leg{};
            CalcolaDistanzaCoordinataMini(from.lat, from.lon, to.lat, to.lon, &leg, &p);
            EXPECT_LT(GetHeadingDifference((float)v.heading, leg.heading), 90.0f) << v.time_s;
        }
    }
}

} // namespace
