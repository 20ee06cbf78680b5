// Speed of the SID and STAR search with the insertion into the route, and of the fix and navaid index,
// over the sample region (KSEA) and, when the shared data folder is there, every US airport of AIRAC 1911.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <vector>

#include "Harness.h"
#include "navdata/CifpReader.h"
#include "navdata/FixIndex.h"
#include "navdata/ProcedureSearch.h"
#include "planning/Procedures.h"
#include "ui/Settings.h"

namespace
{

std::string SharedData()
{
    const char *override = getenv("VELLOMIR_SHARED_DATA");
    return override != nullptr ? override : VELLOMIR_SHARED_DATA;
}

bool Exists(const std::string &path)
{
    FILE *f = fopen(path.c_str(), "rb");
    if (f != nullptr)
        fclose(f);
    return f != nullptr;
}

/// The sample region as the plug-in's and X-Plane's navigation data.
void LaySample()
{
    simhost::Reset();
    simhost::InstallSample(std::string(VELLOMIR_SOURCE_DIR) + "/data/sample");
    manualChooseSID = manualChooseSTAR = 0;
}

/// One search with its insertion, on a fresh record with a one-fix route.
void SearchAndInsert(const std::string &icao, const char *runway, bool star)
{
    static pilot record;
    record = pilot();
    record.depAirportICAO = record.arrAirportICAO = icao;
    record.plannedFL = 300;
    record.AddToFlightPlan(45.0f, -100.0f, "ROUTE", 2, 512, 0, 0);
    char rwy[8];
    snprintf(rwy, sizeof rwy, "%s", runway);
    if (star) {
        searchSTAR11(icao, rwy, &record);
        fileSTAR11(&record);
    } else {
        searchSID11(icao, rwy, &record);
        fileSID11(&record);
    }
}

void BM_SeattleSid16L(benchmark::State &state)
{
    LaySample();
    SearchAndInsert("KSEA", "16L", false); // builds the index once
    for (auto _ : state)
        SearchAndInsert("KSEA", "16L", false);
}
BENCHMARK(BM_SeattleSid16L)->Unit(benchmark::kMillisecond);

void BM_SeattleStar16C(benchmark::State &state)
{
    LaySample();
    SearchAndInsert("KSEA", "16C", true);
    for (auto _ : state)
        SearchAndInsert("KSEA", "16C", true);
}
BENCHMARK(BM_SeattleStar16C)->Unit(benchmark::kMillisecond);

/// Reading and indexing the whole US fix and navaid files.
void BM_FixIndexUs1911(benchmark::State &state)
{
    const std::string fixPath = SharedData() + "/us-1911/earth_fix.dat";
    const std::string navPath = SharedData() + "/us-1911/earth_nav.dat";
    if (!Exists(fixPath)) {
        state.SkipWithError("no shared us-1911 data");
        return;
    }
    for (auto _ : state) {
        std::string fixes, navaids;
        Cifp_ReadWhole(fixPath.c_str(), (size_t)1 << 30, &fixes);
        Cifp_ReadWhole(navPath.c_str(), (size_t)1 << 30, &navaids);
        FixIndex_BuildFromText(fixes, navaids);
    }
    state.counters["fixes"] = (double)FixIndex_FixCount();
    state.counters["navaids"] = (double)FixIndex_NavaidCount();
}
BENCHMARK(BM_FixIndexUs1911)->Unit(benchmark::kMillisecond);

/// Every runway of every US airport, SIDs and STARs: the slowest search with insertion of each airport.
/// Runs once (a few minutes); reports the worst airport and the figures of KSEA, KDEN, KDFW and KLAX.
void BM_EveryUsAirport(benchmark::State &state)
{
    const std::string data = SharedData() + "/us-1911/";
    if (!Exists(data + "CIFP-all-4968-airports.tar.xz")) {
        state.SkipWithError("no shared us-1911 data");
        return;
    }
    simhost::Reset();
    const std::string navdata = simhost::PluginFolder() + "navdata";
    const std::string unpack =
        "mkdir -p '" + navdata + "' && tar -xJf '" + data + "CIFP-all-4968-airports.tar.xz' -C '" + navdata + "'";
    if (system(unpack.c_str()) != 0) {
        state.SkipWithError("could not unpack the CIFP files");
        return;
    }
    simhost::LayNavData(simhost::NavDataFile::EarthNav, data + "earth_nav.dat");
    simhost::LayNavData(simhost::NavDataFile::EarthFix, data + "earth_fix.dat");
    simhost::CopyFileInto(data + "earth_nav.dat", "Resources/plugins/Vellomir64/navdata/earth_nav.dat");
    simhost::CopyFileInto(data + "earth_fix.dat", "Resources/plugins/Vellomir64/navdata/earth_fix.dat");
    manualChooseSID = manualChooseSTAR = 0;

    std::vector<std::string> airports;
    if (DIR *dir = opendir((navdata + "/CIFP").c_str())) {
        while (dirent *e = readdir(dir)) {
            std::string name = e->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".dat") == 0)
                airports.push_back(name.substr(0, name.size() - 4));
        }
        closedir(dir);
    }
    std::sort(airports.begin(), airports.end());
    SearchAndInsert("KSEA", "16L", false); // index built once, before the timing
    for (auto _ : state) {
        double worst = 0, sum = 0;
        int searches = 0;
        std::string worstName;
        for (const std::string &icao : airports) {
            std::string text;
            Cifp_ReadWhole((navdata + "/CIFP/" + icao + ".dat").c_str(), CIFP_MAX_FILE, &text);
            std::vector<std::string> runways;
            for (size_t at = text.find("RWY:RW"); at != std::string::npos; at = text.find("RWY:RW", at + 1)) {
                size_t end = at + 6;
                while (end < text.size() && isalnum((unsigned char)text[end]))
                    end++;
                runways.push_back(text.substr(at + 6, end - at - 6));
            }
            double airportWorst = 0;
            for (const std::string &rwy : runways)
                for (int star = 0; star < 2; star++) {
                    // The fastest of three runs: the other developers' builds on the machine are not ours.
                    double ms = 1e9;
                    for (int run = 0; run < 3; run++) {
                        const auto t0 = std::chrono::steady_clock::now();
                        SearchAndInsert(icao, rwy.c_str(), star == 1);
                        ms = std::min(
                            ms,
                            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
                    }
                    airportWorst = std::max(airportWorst, ms);
                    sum += ms;
                    searches++;
                }
            if (icao == "KSEA" || icao == "KDEN" || icao == "KDFW" || icao == "KLAX")
                state.counters[icao + "_ms"] = airportWorst;
            if (airportWorst > worst) {
                worst = airportWorst;
                worstName = icao;
            }
        }
        state.counters["worst_ms"] = worst;
        state.counters["mean_ms"] = searches > 0 ? sum / searches : 0;
        state.counters["searches"] = searches;
        state.SetLabel("worst airport " + worstName);
    }
}
BENCHMARK(BM_EveryUsAirport)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
