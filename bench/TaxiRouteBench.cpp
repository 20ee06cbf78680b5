// The taxi route search from every gate to every runway end: time and log lines per search over the
// largest airports of the world file (painted lines) and over KSEA's taxi routing network, and the share
// of gate-runway pairs that get a route with taxiway names, over networks and over painted lines.
// Reads the shared data (world file, Gateway airports) when it is there; the sample's airports always.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BenchWorld.h"
#include "Harness.h"
#include "navdata/AptNav.h"
#include "plugin/Log.h"
#include "state/Pilot.h"
#include "taxi/TaxiNames.h"
#include "taxi/TaxiSearch.h"
#include "ui/Settings.h"

namespace
{

using Clock = std::chrono::steady_clock;

struct Pair {
    size_t parking, runway;
};

/// Every (parking position, runway end) pair of the airport read into the record.
std::vector<Pair> Pairs(const pilot &record)
{
    std::vector<Pair> pairs;
    for (size_t p = 0; p < record.parser.parkings.size(); p++)
        for (size_t r = 0; r < record.parser.runways.size(); r++)
            pairs.push_back({p, r});
    return pairs;
}

/// Puts the aircraft at the pair's parking position, cleared for its runway end.
void Place(pilot &record, const Pair &pair)
{
    const Parser::parking &at = record.parser.parkings[pair.parking];
    const Parser::runway &end = record.parser.runways[pair.runway];
    record.latitudine = at.lat;
    record.longitudine = at.lon;
    record.headingAttuale = at.heading;
    pilot::runwayStruct &r = record.departureRunwayStruct;
    r.number = end.number;
    snprintf(r.name, sizeof r.name, "%s", end.name);
    r.lat = end.lat;
    r.lon = end.lon;
    r.heading = end.heading;
    r.thresholdLength = end.thresholdLength;
    r.index = (int)pair.runway + 1;
}

struct Coverage {
    int pairs = 0, routed = 0, named = 0, airports = 0;
};

/// Searches every pair of the airport; with painted set, the airport's network is left out.
void Cover(pilot &record, bool painted, Coverage &coverage)
{
    if (painted) {
        record.parser.taxiNodes.clear();
        record.parser.taxiEdges.clear();
    }
    std::vector<Pair> pairs = Pairs(record);
    if (pairs.empty())
        return;
    coverage.airports++;
    char via[TAXI_VIA_SIZE];
    for (const Pair &pair : pairs) {
        Place(record, pair);
        TracciaTaxiPath(&record);
        coverage.pairs++;
        coverage.routed += record.taxiPoints.empty() ? 0 : 1;
        coverage.named += Taxi_ViaText(&record, via, sizeof via) > 0 ? 1 : 0;
    }
}

void Report(benchmark::State &state, const char *prefix, const Coverage &c)
{
    std::string p = prefix;
    state.counters[p + "airports"] = c.airports;
    state.counters[p + "pairs"] = c.pairs;
    state.counters[p + "routed_pct"] = c.pairs > 0 ? 100.0 * c.routed / c.pairs : 0;
    state.counters[p + "named_pct"] = c.pairs > 0 ? 100.0 * c.named / c.pairs : 0;
}

struct AirportFile {
    std::string icao, path;
};

/// Every startup location (row 1300) of the airport in the file, tie-downs and hangars included: the
/// Gateway's small airports have nothing else, and the reader keeps only gates, aprons and ramps.
std::vector<Parser::parking> StartupLocations(const AirportFile &airport)
{
    std::vector<Parser::parking> positions;
    FILE *file = fopen(airport.path.c_str(), "r");
    if (file == nullptr)
        return positions;
    char line[2048];
    bool inside = false;
    while (fgets(line, sizeof line, file) != nullptr) {
        int code = atoi(line);
        if (code == 1 || code == 16 || code == 17) {
            char icao[16] = {0};
            bool wanted = sscanf(line, "%*d %*s %*s %*s %15s", icao) == 1 && airport.icao == icao;
            if (inside && !wanted)
                break;
            inside = wanted;
        }
        Parser::parking position;
        if (inside && code == 1300 &&
            sscanf(line, "%*d %f %f %f", &position.lat, &position.lon, &position.heading) == 3) {
            position.id = (int)positions.size();
            positions.push_back(position);
        }
    }
    fclose(file);
    return positions;
}

/// The airports with a taxi routing network: KSEA, KBFI and KFHR of the sample, and the Gateway file's.
std::vector<AirportFile> NetworkAirports()
{
    std::vector<AirportFile> airports;
    for (const char *icao : {"KSEA", "KBFI", "KFHR"})
        airports.push_back({icao, VELLOMIR_SOURCE_DIR "/data/sample/apt.dat"});
    std::string gateway = SharedData() + "/gateway/test_apt.dat";
    if (FILE *file = fopen(gateway.c_str(), "r")) {
        fclose(file);
        for (const char *icao : {"KBJC", "KBIX", "YBLT", "Y83", "EBHN"})
            airports.push_back({icao, gateway});
    }
    return airports;
}

void SetUpHost()
{
    World(); // starts simhost once
    gKMLExp = 0;
    developerDEBUG = 0;
    userDebug = 0;
}

/// Share of gate-runway pairs with a route and with taxiway names: the network airports (every startup
/// location) over their networks and over their painted lines, and the world's 30 largest airports (their
/// gates, aprons and ramps) over their painted lines.
void BM_GateRunwayCoverage(benchmark::State &state)
{
    SetUpHost();
    static pilot record;
    Coverage network, networkPainted, world;
    for (auto _ : state) {
        network = networkPainted = world = Coverage();
        for (const AirportFile &airport : NetworkAirports()) {
            for (bool painted : {false, true}) {
                record.parser.readAptDat(airport.icao, airport.path, 0, 0);
                record.parser.parkings = StartupLocations(airport);
                Cover(record, painted, painted ? networkPainted : network);
            }
        }
        const WorldFile &file = World();
        if (file.ready) {
            if (IcaoMap.empty())
                parseSingleAptDat(file.path);
            for (const auto &largest : LargestAirports(30)) {
                const AptDat &where = IcaoMap[largest.second];
                record.parser.readAptDat(largest.second, where.ICAOfilePath, where.readOffset, 0);
                Cover(record, true, world);
            }
        }
        simhost::ClearLog();
    }
    Report(state, "net_", network);
    Report(state, "netlines_", networkPainted);
    Report(state, "world_", world);
}
BENCHMARK(BM_GateRunwayCoverage)->Unit(benchmark::kSecond)->Iterations(1);

/// One search per iteration, cycling through the gate-runway pairs of the airports; counts the log lines
/// of the slowest-logging search and times the slowest search.
void SearchAll(benchmark::State &state, std::vector<pilot *> &records)
{
    std::vector<std::pair<pilot *, Pair>> work;
    for (pilot *record : records)
        for (const Pair &pair : Pairs(*record))
            work.emplace_back(record, pair);
    if (work.empty()) {
        state.SkipWithError("no gate-runway pair");
        return;
    }
    size_t next = 0;
    double slowest_ms = 0;
    size_t mostLines = 0;
    for (auto _ : state) {
        auto &item = work[next++ % work.size()];
        Place(*item.first, item.second);
        size_t lines = simhost::LogLines().size();
        Clock::time_point start = Clock::now();
        TracciaTaxiPath(item.first);
        slowest_ms = std::max(slowest_ms, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        mostLines = std::max(mostLines, simhost::LogLines().size() - lines);
        if (simhost::LogLines().size() > 100000)
            simhost::ClearLog();
    }
    state.counters["pairs"] = (double)work.size();
    state.counters["slowest_ms"] = slowest_ms;
    state.counters["log_lines_max"] = (double)mostLines;
}

void BM_SearchLargestWorldAirports(benchmark::State &state)
{
    SetUpHost();
    const WorldFile &file = World();
    if (!file.ready) {
        state.SkipWithError("world apt.dat not available");
        return;
    }
    if (IcaoMap.empty())
        parseSingleAptDat(file.path);
    static std::vector<pilot> airports(5);
    std::vector<pilot *> records;
    std::string label;
    auto largest = LargestAirports(airports.size());
    for (size_t i = 0; i < largest.size(); i++) {
        const AptDat &where = IcaoMap[largest[i].second];
        airports[i].parser.readAptDat(largest[i].second, where.ICAOfilePath, where.readOffset, 0);
        airports[i].depAirportICAO = largest[i].second;
        records.push_back(&airports[i]);
        label += largest[i].second + "(" + std::to_string(airports[i].parser.puntiTaxi.size()) + ") ";
    }
    SearchAll(state, records);
    state.SetLabel(label);
}
BENCHMARK(BM_SearchLargestWorldAirports)->Unit(benchmark::kMillisecond);

void BM_SearchKseaNetwork(benchmark::State &state)
{
    SetUpHost();
    static pilot record;
    record.depAirportICAO = "KSEA";
    record.parser.readAptDat("KSEA", VELLOMIR_SOURCE_DIR "/data/sample/apt.dat", 0, 0);
    std::vector<pilot *> records{&record};
    SearchAll(state, records);
    state.SetLabel("KSEA(" + std::to_string(record.parser.taxiNodes.size()) + " network nodes)");
}
BENCHMARK(BM_SearchKseaNetwork)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
