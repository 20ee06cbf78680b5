// The approach path at KSEA 16L from the bundled sample: the heaviest case, a 30-waypoint route whose last
// fix (AUBRN) brings a three-point arc, with the level profile, the FMS programmed and, with the KML option
// (argument 1), the KML files of the path and of the route written each time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

#include "BenchSample.h"
#include "Harness.h"
#include "navdata/AptNav.h"
#include "planning/ApproachPath.h"
#include "plugin/PluginGlobals.h"
#include "state/Pilot.h"
#include "ui/Settings.h"

namespace
{

void BM_SetILSPathArcAtSeattle(benchmark::State &state)
{
    Bench_StartSample();
    Utils_readAllAptDat();

    pilot record;
    record.datiPilotaImpostati = 1;
    gKMLExp = record.kmlExport = (int)state.range(0);
    enableFmcProgramming = 1; // the FMS reprogrammed with the path, as in flight
    record.plannedFL = 200;
    snprintf(record.nomePilota, sizeof record.nomePilota, "N123");
    record.arrAirportICAO = "KSEA";
    const AptDat &where = IcaoMap["KSEA"];
    record.targetAirport.readAptDat("KSEA", where.ICAOfilePath, where.readOffset, 0);
    for (const Parser::runway &end : record.targetAirport.runways)
        if (strcmp(end.name, "16L") == 0) {
            snprintf(record.arrivalRunwayStruct.name, sizeof record.arrivalRunwayStruct.name, "16L");
            record.arrivalRunwayStruct.lat = end.lat;
            record.arrivalRunwayStruct.lon = end.lon;
            record.arrivalRunwayStruct.heading = end.heading;
        }
    for (int i = 0; i < 29; i++)
        record.AddToFlightPlan(45.0f + 0.08f * (float)i, -122.0f, "ROUTE", 2, 512, 0, 0);
    record.AddToFlightPlan(47.361789f, -122.145983f, "AUBRN", 3, 512, 0, 0);
    for (auto _ : state)
        SetILSPath(&record); // each call replaces the path of the one before
    state.counters["waypoints"] = (double)record.flightPlanVec.size();
    simhost::Shutdown();
}
BENCHMARK(BM_SetILSPathArcAtSeattle)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
