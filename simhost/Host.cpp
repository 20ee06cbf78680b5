// The simulated X-Plane's life: the folder tree, versions, time and frames, the log and speech.
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "HostInternal.h"
#include "XPLMProcessing.h"
#include "XPLMUtilities.h"

namespace fs = std::filesystem;

namespace simhost {
namespace detail {

Host &host()
{
    static Host instance;
    return instance;
}

void HostError(const char *format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    host().errors.push_back(text);
    fprintf(stderr, "simhost: %s\n", text);
}

namespace {

void MakeFolderTree(const std::string &root)
{
    static const char *const folders[] = {
        "Resources/plugins/Vellomir64/lin_x64",
        "Resources/default scenery/default apt dat/Earth nav data",
        "Global Scenery/Global Airports/Earth nav data",
        "Custom Scenery",
        "Custom Data",
        "Resources/default data",
        "Output/preferences",
    };
    for (const char *folder : folders)
        fs::create_directories(fs::path(root) / folder);
    std::ofstream(fs::path(root) / "Log.txt", std::ios::trunc);
}

/// The seed of the directory listings: the one given, else the environment's, else a random one (then shown
/// is false: the first listing prints it).
unsigned ChooseDirectorySeed(unsigned given, bool &shown)
{
    shown = true;
    if (given != 0)
        return given;
    const char *text = getenv("SIMHOST_DIRECTORY_SEED");
    if (text != nullptr && strtoul(text, nullptr, 10) != 0)
        return (unsigned)strtoul(text, nullptr, 10);
    shown = false;
    unsigned seed = std::random_device()();
    return seed != 0 ? seed : 1;
}

void AppendLogFile(const char *text)
{
    if (host().folder.empty())
        return;
    FILE *f = fopen((host().folder + "Log.txt").c_str(), "ab");
    if (f == nullptr)
        return;
    fputs(text, f);
    fclose(f);
}

} // namespace
} // namespace detail

using namespace detail;

void Reset(const Options &options)
{
    Shutdown();
    Host &h = host();
    h = Host();
    h.options = options;
    if (options.xplaneFolder.empty()) {
        char pattern[] = "/tmp/simhost-xplane-XXXXXX";
        const char *made = mkdtemp(pattern);
        h.temporaryRoot = made != nullptr ? made : "/tmp/simhost-xplane";
        // As installed: the folder's name has a space.
        h.folder = h.temporaryRoot + (options.xplaneVersion >= 12000 ? "/X-Plane 12" : "/X-Plane 11");
    } else {
        h.folder = fs::absolute(options.xplaneFolder).lexically_normal().string();
    }
    if (h.folder.empty() || h.folder.back() != '/')
        h.folder += '/';
    MakeFolderTree(h.folder);
    h.directorySeed = ChooseDirectorySeed(options.directorySeed, h.directorySeedShown);
    ResetDataRefs();
    ResetCommands();
    ResetMenus();
    ResetWindows();
    ResetWidgets();
    ResetAircraft();
    ResetNavDatabase();
    ResetFms();
    ResetTerrain();
    ResetTerrainProbes();
}

void Shutdown()
{
    Host &h = host();
    if (h.plugin.started)
        UnloadPlugin();
    if (!h.temporaryRoot.empty()) {
        std::error_code ignored;
        fs::remove_all(h.temporaryRoot, ignored);
        h.temporaryRoot.clear();
    }
}

const Options &CurrentOptions()
{
    return host().options;
}

void SetXPlaneVersion(int version)
{
    host().options.xplaneVersion = version;
}

unsigned DirectorySeed()
{
    return host().directorySeed;
}

std::string SystemPath()
{
    return host().folder;
}

std::string PluginFolder()
{
    return host().folder + "Resources/plugins/Vellomir64/";
}

void WriteFile(const std::string &relativePath, const std::string &contents)
{
    fs::path path = fs::path(host().folder) / relativePath;
    fs::create_directories(path.parent_path());
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << contents;
    }
    NoteFileWritten(relativePath);
}

bool CopyFileInto(const std::string &source, const std::string &relativePath)
{
    fs::path path = fs::path(host().folder) / relativePath;
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    bool copied = fs::copy_file(source, path, fs::copy_options::overwrite_existing, error);
    NoteFileWritten(relativePath);
    return copied;
}

std::string ReadFile(const std::string &relativePath)
{
    std::ifstream in(fs::path(host().folder) / relativePath, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

bool FileExists(const std::string &relativePath)
{
    return fs::exists(fs::path(host().folder) / relativePath);
}

void RunFrame()
{
    Host &h = host();
    float rate = h.options.frameRate > 0 ? h.options.frameRate : 30.0f;
    h.elapsed += 1.0 / rate;
    h.frames++;
    StepAircraft(1.0f / rate);
    AircraftState aircraft = Aircraft();
    TerrainFrameBegins(aircraft.lat, aircraft.lon, AircraftPlaced());
    BeginFrameRecording();
    DrawWindows();
}

void RunFrames(int count)
{
    for (int i = 0; i < count; i++)
        RunFrame();
}

void RunSeconds(float seconds)
{
    float rate = host().options.frameRate > 0 ? host().options.frameRate : 30.0f;
    RunFrames((int)(seconds * rate + 0.5f));
}

float ElapsedTime()
{
    return (float)host().elapsed;
}

int FrameCount()
{
    return host().frames;
}

const std::vector<std::string> &LogLines()
{
    return host().log;
}

std::vector<std::string> LogLinesSince(size_t index)
{
    const std::vector<std::string> &log = host().log;
    if (index >= log.size())
        return {};
    return std::vector<std::string>(log.begin() + (long)index, log.end());
}

bool LogContains(const std::string &text)
{
    for (const std::string &line : host().log)
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

void ClearLog()
{
    host().logDropped += host().log.size();
    host().log.clear();
}

void ClearSpokenTexts()
{
    host().spokenDropped += host().spoken.size();
    host().spoken.clear();
}

size_t LogLinesDropped()
{
    return host().logDropped;
}

size_t SpokenTextsDropped()
{
    return host().spokenDropped;
}

const std::vector<Spoken> &SpokenTexts()
{
    return host().spoken;
}

std::vector<std::string> HostErrors()
{
    return host().errors;
}

void ClearHostErrors()
{
    host().errors.clear();
}

} // namespace simhost

using namespace simhost::detail;

// MARK: SDK calls

XPLM_API void XPLMGetSystemPath(char *outSystemPath)
{
    snprintf(outSystemPath, 512, "%s", host().folder.c_str());
}

XPLM_API void XPLMGetPrefsPath(char *outPrefsPath)
{
    snprintf(outPrefsPath, 512, "%sOutput/preferences/Set X-Plane.prf", host().folder.c_str());
}

XPLM_API const char *XPLMGetDirectorySeparator(void)
{
    return "/";
}

XPLM_API char *XPLMExtractFileAndPath(char *inFullPath)
{
    char *slash = strrchr(inFullPath, '/');
    if (slash == nullptr)
        return inFullPath;
    *slash = 0;
    return slash + 1;
}

XPLM_API void XPLMGetVersions(int *outXPlaneVersion, int *outXPLMVersion, XPLMHostApplicationID *outHostID)
{
    if (outXPlaneVersion != nullptr)
        *outXPlaneVersion = host().options.xplaneVersion;
    if (outXPLMVersion != nullptr)
        *outXPLMVersion = host().options.xplmVersion;
    if (outHostID != nullptr)
        *outHostID = xplm_Host_XPlane;
}

XPLM_API XPLMLanguageCode XPLMGetLanguage(void)
{
    return xplm_Language_English;
}

XPLM_API void XPLMDebugString(const char *inString)
{
    if (inString == nullptr)
        return;
    Host &h = host();
    if (h.options.echoLog)
        fputs(inString, stderr);
    if (h.options.discardLog)
        return;
    AppendLogFile(inString);
    h.logPartial += inString;
    size_t newline;
    while ((newline = h.logPartial.find('\n')) != std::string::npos) {
        h.log.push_back(h.logPartial.substr(0, newline));
        h.logPartial.erase(0, newline + 1);
    }
}

XPLM_API void XPLMSpeakString(const char *inString)
{
    if (inString == nullptr)
        return;
    host().spoken.push_back(simhost::Spoken{inString, (float)host().elapsed});
}

XPLM_API const char *XPLMGetVirtualKeyDescription(char)
{
    return "";
}

XPLM_API void XPLMReloadScenery(void)
{
}

XPLM_API float XPLMGetElapsedTime(void)
{
    return (float)host().elapsed;
}

XPLM_API int XPLMGetCycleNumber(void)
{
    return host().frames;
}
