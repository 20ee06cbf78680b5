// The version check: the server's stable and candidate index against the installed version, then the
// release notes of what is offered. The requests run on the updater's worker thread.
#pragma once

#include <atomic>
#include <string>

#include "update/UpdateLog.h"
#include "update/UpdateNotes.h"
#include "update/UpdateServer.h"
#include "update/UpdateVersion.h"

enum UpdateCheckOutcome {
    UPDATE_CHECK_UP_TO_DATE,
    UPDATE_CHECK_OFFERED,
    UPDATE_CHECK_ALREADY_OPEN,   ///< an update window is open or an update was installed
    UPDATE_CHECK_INDEX_FAILED,   ///< a version index could not be fetched
    UPDATE_CHECK_NO_VERSION,     ///< an index answer is not a version the updater trusts
    UPDATE_CHECK_NOTES_FAILED,
};

struct UpdateCheckJob {
    // Inputs, set on the simulator's thread.
    bool announceNoUpdate = false;
    bool windowOpen = false;
    char installed[UPDATE_VERSION_SIZE] = "";
    char stableIndexUrl[UPDATE_URL_SIZE] = "", candidateIndexUrl[UPDATE_URL_SIZE] = "";
    char stableNotesUrl[UPDATE_URL_SIZE] = "", candidateNotesUrl[UPDATE_URL_SIZE] = "";
    // Results.
    UpdateCheckOutcome outcome = UPDATE_CHECK_INDEX_FAILED;
    bool rcBuild = false;
    char announced[UPDATE_VERSION_SIZE] = ""; ///< the offered version
    UpdateNotes notes;
    UpdateLog log;
};

/// Fills the job's addresses from updateUrl; false (with a log line) when one does not fit.
bool UpdateCheck_Prepare(UpdateCheckJob &job, const char *installedVersion, bool announceNoUpdate);
/// The requests and the decision; no simulator call, so any thread.
void UpdateCheck_Run(UpdateCheckJob &job, const std::atomic<bool> *cancel);
/// Prints the job's log and opens the window its outcome calls for (simulator's thread). 0 when the
/// installed version needs no update, 1 otherwise.
int UpdateCheck_Finish(UpdateCheckJob &job);

/// Body of a short GET request, or "FAIL".
std::string curlReturnShortString(const char *url, UpdateLog &log, const std::atomic<bool> *cancel);

/// Starts a check on the worker thread (menu: announceNoUpdate true; automatic: false). Refused, with a
/// line in the log (and from the menu a window), without a server, with a plain http address, while a
/// restart is pending or while the worker is busy. 1 when started, 0 when refused.
int checkForUpdates(bool announceNoUpdate);
/// The automatic check: once, when the option is on, between 40 and 150 s of the simulator's time.
void Update_AutomaticCheck(float now);
