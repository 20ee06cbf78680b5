// One frame of the frame driver in steady state: an aircraft at a gate of KSEA (the bundled sample),
// the flight's first frame done, COM1 on the ground frequency, the dark box showing a full dialogue box
// and no message due; and the same frame with the request dialog open. The driver runs inside the
// simulator's frame budget.
//
// Instructions per frame, reproducibly, with callgrind (the first frame of the flight does not go through
// the callback; every call of it counted is a steady frame):
//   VELLOMIR_BENCH_FRAMES=10000 valgrind --tool=callgrind --toggle-collect=MyDrawWindowCallback \
//       build/bench/bench_FrameDriverBench
// then divide the total Ir by the number of calls the program prints (VELLOMIR_BENCH_DIALOG=1: with the
// request dialog open).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Harness.h"
#include "comms/DialogBox.h"
#include "comms/RequestDialog.h"
#include "navdata/AptNav.h"
#include "plugin/FirstFrame.h"
#include "plugin/FrameDriver.h"
#include "plugin/PluginGlobals.h"
#include "plugin/SimDataRefs.h"
#include "state/Pilot.h"
#include "ui/OnScreenInformations.h"
#include "ui/OnScreenPrinters.h"
#include "ui/Settings.h"

namespace {

/// Frames drawn between two clearings of simhost's record of what was drawn.
const int kFramesPerBatch = 100;

void SetUpSteadyState()
{
    simhost::Options options;
    options.xplaneVersion = 12000;
    simhost::Reset(options);
    simhost::InstallSample(VELLOMIR_SOURCE_DIR "/data/sample");
    simhost::PlaceAtParking("KSEA", "A1");
    simhost::TuneCom1(121.7);
    simhost::SetEngines(true);
    gFDV_XPlaneVersion = options.xplaneVersion;
    System_FindAttitudeDataRefs();
    System_FindFlightDataRefs(gFDV_XPlaneVersion);
    Utils_readAllAptDat();
    FrameDriver_FirstFrame(pilotObj);
    gAlreadyChecked = 1;
    System_CreateDriverWindow();
    gShowDarkWindows = 1;
    autoHideDarkBox = 0;
    const float white3[3] = {1, 1, 1};
    for (int i = 0; i < 3; i++)
        AddToDialogArray("Vellomir @12@, taxi to holding point runway *16L* via #A#, #B#, hold short", white3);
    simhost::RunFrame(); // one frame through the host, which also clears its drawing record
}

/// Times batches of frames through the callback: the time of one frame per iteration.
void TimeFrames(benchmark::State &state)
{
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        for (int i = 0; i < kFramesPerBatch; i++)
            MyDrawWindowCallback(gWindow, nullptr);
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds / kFramesPerBatch); // the time of one frame
        state.PauseTiming();
        simhost::RunFrame(); // forget what the batch drew
        state.ResumeTiming();
    }
}

void BM_FrameDriverSteadyState(benchmark::State &state)
{
    SetUpSteadyState();
    TimeFrames(state);
    state.counters["facility_is_ground"] = pilotObj.gActualFrequencyName == "GROUND" ? 1 : 0;
    System_DestroyDriverWindow();
    simhost::Shutdown();
}
BENCHMARK(BM_FrameDriverSteadyState)->UseManualTime()->Unit(benchmark::kMicrosecond);

/// The same frame with the ground's request dialog open (a cleared flight, engines running, push-back
/// and taxi to ask for): each frame decides that the dialog stays as it is.
void OpenRequestDialog()
{
    pilot &p = pilotObj;
    p.gIsFPFiled = 1;
    p.gIsIFRCleared = 1;
    p.sidSelezionata = true;
    p.transponder = simhost::GetInt("sim/cockpit/radios/transponder_code");
    MyDrawWindowCallback(gWindow, nullptr);
}

void BM_FrameDriverRequestDialogOpen(benchmark::State &state)
{
    SetUpSteadyState();
    OpenRequestDialog();
    const int created = simhost::WidgetsCreated();
    TimeFrames(state);
    state.counters["dialog_open"] = ControlDialogWindow != nullptr ? 1 : 0;
    state.counters["widgets_created"] = simhost::WidgetsCreated() - created;
    RequestDialog_Close();
    System_DestroyDriverWindow();
    simhost::Shutdown();
}
BENCHMARK(BM_FrameDriverRequestDialogOpen)->UseManualTime()->Unit(benchmark::kMicrosecond);

/// The on-screen information alone, at the gate of a filed flight taxiing out: every panel section, the
/// heading indicator and a warning shown (argument 1), or everything switched off (argument 0).
void BM_OnScreenInformations(benchmark::State &state)
{
    SetUpSteadyState();
    const int shown = (int)state.range(0);
    flightStatsIsActive = onScreenWarnings = headingIndicatorActive = shown;
    pilot &p = pilotObj;
    p.gIsFPFiled = 1;
    p.gIsTaxiingApproved = 1;
    p.arrAirportICAO = "KPDX";
    p.transponder = 4512;
    p.frequenzaObiettivo = 124200;
    p.AddSid("SUMMA1", "SUMMA1", 0, 0, false);
    p.numeroDiSidTrovate = 1;
    p.sidSelezionata = true;
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        for (int i = 0; i < kFramesPerBatch; i++) {
            OnScreen_ResetRows();
            printOnScreenInformations(&p);
        }
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds / kFramesPerBatch);
        state.PauseTiming();
        simhost::RunFrame();
        state.ResumeTiming();
    }
    state.counters["rows"] = gDebugStringHeightCo1um1;
    System_DestroyDriverWindow();
    simhost::Shutdown();
}
BENCHMARK(BM_OnScreenInformations)->Arg(1)->Arg(0)->UseManualTime()->Unit(benchmark::kMicrosecond);

/// A fixed number of steady frames through the callback, for callgrind; with dialog, the request dialog
/// open.
int RunFrames(int frames, bool dialog)
{
    SetUpSteadyState();
    if (dialog)
        OpenRequestDialog();
    int calls = dialog ? 2 : 1; // the set-up's frames through the host and the dialog's opening
    for (int i = 0; i < frames; i++) {
        MyDrawWindowCallback(gWindow, nullptr);
        calls++;
        if ((i + 1) % kFramesPerBatch == 0) {
            simhost::RunFrame();
            calls++;
        }
    }
    printf("MyDrawWindowCallback calls: %d\n", calls);
    System_DestroyDriverWindow();
    simhost::Shutdown();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (const char *frames = getenv("VELLOMIR_BENCH_FRAMES"))
        return RunFrames(atoi(frames), getenv("VELLOMIR_BENCH_DIALOG") != nullptr);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
