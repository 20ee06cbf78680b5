// The version check. Everything the server says is checked before it is used: versions are letters,
// digits, "." and "-" only, the notes are cleaned and bounded, nothing of it is a format or a path.
#include "update/UpdateCheck.h"

#include <cstring>

#include "plugin/Https.h"
#include "plugin/Version.h"
#include "ui/Settings.h"
#include "ui/WarningWindow.h"
#include "update/UpdateState.h"
#include "update/UpdateWindow.h"
#include "update/UpdateWorker.h"

namespace {

const char *const kTag = "checkForUpdates";
const char *const kServerError = "Error while contacting the update server";
/// The automatic check's window of the simulator's elapsed time, seconds.
const float kAutomaticCheckFrom_s = 40.0f, kAutomaticCheckUntil_s = 150.0f;

/// Fetches and reads one version index; false with the outcome set when it fails.
bool UpdateCheck_index(UpdateCheckJob &job, const char *url, const char *indexName, UpdateVersion *version,
                       const std::atomic<bool> *cancel)
{
    std::string answer = curlReturnShortString(url, job.log, cancel);
    if (answer.find("FAIL") != std::string::npos) {
        job.log.Debug(kTag, "Update failed, can't download %s", indexName);
        job.outcome = UPDATE_CHECK_INDEX_FAILED;
        return false;
    }
    char why[64];
    if (!Update_ParseVersion(answer.data(), answer.size(), version, why, sizeof why)) {
        job.log.Info(kTag, "The update server's %s answer is not a version (%s), ignored", indexName, why);
        job.outcome = UPDATE_CHECK_NO_VERSION;
        return false;
    }
    return true;
}

bool UpdateCheck_notes(UpdateCheckJob &job, const char *url, const std::atomic<bool> *cancel)
{
    std::string body;
    HttpsRequest request;
    request.url = url;
    request.outMemory = &body;
    request.maxResponseBytes = UPDATE_NOTES_MAX_BYTES;
    request.timeoutMs = updateLimits.indexTimeoutMs;
    request.cancel = cancel;
    HttpsResult result = Https_Perform(request);
    if (!result.transferOk || result.status != 200) {
        job.log.Info(kTag, "Release notes could not be fetched: %s", result.error);
        return false;
    }
    Update_SplitNotes(body.data(), body.size(), &job.notes);
    if (job.notes.droppedControls > 0)
        job.log.Info(kTag, "The release notes held %d control characters, left out", job.notes.droppedControls);
    return true;
}

/// The server addresses and the version behind every check; false, logged and shown from the menu, when
/// no check may run.
bool UpdateCheck_allowed(bool announceNoUpdate)
{
    const char *refusal = nullptr;
    switch (Update_ServerState()) {
    case UPDATE_SERVER_NOT_CONFIGURED:
        refusal = "No update server configured (updateUrl in Settings.txt)";
        break;
    case UPDATE_SERVER_NOT_HTTPS:
        refusal = "The update server must be an https:// address (updateUrl in Settings.txt)";
        break;
    default:
        break;
    }
    if (refusal == nullptr && UpdateWorker_Busy())
        refusal = "An update check or download is already running";
    if (refusal == nullptr)
        return true;
    if (announceNoUpdate) {
        PrintInfo(kTag, "%s", refusal);
        CreateWarningWinControl(400, 600, 340, 100, "Vellomir - Update", refusal);
    } else {
        PrintInfo(kTag, "Automatic update check not run: %s", refusal);
    }
    return false;
}

} // namespace

std::string curlReturnShortString(const char *url, UpdateLog &log, const std::atomic<bool> *cancel)
{
    const char *tag = "curlReturnShortString";
    log.Debug(tag, "Entering");
    log.Debug(tag, "curling content: %s", url);
    log.Info(tag, "fetching updates...");
    std::string body;
    HttpsRequest request;
    request.url = url;
    request.outMemory = &body;
    request.maxResponseBytes = updateLimits.indexMaxBytes;
    request.timeoutMs = updateLimits.indexTimeoutMs;
    request.cancel = cancel;
    HttpsResult result = Https_Perform(request);
    if (!result.transferOk || result.status != 200) {
        log.Info(tag, "Updates search failed: %s", result.error);
        return "FAIL";
    }
    return body;
}

bool UpdateCheck_Prepare(UpdateCheckJob &job, const char *installedVersion, bool announceNoUpdate)
{
    job.announceNoUpdate = announceNoUpdate;
    snprintf(job.installed, sizeof job.installed, "%s", installedVersion);
    bool fits = Update_Address(job.stableIndexUrl, sizeof job.stableIndexUrl, "/update/index?versionNumber=%s",
                               installedVersion) &&
                Update_Address(job.candidateIndexUrl, sizeof job.candidateIndexUrl,
                               "/update/index.testing?versionNumber=%s", installedVersion) &&
                Update_Address(job.stableNotesUrl, sizeof job.stableNotesUrl, "/update/r.notes") &&
                Update_Address(job.candidateNotesUrl, sizeof job.candidateNotesUrl, "/update/r.notes.testing");
    if (!fits)
        PrintInfo(kTag, "The update server's address is too long (updateUrl in Settings.txt), no check");
    return fits;
}

void UpdateCheck_Run(UpdateCheckJob &job, const std::atomic<bool> *cancel)
{
    job.log.Debug(kTag, "Entering function");
    job.rcBuild = false;
    UpdateVersion stable, candidate, installed;
    if (!UpdateCheck_index(job, job.stableIndexUrl, "index", &stable, cancel))
        return;
    job.log.Info(kTag, "Latest stable version available: %s", stable.text);
    if (!UpdateCheck_index(job, job.candidateIndexUrl, "index.testing", &candidate, cancel))
        return;
    job.log.Info(kTag, "Latest RC version available: %s", candidate.text);

    char why[64];
    if (!Update_ParseVersion(job.installed, strlen(job.installed), &installed, why, sizeof why)) {
        job.log.Info(kTag, "The installed version %s is not readable (%s)", job.installed, why);
        job.outcome = UPDATE_CHECK_NO_VERSION;
        return;
    }
    job.log.Info(kTag, installed.candidate ? "Current version is a RC: %s" : "Current version is not a RC: %s",
                 installed.text);
    job.log.Info(kTag, "Latest stable version code: %s", stable.code);
    job.log.Debug(kTag, "parsing %s", installed.text);
    job.log.Debug(kTag, "currentVersion pulito %s", installed.code);
    job.log.Info(kTag, "Latest RC version code: %s", candidate.code);
    job.log.Debug(kTag, "latest stable version available: %s", stable.code);
    job.log.Debug(kTag, "latest RC version available: %s (current RC build %s)", candidate.code, candidate.build);
    if (installed.candidate)
        job.log.Debug(kTag, "current version: %s (current RC build %s)", installed.code, installed.build);
    else
        job.log.Debug(kTag, "current version: %s", installed.code);
    UpdateDecision decision = Update_Decide(stable, candidate, installed);
    job.log.Info(kTag, "%s", decision.logLine);
    if (decision.offer == UPDATE_OFFER_NONE) {
        job.outcome = UPDATE_CHECK_UP_TO_DATE;
        return;
    }
    if (job.windowOpen) {
        job.outcome = UPDATE_CHECK_ALREADY_OPEN;
        return;
    }
    job.rcBuild = decision.rcBuild;
    const UpdateVersion &offered = decision.offer == UPDATE_OFFER_STABLE ? stable : candidate;
    snprintf(job.announced, sizeof job.announced, "%s", offered.text);
    if (!UpdateCheck_notes(job, job.rcBuild ? job.candidateNotesUrl : job.stableNotesUrl, cancel)) {
        job.outcome = UPDATE_CHECK_NOTES_FAILED;
        return;
    }
    job.outcome = UPDATE_CHECK_OFFERED;
}

int UpdateCheck_Finish(UpdateCheckJob &job)
{
    job.log.Print();
    switch (job.outcome) {
    case UPDATE_CHECK_UP_TO_DATE:
        if (job.announceNoUpdate)
            CreateWarningWinControl(400, 600, 340, 100, "Vellomir - Up to date", "No updates available");
        return 0;
    case UPDATE_CHECK_INDEX_FAILED:
    case UPDATE_CHECK_NOTES_FAILED:
        if (job.announceNoUpdate)
            CreateWarningWinControl(400, 600, 340, 100,
                                    job.outcome == UPDATE_CHECK_INDEX_FAILED ? "Vellomir - Update Failed!"
                                                                             : "Update Failed!",
                                    kServerError);
        return 1;
    case UPDATE_CHECK_NO_VERSION:
        if (job.announceNoUpdate)
            CreateWarningWinControl(400, 600, 340, 100, "Vellomir - Update Failed!", "The update server sent no version");
        return 1;
    case UPDATE_CHECK_ALREADY_OPEN:
        PrintInfo(kTag, "Update dialog already open or updated already notified");
        return 1;
    case UPDATE_CHECK_OFFERED:
        break;
    }
    // The window may have opened, or an update been installed, while the check ran.
    if (updateIsOpen || updateFase2IsOpen || updateRestartPending) {
        PrintInfo(kTag, "Update dialog already open or updated already notified");
        return 1;
    }
    rcBuild = job.rcBuild;
    globalLatestVersion = job.announced;
    char heading[UPDATE_VERSION_SIZE + 1];
    snprintf(heading, sizeof heading, rcBuild ? "%s" : "%s:", job.announced);
    const char *lines[WARNING_LINES] = {heading, " "};
    for (int i = 0; i < UPDATE_NOTE_LINES_SHOWN && i < job.notes.count; i++)
        lines[2 + i] = job.notes.lines[i];
    int width, height;
    Update_NotesWindowSize(job.notes, &width, &height);
    PrintDebug(kTag, "Creating releases notes dialog");
    CreateUpdateControl(400, 600, width, height, "Vellomirv2 - Update Available", lines);
    return 1;
}

int checkForUpdates(bool announceNoUpdate)
{
    if (updateRestartPending) {
        PrintInfo(kTag, "An update is installed and waits for a restart; no check");
        return 0;
    }
    if (!UpdateCheck_allowed(announceNoUpdate))
        return 0;
    std::unique_ptr<UpdateCheckJob> job(new UpdateCheckJob);
    if (!UpdateCheck_Prepare(*job, VELLOMIR_VERSION, announceNoUpdate)) {
        if (announceNoUpdate)
            CreateWarningWinControl(400, 600, 340, 100, "Vellomir - Update", "The update server's address is too long");
        return 0;
    }
    job->windowOpen = updateIsOpen || updateFase2IsOpen;
    UpdateWorker_StartCheck(std::move(job));
    return 1;
}

void Update_AutomaticCheck(float now)
{
    if (updateChecked != 0 || updateCheck != 1 || now <= kAutomaticCheckFrom_s || now >= kAutomaticCheckUntil_s)
        return;
    updateChecked = 1;
    checkForUpdates(false);
}
