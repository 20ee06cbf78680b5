// Speed of the scenery index on the world's airports and of reading the largest airport.
// Reads the shared data's world apt.dat (gunzipped to a temporary file once per run).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "BenchWorld.h"
#include "Harness.h"
#include "navdata/AptNav.h"
#include "navdata/Parser.h"

namespace {

using Clock = std::chrono::steady_clock;

double ChildrenCpuSeconds()
{
    struct rusage usage;
    getrusage(RUSAGE_CHILDREN, &usage);
    return (double)(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           (double)(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double ThreadCpuSeconds()
{
    struct timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

struct Timing {
    double wall = 1e9, cpu = 1e9; ///< best of the runs, seconds
};

/// `wc -l` on the file, run directly (no shell), best of a few runs.
Timing WcTiming(const std::string &path)
{
    Timing best;
    for (int i = 0; i < 5; i++) {
        double cpu = ChildrenCpuSeconds();
        Clock::time_point start = Clock::now();
        pid_t child = fork();
        if (child == 0) {
            int in = open(path.c_str(), O_RDONLY), out = open("/dev/null", O_WRONLY);
            dup2(in, 0);
            dup2(out, 1);
            execlp("wc", "wc", "-l", (char *)nullptr);
            _exit(127);
        }
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) != child || status != 0)
            return Timing{0, 0};
        best.wall = std::min(best.wall, std::chrono::duration<double>(Clock::now() - start).count());
        best.cpu = std::min(best.cpu, ChildrenCpuSeconds() - cpu);
    }
    return best;
}

void BM_IndexWorldAptDat(benchmark::State &state)
{
    const WorldFile &world = World();
    if (!world.ready) {
        state.SkipWithError("world apt.dat not available");
        return;
    }
    Timing wc = WcTiming(world.path);
    Timing index;
    for (auto _ : state) {
        IcaoMap.clear();
        double cpu = ThreadCpuSeconds();
        Clock::time_point start = Clock::now();
        parseSingleAptDat(world.path);
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        index.wall = std::min(index.wall, seconds);
        index.cpu = std::min(index.cpu, ThreadCpuSeconds() - cpu);
    }
    // Best runs against best runs; the CPU ratio holds up on a busy machine, the wall ratio does not.
    state.counters["airports"] = (double)IcaoMap.size();
    state.counters["wc_ms"] = wc.wall * 1000;
    state.counters["index_ms"] = index.wall * 1000;
    state.counters["ratio_to_wc"] = wc.wall > 0 ? index.wall / wc.wall : 0;
    state.counters["cpu_ratio_to_wc"] = wc.cpu > 0 ? index.cpu / wc.cpu : 0;
}
BENCHMARK(BM_IndexWorldAptDat)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_ReadLargestAirport(benchmark::State &state)
{
    const WorldFile &world = World();
    if (!world.ready) {
        state.SkipWithError("world apt.dat not available");
        return;
    }
    IcaoMap.clear();
    parseSingleAptDat(world.path);
    auto largestAirports = LargestAirports(1);
    if (largestAirports.empty()) {
        state.SkipWithError("no airport indexed");
        return;
    }
    const std::string largest = largestAirports[0].second;
    const int64_t largestSize = largestAirports[0].first;
    Parser parser;
    const AptDat &airport = IcaoMap[largest];
    for (auto _ : state)
        parser.readAptDat(largest, airport.ICAOfilePath, airport.readOffset, 0);
    state.SetLabel(largest);
    state.counters["nodes"] = (double)parser.puntiTaxi.size();
    state.counters["kbytes"] = (double)largestSize / 1024;
}
BENCHMARK(BM_ReadLargestAirport)->Unit(benchmark::kMillisecond);

/// A made-up airport of 100 east-west and 100 north-south painted lines of 100 nodes each, crossing
/// at 10,000 junctions: 20,000 taxi nodes, more than any airport of the world file has.
void BM_ReadAirportOf20000TaxiNodes(benchmark::State &state)
{
    World(); // the host
    char name[] = "/tmp/vellomir-bench-grid-XXXXXX";
    int fd = mkstemp(name);
    if (fd < 0) {
        state.SkipWithError("no temporary file");
        return;
    }
    std::string text = "I\n1000 Version\n\n1 100 1 0 GRID Grid\n54 11990 TWR\n";
    char row[96];
    for (int direction = 0; direction < 2; direction++) {
        for (int line = 0; line < 100; line++) {
            text += "120 Centreline for Taxi L\n";
            for (int node = 0; node < 100; node++) {
                double lat = 47.0 + 0.0005 * (direction == 0 ? line : node);
                double lon = -122.0 + 0.0005 * (direction == 0 ? node : line);
                snprintf(row, sizeof row, "%s %.8f %.8f%s\n", node == 99 ? "115" : "111", lat, lon,
                         node == 99 ? "" : " 1 102");
                text += row;
            }
        }
    }
    text += "99\n";
    if (write(fd, text.data(), text.size()) != (ssize_t)text.size())
        state.SkipWithError("cannot write the airport");
    close(fd);
    Parser parser;
    for (auto _ : state)
        parser.readAptDat("GRID", name, 0, 0);
    size_t links = 0;
    for (const Parser::linePoint &node : parser.puntiTaxi)
        links += node.neighbourIDs.size();
    state.counters["nodes"] = (double)parser.puntiTaxi.size();
    state.counters["links"] = (double)links;
    unlink(name);
}
BENCHMARK(BM_ReadAirportOf20000TaxiNodes)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
