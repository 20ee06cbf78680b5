// The updater's costs. On the simulator's thread each frame: the poll of the worker and the automatic
// check's test (nothing due). On the worker thread: the SHA-256 of a plug-in-sized download and the
// splitting of the largest release notes accepted.
#include <benchmark/benchmark.h>

#include <string>

#include "update/Sha256.h"
#include "update/UpdateCheck.h"
#include "update/UpdateNotes.h"
#include "update/UpdateState.h"
#include "update/UpdateWorker.h"

namespace {

void BM_UpdateFrameIdle(benchmark::State &state)
{
    updateChecked = 1;
    for (auto _ : state) {
        Update_AutomaticCheck(90.0f);
        benchmark::DoNotOptimize(UpdateWorker_Poll());
    }
}
BENCHMARK(BM_UpdateFrameIdle);

void BM_Sha256(benchmark::State &state)
{
    std::string data((size_t)state.range(0), '\x5a');
    for (auto _ : state) {
        Sha256 context;
        uint8_t digest[SHA256_DIGEST_BYTES];
        Sha256_Init(&context);
        Sha256_Update(&context, data.data(), data.size());
        Sha256_Final(&context, digest);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Sha256)->Arg(6 << 20)->Unit(benchmark::kMillisecond);

void BM_SplitNotes(benchmark::State &state)
{
    std::string notes;
    while (notes.size() < UPDATE_NOTES_MAX_BYTES)
        notes += "A fix for the approach path of runways with displaced thresholds\r\n";
    notes.resize(UPDATE_NOTES_MAX_BYTES);
    std::string oneLine(UPDATE_NOTES_MAX_BYTES, 'w');
    const std::string &body = state.range(0) == 0 ? notes : oneLine;
    for (auto _ : state) {
        UpdateNotes split;
        Update_SplitNotes(body.data(), body.size(), &split);
        benchmark::DoNotOptimize(split.count);
    }
}
BENCHMARK(BM_SplitNotes)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
