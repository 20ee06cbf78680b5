// Download, verification and replacement of the plug-in's binary. Order of the steps: checksum, download
// to P.latest (every write, the flush, the sync and the close checked), size, ELF header and SHA-256 of
// what is on disk, the old file linked (or copied) to P.backup, P.latest renamed over P, the folder synced.
// A crash between any two steps leaves a complete binary at P; leftovers are cleared by the next update.
#include "update/UpdateInstall.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <elf.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "XPLMUtilities.h"
#include "plugin/Https.h"
#include "ui/Utils.h"
#include "ui/WarningWindow.h"
#include "update/Sha256.h"
#include "update/UpdateState.h"
#include "update/UpdateWindow.h"
#include "update/UpdateWorker.h"

namespace {

const char *const kTag = "updateBinary";

FILE *Ops_create(const char *path)
{
    int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0755);
    if (fd < 0)
        return nullptr;
    FILE *file = fdopen(fd, "wb");
    if (file == nullptr) {
        int error = errno;
        close(fd);
        errno = error;
    }
    return file;
}

int Ops_flush(FILE *file)
{
    return fflush(file);
}

int Ops_sync(FILE *file)
{
    return fsync(fileno(file));
}

int Ops_close(FILE *file)
{
    return fclose(file);
}

int Ops_link(const char *existing, const char *newPath)
{
    return link(existing, newPath);
}

int Ops_rename(const char *from, const char *to)
{
    return rename(from, to);
}

int Ops_remove(const char *path)
{
    return unlink(path) == 0 || errno == ENOENT ? 0 : -1;
}

int Ops_syncFolder(const char *folder)
{
    int fd = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    int result = fsync(fd);
    int error = errno;
    close(fd);
    errno = error;
    return result;
}

bool Ops_step(const char *)
{
    return true;
}

struct InstallPaths {
    char backup[UPDATE_PATH_SIZE], latest[UPDATE_PATH_SIZE], copy[UPDATE_PATH_SIZE], folder[UPDATE_PATH_SIZE];
};

bool Install_paths(const char *plugin, InstallPaths *paths)
{
    size_t length = strlen(plugin);
    const char *slash = strrchr(plugin, '/');
    if (slash == nullptr || length + sizeof ".backup.copy" > UPDATE_PATH_SIZE)
        return false;
    snprintf(paths->backup, sizeof paths->backup, "%s.backup", plugin);
    snprintf(paths->latest, sizeof paths->latest, "%s.latest", plugin);
    snprintf(paths->copy, sizeof paths->copy, "%s.backup.copy", plugin);
    snprintf(paths->folder, sizeof paths->folder, "%.*s", (int)(slash - plugin), plugin);
    return true;
}

/// Flushes, syncs and closes a written file; the close happens whatever failed before it.
bool Install_closeWritten(const UpdateFileOps &ops, FILE *file, char *why, size_t whySize)
{
    const char *failed = nullptr;
    int error = 0;
    if (ops.flush(file) != 0) {
        failed = "flush";
        error = errno;
    } else if (ops.sync(file) != 0) {
        failed = "sync";
        error = errno;
    }
    if (ops.close(file) != 0 && failed == nullptr) {
        failed = "close";
        error = errno;
    }
    if (failed != nullptr)
        snprintf(why, whySize, "%s: %s", failed, strerror(error));
    return failed == nullptr;
}

bool Install_isHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

/// The published digest: a sha256sum line, 64 hexadecimal digits then a blank or the end.
bool Install_checksum(UpdateBinaryJob &job, char expected[SHA256_HEX_SIZE], const std::atomic<bool> *cancel)
{
    std::string body;
    HttpsRequest request;
    request.url = job.checksumUrl;
    request.outMemory = &body;
    request.maxResponseBytes = updateLimits.checksumMaxBytes;
    request.timeoutMs = updateLimits.indexTimeoutMs;
    request.cancel = cancel;
    HttpsResult result = Https_Perform(request);
    if (!result.transferOk || result.status != 200) {
        job.log.Info(kTag, "Checksum file %s could not be fetched (%s), update refused", job.checksumUrl, result.error);
        return false;
    }
    bool valid = body.size() >= 64;
    for (size_t i = 0; valid && i < 64; i++)
        valid = Install_isHex(body[i]);
    if (valid && body.size() > 64)
        valid = body[64] == ' ' || body[64] == '\t' || body[64] == '\r' || body[64] == '\n';
    if (!valid) {
        job.log.Info(kTag, "Checksum file %s holds no SHA-256 digest, update refused", job.checksumUrl);
        return false;
    }
    for (int i = 0; i < 64; i++)
        expected[i] = (char)((body[i] >= 'A' && body[i] <= 'F') ? body[i] - 'A' + 'a' : body[i]);
    expected[64] = '\0';
    return true;
}

bool Install_download(UpdateBinaryJob &job, const InstallPaths &paths, const std::atomic<bool> *cancel)
{
    const UpdateFileOps &ops = *job.ops;
    if (ops.remove(paths.latest) != 0) {
        job.log.Info(kTag, "An earlier download %s could not be removed (%s)", paths.latest, strerror(errno));
        return false;
    }
    FILE *out = ops.create(paths.latest);
    if (out == nullptr) {
        job.log.Info(kTag, "Download of file %s failed with http code %i", job.binaryUrl, 0);
        job.log.Info(kTag, "%s could not be created (%s)", paths.latest, strerror(errno));
        return false;
    }
    job.log.Info(kTag, "Starting download of file %s", job.binaryUrl);
    HttpsRequest request;
    request.url = job.binaryUrl;
    request.outFile = out;
    request.maxResponseBytes = updateLimits.binaryMaxBytes;
    request.timeoutMs = updateLimits.binaryTimeoutMs;
    request.lowSpeedBytesPerSecond = updateLimits.lowSpeedBytesPerSecond;
    request.lowSpeedSeconds = updateLimits.lowSpeedSeconds;
    request.cancel = cancel;
    HttpsResult result = Https_Perform(request);
    char why[160] = "";
    bool written = Install_closeWritten(ops, out, why, sizeof why);
    if (!result.transferOk || result.status != 200) {
        job.log.Info(kTag, "Download of file %s failed with http code %li", job.binaryUrl, result.status);
        job.log.Info(kTag, "%s", result.error);
    } else if (!written) {
        job.log.Info(kTag, "Download of file %s could not be written to %s (%s)", job.binaryUrl, paths.latest, why);
    }
    if (result.transferOk && result.status == 200 && written)
        return true;
    ops.remove(paths.latest);
    return false;
}

/// ELF machine of the binaries this build makes.
Elf64_Half Install_machine()
{
#if defined(__x86_64__)
    return EM_X86_64;
#elif defined(__aarch64__)
    return EM_AARCH64;
#else
    return EM_NONE;
#endif
}

/// What is on disk: a 64-bit little-endian shared object of this machine, within the size bound, with the
/// published digest.
bool Install_verify(UpdateBinaryJob &job, const char *path, const char *expected)
{
    FILE *in = fopen(path, "rb");
    if (in == nullptr) {
        job.log.Info(kTag, "%s could not be read back (%s)", path, strerror(errno));
        return false;
    }
    Sha256 hash;
    Sha256_Init(&hash);
    unsigned char header[sizeof(Elf64_Ehdr)] = {};
    size_t total = 0;
    std::unique_ptr<unsigned char[]> chunk(new unsigned char[64 * 1024]);
    size_t n;
    while ((n = fread(chunk.get(), 1, 64 * 1024, in)) > 0) {
        if (total < sizeof header)
            memcpy(header + total, chunk.get(), std::min(n, sizeof header - total));
        total += n;
        Sha256_Update(&hash, chunk.get(), n);
    }
    bool readError = ferror(in) != 0;
    fclose(in);
    if (readError) {
        job.log.Info(kTag, "%s could not be read back", path);
        return false;
    }
    if (total > updateLimits.binaryMaxBytes || total < sizeof header) {
        job.log.Info(kTag, "Download of file %s has %zu bytes, update refused", job.binaryUrl, total);
        return false;
    }
    Elf64_Ehdr elf;
    memcpy(&elf, header, sizeof elf);
    if (memcmp(elf.e_ident, ELFMAG, SELFMAG) != 0 || elf.e_ident[EI_CLASS] != ELFCLASS64 ||
        elf.e_ident[EI_DATA] != ELFDATA2LSB || elf.e_type != ET_DYN || elf.e_machine != Install_machine()) {
        job.log.Info(kTag, "Download of file %s is not a 64-bit Linux plug-in, update refused", job.binaryUrl);
        return false;
    }
    uint8_t digest[SHA256_DIGEST_BYTES];
    char actual[SHA256_HEX_SIZE];
    Sha256_Final(&hash, digest);
    Sha256_Hex(digest, actual);
    if (strcmp(actual, expected) != 0) {
        job.log.Info(kTag, "Checksum of %s does not match (published %s, downloaded %s), update refused",
                     job.binaryUrl, expected, actual);
        return false;
    }
    return true;
}

/// Copies the installed file to the backup through a temporary file renamed into place once synced.
/// 0 done, 1 failed, -1 abandoned.
int Install_copy(UpdateBinaryJob &job, const InstallPaths &paths)
{
    const UpdateFileOps &ops = *job.ops;
    if (ops.remove(paths.copy) != 0)
        return 1;
    FILE *in = fopen(job.pluginPath, "rb");
    if (in == nullptr)
        return 1;
    FILE *out = ops.create(paths.copy);
    if (out == nullptr) {
        job.log.Info(kTag, "%s could not be created (%s)", paths.copy, strerror(errno));
        fclose(in);
        return 1;
    }
    std::unique_ptr<char[]> chunk(new char[64 * 1024]);
    bool copied = true;
    size_t n;
    while (copied && (n = fread(chunk.get(), 1, 64 * 1024, in)) > 0)
        copied = fwrite(chunk.get(), 1, n, out) == n;
    copied = copied && ferror(in) == 0;
    fclose(in);
    char why[160] = "";
    bool closed = Install_closeWritten(ops, out, why, sizeof why);
    if (!closed)
        job.log.Info(kTag, "%s could not be written (%s)", paths.copy, why);
    if (copied && closed && !ops.step("backup copy written"))
        return -1;
    if (copied && closed && ops.rename(paths.copy, paths.backup) == 0)
        return 0;
    ops.remove(paths.copy);
    return 1;
}

/// The installed file kept as the backup. 0 done (or nothing to keep), 1 failed, -1 abandoned.
int Install_backup(UpdateBinaryJob &job, const InstallPaths &paths)
{
    const UpdateFileOps &ops = *job.ops;
    if (ops.remove(paths.copy) != 0) // a copy left by an update that never finished
        job.log.Info(kTag, "%s could not be removed (%s)", paths.copy, strerror(errno));
    struct stat installed;
    if (stat(job.pluginPath, &installed) != 0) {
        if (errno != ENOENT) {
            job.log.Info(kTag, "can't archive %s", job.fileName);
            return 1;
        }
        // An earlier backup may be the only copy left: it stays.
        job.log.Info(kTag, "%s is missing, nothing to archive", job.pluginPath);
        return 0;
    }
    if (ops.remove(paths.backup) != 0) {
        job.log.Info(kTag, "can't archive %s", job.fileName);
        job.log.Info(kTag, "The earlier backup %s could not be removed (%s)", paths.backup, strerror(errno));
        return 1;
    }
    if (!ops.step("old backup removed"))
        return -1;
    if (ops.link(job.pluginPath, paths.backup) != 0) {
        job.log.Info(kTag, "%s could not be linked as the backup (%s); copying it", job.fileName, strerror(errno));
        int copy = Install_copy(job, paths);
        if (copy != 0) {
            if (copy > 0)
                job.log.Info(kTag, "can't archive %s", job.fileName);
            return copy;
        }
    }
    if (ops.syncFolder(paths.folder) != 0)
        job.log.Info(kTag, "The folder %s could not be synced (%s)", paths.folder, strerror(errno));
    job.log.Info(kTag, "%s successfully archived", job.fileName);
    return ops.step("archived") ? 0 : -1;
}

int Install_end(UpdateBinaryJob &job, int result)
{
    job.result = result;
    return result;
}

} // namespace

const UpdateFileOps kUpdateFileOps = {Ops_create, Ops_flush,  Ops_sync,       Ops_close, Ops_link,
                                      Ops_rename, Ops_remove, Ops_syncFolder, Ops_step};

int updateBinary(UpdateBinaryJob &job, const std::atomic<bool> *cancel)
{
    const UpdateFileOps &ops = *job.ops;
    job.log.Debug(kTag, "Entering function, folder %s, binaryName %s", job.folder, job.fileName);
    InstallPaths paths;
    if (!Install_paths(job.pluginPath, &paths)) {
        job.log.Info(kTag, "The path %s is too long for its backup", job.pluginPath);
        return Install_end(job, UPDATE_RESULT_DOWNLOAD_FAILED);
    }
    char expected[SHA256_HEX_SIZE];
    if (!Install_checksum(job, expected, cancel) || !Install_download(job, paths, cancel))
        return Install_end(job, UPDATE_RESULT_DOWNLOAD_FAILED);
    if (!ops.step("downloaded"))
        return Install_end(job, UPDATE_RESULT_ABANDONED);
    if (!Install_verify(job, paths.latest, expected)) {
        ops.remove(paths.latest);
        return Install_end(job, UPDATE_RESULT_DOWNLOAD_FAILED);
    }
    if (!ops.step("verified"))
        return Install_end(job, UPDATE_RESULT_ABANDONED);

    int backup = Install_backup(job, paths);
    if (backup < 0)
        return Install_end(job, UPDATE_RESULT_ABANDONED);
    if (backup > 0) {
        ops.remove(paths.latest);
        return Install_end(job, UPDATE_RESULT_BACKUP_FAILED);
    }

    // One rename: P names the old file until it names the new one.
    if (ops.rename(paths.latest, job.pluginPath) != 0) {
        int error = errno;
        job.log.Info(kTag, "error while updating %s, rolling back", job.fileName);
        job.log.Info(kTag, "%s could not take the place of %s (%s)", paths.latest, job.pluginPath, strerror(error));
        ops.remove(paths.latest);
        struct stat installed;
        if (stat(job.pluginPath, &installed) == 0)
            job.log.Info(kTag, "%s successfully roll back", job.fileName);
        else
            job.log.Info(kTag, "%s is still missing", job.pluginPath);
        return Install_end(job, UPDATE_RESULT_ROLLED_BACK);
    }
    if (!ops.step("replaced"))
        return Install_end(job, UPDATE_RESULT_ABANDONED);
    if (ops.syncFolder(paths.folder) != 0)
        job.log.Info(kTag, "The folder %s could not be synced (%s)", paths.folder, strerror(errno));
    job.log.Info(kTag, "%s successfully updated", job.fileName);
    return Install_end(job, UPDATE_RESULT_REPLACED);
}

bool UpdateBinary_Prepare(UpdateBinaryJob &job)
{
    // X-Plane 11 and 12 load 64-bit Linux plug-ins from "lin_x64"; older layouts are not offered.
    snprintf(job.folder, sizeof job.folder, "%s", "lin_x64");
    snprintf(job.fileName, sizeof job.fileName, "%s", "Vellomir64.xpl");
    const char *separator = XPLMGetDirectorySeparator();
    char relative[64];
    snprintf(relative, sizeof relative, "%s%s%s", job.folder, separator != nullptr ? separator : "/", job.fileName);
    if (!Utils_PluginFilePath(relative, job.pluginPath, sizeof job.pluginPath)) {
        PrintInfo("updatePlugin", "The plug-in's path is too long, no update");
        return false;
    }
    if (Update_ServerState() != UPDATE_SERVER_OK) {
        PrintInfo("updatePlugin", "No https:// update server configured (updateUrl in Settings.txt), no update");
        return false;
    }
    bool fits = Update_Address(job.binaryUrl, sizeof job.binaryUrl,
                               rcBuild ? "/update/binaries.testing/%s/%s" : "/update/binaries/%s/%s", job.folder,
                               job.fileName);
    int n = snprintf(job.checksumUrl, sizeof job.checksumUrl, "%s.sha256", job.binaryUrl);
    if (!fits || n < 0 || (size_t)n >= sizeof job.checksumUrl) {
        PrintInfo("updatePlugin", "The update server's address is too long (updateUrl in Settings.txt), no update");
        return false;
    }
    return true;
}

void updatePlugin()
{
    PrintDebug("updatePlugin", "Entering function");
    if (UpdateWorker_Busy()) {
        PrintInfo("updatePlugin", "An update check or download is already running");
        return;
    }
    std::unique_ptr<UpdateBinaryJob> job(new UpdateBinaryJob);
    if (!UpdateBinary_Prepare(*job)) {
        CreateWarningWinControl(400, 600, 340, 100, "Vellomir - Update failed", "Download of required files failed!");
        return;
    }
    UpdateWorker_StartInstall(std::move(job));
}

void UpdateBinary_Finish(UpdateBinaryJob &job)
{
    job.log.Print();
    switch (job.result) {
    case UPDATE_RESULT_REPLACED:
        updateRestartPending = true;
        CreateUpdateControlFase2(400, 600, 420, 120, "Vellomir - Update Complete!",
                                 "New version installed successfully!");
        break;
    case UPDATE_RESULT_BACKUP_FAILED:
        CreateWarningWinControl(400, 600, 340, 100, "Vellomir - Update failed", "Backup failed");
        break;
    case UPDATE_RESULT_ROLLED_BACK:
        CreateWarningWinControl(400, 600, 340, 100, "Vellomir - Update failed", "Update failed, rollback successful");
        break;
    default:
        CreateWarningWinControl(400, 600, 340, 100, "Vellomir - Update failed", "Download of required files failed!");
        break;
    }
}
