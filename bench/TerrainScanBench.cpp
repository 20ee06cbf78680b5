// The obstacle scan as the navigation monitor runs it in a frame: one frame's share (at most 250 probes) of
// the scan of Seattle-Tacoma to Portland over the sample's terrain grid, and of a 2,000 nm route of which
// only the reach of the loaded scenery is probed; and a single ground elevation.
#include <benchmark/benchmark.h>

#include "Harness.h"
#include "monitor/Terrain.h"
#include "state/Pilot.h"

namespace
{

void Bench_startTerrain()
{
    simhost::Reset();
    simhost::LoadTerrain(VELLOMIR_SOURCE_DIR "/data/sample/terrain.dem");
    CalcolaAltezzaOstacoli_Reset();
}

/// One frame of the scan: a new frame for the simulator, then the share of probes of that frame.
void Bench_frames(benchmark::State &state, pilot &record, float step)
{
    int frames = 0, scans = 0;
    for (auto _ : state) {
        state.PauseTiming();
        simhost::RunFrame();
        state.ResumeTiming();
        if (!CalcolaAltezzaOstacoli_InCorso()) {
            record.ostacoloMassimoFt = CalcolaAltezzaOstacoliPercorso(&record, step);
            scans++;
        } else {
            CalcolaAltezzaOstacoli_Continua(&record);
        }
        frames++;
    }
    state.counters["frames_per_scan"] = scans > 0 ? (double)frames / scans : 0;
    state.counters["max_probes_in_frame"] = simhost::TerrainProbeStats().maxProbesInFrame;
    state.counters["highest_ft"] = record.ostacoloMassimoFt;
    simhost::Shutdown();
}

void BM_ObstacleScanFrameSeattlePortland(benchmark::State &state)
{
    Bench_startTerrain();
    pilot record;
    record.latitudine = 47.4490;
    record.longitudine = -122.3093;
    simhost::PlaceAircraft(record.latitudine, record.longitudine, 6000, 180, false);
    const struct {
        const char *name;
        float lat, lon;
    } route[] = {{"SEA", 47.4354f, -122.3098f}, {"OLM", 46.9717f, -122.9017f}, {"BTG", 45.7479f, -122.5911f},
                 {"ILS", 45.6700f, -122.6000f}, {"KPDX", 45.5887f, -122.5975f}};
    for (const auto &wp : route)
        record.AddToFlightPlan(wp.lat, wp.lon, wp.name, 2, 0, 100, 0);
    Bench_frames(state, record, 0.15f);
}
BENCHMARK(BM_ObstacleScanFrameSeattlePortland)->Unit(benchmark::kMicrosecond);

void BM_ObstacleScanFrameLongRoute(benchmark::State &state)
{
    Bench_startTerrain();
    pilot record;
    record.latitudine = 45.0;
    record.longitudine = -122.0;
    simhost::PlaceAircraft(record.latitudine, record.longitudine, 6000, 0, false);
    for (int i = 0; i <= 20; i++)
        record.AddToFlightPlan(45.0f + (float)i * 1.6667f, -122.0f, "WP", 2, 0, 100, 0); // 2,000 nm north
    Bench_frames(state, record, 0.15f);
}
BENCHMARK(BM_ObstacleScanFrameLongRoute)->Unit(benchmark::kMicrosecond);

void BM_GroundElevation(benchmark::State &state)
{
    Bench_startTerrain();
    simhost::PlaceAircraft(46.85, -121.76, 6000, 0, false);
    float feet = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(feet = CalcolaGroundElevation(46.8529f, -121.7604f));
    state.counters["rainier_ft"] = feet;
    simhost::Shutdown();
}
BENCHMARK(BM_GroundElevation)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
