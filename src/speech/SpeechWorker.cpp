// One worker thread and two lists under one lock: the jobs to run and the jobs done. The thread starts at
// the first job and ends at stop.
#include "speech/SpeechWorker.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <deque>
#include <dlfcn.h>
#include <memory>
#include <mutex>
#include <thread>

namespace
{

/// How long stop waits for the running request before abandoning it.
const std::chrono::milliseconds kStopWait(900);

struct Entry {
    SpeechJob job;
    std::atomic<bool> cancel{false};
    bool done = false;
};

/// Shared between the simulator's thread and the worker; kept alive by both (an abandoned worker may
/// outlive the plug-in's stop).
struct WorkerState {
    std::mutex mutex;
    std::condition_variable wake, finished;
    std::deque<std::shared_ptr<Entry>> waiting; ///< handed over, not started
    std::deque<std::shared_ptr<Entry>> order;   ///< every entry not collected, in the order handed over
    std::shared_ptr<Entry> current;             ///< the job the thread is inside, if any
    bool stop = false;
    bool exited = false;
};

std::shared_ptr<WorkerState> gState;
/// Not a static object: a thread still joinable when the process exits would end it with terminate().
std::thread *gThread = nullptr;

void SpeechWorker_loop(std::shared_ptr<WorkerState> state)
{
    std::unique_lock<std::mutex> lock(state->mutex);
    for (;;) {
        state->wake.wait(lock, [&] { return state->stop || !state->waiting.empty(); });
        if (state->stop)
            break;
        std::shared_ptr<Entry> entry = state->waiting.front();
        state->waiting.pop_front();
        state->current = entry;
        lock.unlock();
        if (entry->job.work)
            entry->job.work(entry->cancel);
        lock.lock();
        state->current.reset();
        entry->done = true;
        state->finished.notify_all();
    }
    state->exited = true;
    state->finished.notify_all();
}

/// Keeps the plug-in's code mapped after the host unloads it, for a thread that is still running it.
void SpeechWorker_pinModule()
{
    Dl_info info;
    if (dladdr(reinterpret_cast<void *>(&SpeechWorker_pinModule), &info) != 0 && info.dli_fname != nullptr)
        dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

} // namespace

void DeferredLog::Add(bool debug, const char *tag, const char *format, va_list args)
{
    char text[LOG_LINE_SIZE];
    vsnprintf(text, sizeof text, format, args);
    lines_.push_back({debug, tag, text});
}

void DeferredLog::Info(const char *tag, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    Add(false, tag, format, args);
    va_end(args);
}

void DeferredLog::Debug(const char *tag, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    Add(true, tag, format, args);
    va_end(args);
}

void DeferredLog::Flush()
{
    for (const Line &line : lines_) {
        if (line.debug)
            PrintDebug(line.tag, "%s", line.text.c_str());
        else
            PrintInfo(line.tag, "%s", line.text.c_str());
    }
    lines_.clear();
}

void SpeechWorker_Submit(SpeechJob job)
{
    if (!gState) {
        gState = std::make_shared<WorkerState>();
        gThread = new std::thread(SpeechWorker_loop, gState);
    }
    std::shared_ptr<Entry> entry = std::make_shared<Entry>();
    entry->job = std::move(job);
    std::lock_guard<std::mutex> lock(gState->mutex);
    gState->waiting.push_back(entry);
    gState->order.push_back(entry);
    gState->wake.notify_one();
}

void SpeechWorker_Collect()
{
    if (!gState)
        return;
    for (;;) {
        std::shared_ptr<Entry> entry;
        {
            std::lock_guard<std::mutex> lock(gState->mutex);
            if (gState->order.empty() || !gState->order.front()->done)
                return;
            entry = gState->order.front();
            gState->order.pop_front();
        }
        if (entry->job.finish)
            entry->job.finish(); // may hand a new job over
    }
}

int SpeechWorker_Pending()
{
    if (!gState)
        return 0;
    std::lock_guard<std::mutex> lock(gState->mutex);
    return (int)gState->order.size();
}

bool SpeechWorker_Speaking()
{
    if (!gState)
        return false;
    std::lock_guard<std::mutex> lock(gState->mutex);
    for (const std::shared_ptr<Entry> &entry : gState->order)
        if (entry->job.speaks)
            return true;
    return false;
}

void SpeechWorker_CancelSpeech()
{
    if (!gState)
        return;
    std::unique_lock<std::mutex> lock(gState->mutex);
    auto speaks = [](const std::shared_ptr<Entry> &entry) { return entry->job.speaks; };
    gState->waiting.erase(std::remove_if(gState->waiting.begin(), gState->waiting.end(), speaks),
                          gState->waiting.end());
    gState->order.erase(std::remove_if(gState->order.begin(), gState->order.end(), speaks), gState->order.end());
    if (gState->current && gState->current->job.speaks)
        gState->current->cancel = true;
}

void SpeechWorker_Stop()
{
    if (!gState)
        return;
    std::shared_ptr<WorkerState> state = gState;
    bool exited;
    {
        std::unique_lock<std::mutex> lock(state->mutex);
        state->waiting.clear();
        state->order.clear();
        state->stop = true;
        if (state->current)
            state->current->cancel = true;
        state->wake.notify_all();
        exited = state->finished.wait_for(lock, kStopWait, [&] { return state->exited; });
    }
    if (exited) {
        gThread->join();
    } else {
        PrintInfo("SpeechWorker_Stop", "A speech request did not end in time and is abandoned");
        SpeechWorker_pinModule();
        gThread->detach();
    }
    delete gThread;
    gThread = nullptr;
    gState.reset();
}
