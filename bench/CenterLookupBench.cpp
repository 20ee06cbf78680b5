// One centre lookup over the shipped acc.dat (every line read, the airport's line near the end): the
// lookup runs on the main thread when a clearance, a hand-over or the selector's Center button asks for it.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "Harness.h"
#include "navdata/CenterFrequency.h"
#include "plugin/PluginGlobals.h"
#include "state/Pilot.h"

namespace {

void SetUpPluginFolder()
{
    simhost::Options options;
    options.xplaneVersion = 12000;
    simhost::Reset(options);
    gFDV_XPlaneVersion = options.xplaneVersion;
    std::ifstream shipped(VELLOMIR_SOURCE_DIR "/data/plugin/acc.dat");
    std::stringstream text;
    text << shipped.rdbuf();
    simhost::WriteFile("Resources/plugins/Vellomir64/acc.dat", text.str());
}

/// Seattle (a line near the end of the file), an airport of no line (the whole file and a made-up
/// frequency) and an airport on the first line.
void BM_CenterLookup(benchmark::State &state)
{
    static const char *const airports[] = {"KSEA", "ZZZZ", "07E"};
    SetUpPluginFolder();
    pilot *flight = new pilot();
    for (auto _ : state) {
        flight->frequenzaCenter = 0;
        flight->centerTrovata = flight->centerFittizia = false;
        Radio_ottieniFrequenzaCenter(airports[state.range(0)], flight);
        benchmark::DoNotOptimize(flight->frequenzaCenter);
    }
    state.SetLabel(airports[state.range(0)]);
    delete flight;
}
BENCHMARK(BM_CenterLookup)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
