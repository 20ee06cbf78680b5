// Replacing the plug-in's binary with a downloaded one. The plug-in's path always names a complete
// binary: the download is verified beside it, the old file stays as the backup by a hard link (or a
// synced copy), and the new file takes the path in one rename. The loaded file is never written.
#pragma once

#include <atomic>
#include <cstdio>

#include "update/UpdateLog.h"
#include "update/UpdateServer.h"

/// Results of updateBinary.
enum UpdateResult {
    UPDATE_RESULT_ABANDONED = -1, ///< stopped by the step hook, as a crash would (tests only)
    UPDATE_RESULT_REPLACED = 0,
    UPDATE_RESULT_BACKUP_FAILED = 1, ///< the installed file could not be kept as the backup; nothing changed
    UPDATE_RESULT_ROLLED_BACK = 2,   ///< the new file could not take the path; the installed file is still there
    UPDATE_RESULT_DOWNLOAD_FAILED = 4, ///< download, size, header or checksum refused; nothing changed
};

/// The file operations of the replacement, one pointer each so that tests can make any of them fail.
/// The return conventions are those of the C library (0 or a FILE on success, errno set on failure).
struct UpdateFileOps {
    FILE *(*create)(const char *path); ///< a new file for writing; fails when the path exists
    int (*flush)(FILE *file);
    int (*sync)(FILE *file);
    int (*close)(FILE *file);
    int (*link)(const char *existing, const char *newPath);
    int (*rename)(const char *from, const char *to);
    int (*remove)(const char *path); ///< a missing file counts as removed
    int (*syncFolder)(const char *folder);
    /// Called between two steps with the step just done; false stops there as a crash would.
    bool (*step)(const char *done);
};
/// The real file system.
extern const UpdateFileOps kUpdateFileOps;

enum { UPDATE_PATH_SIZE = 1024 };

struct UpdateBinaryJob {
    char folder[16] = "", fileName[32] = "";
    char pluginPath[UPDATE_PATH_SIZE] = ""; ///< the installed binary
    char binaryUrl[UPDATE_URL_SIZE] = "", checksumUrl[UPDATE_URL_SIZE] = "";
    const UpdateFileOps *ops = &kUpdateFileOps;
    UpdateLog log;
    int result = UPDATE_RESULT_DOWNLOAD_FAILED;
};

/// Downloads, verifies and installs the binary; the result code, also kept in job.result. Any thread.
int updateBinary(UpdateBinaryJob &job, const std::atomic<bool> *cancel);

/// Fills the job for this host: the binary "Vellomir64.xpl" in "lin_x64" of the plug-in's folder, from the
/// stable or candidate address by rcBuild. False (logged) when a path or an address does not fit.
bool UpdateBinary_Prepare(UpdateBinaryJob &job);
/// Starts the download and installation on the worker thread (the "Update" button).
void updatePlugin();
/// Reports a finished installation: its log, and the completion window or a warning (simulator's thread).
void UpdateBinary_Finish(UpdateBinaryJob &job);
