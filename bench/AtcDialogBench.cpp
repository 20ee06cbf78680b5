// The ATC dialog's work, all done in the frame of a button press or of the command that opens it, on the
// bundled sample: opening the dialog (the nearest airport searched), and an emergency diversion to Olympia
// from cruise (the airport found by identifier, read from apt.dat into a record of its own, its runway
// chosen, the approach built, the levels drawn and the FMS programmed). Target: well under a frame (2 ms).
#include <benchmark/benchmark.h>

#include "BenchSample.h"
#include "comms/MessageQueue.h"
#include "plugin/PluginGlobals.h"
#include "plugin/SimDataRefs.h"
#include "state/Pilot.h"
#include "ui/AtcDialog.h"
#include "ui/Settings.h"
#include "ui/WarningWindow.h"

namespace {

/// Cruising at FL160 over Olympia, bound for Portland, no route left.
pilot CruiseRecord()
{
    pilot record;
    record.datiPilotaImpostati = 1;
    record.gIsFPFiled = 1;
    record.latitudine = 46.97;
    record.longitudine = -122.90;
    record.altitudineFeets = 16000;
    record.plannedFL = 160;
    record.depAirportICAO = "KSEA";
    record.arrAirportICAO = "KPDX";
    return record;
}

void Bench_Start()
{
    Bench_StartSample();
    System_FindAttitudeDataRefs();
    System_FindFlightDataRefs(gFDV_XPlaneVersion);
    Utils_readAllAptDat();
    enableFmcProgramming = 1;
    gPluginEnabled = 1;
    simhost::PlaceAircraft(46.97, -122.90, 4877, 180, false);
}

void BM_OpenAtcDialog(benchmark::State &state)
{
    Bench_Start();
    pilotObj = CruiseRecord();
    for (auto _ : state) {
        Windows_CreaAtcDialog(400, 600, 520, 180);
        AtcDialog_Destroy();
    }
    pilotObj = pilot();
    simhost::Shutdown();
}
BENCHMARK(BM_OpenAtcDialog)->Unit(benchmark::kMicrosecond);

void BM_EmergencyDiversionToOlympia(benchmark::State &state)
{
    Bench_Start();
    const pilot cruise = CruiseRecord();
    pilot record;
    int declared = 0;
    for (auto _ : state) {
        state.PauseTiming();
        record = cruise;
        Radio_ResetState();
        state.ResumeTiming();
        declared += AtcDialog_DeclareEmergency(&record, "KOLM") ? 1 : 0;
    }
    state.counters["declared"] = benchmark::Counter(declared, benchmark::Counter::kAvgIterations);
    state.counters["route"] = (double)record.flightPlanVec.size();
    Warning_Destroy();
    simhost::Shutdown();
}
BENCHMARK(BM_EmergencyDiversionToOlympia)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
