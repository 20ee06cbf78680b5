// The health report of vellomir-sim.
#include "SimReport.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <dlfcn.h>
#include <malloc.h>
#include <unistd.h>

#include "Harness.h"

namespace
{

typedef int (*AlCountsFn)(int *, int *, int *, int *, int *, int *);
const char *gCountingLibrary = nullptr;

long ResidentKilobytes()
{
    long pages = 0, resident = 0;
    FILE *statm = fopen("/proc/self/statm", "r");
    if (statm == nullptr)
        return -1;
    if (fscanf(statm, "%ld %ld", &pages, &resident) != 2)
        resident = -1;
    fclose(statm);
    return resident < 0 ? -1 : resident * (sysconf(_SC_PAGESIZE) / 1024);
}

/// The anonymous part of the resident memory (heap, stacks, anonymous maps): RSS less the pages of mapped
/// files, which grow as code and data pages are first touched without anything having been allocated.
long AnonymousResidentKilobytes()
{
    FILE *status = fopen("/proc/self/status", "r");
    if (status == nullptr)
        return -1;
    char line[256];
    long kilobytes = -1;
    while (fgets(line, sizeof line, status) != nullptr)
        if (sscanf(line, "RssAnon: %ld", &kilobytes) == 1)
            break;
    fclose(status);
    return kilobytes;
}

/// Bytes the C allocator has handed out and not had back, over all its arenas: malloc_info's totals
/// (memory taken from the system, including mmapped chunks, less the free chunks it keeps).
long HeapInUseKilobytes()
{
    char *text = nullptr;
    size_t size = 0;
    FILE *out = open_memstream(&text, &size);
    if (out == nullptr)
        return -1;
    int failed = malloc_info(0, out);
    fclose(out);
    long long fast = -1, rest = -1, mmapped = -1, current = -1;
    // The totals over every arena follow the last </heap>.
    const char *totals = failed == 0 && text != nullptr ? strstr(text, "</heap>\n<total") : nullptr;
    for (const char *last = totals; last != nullptr; last = strstr(last + 1, "</heap>\n<total"))
        totals = last;
    if (totals != nullptr) {
        const char *p;
        if ((p = strstr(totals, "<total type=\"fast\"")) != nullptr)
            sscanf(p, "<total type=\"fast\" count=\"%*d\" size=\"%lld\"", &fast);
        if ((p = strstr(totals, "<total type=\"rest\"")) != nullptr)
            sscanf(p, "<total type=\"rest\" count=\"%*d\" size=\"%lld\"", &rest);
        if ((p = strstr(totals, "<total type=\"mmap\"")) != nullptr)
            sscanf(p, "<total type=\"mmap\" count=\"%*d\" size=\"%lld\"", &mmapped);
        if ((p = strstr(totals, "<system type=\"current\"")) != nullptr)
            sscanf(p, "<system type=\"current\" size=\"%lld\"", &current);
    }
    free(text);
    if (fast < 0 || rest < 0 || mmapped < 0 || current < 0)
        return -1;
    return (long)((current + mmapped - fast - rest) / 1024);
}

int OpenFileDescriptors()
{
    DIR *dir = opendir("/proc/self/fd");
    if (dir == nullptr)
        return -1;
    int count = 0;
    while (dirent *entry = readdir(dir))
        if (entry->d_name[0] != '.')
            count++;
    closedir(dir);
    return count - 1; // the listing's own descriptor
}

void Add(FrameHistogram &histogram, double ms, double wallMs)
{
    int bin = std::min(FrameHistogram::kBins - 1, (int)(ms / FrameHistogram::kBinMs));
    histogram.counts[std::max(0, bin)]++;
    histogram.frames++;
    if (ms > histogram.longestMs) {
        histogram.longestMs = ms;
        histogram.longestAt = simhost::ElapsedTime();
    }
    histogram.longestWallMs = std::max(histogram.longestWallMs, wallMs);
}

} // namespace

void SimReport_InterposeOpenAL(const char *countingLibrary)
{
    const char *named = getenv("VELLOMIR_LIBOPENAL");
    const char *real = named != nullptr && named[0] != 0 ? named : "libopenal.so.1";
    if (strstr(real, "vellomir-alcount") != nullptr) {
        gCountingLibrary = real;
        return;
    }
    if (dlopen(real, RTLD_NOW | RTLD_LOCAL) == nullptr)
        return; // OpenAL stays missing for the plug-in, as the caller wanted
    setenv("VELLOMIR_ALCOUNT_REAL", real, 1);
    setenv("VELLOMIR_LIBOPENAL", countingLibrary, 1);
    gCountingLibrary = countingLibrary;
}

namespace
{

AlCountsFn CountingFunction()
{
    static AlCountsFn counts = nullptr;
    if (counts == nullptr && gCountingLibrary != nullptr) {
        // Loaded by the plug-in when it first plays; never unloaded (the plug-in keeps OpenAL open).
        if (void *counting = dlopen(gCountingLibrary, RTLD_NOW | RTLD_NOLOAD)) {
            counts = (AlCountsFn)dlsym(counting, "vellomirAlCounts");
            dlclose(counting);
        }
    }
    return counts;
}

} // namespace

int SimReport_HeldSources()
{
    int sources = 0, buffers = 0, contexts = 0, devices = 0, orphaned = 0, badDeletes = 0;
    if (AlCountsFn counts = CountingFunction())
        counts(&sources, &buffers, &contexts, &devices, &orphaned, &badDeletes);
    return sources;
}

void SimReport_SampleFrame(SimReport &report)
{
    int frame = simhost::FrameCount();
    if (frame == report.lastFrame)
        return;
    report.lastFrame = frame;
    double wall = simhost::LastFrameDrawSeconds() * 1000.0;
    double own = wall - simhost::LastFrameDrawRunQueueSeconds() * 1000.0;
    Add(report.interval, own, wall);
    Add(report.whole, own, wall);
}

double SimReport_Percentile(const FrameHistogram &histogram, double frameFraction)
{
    if (histogram.frames == 0)
        return 0;
    long wanted = (long)(frameFraction * (double)histogram.frames + 0.999999);
    long seen = 0;
    for (int bin = 0; bin < FrameHistogram::kBins; bin++) {
        seen += histogram.counts[bin];
        if (seen >= wanted)
            return bin == FrameHistogram::kBins - 1 ? histogram.longestMs : (bin + 1) * FrameHistogram::kBinMs;
    }
    return histogram.longestMs;
}

void SimReport_Print(FILE *out, SimReport &report, const char *label, bool whole)
{
    int sources = 0, buffers = 0, contexts = 0, devices = 0, orphaned = 0, badDeletes = 0;
    if (AlCountsFn counts = CountingFunction())
        counts(&sources, &buffers, &contexts, &devices, &orphaned, &badDeletes);
    const FrameHistogram &frames = whole ? report.whole : report.interval;
    fprintf(out,
            "[%7.2f] REPORT %s rss_kb=%ld rss_anon_kb=%ld heap_kb=%ld fds=%d al_sources=%d al_buffers=%d al_contexts=%d al_devices=%d "
            "al_orphaned=%d al_bad_deletes=%d widgets=%d windows=%d host_errors=%d frames=%ld longest_ms=%.3f "
            "longest_at=%.2f p999_ms=%.3f wall_longest_ms=%.3f\n",
            simhost::ElapsedTime(), label, ResidentKilobytes(), AnonymousResidentKilobytes(), HeapInUseKilobytes(),
            OpenFileDescriptors(), sources, buffers, contexts,
            devices, orphaned, badDeletes, simhost::WidgetCount(), (int)simhost::Windows().size(),
            (int)simhost::HostErrors().size(), frames.frames, frames.longestMs, frames.longestAt,
            SimReport_Percentile(frames, 0.999), frames.longestWallMs);
    fflush(out);
    report.interval = FrameHistogram();
}
