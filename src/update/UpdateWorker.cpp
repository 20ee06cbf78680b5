// One worker thread at a time, started per job and joined when its result is picked up.
#include "update/UpdateWorker.h"

#include <atomic>
#include <thread>

#include "plugin/Https.h"
#include "update/UpdateCheck.h"
#include "update/UpdateInstall.h"

namespace {

std::thread gWorker;
std::atomic<bool> gDone{false};
std::atomic<bool> gCancel{false};
std::unique_ptr<UpdateCheckJob> gCheck;
std::unique_ptr<UpdateBinaryJob> gInstall;

void UpdateWorker_run()
{
    if (gCheck)
        UpdateCheck_Run(*gCheck, &gCancel);
    else if (gInstall)
        updateBinary(*gInstall, &gCancel);
    gDone = true;
}

void UpdateWorker_start()
{
    gDone = false;
    gCancel = false;
    Https_GlobalInit(); // held until the thread is joined
    gWorker = std::thread(UpdateWorker_run);
}

/// Joins a finished (or cancelled) thread; the job stays for the caller.
void UpdateWorker_join()
{
    if (gWorker.joinable())
        gWorker.join();
    Https_GlobalCleanup();
}

} // namespace

bool UpdateWorker_Busy()
{
    return gWorker.joinable();
}

void UpdateWorker_StartCheck(std::unique_ptr<UpdateCheckJob> job)
{
    if (UpdateWorker_Busy())
        return;
    gCheck = std::move(job);
    UpdateWorker_start();
}

void UpdateWorker_StartInstall(std::unique_ptr<UpdateBinaryJob> job)
{
    if (UpdateWorker_Busy())
        return;
    gInstall = std::move(job);
    UpdateWorker_start();
}

bool UpdateWorker_Poll()
{
    if (!gWorker.joinable() || !gDone)
        return false;
    UpdateWorker_join();
    std::unique_ptr<UpdateCheckJob> check = std::move(gCheck);
    std::unique_ptr<UpdateBinaryJob> install = std::move(gInstall);
    if (check)
        UpdateCheck_Finish(*check);
    if (install)
        UpdateBinary_Finish(*install);
    return true;
}

void UpdateWorker_Stop()
{
    if (!gWorker.joinable())
        return;
    gCancel = true;
    UpdateWorker_join();
    if (gCheck)
        gCheck->log.Print();
    if (gInstall)
        gInstall->log.Print();
    gCheck.reset();
    gInstall.reset();
}
