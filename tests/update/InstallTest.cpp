// Installing a new binary: end to end with the real plug-in loaded from the path being replaced, then a
// fault and a crash at every step, each ending with a complete binary at the plug-in's path.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <openssl/sha.h>
#include <sstream>
#include <unistd.h>

#include "plugin/Menu.h"
#include "update/Sha256.h"
#include "update/UpdateFixtures.h"
#include "update/UpdateInstall.h"

PLUGIN_API void XPluginStop(void);

namespace {

using updatetest::UpdateServerTest;

const std::string kPlugin = "Resources/plugins/Vellomir64/lin_x64/Vellomir64.xpl";
const std::string kBinaryPath = "/update/binaries/lin_x64/Vellomir64.xpl";

std::string ReadAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Sha256Line(const std::string &data)
{
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256((const unsigned char *)data.data(), data.size(), digest);
    char hex[SHA256_HEX_SIZE];
    Sha256_Hex(digest, hex);
    return std::string(hex) + "  Vellomir64.xpl\n";
}

// MARK: file operations that fail on demand

struct Faults {
    std::string writeFullSuffix, syncFailSuffix, closeFailSuffix; ///< files written to a full disk
    int linkErrno = 0;
    int replaceErrno = 0; ///< the rename onto the plug-in's path fails
    std::string abandonAfter;
};
Faults gFaults;
std::string gPluginPath;

bool EndsWith(const std::string &text, const std::string &suffix)
{
    return !suffix.empty() && text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

/// A disk with no room left: every write fails (a cookie's write reports a failure as 0 bytes written).
ssize_t FullDisk_write(void *, const char *, size_t)
{
    errno = ENOSPC;
    return 0;
}

std::map<FILE *, std::string> gOpenFiles;

FILE *Test_create(const char *path)
{
    FILE *file = kUpdateFileOps.create(path);
    if (file != nullptr && EndsWith(path, gFaults.writeFullSuffix)) {
        fclose(file);
        file = fopencookie(nullptr, "w", {nullptr, FullDisk_write, nullptr, nullptr});
        setvbuf(file, nullptr, _IONBF, 0); // the write itself meets the full disk
    }
    if (file != nullptr)
        gOpenFiles[file] = path;
    return file;
}

int Test_sync(FILE *file)
{
    if (EndsWith(gOpenFiles[file], gFaults.syncFailSuffix)) {
        errno = ENOSPC;
        return -1;
    }
    return 0; // the data reaches the disk in its own time: the tests do not wait for it
}

int Test_syncFolder(const char *)
{
    return 0;
}

int Test_close(FILE *file)
{
    std::string path = gOpenFiles[file];
    gOpenFiles.erase(file);
    int result = fclose(file);
    if (EndsWith(path, gFaults.closeFailSuffix)) {
        errno = ENOSPC;
        return -1;
    }
    return result;
}

int Test_link(const char *existing, const char *newPath)
{
    if (gFaults.linkErrno != 0) {
        errno = gFaults.linkErrno;
        return -1;
    }
    return kUpdateFileOps.link(existing, newPath);
}

int Test_rename(const char *from, const char *to)
{
    if (gFaults.replaceErrno != 0 && gPluginPath == to) {
        errno = gFaults.replaceErrno;
        return -1;
    }
    return kUpdateFileOps.rename(from, to);
}

bool Test_step(const char *done)
{
    return gFaults.abandonAfter != done;
}

const UpdateFileOps kTestOps = {Test_create, kUpdateFileOps.flush, Test_sync, Test_close, Test_link, Test_rename,
                                kUpdateFileOps.remove, Test_syncFolder, Test_step};

// MARK: fixture

class UpdateInstall : public UpdateServerTest {
  public:
    void SetUp() override
    {
        UpdateServerTest::SetUp();
        oldImage_ = ReadAll(VELLOMIR_XPL_PATH);
        ASSERT_GT(oldImage_.size(), 4096u);
        newImage_ = oldImage_ + std::string("\0new build\0", 11); // loads as well: the loader ignores the tail
        // The tables need no loadable new file (the end-to-end test loads one): a small one with the
        // plug-in's ELF header keeps them quick.
        smallImage_ = oldImage_.substr(0, 64) + "a new build, cut short for the fault tables";
        gFaults = Faults();
    }
    void TearDown() override
    {
        simhost::UnloadPlugin();
        gFaults = Faults();
        UpdateServerTest::TearDown();
    }
    /// A fresh host running the old binary, loaded from the plug-in's path, and a server offering the new.
    void StartRow(const std::string &offered)
    {
        simhost::UnloadPlugin();
        ResetHost(12000);
        ASSERT_TRUE(simhost::LoadPlugin(VELLOMIR_XPL_PATH)) << simhost::LastError();
        simhost::WriteFile(kPlugin + ".backup", "an older backup");
        server.Script(kBinaryPath, {Answer(200, offered)});
        server.Script(kBinaryPath + ".sha256", {Answer(200, Sha256Line(offered))});
        updateLimits = UpdateLimits();
        updateLimits.indexTimeoutMs = 3000;
    }
    int Install()
    {
        UpdateBinaryJob job;
        EXPECT_TRUE(UpdateBinary_Prepare(job));
        gPluginPath = job.pluginPath;
        job.ops = &kTestOps;
        updateBinary(job, nullptr);
        job.log.Print();
        return job.result;
    }
    /// The plug-in's path holds a complete binary, no download is left behind and the loaded copy runs.
    void ExpectComplete(const std::string &row, const std::string &image)
    {
        EXPECT_TRUE(simhost::ReadFile(kPlugin) == image) << row << ": the plug-in's path holds another file";
        EXPECT_FALSE(simhost::FileExists(kPlugin + ".latest")) << row;
        EXPECT_FALSE(simhost::FileExists(kPlugin + ".backup.copy")) << row;
        simhost::RunFrames(3);
        EXPECT_TRUE(simhost::PluginLoaded()) << row;
        EXPECT_TRUE(simhost::HostErrors().empty()) << row;
    }

    std::string oldImage_, newImage_, smallImage_;
};

TEST_F(UpdateInstall, TheNewBinaryTakesThePathWhileTheLoadedOneRunsOnAndLoadsInAFreshHost)
{
    StartRow(newImage_);
    simhost::PressCloseBox(simhost::FindWindowByTitle("Vellomir - Welcome!"));
    updatePlugin();
    ASSERT_TRUE(RunWorker());
    EXPECT_TRUE(simhost::ReadFile(kPlugin) == newImage_);
    EXPECT_TRUE(simhost::ReadFile(kPlugin + ".backup") == oldImage_);
    EXPECT_FALSE(simhost::FileExists(kPlugin + ".latest"));
    EXPECT_TRUE(Logged("Vellomir64.xpl successfully archived"));
    EXPECT_TRUE(Logged("Vellomir64.xpl successfully updated"));
    EXPECT_TRUE(updateRestartPending);
    EXPECT_EQ(Captions("Vellomir - Update Complete!"),
              (std::vector<std::string>{"New version installed successfully!", "",
                                        "A backup is available in the plugin folder. Please restart X-Plane."}));

    // The old copy, still loaded, keeps working: frames and a menu item.
    simhost::RunFrames(5);
    ASSERT_TRUE(simhost::ClickMenuItem("Vellomirv2", "?"));
    EXPECT_NE(simhost::FindWindowByTitle("About"), nullptr);
    EXPECT_TRUE(simhost::HostErrors().empty());

    // "Ok" stops the plug-in; the simulator's own stop at exit comes after and does nothing more.
    simhost::ClearLog();
    ASSERT_TRUE(simhost::ClickWidget(ControlUpdateOkButtonFase2));
    XPluginStop();
    EXPECT_EQ(LogCount("Writing settings"), 1);
    EXPECT_FALSE(updateFase2IsOpen);
    EXPECT_TRUE(simhost::HostErrors().empty());

    std::string installed = simhost::ReadFile(kPlugin);
    char copy[] = "/tmp/vellomir-update-XXXXXX";
    int fd = mkstemp(copy);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, installed.data(), installed.size()), (ssize_t)installed.size());
    close(fd);
    simhost::UnloadPlugin();
    ResetHost(12000);
    EXPECT_TRUE(simhost::LoadPlugin(copy)) << simhost::LastError();
    EXPECT_EQ(simhost::PluginName(), "Vellomir v2.1.0");
    unlink(copy);
}

TEST_F(UpdateInstall, EveryFaultLeavesACompleteBinaryAtThePluginsPath)
{
    struct Row {
        const char *name;
        void (*arrange)(UpdateInstall &test);
        int result;
        bool installed;
        const char *logLine;
    } rows[] = {
        {"connection cut mid-body",
         [](UpdateInstall &t) {
             t.server.Script(kBinaryPath, {{200, t.smallImage_, 0, "", (long)t.smallImage_.size() / 2}});
         },
         UPDATE_RESULT_DOWNLOAD_FAILED, false, "failed with http code 0"},
        {"body over the bound", [](UpdateInstall &t) { updateLimits.binaryMaxBytes = t.smallImage_.size() - 1; },
         UPDATE_RESULT_DOWNLOAD_FAILED, false, "failed with http code 0"},
        {"binary not found", [](UpdateInstall &t) { t.server.Script(kBinaryPath, {Answer(404, "missing")}); },
         UPDATE_RESULT_DOWNLOAD_FAILED, false, "failed with http code 404"},
        {"checksum of another file",
         [](UpdateInstall &t) { t.server.Script(kBinaryPath + ".sha256", {Answer(200, Sha256Line(t.oldImage_))}); },
         UPDATE_RESULT_DOWNLOAD_FAILED, false, "does not match"},
        {"checksum missing", [](UpdateInstall &t) { t.server.Script(kBinaryPath + ".sha256", {Answer(404)}); },
         UPDATE_RESULT_DOWNLOAD_FAILED, false, "could not be fetched (HTTP status 404), update refused"},
        {"checksum not a digest",
         [](UpdateInstall &t) { t.server.Script(kBinaryPath + ".sha256", {Answer(200, "<html>sha</html>")}); },
         UPDATE_RESULT_DOWNLOAD_FAILED, false, "holds no SHA-256 digest, update refused"},
        {"not a plug-in",
         [](UpdateInstall &t) {
             std::string page = "<html>" + std::string(100, ' ') + "</html>";
             t.server.Script(kBinaryPath, {Answer(200, page)});
             t.server.Script(kBinaryPath + ".sha256", {Answer(200, Sha256Line(page))});
         },
         UPDATE_RESULT_DOWNLOAD_FAILED, false, "is not a 64-bit Linux plug-in, update refused"},
        {"disk full at write", [](UpdateInstall &) { gFaults.writeFullSuffix = ".latest"; },
         UPDATE_RESULT_DOWNLOAD_FAILED, false, "failed with http code 0"},
        {"disk full at sync", [](UpdateInstall &) { gFaults.syncFailSuffix = ".latest"; },
         UPDATE_RESULT_DOWNLOAD_FAILED, false, "(sync: No space left on device)"},
        {"disk full at close", [](UpdateInstall &) { gFaults.closeFailSuffix = ".latest"; },
         UPDATE_RESULT_DOWNLOAD_FAILED, false, "(close: No space left on device)"},
        {"link refused, copied instead", [](UpdateInstall &) { gFaults.linkErrno = EPERM; }, UPDATE_RESULT_REPLACED,
         true, "could not be linked as the backup (Operation not permitted); copying it"},
        {"link refused, copy on a full disk",
         [](UpdateInstall &) {
             gFaults.linkErrno = EPERM;
             gFaults.writeFullSuffix = ".copy";
         },
         UPDATE_RESULT_BACKUP_FAILED, false, "can't archive Vellomir64.xpl"},
        {"rename failing", [](UpdateInstall &) { gFaults.replaceErrno = EIO; }, UPDATE_RESULT_ROLLED_BACK, false,
         "Vellomir64.xpl successfully roll back"},
        {"plug-in file missing", [](UpdateInstall &) { unlink((simhost::PluginFolder() + "lin_x64/Vellomir64.xpl").c_str()); },
         UPDATE_RESULT_REPLACED, true, "is missing, nothing to archive"},
        // Last: the test server holds later requests while it stalls.
        {"stalled download",
         [](UpdateInstall &t) {
             updateLimits.lowSpeedSeconds = 1;
             t.server.Script(kBinaryPath, {Answer(200, t.smallImage_, 2500)});
         },
         UPDATE_RESULT_DOWNLOAD_FAILED, false, "failed with http code 0"},
    };
    for (const Row &row : rows) {
        StartRow(smallImage_);
        gFaults = Faults();
        row.arrange(*this);
        EXPECT_EQ(Install(), row.result) << row.name;
        EXPECT_TRUE(Logged(row.logLine)) << row.name;
        ExpectComplete(row.name, row.installed ? smallImage_ : oldImage_);
        if (row.result == UPDATE_RESULT_REPLACED && std::string(row.name) != "plug-in file missing") {
            EXPECT_TRUE(simhost::ReadFile(kPlugin + ".backup") == oldImage_) << row.name;
        }
    }
}

TEST_F(UpdateInstall, ACrashBetweenAnyTwoStepsLeavesABinaryAndTheNextUpdateSucceeds)
{
    struct Row {
        const char *step;
        bool linkRefused;
    } rows[] = {{"downloaded", false},       {"verified", false}, {"old backup removed", false},
                {"backup copy written", true}, {"archived", false}, {"replaced", false}};
    for (const Row &row : rows) {
        StartRow(smallImage_);
        gFaults = Faults();
        gFaults.abandonAfter = row.step;
        gFaults.linkErrno = row.linkRefused ? EPERM : 0;
        EXPECT_EQ(Install(), UPDATE_RESULT_ABANDONED) << row.step;
        bool replaced = std::string(row.step) == "replaced";
        EXPECT_TRUE(simhost::ReadFile(kPlugin) == (replaced ? smallImage_ : oldImage_)) << row.step;

        gFaults = Faults();
        EXPECT_EQ(Install(), UPDATE_RESULT_REPLACED) << row.step;
        ExpectComplete(row.step, smallImage_);
        EXPECT_TRUE(simhost::ReadFile(kPlugin + ".backup") == (replaced ? smallImage_ : oldImage_)) << row.step;
    }
}

} // namespace
