// The waypoint sequencing and vector rules of one cruise frame with a 100-waypoint route: the heading to
// the active waypoint, the tracking, the rule chain. Target: at most 2 us, no heap allocation in a steady
// frame (counted by the allocation counter below and reported as "allocs").
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <new>

#include "BenchSample.h"
#include "comms/MessageQueue.h"
#include "monitor/WaypointSequencing.h"
#include "state/Pilot.h"
#include "ui/Settings.h"

namespace {
long gAllocations = 0;
} // namespace

void *operator new(std::size_t size)
{
    gAllocations++;
    if (void *block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}
void operator delete(void *block) noexcept
{
    std::free(block);
}
void operator delete(void *block, std::size_t) noexcept
{
    std::free(block);
}

namespace {

void BM_CruiseFrameSequencingAndVectors(benchmark::State &state)
{
    Bench_StartSample();
    pilot record;
    record.datiPilotaImpostati = record.primaChiamataCenterEffettuataMIA = 1;
    record.trueAirspeed = 128.6f;
    record.windHeading = 250, record.velocitaVento = 30;
    record.variazioneMagnetica = -15;
    record.gActualFrequencyName = "CENTER";
    for (int i = 0; i < 100; i++) // a route south from Seattle, waypoints 3 nm apart, some long names
        record.AddToFlightPlan(47.4f - 0.05f * (float)i, -122.3f, i % 10 == 0 ? "APPROXIMATION POINT" : "WPT", 2, 0,
                               160, 0);
    record.gActualFlightPlanIndex = 50;
    record.latitudine = 47.4 - 0.05 * 49.1; // cruising south, between waypoints 49 and 50
    record.longitudine = -122.31;
    record.headingAttuale = 170;
    frequenzaLibera = true;
    NaviCheck_SequenceWaypoints(&record); // the activation
    NaviCheck_SequenceWaypoints(&record);
    NaviCheck_HeadingVectors(&record);
    queue.clear();
    record.gIsCopiing = 1; // a vector due stays due: the whole rule chain runs every frame
    const long before = gAllocations;
    for (auto _ : state) {
        benchmark::DoNotOptimize(NaviCheck_SequenceWaypoints(&record));
        benchmark::DoNotOptimize(NaviCheck_HeadingVectors(&record));
    }
    const long allocations = gAllocations - before;
    state.counters["allocs"] = (double)allocations;
    if (allocations != 0 || record.gActualFlightPlanIndex != 50)
        state.SkipWithError(allocations != 0 ? "a steady frame allocated" : "the waypoint switched");
    simhost::Shutdown();
}
BENCHMARK(BM_CruiseFrameSequencingAndVectors);

} // namespace

BENCHMARK_MAIN();
