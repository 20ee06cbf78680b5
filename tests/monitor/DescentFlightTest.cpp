// The descent of Seattle-Tacoma to Portland at FL200 over the sample's terrain grid, driven as the
// navigation monitor drives it: the top of descent, the 15,000 and 7,000 ft steps, the final approach
// altitude above the terrain floor, and the aircraft flying each clearance.
#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "comms/MessageQueue.h"
#include "monitor/Altitude.h"
#include "monitor/Descent.h"
#include "monitor/Functions.h"
#include "monitor/NavigationMonitor.h"
#include "monitor/Terrain.h"
#include "planning/Procedures.h"
#include "plugin/PluginGlobals.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"
#include "ui/Settings.h"

namespace {

const double kFeetPerMetre = 3.280839895, kRad = M_PI / 180.0;
const float kKnotsPerMps = 1.9438444924406f;
const float kPortlandLat = 45.5887f, kPortlandLon = -122.5975f, kPortlandElevation_ft = 31;

struct Clearance {
    std::string text;
    int level_ft;      ///< the level it gives
    int activeOrder;   ///< order of the active waypoint when it was given
    float remaining;   ///< nm along the route
    int obstacle_ft;   ///< the terrain maximum known then
};

class DescentFlightTest : public HostTest {
  protected:
    void TearDown() override
    {
        gTransLevelFLArr = gTransLevelFLDep = 50;
        tdDescentSpeed = 1500;
        firstCallToThisCenter = 1;
        HostTest::TearDown();
    }

    /// The route by the Olympia and Battle Ground VORs, a STAR fix "at or above 7,000", an approach point and
    /// the ILS point north of the field.
    void FileTheFlight()
    {
        ASSERT_TRUE(simhost::InstallSample(VELLOMIR_SOURCE_DIR "/data/sample"));
        CalcolaAltezzaOstacoli_Reset();
        r.ResetFlight();
        r.flightPlanVec.clear();
        snprintf(r.nomePilota, sizeof r.nomePilota, "Vellomir @12@");
        r.AddToFlightPlan(46.9717f, -122.9017f, "OLM", 2, 0, 0, 0);
        r.AddToFlightPlan(45.7479f, -122.5911f, "BTG", 3, 0, 0, 70);
        r.AddToFlightPlan(45.7000f, -122.5950f, "APP1", 4, 0, 0, 0);
        r.AddToFlightPlan(45.6500f, -122.5960f, "ILS", 5, 0, 0, 0);
        r.AddToFlightPlan(kPortlandLat, kPortlandLon, "RW10R", 6, 0, 0, 0);
        r.plannedFL = r.clearedFL = 200;
        r.altezzaAeroportoArrivo = kPortlandElevation_ft;
        r.latDestinazione = kPortlandLat;
        r.lonDestinazione = kPortlandLon;
        r.datiPilotaImpostati = 1;
        drawFlighLevels(&r);
        gTransLevelFLDep = gTransLevelFLArr = 180;
        firstCallToThisCenter = 0;
        queue.clear();
        // Cruising at FL200 over the Seattle VOR, 420 kt.
        simhost::PlaceAircraft(47.4354, -122.3098, 20000 / kFeetPerMetre, 225, false);
        simhost::FlyTowards(225, 20000, 420);
        simhost::RunSeconds(150); // up to speed
        simhost::PlaceAircraft(47.4354, -122.3098, 20000 / kFeetPerMetre, 225, false);
        simhost::FlyTowards(225, 20000, 420);
        simhost::RunSeconds(0.1f);
    }

    float Remaining() const
    {
        distanceToCoord d = {0, 0, 0};
        double lat = r.latitudine, lon = r.longitudine;
        float sum = 0;
        for (size_t i = (size_t)r.gActualFlightPlanIndex; i < r.flightPlanVec.size(); i++) {
            CalcolaDistanzaCoordinataMini(lat, lon, r.flightPlanVec[i].lat, r.flightPlanVec[i].lon, &d, nullptr);
            sum += d.distance;
            lat = r.flightPlanVec[i].lat;
            lon = r.flightPlanVec[i].lon;
        }
        return sum;
    }

    /// Flies to the runway, one second a step, giving the ladder's clearances; returns them in order.
    std::vector<Clearance> Fly(float &topOfDescentError)
    {
        std::vector<Clearance> said;
        float lastObstacles = -1000;
        topOfDescentError = NAN;
        for (int second = 0; second < 3600; second++) {
            const simhost::AircraftState a = simhost::Aircraft();
            const float now = simhost::ElapsedTime();
            r.latitudine = a.lat;
            r.longitudine = a.lon;
            r.altitudineFeets = (float)(a.elevation_m * kFeetPerMetre);
            r.groundSpeed = a.speed_kt / kKnotsPerMps;
            pilot::flightPlanLoc &active = r.flightPlanVec[(size_t)r.gActualFlightPlanIndex];
            distanceToCoord d = {0, 0, 0};
            CalcolaDistanzaCoordinataMini(a.lat, a.lon, active.lat, active.lon, &d, nullptr);
            if (active.order == 6 && d.distance < 2)
                break;
            if (d.distance < 1.5f)
                r.gActualFlightPlanIndex++;
            calcolaDistanzaRimanente(&r);
            const float remaining = r.distanzaRimanenteEsatta;

            // The monitor's terrain refresh, a share of the scan each frame.
            if (now - lastObstacles > (remaining < 61 ? 15 : 60)) {
                r.ostacoloMassimoFt = CalcolaAltezzaOstacoliPercorso(&r, remaining < 61 ? 0.15f : 0.25f);
                lastObstacles = now;
            }
            CalcolaAltezzaOstacoli_Continua(&r);

            // The descent ladder.
            const float topOfDescent =
                NaviCheck_DistanzaTOD(r.altitudineFeets, r.altezzaAeroportoArrivo, r.groundSpeed * kKnotsPerMps);
            if (r.faseDiscesa < 1 && remaining >= 1 && remaining < topOfDescent) {
                topOfDescentError = Remaining() - topOfDescent;
                r.faseDiscesa = 1;
                NaviCheck_impostafaseDiscesa(&r, active.fl * 100 >= 17001 ? 15000 : 10000, true, false);
            } else if (r.faseDiscesa < 2 && remaining > 0 && remaining < 55 &&
                       r.ostacoloMassimoFt <= kPortlandElevation_ft + 7000) {
                r.faseDiscesa = 2;
                NaviCheck_impostafaseDiscesa(&r, 7000, true, false);
            } else if (r.faseDiscesa < 3 && remaining > 0 && remaining < 33 && now - r.orarioUltimoPassoDiscesa > 60) {
                NaviCheck_impostafaseDiscesa(&r, altezzaApproachIFR, true, true);
            } else if (active.order != 6 && active.fl != 0 && r.clearedFL != active.fl) {
                r.nuovaAltitudineAnnunciata = 1;
                ControlloAltitudine(&r, 0);
            }
            if (remaining >= 1 && remaining <= 52)
                r.gTODReached = 1;

            // The pilot reads back and flies the clearance.
            for (const messaggio &m : queue) {
                std::smatch level;
                std::string text = m.text;
                if (std::regex_search(text, level, std::regex("to (\\d+) feet")))
                    said.push_back({text, std::stoi(level[1]), active.order, Remaining(), r.ostacoloMassimoFt});
            }
            queue.clear();
            r.gIsCopiing = 0;
            const pilot::flightPlanLoc &to = r.flightPlanVec[(size_t)r.gActualFlightPlanIndex];
            const double y = std::sin((to.lon - a.lon) * kRad) * std::cos(to.lat * kRad);
            const double x = std::cos(a.lat * kRad) * std::sin(to.lat * kRad) -
                             std::sin(a.lat * kRad) * std::cos(to.lat * kRad) * std::cos((to.lon - a.lon) * kRad);
            simhost::FlyTowards((float)(std::atan2(y, x) / kRad), r.clearedFL * 100.0f, 420, (float)NaviCheck_DescentRate());
            simhost::RunSeconds(1);
        }
        return said;
    }
    pilot &r = pilotObj;
};

TEST_F(DescentFlightTest, SeattleToPortlandAtFL200)
{
    for (int rate : {1500, 2500}) {
        tdDescentSpeed = rate;
        FileTheFlight();
        float topOfDescentError = 0;
        const std::vector<Clearance> said = Fly(topOfDescentError);
        EXPECT_LT(std::fabs(topOfDescentError), 2.0f) << rate;

        std::vector<int> levels;
        for (const Clearance &c : said) {
            levels.push_back(c.level_ft);
            EXPECT_EQ(c.text.find("you are"), std::string::npos) << c.text;
            EXPECT_GE(c.level_ft, c.obstacle_ft + 1000) << c.text;
        }
        ASSERT_EQ(levels, (std::vector<int>{15000, 7000, 3000})) << rate;
        const Clearance &final = said.back();
        EXPECT_LE(final.activeOrder, 3) << "the final altitude comes before the approach points";
        EXPECT_LT(final.remaining, 34) << rate;
        EXPECT_GT(final.obstacle_ft, 100) << "the terrain of the remaining route was probed";
        EXPECT_EQ(r.faseDiscesa, 3);
        EXPECT_EQ(r.flightPlanVec[2].fl, 30); // the approach points at the final altitude, not the STAR's floor
        EXPECT_EQ(r.clearedFL, 30);
        if (rate == 2500) { // at 1,500 ft/min the ladder's 7,000 ft step at 55 nm leaves it high at the field
            EXPECT_NEAR(simhost::Aircraft().elevation_m * kFeetPerMetre, 3000, 50);
        }
        EXPECT_EQ(simhost::TerrainProbeStats().alive, 0);
        EXPECT_LE(simhost::TerrainProbeStats().maxProbesInFrame, 250);
    }
}

} // namespace
