// The speech worker: one thread that runs speech jobs (a token request, a synthesis by the cloud service
// or any other engine) off the simulator's thread. The frame hands jobs over and collects the finished
// ones, whose results are then applied on the simulator's thread in the order the jobs were handed over.
#pragma once

#include <atomic>
#include <cstdarg>
#include <functional>
#include <string>
#include <vector>

#include "plugin/Log.h"

/// Log lines written by a job on the worker (which must not call the simulator), printed when the job is
/// collected.
class DeferredLog
{
  public:
    void Info(const char *tag, const char *format, ...) VELLOMIR_PRINTF(3, 4);
    void Debug(const char *tag, const char *format, ...) VELLOMIR_PRINTF(3, 4);
    /// Prints and forgets the lines; simulator thread only.
    void Flush();

  private:
    void Add(bool debug, const char *tag, const char *format, va_list args);
    struct Line {
        bool debug;
        const char *tag;
        std::string text;
    };
    std::vector<Line> lines_;
};

struct SpeechJob {
    /// Runs on the worker: no SDK call, no plug-in global written; ends early once cancel turns true.
    std::function<void(const std::atomic<bool> &cancel)> work;
    /// Runs on the simulator's thread when the job is collected (also after a cancelled work).
    std::function<void()> finish;
    /// The job speaks a message: the radio waits for it (SpeechWorker_Speaking).
    bool speaks = false;
};

/// Hands a job over; the worker starts with the first job.
void SpeechWorker_Submit(SpeechJob job);
/// Runs finish of every job done, in the order handed over. Once per frame.
void SpeechWorker_Collect();
/// Number of jobs handed over and not collected yet.
int SpeechWorker_Pending();
/// True while a job that speaks is waiting, running or not collected yet.
bool SpeechWorker_Speaking();
/// Drops the jobs that speak and have not started yet (their finish does not run) and cancels the running
/// one if it speaks; other jobs (a token request) go on.
void SpeechWorker_CancelSpeech();
/// Cancels everything and ends the thread within a second; a request that does not end in time is
/// abandoned (the thread is left to finish on its own, the plug-in's code kept mapped for it). Finish
/// functions of what was pending do not run.
void SpeechWorker_Stop();
