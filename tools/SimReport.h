// vellomir-sim's health report: what a long run must keep flat (the process's resident memory and open
// files, the OpenAL sources and buffers the plug-in holds, widgets and windows alive, simhost's host
// errors) and how long the plug-in held the frames (longest and 99.9th percentile).
#pragma once

#include <cstdio>

/// Frame times in bins of 10 microseconds up to 50 ms; longer ones only count in the last bin.
struct FrameHistogram {
    static const int kBins = 5000;
    static constexpr double kBinMs = 0.01;
    unsigned counts[kBins] = {};
    long frames = 0;
    double longestMs = 0;     ///< the plug-in's own time (run-queue waits taken out)
    double longestWallMs = 0; ///< wall-clock time of the draw callbacks
    double longestAt = 0;     ///< simulated time of the frame of longestMs
};

struct SimReport {
    FrameHistogram interval; ///< since the last report
    FrameHistogram whole;    ///< since the start
    int lastFrame = 0;       ///< simhost's frame counter when last sampled (frames count from 1)
};

/// Makes the plug-in load OpenAL through the counting library (libvellomir-alcount.so) when the real one
/// (VELLOMIR_LIBOPENAL's, else libopenal.so.1) can be opened; otherwise leaves OpenAL as it is.
void SimReport_InterposeOpenAL(const char *countingLibrary);
/// OpenAL sources the plug-in holds now (a voice being played), through the counting library; 0 without it.
int SimReport_HeldSources();
/// Takes the last frame's times once per frame (more calls in the same frame are ignored).
void SimReport_SampleFrame(SimReport &report);
/// The time that frameFraction of the frames did not exceed (the upper edge of its bin), in ms.
double SimReport_Percentile(const FrameHistogram &histogram, double frameFraction);
/// Prints one "REPORT" line (label: "t=3600" or "end") and starts a new interval. The frame figures are
/// the interval's, or the whole run's for the final report.
void SimReport_Print(FILE *out, SimReport &report, const char *label, bool whole);
