// The updater's worker thread: the network requests and the file replacement run on it, so that no frame
// waits for them. The simulator's thread only starts a job and, each frame, picks up a finished one (its
// log lines and windows then appear on the simulator's thread).
#pragma once

#include <memory>

struct UpdateCheckJob;
struct UpdateBinaryJob;

/// A job is running or waits to be picked up.
bool UpdateWorker_Busy();
void UpdateWorker_StartCheck(std::unique_ptr<UpdateCheckJob> job);
void UpdateWorker_StartInstall(std::unique_ptr<UpdateBinaryJob> job);
/// Each frame: reports a finished job. True when one was reported.
bool UpdateWorker_Poll();
/// At stop: ends a running transfer, waits for the thread and drops the job unreported (its log lines are
/// printed). Safe to call more than once.
void UpdateWorker_Stop();
