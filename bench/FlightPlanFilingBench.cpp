// Filing a 60-word route at Seattle-Tacoma over the bundled sample: checks, resolution of every word,
// the files, the planning chain. The departure airport is read from apt.dat only when it changes.
#include <benchmark/benchmark.h>

#include <string>

#include "Harness.h"
#include "navdata/AptNav.h"
#include "planning/FlightPlanFiling.h"
#include "plugin/FirstFrame.h"
#include "plugin/SimDataRefs.h"
#include "state/Pilot.h"
#include "ui/WarningWindow.h"

namespace {

// Sixty real fixes between Seattle and Portland, north to south.
const char *const kRoute =
    "TEBNE VPBRI ZIVDI SCENN BAAKR VPGIG BUCKK UGUYE ECUVO HOOME VPBPL CFBRP EMMSS FAWNA BEKKR LANGL MILLT OYABO "
    "VPTRS ARVAD JODNA VPMCN CODGU BREVE BOSTO KEFPU WAPGI FABOD STEIL GUTVE ZAPEB EDEBE ZAVIT FESAS GANCA WASEG "
    "ATEVE FEGAK ARDVK BANFO KPOWW SHADE WAWHO ARWEL HUMUT TUNNR OWSIN CFKTV KUSCE ROCCI WRKHS ONALS COXER "
    "MALAY.FL.120 PTERA IMJUS OKARE RIXUQ HOXIB DMAZH";

int LogCount(const char *text)
{
    int count = 0;
    for (const std::string &line : simhost::LogLines())
        count += line.find(text) != std::string::npos ? 1 : 0;
    return count;
}

/// Waypoints of the filed route (the SID, when one is filed, comes in front of them).
int RouteWaypoints()
{
    int count = 0;
    for (const pilot::flightPlanLoc &p : pilotObj.flightPlanVec)
        count += p.order == 2 ? 1 : 0;
    return count;
}

void StartAtKsea()
{
    simhost::Reset();
    simhost::InstallSample(VELLOMIR_SOURCE_DIR "/data/sample");
    simhost::PlaceAtParking("KSEA", "A1");
    System_FindFlightDataRefs(12000);
    IcaoMap.clear();
    Utils_readAllAptDat();
    FrameDriver_FirstFrame(pilotObj);
    pilotObj.isOnGround = 1;
}

FlightPlanForm Form(const char *departure)
{
    FlightPlanForm form;
    form.flightName = "ASA";
    form.flightNumber = "123";
    form.departure = departure;
    form.arrival = "KPDX";
    form.transDep = form.transArr = "18000";
    form.flightLevel = "160";
    form.descentSpeed = "1800";
    form.route = kRoute;
    return form;
}

/// Files the route again and again at the airport the flight stands at: no apt.dat reading.
void BM_FileSixtyWordRouteAtKsea(benchmark::State &state)
{
    StartAtKsea();
    FlightPlanForm form = Form("KSEA");
    simhost::ClearLog();
    int reads = 0;
    for (auto _ : state) {
        if (!FlightPlan_File(form, &pilotObj) || RouteWaypoints() != 60)
            state.SkipWithError("the route was not filed whole");
        reads += LogCount("Parser started");
        simhost::ClearLog();
    }
    state.counters["aptDatReads"] = reads;
    Warning_Destroy();
}
BENCHMARK(BM_FileSixtyWordRouteAtKsea)->Unit(benchmark::kMillisecond);

/// The same route filed alternately from Boeing Field and Seattle-Tacoma: each filing reads an airport.
void BM_FileSixtyWordRouteFromAnotherAirport(benchmark::State &state)
{
    StartAtKsea();
    FlightPlanForm forms[2] = {Form("KBFI"), Form("KSEA")};
    int n = 0;
    for (auto _ : state) {
        if (!FlightPlan_File(forms[n++ % 2], &pilotObj))
            state.SkipWithError("the route was not filed");
        simhost::ClearLog();
    }
    Warning_Destroy();
}
BENCHMARK(BM_FileSixtyWordRouteFromAnotherAirport)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
