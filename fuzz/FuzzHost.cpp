// The simulated X-Plane under the fuzz targets.
#include "FuzzHost.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "Harness.h"

namespace fs = std::filesystem;

namespace fuzz {

namespace {

std::string gFolder;

void RemoveFolder()
{
    simhost::Shutdown();
    std::error_code ignored;
    if (!gFolder.empty())
        fs::remove_all(gFolder, ignored);
}

/// A fresh folder on /dev/shm (writing the settings syncs the file, which a disk makes slow), else /tmp.
std::string MakeFolder()
{
    for (const char *parent : {"/dev/shm", "/tmp"}) {
        std::string pattern = std::string(parent) + "/vellomir-fuzz-XXXXXX";
        if (mkdtemp(&pattern[0]) != nullptr)
            return pattern;
    }
    return "";
}

} // namespace

void StartHost(int xplaneVersion)
{
    if (!gFolder.empty())
        return;
    gFolder = MakeFolder();
    if (gFolder.empty())
        Fail("cannot make a folder for the simulated X-Plane");
    simhost::Options options;
    options.xplaneFolder = gFolder;
    options.xplaneVersion = xplaneVersion;
    options.discardLog = true;
    simhost::Reset(options);
    atexit(RemoveFolder);
    if (getenv("VELLOMIR_FUZZ_STDOUT") == nullptr && freopen("/dev/null", "w", stdout) == nullptr)
        Fail("cannot close standard output");
}

void SetVersion(int xplaneVersion)
{
    simhost::SetXPlaneVersion(xplaneVersion);
}

std::string LayFile(const std::string &relative, const uint8_t *data, size_t size)
{
    return LayFile(relative, std::string((const char *)data, size));
}

std::string LayFile(const std::string &relative, const std::string &contents)
{
    simhost::WriteFile(relative, contents);
    return simhost::SystemPath() + relative;
}

uint8_t Input::Byte()
{
    if (size == 0)
        return 0;
    size--;
    return *data++;
}

uint16_t Input::Word()
{
    uint16_t low = Byte();
    return (uint16_t)(low | (Byte() << 8));
}

int VersionOf(uint8_t selector)
{
    static const int kVersions[] = {10510, 11000, 11330, 11500, 11550, 12000, 12100};
    return kVersions[selector % (sizeof kVersions / sizeof kVersions[0])];
}

void Fail(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    fprintf(stderr, "fuzz invariant broken: ");
    vfprintf(stderr, format, args);
    fprintf(stderr, "\n");
    va_end(args);
    abort();
}

} // namespace fuzz
