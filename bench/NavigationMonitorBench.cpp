// One steady cruise frame of the navigation monitor: a filed flight of 12 waypoints, with the centre,
// far from the destination, nothing to say. The counters give what 1,000 such frames did: log lines
// written, datarefs looked up and navaid searches (each must be 0).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include "Harness.h"
#include "comms/MessageQueue.h"
#include "monitor/NavigationMonitor.h"
#include "monitor/RadioMonitor.h"
#include "plugin/PluginGlobals.h"
#include "plugin/SimDataRefs.h"
#include "state/Pilot.h"
#include "ui/Settings.h"

namespace {

const int kFrames = 1000;

void SetUpCruise(pilot &p)
{
    simhost::Options options;
    options.xplaneVersion = 12000;
    simhost::Reset(options);
    simhost::InstallSample(VELLOMIR_SOURCE_DIR "/data/sample");
    gFDV_XPlaneVersion = options.xplaneVersion;
    System_FindAttitudeDataRefs();
    System_FindFlightDataRefs(gFDV_XPlaneVersion);
    p = pilot();
    p.datiPilotaImpostati = 1;
    p.gIsFPFiled = p.gIsIFRCleared = p.clearedToTakeOff = 1;
    p.primaChiamataCenterEffettuata = p.primaChiamataCenterEffettuataMIA = 1;
    p.arrAirportICAO = "KPDX";
    p.frequenzaCenter = p.gActualFrequency = 12850;
    p.gActualFrequencyName = "CENTER";
    p.latitudine = 47.40;
    p.longitudine = -122.30;
    p.altitudineFeets = 24000;
    p.clearedFL = p.plannedFL = 240;
    p.groundSpeed = 230;
    p.orarioDiDecollo = 1;
    for (int i = 0; i < 12; i++) {
        char name[8];
        snprintf(name, sizeof name, "WPT%02d", i);
        p.AddToFlightPlan(47.3f - 0.15f * (float)i, -122.35f, name, 2, 512, 240, 0);
    }
    checkSquawkCode = checkGroundElevation = 0;
    tdDescentSpeed = 1800;
    simhost::RunSeconds(200);
    p.ultimaRicercaCenter = (int)simhost::ElapsedTime();
    for (int i = 0; i < 3; i++) { // the destination point is looked up once, in the first frame
        NaviCheck_UpdateRadio(&p);
        NaviCheck_CheckNavigation(&p);
    }
}

void BM_NavigationMonitorCruise(benchmark::State &state)
{
    pilot &p = pilotObj;
    SetUpCruise(p);
    const size_t logBefore = simhost::LogLines().size();
    const int findsBefore = simhost::FindDataRefCalls(), searchesBefore = simhost::FindNavAidCalls();
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        for (int i = 0; i < kFrames; i++)
            NaviCheck_CheckNavigation(&p);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count() / kFrames);
    }
    state.counters["log_lines"] = (double)(simhost::LogLines().size() - logBefore);
    state.counters["dataref_finds"] = simhost::FindDataRefCalls() - findsBefore;
    state.counters["navaid_searches"] = simhost::FindNavAidCalls() - searchesBefore;
    state.counters["queued"] = (double)queue.size();
    simhost::Shutdown();
}
BENCHMARK(BM_NavigationMonitorCruise)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
