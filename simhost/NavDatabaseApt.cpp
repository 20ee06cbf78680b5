// The airports of X-Plane's navigation database: which apt.dat files X-Plane reads, in which priority,
// and what of each airport it keeps (identifier, name, elevation, reference point).
#include <algorithm>
#include <filesystem>

#include "NavDatabase.h"

namespace fs = std::filesystem;

namespace simhost {
namespace detail {

namespace {

/// The airport being read: its header and the extent of its runways and helipads.
struct AptInProgress {
    bool open = false;
    bool skip = false; ///< already defined by a higher-priority scenery
    int headerLine = 0;
    NavAid aid;
    double minLat = 0, maxLat = 0, minLon = 0, maxLon = 0;
    bool hasRunway = false;
    double datumLat = 0, datumLon = 0;
    bool hasDatumLat = false, hasDatumLon = false;
    size_t firstStartup = 0; ///< where its startup locations begin in the output list

    void Extend(double lat, double lon)
    {
        if (!hasRunway) {
            minLat = maxLat = lat;
            minLon = maxLon = lon;
            hasRunway = true;
            return;
        }
        minLat = std::min(minLat, lat);
        maxLat = std::max(maxLat, lat);
        minLon = std::min(minLon, lon);
        maxLon = std::max(maxLon, lon);
    }
};

/// Ends the airport in progress: the reference point is the 1302 datum when given, else the centre of
/// its runways' extent. An airport that is not listed takes its startup locations with it.
void Finish(AptInProgress &apt, const std::string &path, std::vector<NavAid> &out,
            std::unordered_set<std::string> &known, NavWarnings &warnings, std::vector<AptStartup> *startups)
{
    if (!apt.open || apt.skip) {
        apt = AptInProgress();
        return;
    }
    if (apt.hasDatumLat && apt.hasDatumLon && NavValidPosition(apt.datumLat, apt.datumLon)) {
        apt.aid.lat = (float)apt.datumLat;
        apt.aid.lon = (float)apt.datumLon;
    } else if (apt.hasRunway) {
        apt.aid.lat = (float)((apt.minLat + apt.maxLat) / 2.0);
        apt.aid.lon = (float)((apt.minLon + apt.maxLon) / 2.0);
    } else {
        warnings.Add(path, apt.headerLine, "airport without runway, helipad or datum: not listed");
        if (startups != nullptr)
            startups->resize(apt.firstStartup);
        apt = AptInProgress();
        return;
    }
    known.insert(apt.aid.id);
    out.push_back(std::move(apt.aid));
    apt = AptInProgress();
}

/// Adds a runway end or helipad position given by two fields.
void AddPoint(AptInProgress &apt, std::string_view latField, std::string_view lonField, const std::string &path,
              int lineNumber, NavWarnings &warnings)
{
    double lat, lon;
    if (!NavParseDouble(latField, lat) || !NavParseDouble(lonField, lon) || !NavValidPosition(lat, lon)) {
        warnings.Add(path, lineNumber, "bad runway or helipad position");
        return;
    }
    apt.Extend(lat, lon);
}

/// A startup location: row 15 "15 lat lon heading name", row 1300 "1300 lat lon heading type airplanes name".
void AddStartup(const AptInProgress &apt, int code, std::string_view line, const std::string_view *f, int n,
                const std::string &path, int lineNumber, std::vector<AptStartup> &startups, NavWarnings &warnings)
{
    const int nameField = code == 15 ? 4 : 6;
    AptStartup s;
    double heading = 0;
    if (n <= nameField || !NavParseDouble(f[1], s.lat) || !NavParseDouble(f[2], s.lon) ||
        !NavParseDouble(f[3], heading) || !NavValidPosition(s.lat, s.lon)) {
        warnings.Add(path, lineNumber, "startup location needs a position, a heading and a name");
        return;
    }
    s.airport = apt.aid.id;
    s.name = NavRest(line, f[nameField]);
    s.kind = code == 15 ? "legacy" : std::string(f[4]);
    s.heading = (float)heading;
    s.elevationM = apt.aid.heightM;
    startups.push_back(std::move(s));
}

} // namespace

bool NavReadAptDat(const std::string &path, std::vector<NavAid> &out, std::unordered_set<std::string> &known,
                   NavWarnings &warnings, std::vector<AptStartup> *startups)
{
    std::string text;
    size_t pos = 0;
    int version = 0;
    if (!NavOpenDataFile(path, "apt.dat file", text, pos, version, warnings))
        return false;
    AptInProgress apt;
    std::string_view line;
    int lineNumber = 2;
    while (NavNextLine(text, pos, line)) {
        lineNumber++;
        std::string_view f[20];
        int n = NavSplit(line, f, 20);
        if (n == 0)
            continue;
        int code = 0;
        if (!NavParseInt(f[0], code))
            continue; // X-Plane ignores rows it cannot read
        if (code == 99)
            break;
        switch (code) {
        case 1:
        case 16:
        case 17: {
            Finish(apt, path, out, known, warnings, startups);
            double elevation = 0;
            if (n < 5 || !NavParseDouble(f[1], elevation)) {
                warnings.Add(path, lineNumber, "airport header needs elevation and identifier");
                break;
            }
            apt.open = true;
            apt.headerLine = lineNumber;
            apt.aid.type = xplm_Nav_Airport;
            apt.aid.heightM = (float)elevation * kNavFeetToMetres;
            apt.aid.id = std::string(f[4]);
            apt.aid.name = n > 5 ? NavRest(line, f[5]) : std::string();
            apt.skip = known.count(apt.aid.id) != 0;
            apt.firstStartup = startups != nullptr ? startups->size() : 0;
            break;
        }
        case 100: // land runway: the two ends at fields 9/10 and 18/19
            if (!apt.open)
                break;
            if (n < 20) {
                warnings.Add(path, lineNumber, "land runway row needs 20 fields");
                break;
            }
            AddPoint(apt, f[9], f[10], path, lineNumber, warnings);
            AddPoint(apt, f[18], f[19], path, lineNumber, warnings);
            break;
        case 101: // water runway: ends at 4/5 and 7/8
            if (!apt.open)
                break;
            if (n < 9) {
                warnings.Add(path, lineNumber, "water runway row needs 9 fields");
                break;
            }
            AddPoint(apt, f[4], f[5], path, lineNumber, warnings);
            AddPoint(apt, f[7], f[8], path, lineNumber, warnings);
            break;
        case 102: // helipad at 2/3
            if (!apt.open)
                break;
            if (n < 4) {
                warnings.Add(path, lineNumber, "helipad row needs 4 fields");
                break;
            }
            AddPoint(apt, f[2], f[3], path, lineNumber, warnings);
            break;
        case 10: // 810 layout: runway (not taxiway "xxx") centre at 1/2
            if (apt.open && n >= 4 && f[3] != "xxx")
                AddPoint(apt, f[1], f[2], path, lineNumber, warnings);
            break;
        case 15:
        case 1300:
            if (apt.open && !apt.skip && startups != nullptr)
                AddStartup(apt, code, line, f, n, path, lineNumber, *startups, warnings);
            break;
        case 1302:
            if (!apt.open || n < 3 || (f[1] != "datum_lat" && f[1] != "datum_lon"))
                break;
            if (f[1] == "datum_lat")
                apt.hasDatumLat = NavParseDouble(f[2], apt.datumLat);
            else
                apt.hasDatumLon = NavParseDouble(f[2], apt.datumLon);
            break;
        default:
            break;
        }
    }
    Finish(apt, path, out, known, warnings, startups);
    return true;
}

std::vector<std::string> NavAptDatFiles(const std::string &xplaneFolder, int xplaneVersion)
{
    const std::string global = xplaneFolder + (xplaneVersion >= 12000
                                                   ? "Global Scenery/Global Airports/Earth nav data/apt.dat"
                                                   : "Resources/default scenery/default apt dat/Earth nav data/apt.dat");
    const std::string custom = xplaneFolder + "Custom Scenery/";

    std::vector<std::string> packs;
    std::error_code error;
    for (const fs::directory_entry &entry : fs::directory_iterator(custom, error))
        if (entry.is_directory(error))
            packs.push_back(entry.path().filename().string());
    std::sort(packs.begin(), packs.end());

    // scenery_packs.ini lists the packs by priority; X-Plane puts packs it has not listed yet on top.
    // "*GLOBAL_AIRPORTS*" (X-Plane 12) places the global airports among them.
    std::vector<std::string> listed, disabled;
    bool globalListed = false;
    std::string ini;
    if (NavReadWholeFile(custom + "scenery_packs.ini", ini)) {
        size_t pos = 0;
        std::string_view line;
        while (NavNextLine(ini, pos, line)) {
            const std::string_view key = "SCENERY_PACK ", keyDisabled = "SCENERY_PACK_DISABLED ";
            bool off = line.substr(0, keyDisabled.size()) == keyDisabled;
            if (!off && line.substr(0, key.size()) != key)
                continue;
            std::string_view pack = line.substr(off ? keyDisabled.size() : key.size());
            while (!pack.empty() && (pack.back() == '/' || pack.back() == ' '))
                pack.remove_suffix(1);
            const std::string_view prefix = "Custom Scenery/";
            if (off) {
                if (pack.substr(0, prefix.size()) == prefix)
                    disabled.push_back(std::string(pack.substr(prefix.size())));
                continue;
            }
            if (pack == "*GLOBAL_AIRPORTS*") {
                listed.push_back("*GLOBAL_AIRPORTS*");
                globalListed = true;
                continue;
            }
            if (pack.substr(0, prefix.size()) == prefix)
                listed.push_back(std::string(pack.substr(prefix.size())));
        }
    }
    std::vector<std::string> order;
    auto has = [](const std::vector<std::string> &list, const std::string &name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    for (const std::string &pack : packs)
        if (!has(listed, pack) && !has(disabled, pack))
            order.push_back(pack);
    for (const std::string &pack : listed)
        if (pack == "*GLOBAL_AIRPORTS*" || has(packs, pack))
            order.push_back(pack);

    std::vector<std::string> files;
    for (const std::string &pack : order) {
        if (pack == "*GLOBAL_AIRPORTS*") {
            if (xplaneVersion >= 12000)
                files.push_back(global);
            continue;
        }
        files.push_back(custom + pack + "/Earth nav data/apt.dat");
    }
    if (!globalListed || xplaneVersion < 12000)
        files.push_back(global);
    return files;
}

} // namespace detail
} // namespace simhost
