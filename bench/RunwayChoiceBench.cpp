// The runway choice on the bundled sample: the landing runway at KSEA with the airport still to be read
// (the navigation monitor's call when the flight nears its destination), and the departure runway with the
// airport already read (the filing's call, and every automatic re-selection).
#include <benchmark/benchmark.h>

#include "Harness.h"
#include "navdata/AptNav.h"
#include "planning/RunwaySelection.h"
#include "plugin/PluginGlobals.h"
#include "plugin/SimDataRefs.h"
#include "state/Pilot.h"

namespace
{

void SetUpSample()
{
    simhost::Options options;
    options.xplaneVersion = 12000;
    options.discardLog = true;
    simhost::Reset(options);
    simhost::InstallSample(VELLOMIR_SOURCE_DIR "/data/sample");
    simhost::SetWeather(3, 2, 1013); // calm: the nearest-runway rule where there are no rules
    gFDV_XPlaneVersion = options.xplaneVersion;
    System_FindAttitudeDataRefs();
    System_FindFlightDataRefs(gFDV_XPlaneVersion);
    Utils_readAllAptDat();
}

void BM_ArrivalRunwayReadingTheAirport(benchmark::State &state)
{
    SetUpSample();
    pilot record;
    record.depAirportICAO = "KPDX";
    record.arrAirportICAO = "KSEA";
    record.latitudine = 47.9;
    record.longitudine = -122.3;
    for (auto _ : state) {
        record.targetAirport = Parser();
        SetMatchingRunway(&record, 0);
    }
    state.counters["ends"] = (double)record.targetAirport.runways.size();
    simhost::Shutdown();
}
BENCHMARK(BM_ArrivalRunwayReadingTheAirport)->Unit(benchmark::kMillisecond);

void BM_DepartureRunwayAirportRead(benchmark::State &state)
{
    SetUpSample();
    pilot record;
    record.depAirportICAO = "KPDX";
    record.latitudine = 45.589;
    record.longitudine = -122.593;
    const AptDat &where = IcaoMap["KPDX"];
    record.parser.readAptDat("KPDX", where.ICAOfilePath, where.readOffset, 0);
    for (auto _ : state)
        SetMatchingRunway(&record, 1);
    simhost::Shutdown();
}
BENCHMARK(BM_DepartureRunwayAirportRead)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
