// Speed of the simulated X-Plane's navigation database over real data: the US navaids and fixes of
// AIRAC 1911 and every airport of the world apt.dat, as X-Plane would load them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "Harness.h"
#include "XPLMNavigation.h"
#include "navdata/FindNavType.h"
#include "plugin/Log.h"

namespace {

struct Probe {
    std::string id;
    float lat, lon;
};

struct World {
    bool ready = false;
    std::vector<Probe> vors, fixes, airports;
};

/// Entries of one type with a search position 5 to 50 nm away, in random order.
std::vector<Probe> Probes(XPLMNavType type, size_t count, std::mt19937 &random)
{
    std::vector<Probe> all;
    XPLMNavRef first = XPLMFindFirstNavAidOfType(type), last = XPLMFindLastNavAidOfType(type);
    for (XPLMNavRef r = first; r != XPLM_NAV_NOT_FOUND && r <= last; r++) {
        Probe p;
        char id[32];
        XPLMGetNavAidInfo(r, nullptr, &p.lat, &p.lon, nullptr, nullptr, nullptr, id, nullptr, nullptr);
        p.id = id;
        all.push_back(p);
    }
    std::shuffle(all.begin(), all.end(), random);
    all.resize(std::min(all.size(), count));
    std::uniform_real_distribution<float> offset(-0.8f, 0.8f);
    for (Probe &p : all) {
        p.lat += offset(random);
        p.lon += offset(random);
    }
    return all;
}

World &TheWorld()
{
    static World world;
    if (world.ready)
        return world;
    simhost::Reset();
    // The shared data folder beside the checkout; VELLOMIR_SHARED_DATA in the environment points elsewhere.
    const char *override = getenv("VELLOMIR_SHARED_DATA");
    const std::string data = override != nullptr ? override : VELLOMIR_SHARED_DATA;
    simhost::LayNavData(simhost::NavDataFile::EarthNav, data + "/us-1911/earth_nav.dat");
    simhost::LayNavData(simhost::NavDataFile::EarthFix, data + "/us-1911/earth_fix.dat");
    std::string apt = simhost::SystemPath() + "Global Scenery/Global Airports/Earth nav data/apt.dat";
    std::string unpack = "gzip -dc '" + data + "/world/apt.dat.gz' > '" + apt + "'";
    if (system(unpack.c_str()) != 0)
        fprintf(stderr, "NavDatabaseBench: could not unpack the world apt.dat\n");
    simhost::NavDatabaseInfo info = simhost::LoadNavDatabase();
    fprintf(stderr, "navigation database: %d airports, %d navaids, %d fixes loaded in %.3f s (%d rows skipped)\n",
            info.airports, info.navaids, info.fixes, info.loadSeconds, info.warningCount);
    std::mt19937 random(1911);
    world.vors = Probes(xplm_Nav_VOR, 512, random);
    world.fixes = Probes(xplm_Nav_Fix, 4096, random);
    world.airports = Probes(xplm_Nav_Airport, 4096, random);
    world.ready = true;
    return world;
}

void BM_LoadWholeDatabase(benchmark::State &state)
{
    TheWorld();
    for (auto _ : state) {
        simhost::NavDatabaseInfo info = simhost::LoadNavDatabase();
        benchmark::DoNotOptimize(info.fixes);
    }
}
BENCHMARK(BM_LoadWholeDatabase)->Unit(benchmark::kMillisecond)->Iterations(3);

void FindById(benchmark::State &state, const std::vector<Probe> &probes, XPLMNavType type)
{
    if (probes.empty()) {
        state.SkipWithError("no navigation data (set VELLOMIR_SHARED_DATA)");
        return;
    }
    size_t i = 0, found = 0;
    for (auto _ : state) {
        const Probe &p = probes[i++ % probes.size()];
        float lat = p.lat, lon = p.lon;
        XPLMNavRef ref = XPLMFindNavAid(nullptr, p.id.c_str(), &lat, &lon, nullptr, type);
        found += ref != XPLM_NAV_NOT_FOUND;
    }
    state.counters["found"] = (double)found / (double)state.iterations();
}

void BM_FindVorByIdentifierNearPosition(benchmark::State &state)
{
    FindById(state, TheWorld().vors, xplm_Nav_VOR);
}
BENCHMARK(BM_FindVorByIdentifierNearPosition)->Unit(benchmark::kMicrosecond);

void BM_FindFixByIdentifierNearPosition(benchmark::State &state)
{
    FindById(state, TheWorld().fixes, xplm_Nav_Fix);
}
BENCHMARK(BM_FindFixByIdentifierNearPosition)->Unit(benchmark::kMicrosecond);

void BM_FindAirportByIdentifierNearPosition(benchmark::State &state)
{
    FindById(state, TheWorld().airports, xplm_Nav_Airport);
}
BENCHMARK(BM_FindAirportByIdentifierNearPosition)->Unit(benchmark::kMicrosecond);

/// Nearest of a type to positions near real entries, without an identifier.
void FindNearest(benchmark::State &state, const std::vector<Probe> &probes, XPLMNavType type, int *frequency)
{
    if (probes.empty()) {
        state.SkipWithError("no navigation data (set VELLOMIR_SHARED_DATA)");
        return;
    }
    size_t i = 0;
    for (auto _ : state) {
        const Probe &p = probes[i++ % probes.size()];
        float lat = p.lat, lon = p.lon;
        benchmark::DoNotOptimize(XPLMFindNavAid(nullptr, nullptr, &lat, &lon, frequency, type));
    }
}

void BM_FindNearestAirport(benchmark::State &state)
{
    FindNearest(state, TheWorld().airports, xplm_Nav_Airport, nullptr);
}
BENCHMARK(BM_FindNearestAirport)->Unit(benchmark::kMicrosecond);

void BM_FindNearestVorOnFrequency(benchmark::State &state)
{
    int frequency = 11680;
    FindNearest(state, TheWorld().vors, xplm_Nav_VOR, &frequency);
}
BENCHMARK(BM_FindNearestVorOnFrequency)->Unit(benchmark::kMicrosecond);

void BM_FindNavTypeOfRouteWord(benchmark::State &state)
{
    const std::vector<Probe> &probes = TheWorld().vors;
    pilot record;
    if (probes.empty()) {
        state.SkipWithError("no navigation data (set VELLOMIR_SHARED_DATA)");
        return;
    }
    size_t i = 0;
    for (auto _ : state) {
        const Probe &p = probes[i++ % probes.size()];
        float lat = 0, lon = 0;
        benchmark::DoNotOptimize(findNavType(p.id.c_str(), &record, p.lat, p.lon, &lat, &lon));
        if (i % 256 == 0) {
            state.PauseTiming();
            simhost::ClearLog();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_FindNavTypeOfRouteWord)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
