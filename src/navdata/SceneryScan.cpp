// Utils_readAllAptDat: the scan of the scenery at start, in X-Plane's order of scenery priority,
// then the plug-in's own navigation data.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <set>

#include "XPLMUtilities.h"
#include "navdata/AptLine.h"
#include "navdata/AptNav.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "ui/Utils.h"

namespace {

/// Size of the host's folder listing buffer; a longer listing is asked for in pages.
const int kListBufferSize = 64000;
const int kListIndexCount = 4096;
const size_t kMaxEntryName = 255;
/// First X-Plane version with the Global Scenery folder layout.
const int kVersionXP12 = 12000;
const char kCustomScenery[] = "Custom Scenery";

std::string JoinPath(const std::string &root, std::initializer_list<const char *> names, const std::string &separator)
{
    std::string path = root;
    bool first = true;
    for (const char *name : names) {
        if (!first)
            path += separator;
        path += name;
        first = false;
    }
    return path;
}

/// The AIRAC cycle of the plug-in's navigation data file fileName ("earth_nav.dat"), kind "nav" or "fix".
std::string CycleOf(const std::string &path, const char *fileName, const char *kind)
{
    FILE *file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        PrintInfo("Utils_readAllAptDat", "can't find custom %s data %s", kind, path.c_str());
        return "";
    }
    fclose(file);
    std::string cycle = ottieniVersioneAiracFile(path);
    PrintInfo("Utils_readAllAptDat", "%s version: %s", fileName, cycle.c_str());
    return cycle;
}

std::string PackAptDat(const std::string &packFolder, const std::string &separator)
{
    std::string path = packFolder;
    if (path.empty() || path.compare(path.size() - separator.size(), separator.size(), separator) != 0)
        path += separator;
    return path + "Earth nav data" + separator + "apt.dat";
}

struct SceneryPacksIni {
    std::vector<std::string> enabled; ///< pack paths as written, highest priority first
    std::set<std::string> listed;     ///< every pack path named, enabled or not, without a trailing '/'
    int disabled = 0;
};

std::string WithoutTrailingSlash(std::string path)
{
    while (!path.empty() && (path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    return path;
}

/// Reads X-Plane's scenery_packs.ini; false when there is none. Paths inside the X-Plane folder are
/// kept relative to it, as X-Plane writes them.
bool ReadSceneryPacksIni(const std::string &iniPath, const std::string &systemPath, SceneryPacksIni &ini)
{
    FILE *file = fopen(iniPath.c_str(), "rb");
    if (file == nullptr)
        return false;
    char line[APT_LINE_SIZE];
    bool overlong = false;
    int lineNumber = 0;
    while (T_fgetc(file, line, sizeof line, &overlong) > 0) {
        lineNumber++;
        if (overlong) {
            PrintInfo("Utils_readAllAptDat", "%s line %d: longer than %d bytes, skipped", iniPath.c_str(), lineNumber,
                      APT_LINE_SIZE - 1);
            continue;
        }
        line[strcspn(line, "\r\n")] = 0;
        bool enabled = strncmp(line, "SCENERY_PACK ", 13) == 0 || strncmp(line, "SCENERY_PACK\t", 13) == 0;
        bool disabled = strncmp(line, "SCENERY_PACK_DISABLED", 21) == 0;
        if (!enabled && !disabled)
            continue; // the header lines
        const char *path = line + (enabled ? 12 : 21);
        while (*path == ' ' || *path == '\t')
            path++;
        if (*path == 0 || strcmp(path, "*GLOBAL_AIRPORTS*") == 0)
            continue; // the global airports always come after every custom pack here
        if (!systemPath.empty() && strncmp(path, systemPath.c_str(), systemPath.size()) == 0)
            path += systemPath.size();
        ini.listed.insert(WithoutTrailingSlash(path));
        if (enabled) {
            ini.enabled.push_back(path);
        } else {
            ini.disabled++;
            PrintInfo("Utils_readAllAptDat", "scenery pack disabled, not read: %s", path);
        }
    }
    fclose(file);
    return true;
}

} // namespace

std::string convertiPathOSX(const std::string &path)
{
    return path;
}

std::vector<std::string> getDirContent(const std::string &path)
{
    PrintDebug("getDirContent", "AptNav::getDirContent");
    Utils::log(path.c_str(), 0);
    printf("querying: %s\n", path.c_str());
    std::vector<std::string> names;
    std::unique_ptr<char[]> buffer(new char[kListBufferSize]);
    std::unique_ptr<char *[]> indices(new char *[kListIndexCount]);
    for (;;) {
        int total = 0, returned = 0;
        int complete = XPLMGetDirectoryContents(path.c_str(), (int)names.size(), buffer.get(), kListBufferSize,
                                                indices.get(), kListIndexCount, &total, &returned);
        returned = std::max(0, std::min(returned, kListIndexCount));
        for (int i = 0; i < returned; i++) {
            const char *name = indices[(size_t)i];
            size_t room = (size_t)(buffer.get() + kListBufferSize - name);
            names.emplace_back(name, std::min(strnlen(name, room), kMaxEntryName));
        }
        // A folder of more names than one buffer holds is listed page by page.
        if (complete)
            break;
        if (returned == 0) {
            if (names.empty())
                PrintInfo("getDirContent", "cannot list %s", path.c_str());
            break;
        }
    }
    // The host lists in no promised order; sorted, a scan reads the same folder the same way every time.
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> Scenery_CustomAptDatFiles(const std::string &systemPath, const std::string &separator)
{
    std::string customFolder = systemPath + kCustomScenery;
    std::vector<std::string> listing = getDirContent(customFolder);
    std::vector<std::string> files;
    SceneryPacksIni ini;
    if (!ReadSceneryPacksIni(customFolder + separator + "scenery_packs.ini", systemPath, ini)) {
        // Without X-Plane's list, X-Plane ranks the packs by name, the first highest: it is read last, and wins.
        for (auto it = listing.rbegin(); it != listing.rend(); ++it) {
            printf("%s\n", it->c_str());
            files.push_back(PackAptDat(customFolder + separator + *it, separator));
        }
        return files;
    }
    // The pack listed first has the highest priority, so it is read last.
    for (auto it = ini.enabled.rbegin(); it != ini.enabled.rend(); ++it) {
        printf("%s\n", it->c_str());
        files.push_back(PackAptDat((*it)[0] == '/' ? *it : systemPath + *it, separator));
    }
    // Folders the list does not know yet are new packs, which X-Plane puts on top, ranked by name.
    int unlisted = 0;
    for (auto it = listing.rbegin(); it != listing.rend(); ++it) {
        const std::string &name = *it;
        if (name == "scenery_packs.ini" || ini.listed.count(std::string(kCustomScenery) + "/" + name) != 0)
            continue;
        printf("%s\n", name.c_str());
        files.push_back(PackAptDat(customFolder + separator + name, separator));
        unlisted++;
    }
    PrintInfo("Utils_readAllAptDat", "scenery_packs.ini: %i packs enabled, %i disabled, %i not listed",
              (int)ini.enabled.size(), ini.disabled, unlisted);
    return files;
}

void Utils_readAllAptDat()
{
    char systemPath[512] = {0};
    XPLMGetSystemPath(systemPath);
    std::string root = convertiPathOSX(systemPath);
    std::string separator = XPLMGetDirectorySeparator();
    XPLMGetVersions(&gFDV_XPlaneVersion, nullptr, nullptr);

    std::string mainFile;
    if (gFDV_XPlaneVersion < kVersionXP12) {
        mainFile =
            JoinPath(root, {"Resources", "default scenery", "default apt dat", "Earth nav data", "apt.dat"}, separator);
        PrintInfo("Utils_readAllAptDat", "Utils_readAllAptDat using XP11 path: %i %s", gFDV_XPlaneVersion,
                  mainFile.c_str());
    } else {
        mainFile = JoinPath(root, {"Global Scenery", "Global Airports", "Earth nav data", "apt.dat"}, separator);
        PrintInfo("Utils_readAllAptDat", "Utils_readAllAptDat using XP12 path: %i %s", gFDV_XPlaneVersion,
                  mainFile.c_str());
    }
    PrintInfo("Utils_readAllAptDat", "loading X-Plane apt.dat");
    parseSingleAptDat(mainFile);

    PrintInfo("Utils_readAllAptDat", "loading custom sceneries ...");
    for (const std::string &file : Scenery_CustomAptDatFiles(root, separator))
        parseSingleAptDat(file);

    char pluginFolder[1024];
    Utils_PluginFolder(pluginFolder, sizeof pluginFolder);
    std::string navFile = JoinPath(pluginFolder, {"navdata", "earth_nav.dat"}, separator);
    earthNavDatVersion = CycleOf(navFile, "earth_nav.dat", "nav");
    PrintInfo("Utils_readAllAptDat", "reading earth_nav.dat from %s", navFile.c_str());
    parseSingleNavDat(navFile);

    std::string fixFile = JoinPath(pluginFolder, {"navdata", "earth_fix.dat"}, separator);
    earthFixDatVersion = CycleOf(fixFile, "earth_fix.dat", "fix");
    PrintInfo("Utils_readAllAptDat", "airport index: %i airports, ILS index: %i airports", (int)IcaoMap.size(),
              (int)ILSMap.size());
}
