// Programming the simulator's FMS with a long route: 98 waypoints (the window's size) of the bundled
// sample's fixes and VORs, each searched in the navigation database by identifier and position, after
// clearing a full FMS. It runs in the frame of a filing, a procedure insertion or a runway change, so it must
// stay far below a frame (target: under 2 ms).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "BenchSample.h"
#include "Harness.h"
#include "XPLMNavigation.h"
#include "planning/Fms.h"
#include "plugin/PluginGlobals.h"
#include "plugin/SimDataRefs.h"
#include "state/Pilot.h"
#include "ui/Settings.h"

namespace {

/// 98 route waypoints: 97 five-letter fixes of the sample's earth_fix.dat in the Pacific Northwest (file
/// order) and the VOR BTG in the middle, so that both kinds are searched.
void SampleRoute(pilot &record)
{
    std::ifstream in(VELLOMIR_SOURCE_DIR "/data/sample/navdata/earth_fix.dat");
    std::string line;
    while (std::getline(in, line) && (int)record.flightPlanVec.size() < FMS_ROUTE_WINDOW - 1) {
        std::istringstream words(line);
        double lat = 0, lon = 0;
        std::string id;
        if (!(words >> lat >> lon >> id) || id.size() != 5 || lat < 45 || lat > 48.5)
            continue;
        record.AddToFlightPlan((float)lat, (float)lon, id.c_str(), 2, xplm_Nav_Fix, 200, 0);
    }
    pilot::flightPlanLoc vor;
    vor.name = "BTG";
    vor.lat = 45.7148f;
    vor.lon = -122.6508f;
    vor.order = 2;
    vor.navType = xplm_Nav_VOR;
    vor.fl = 200;
    record.flightPlanVec.insert(record.flightPlanVec.begin() + (long)record.flightPlanVec.size() / 2, vor);
}

void BM_ProgramFms98Waypoints(benchmark::State &state)
{
    Bench_StartSample();
    System_FindAttitudeDataRefs();
    System_FindFlightDataRefs(gFDV_XPlaneVersion);
    enableFmcProgramming = 1;
    pilot record;
    record.datiPilotaImpostati = 1;
    record.isOnGround = 1;
    record.latitudine = 47.4490;
    record.longitudine = -122.3093;
    record.depAirportICAO = "KSEA";
    record.arrAirportICAO = "KPDX";
    SampleRoute(record);
    if (record.flightPlanVec.size() != FMS_ROUTE_WINDOW) {
        state.SkipWithError("the sample has too few fixes");
        return;
    }
    ProgramFMS(&record); // the navigation database loads at its first search, as in X-Plane before a flight
    for (auto _ : state)
        ProgramFMS(&record);
    state.counters["entries"] = XPLMCountFMSEntries();
    // By reference, not by position: every identifier was found.
    int byReference = 0;
    for (const simhost::FmsEntry &e : simhost::FmsPlan())
        byReference += e.kind == "vor" || e.kind == "fix" ? 1 : 0;
    state.counters["navaid_entries"] = byReference;
    state.counters["host_errors"] = (double)simhost::HostErrors().size();
    simhost::Shutdown();
}
BENCHMARK(BM_ProgramFms98Waypoints)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
