// The navigation database the XPLMNavigation calls search: loaded lazily from the simulated X-Plane
// folder the way X-Plane loads it at start (global data, Custom Data overrides, scenery apt.dat files).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "HostInternal.h"
#include "NavDatabase.h"

namespace fs = std::filesystem;

namespace simhost {
namespace detail {

namespace {

struct NavState {
    bool loaded = false;
    bool stale = false;
    std::vector<NavAid> entries;
    std::vector<AptStartup> startups;
    NavIndex index;
    NavDatabaseInfo info;
};

NavState &nav()
{
    static NavState state;
    return state;
}

const char *FileName(NavDataFile file)
{
    return file == NavDataFile::EarthNav ? "earth_nav.dat" : "earth_fix.dat";
}

bool EndsWith(const std::string &text, const char *tail)
{
    size_t n = strlen(tail);
    return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

/// X-Plane reads Custom Data/<file> instead of its own when the user installed one.
std::string GlobalDataFile(const std::string &folder, NavDataFile file)
{
    std::string custom = folder + NavDataPath(file, true);
    return fs::exists(custom) ? custom : folder + NavDataPath(file, false);
}

/// The database's order: by type (airports, NDB, VOR, ILS ... fixes, DME), file order within a type.
int TypeRank(XPLMNavType type)
{
    for (int bit = 0; bit < 13; bit++)
        if (type == (1 << bit))
            return bit;
    return 13;
}

void Load()
{
    NavState &n = nav();
    auto started = std::chrono::steady_clock::now();
    const std::string &folder = host().folder;
    NavWarnings warnings;
    std::vector<NavAid> entries;
    std::vector<AptStartup> startups;
    NavDatabaseInfo info;

    std::unordered_set<std::string> airportIds;
    for (const std::string &path : NavAptDatFiles(folder, host().options.xplaneVersion))
        if (NavReadAptDat(path, entries, airportIds, warnings, &startups))
            info.files.push_back(path);
    std::string navPath = GlobalDataFile(folder, NavDataFile::EarthNav);
    if (NavReadEarthNav(navPath, entries, warnings))
        info.files.push_back(navPath);
    std::string fixPath = GlobalDataFile(folder, NavDataFile::EarthFix);
    if (NavReadEarthFix(fixPath, entries, warnings))
        info.files.push_back(fixPath);

    std::stable_sort(entries.begin(), entries.end(),
                     [](const NavAid &a, const NavAid &b) { return TypeRank(a.type) < TypeRank(b.type); });
    for (const NavAid &a : entries) {
        if (a.type == xplm_Nav_Airport)
            info.airports++;
        else if (a.type == xplm_Nav_Fix)
            info.fixes++;
        else
            info.navaids++;
    }
    n.entries = std::move(entries);
    n.startups = std::move(startups);
    n.index.Build(n.entries);
    n.loaded = true;
    n.stale = false;
    info.loaded = true;
    info.warningCount = warnings.count;
    info.warnings = warnings.lines;
    info.loadSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    n.info = info;
    if (host().options.echoLog)
        for (const std::string &w : info.warnings)
            fprintf(stderr, "simhost: navigation data: %s\n", w.c_str());
}

void EnsureLoaded()
{
    if (!nav().loaded || nav().stale)
        Load();
}

} // namespace

const std::vector<NavAid> &NavDatabase()
{
    EnsureLoaded();
    return nav().entries;
}

const std::vector<AptStartup> &NavStartups()
{
    EnsureLoaded();
    return nav().startups;
}

const NavAid *NavDatabaseEntry(XPLMNavRef ref)
{
    const std::vector<NavAid> &entries = NavDatabase();
    if (ref < 0 || (size_t)ref >= entries.size())
        return nullptr;
    return &entries[(size_t)ref];
}

namespace {
int gFindNavAidCalls = 0;
}

void ResetNavDatabase()
{
    gFindNavAidCalls = 0;
    NavState &n = nav();
    n.entries.clear();
    n.entries.shrink_to_fit();
    n.startups.clear();
    n.startups.shrink_to_fit();
    n.index.Clear();
    n.loaded = false;
    n.stale = false;
    n.info = NavDatabaseInfo();
}

void NoteFileWritten(const std::string &relativePath)
{
    if (EndsWith(relativePath, "apt.dat") || EndsWith(relativePath, "earth_nav.dat") ||
        EndsWith(relativePath, "earth_fix.dat") || EndsWith(relativePath, "scenery_packs.ini"))
        nav().stale = true;
}

} // namespace detail

using namespace detail;

std::string NavDataPath(NavDataFile file, bool customData)
{
    return std::string(customData ? "Custom Data/" : "Resources/default data/") + FileName(file);
}

bool LayNavData(NavDataFile file, const std::string &sourcePath, bool customData)
{
    return CopyFileInto(sourcePath, NavDataPath(file, customData));
}

void WriteNavData(NavDataFile file, const std::string &contents, bool customData)
{
    WriteFile(NavDataPath(file, customData), contents);
}

NavDatabaseInfo LoadNavDatabase()
{
    Load();
    return nav().info;
}

NavDatabaseInfo NavDatabaseStatus()
{
    return nav().info;
}

int FindNavAidCalls()
{
    return gFindNavAidCalls;
}

} // namespace simhost

using namespace simhost::detail;

// MARK: SDK calls

XPLM_API XPLMNavRef XPLMGetFirstNavAid(void)
{
    return NavDatabase().empty() ? XPLM_NAV_NOT_FOUND : 0;
}

XPLM_API XPLMNavRef XPLMGetNextNavAid(XPLMNavRef inNavAidRef)
{
    const std::vector<NavAid> &entries = NavDatabase();
    if (inNavAidRef < 0 || (size_t)inNavAidRef + 1 >= entries.size())
        return XPLM_NAV_NOT_FOUND;
    return inNavAidRef + 1;
}

XPLM_API XPLMNavRef XPLMFindFirstNavAidOfType(XPLMNavType inType)
{
    EnsureLoaded();
    return nav().index.FirstOfType(inType);
}

XPLM_API XPLMNavRef XPLMFindLastNavAidOfType(XPLMNavType inType)
{
    EnsureLoaded();
    return nav().index.LastOfType(inType);
}

XPLM_API XPLMNavRef XPLMFindNavAid(const char *inNameFragment, const char *inIDFragment, float *inLat, float *inLon,
                                   int *inFrequency, XPLMNavType inType)
{
    gFindNavAidCalls++;
    EnsureLoaded();
    return nav().index.Find(nav().entries, inNameFragment, inIDFragment, inLat, inLon, inFrequency, inType);
}

XPLM_API void XPLMGetNavAidInfo(XPLMNavRef inRef, XPLMNavType *outType, float *outLatitude, float *outLongitude,
                                float *outHeight, int *outFrequency, float *outHeading, char *outID, char *outName,
                                char *outReg)
{
    const NavAid *a = NavDatabaseEntry(inRef);
    if (a == nullptr) {
        HostError("XPLMGetNavAidInfo called with an invalid navaid reference %d", inRef);
        if (outType != nullptr)
            *outType = xplm_Nav_Unknown;
        return;
    }
    if (outType != nullptr)
        *outType = a->type;
    if (outLatitude != nullptr)
        *outLatitude = a->lat;
    if (outLongitude != nullptr)
        *outLongitude = a->lon;
    if (outHeight != nullptr)
        *outHeight = a->heightM;
    if (outFrequency != nullptr)
        *outFrequency = a->frequency;
    if (outHeading != nullptr)
        *outHeading = a->heading;
    if (outID != nullptr)
        snprintf(outID, 32, "%s", a->id.c_str());
    if (outName != nullptr)
        snprintf(outName, 256, "%s", a->name.c_str());
    if (outReg != nullptr) {
        // 1 when the navaid lies in the scenery loaded around the aircraft (its tile and the 8 around it).
        double lat = simhost::GetDouble("sim/flightmodel/position/latitude");
        double lon = simhost::GetDouble("sim/flightmodel/position/longitude");
        double dLon = std::fabs(std::floor(a->lon) - std::floor(lon));
        dLon = std::min(dLon, 360.0 - dLon);
        *outReg = std::fabs(std::floor(a->lat) - std::floor(lat)) <= 1.0 && dLon <= 1.0 ? 1 : 0;
    }
}
