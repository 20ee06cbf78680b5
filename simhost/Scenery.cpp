// The scenery and navigation data of the simulated X-Plane folder, laid from files on disk.
#include <filesystem>
#include <fstream>

#include "HostInternal.h"

namespace fs = std::filesystem;

namespace simhost {

std::string GlobalAptDatPath(int xplaneVersion)
{
    if (xplaneVersion < 12000)
        return "Resources/default scenery/default apt dat/Earth nav data/apt.dat";
    return "Global Scenery/Global Airports/Earth nav data/apt.dat";
}

bool InstallGlobalAptDat(const std::string &sourceFile)
{
    return CopyFileInto(sourceFile, GlobalAptDatPath(detail::host().options.xplaneVersion));
}

bool InstallCustomScenery(const std::string &pack, const std::string &aptDatSource)
{
    std::string earthNavData = "Custom Scenery/" + pack + "/Earth nav data";
    std::error_code error;
    fs::create_directories(fs::path(SystemPath()) / earthNavData, error);
    if (error)
        return false;
    return aptDatSource.empty() || CopyFileInto(aptDatSource, earthNavData + "/apt.dat");
}

void WriteSceneryPacksIni(const std::vector<SceneryPack> &packs)
{
    std::string ini = "I\n1000 Version\nSCENERY\n\n";
    for (const SceneryPack &pack : packs)
        ini += (pack.enabled ? "SCENERY_PACK Custom Scenery/" : "SCENERY_PACK_DISABLED Custom Scenery/") + pack.name +
               "/\n";
    if (detail::host().options.xplaneVersion >= 12000)
        ini += "SCENERY_PACK *GLOBAL_AIRPORTS*\n";
    WriteFile("Custom Scenery/scenery_packs.ini", ini);
}

bool InstallNavData(const std::string &sourceFolder)
{
    std::error_code error;
    if (!fs::is_directory(sourceFolder, error))
        return false;
    fs::path target = fs::path(PluginFolder()) / "navdata";
    fs::create_directories(target, error);
    fs::copy(sourceFolder, target, fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
    return !error;
}

bool InstallSample(const std::string &sampleFolder)
{
    fs::path navdata = fs::path(sampleFolder) / "navdata";
    bool aptDat = InstallGlobalAptDat((fs::path(sampleFolder) / "apt.dat").string());
    bool pluginNavData = InstallNavData(navdata.string());
    // The region's navaids and fixes are also X-Plane's own navigation data.
    bool earthNav = LayNavData(NavDataFile::EarthNav, (navdata / "earth_nav.dat").string());
    bool earthFix = LayNavData(NavDataFile::EarthFix, (navdata / "earth_fix.dat").string());
    // The region's ground, when the sample has it.
    fs::path terrain = fs::path(sampleFolder) / "terrain.dem";
    std::error_code error;
    bool ground = !fs::exists(terrain, error) || LoadTerrain(terrain.string());
    return ground && aptDat && pluginNavData && earthNav && earthFix;
}

} // namespace simhost
