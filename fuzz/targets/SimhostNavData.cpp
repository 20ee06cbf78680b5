// simhost's readers of X-Plane's navigation data: earth_nav.dat, earth_fix.dat, apt.dat (airports and
// their startup locations) and the order of the scenery packs from scenery_packs.ini. The readers are
// called directly (this target links its own copy of them); with the high bit of the first byte the
// whole database is loaded over the fuzzed file and searched, as the plug-in's navigation calls do.
// Input: which file (1 byte: low three bits the file, the high bit the whole database), X-Plane
// version (1 byte), then the file.
#include <cmath>

#include "FuzzHost.h"
#include "Harness.h"
#include "NavDatabase.h"
#include "XPLMNavigation.h"

namespace {

using simhost::detail::AptStartup;
using simhost::detail::NavAid;
using simhost::detail::NavValidPosition;

const char kBaselineNav[] = "I\n1200 Version - data cycle 1911\n"
                            "3 47.43538889 -122.30961111 356 11680 130 19.0 SEA KZSE K1 SEATTLE VORTAC\n"
                            "4 47.46403060 -122.31078900 356 11030 18 180.000 ISNQ KSEA K1 16L ILS-cat-I\n"
                            "99\n";
const char kBaselineFix[] = "I\n1200 Version - data cycle 1911\n47.52 -122.30 SUMMA ENRT K1 4530243\n99\n";
const char kBaselineApt[] = "I\n1000 Version\n\n1 433 1 0 KSEA Seattle Tacoma Intl\n"
                            "100 45.72 1 0 0.25 1 3 1 16L 47.46 -122.31 0 0 3 10 1 1 34R 47.43 -122.31 0 0 3 10 1 1\n"
                            "99\n";
const char kPackApt[] = "Custom Scenery/Fuzz Pack/Earth nav data/apt.dat";
const char kPacksIni[] = "Custom Scenery/scenery_packs.ini";
const char kBaselineIni[] = "I\n1000 Version\nSCENERY\n\nSCENERY_PACK Custom Scenery/Fuzz Pack/\n";

enum Slot { SLOT_NAV, SLOT_FIX, SLOT_GLOBAL_APT, SLOT_PACK_APT, SLOT_PACKS_INI, SLOT_COUNT };

void CheckRead(const std::vector<NavAid> &entries)
{
    for (const NavAid &a : entries) {
        FUZZ_CHECK(a.type != xplm_Nav_Unknown, "%s without a type", a.id.c_str());
        FUZZ_CHECK(std::fabs(a.lat) <= 90 && std::fabs(a.lon) <= 180, "%s at %f %f", a.id.c_str(), a.lat, a.lon);
        FUZZ_CHECK(std::isfinite(a.heightM) && std::isfinite(a.heading), "%s: a value that is not a number",
                   a.id.c_str());
    }
}

/// Every startup location belongs to an airport that was read, and lies on the Earth.
void CheckStartups(const std::vector<AptStartup> &startups, const std::vector<NavAid> &airports)
{
    for (const AptStartup &s : startups) {
        bool listed = false;
        for (const NavAid &a : airports)
            listed = listed || a.id == s.airport;
        FUZZ_CHECK(listed, "startup location '%s' of '%s', an airport not read", s.name.c_str(), s.airport.c_str());
        FUZZ_CHECK(NavValidPosition(s.lat, s.lon) && std::isfinite(s.heading) && std::isfinite(s.elevationM),
                   "startup location '%s' at %f %f, heading %f", s.name.c_str(), s.lat, s.lon, s.heading);
    }
}

/// Reads the fuzzed file with its own reader.
void ReadOne(Slot slot, const std::string &contents, int version)
{
    using namespace simhost::detail;
    std::vector<NavAid> entries;
    std::unordered_set<std::string> known = {"KSEA"};
    NavWarnings warnings;
    switch (slot) {
    case SLOT_NAV:
        NavReadEarthNav(fuzz::LayFile("earth_nav.dat", contents), entries, warnings);
        break;
    case SLOT_FIX:
        NavReadEarthFix(fuzz::LayFile("earth_fix.dat", contents), entries, warnings);
        break;
    case SLOT_GLOBAL_APT:
    case SLOT_PACK_APT: {
        std::vector<AptStartup> startups;
        NavReadAptDat(fuzz::LayFile("apt.dat", contents), entries, known, warnings, &startups);
        CheckStartups(startups, entries);
        break;
    }
    default: {
        fuzz::LayFile(kPacksIni, contents);
        for (const std::string &file : NavAptDatFiles(simhost::SystemPath(), version))
            FUZZ_CHECK(file.size() > 7 && file.compare(file.size() - 7, 7, "apt.dat") == 0, "apt.dat file %s",
                       file.c_str());
        break;
    }
    }
    FUZZ_CHECK(warnings.lines.size() <= (size_t)warnings.count, "%zu warnings kept of %d", warnings.lines.size(),
               warnings.count);
    CheckRead(entries);
}

void LayAll(Slot fuzzed, const std::string &contents, int version)
{
    auto pick = [&](Slot slot, const char *baseline) { return slot == fuzzed ? contents : std::string(baseline); };
    simhost::WriteNavData(simhost::NavDataFile::EarthNav, pick(SLOT_NAV, kBaselineNav));
    simhost::WriteNavData(simhost::NavDataFile::EarthFix, pick(SLOT_FIX, kBaselineFix));
    for (int layout : {11550, 12000})
        fuzz::LayFile(simhost::GlobalAptDatPath(layout),
                      layout == version ? pick(SLOT_GLOBAL_APT, kBaselineApt) : std::string(kBaselineApt));
    fuzz::LayFile(kPackApt, pick(SLOT_PACK_APT, kBaselineApt));
    fuzz::LayFile(kPacksIni, pick(SLOT_PACKS_INI, kBaselineIni));
}

void CheckEntry(XPLMNavRef ref)
{
    XPLMNavType type = xplm_Nav_Unknown;
    float lat = 0, lon = 0, height = 0, heading = 0;
    int frequency = 0;
    char id[32], name[256];
    XPLMGetNavAidInfo(ref, &type, &lat, &lon, &height, &frequency, &heading, id, name, nullptr);
    FUZZ_CHECK(type != xplm_Nav_Unknown, "entry %d without a type", ref);
    FUZZ_CHECK(std::fabs(lat) <= 90 && std::fabs(lon) <= 180, "entry %d at %f %f", ref, lat, lon);
}

/// The whole database with the fuzzed file among baseline files, and the searches over it.
void LoadAndSearch(Slot slot, const std::string &contents, int version)
{
    LayAll(slot, contents, version);
    simhost::NavDatabaseInfo info = simhost::LoadNavDatabase();
    FUZZ_CHECK(info.loaded, "the database did not load");
    int total = 0;
    for (XPLMNavRef ref = XPLMGetFirstNavAid(); ref != XPLM_NAV_NOT_FOUND; ref = XPLMGetNextNavAid(ref)) {
        CheckEntry(ref);
        total++;
    }
    FUZZ_CHECK(total == info.airports + info.navaids + info.fixes, "%d entries, %d counted", total,
               info.airports + info.navaids + info.fixes);
    const XPLMNavType kAll = xplm_Nav_Airport | xplm_Nav_NDB | xplm_Nav_VOR | xplm_Nav_ILS | xplm_Nav_Localizer |
                             xplm_Nav_GlideSlope | xplm_Nav_OuterMarker | xplm_Nav_MiddleMarker |
                             xplm_Nav_InnerMarker | xplm_Nav_Fix | xplm_Nav_DME;
    for (const char *fragment : {"S", "KSEA", "1"}) {
        float lat = 47.4f, lon = -122.3f;
        XPLMNavRef found = XPLMFindNavAid(nullptr, fragment, &lat, &lon, nullptr, kAll);
        if (found != XPLM_NAV_NOT_FOUND)
            CheckEntry(found);
        found = XPLMFindNavAid(fragment, nullptr, nullptr, nullptr, nullptr, kAll);
        if (found != XPLM_NAV_NOT_FOUND)
            CheckEntry(found);
    }
    for (const char *icao : {"KSEA", "KBIX", "W28"})
        for (const simhost::ParkingPosition &parking : simhost::ParkingPositions(icao))
            FUZZ_CHECK(NavValidPosition(parking.lat, parking.lon) && std::isfinite(parking.headingTrue_deg),
                       "parking '%s' of %s at %f %f", parking.name.c_str(), icao, parking.lat, parking.lon);
    FUZZ_CHECK(simhost::HostErrors().empty(), "host error: %s", simhost::HostErrors()[0].c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::StartHost();
    fuzz::Input input{data, size};
    uint8_t selector = input.Byte();
    Slot slot = (Slot)((selector & 7) % SLOT_COUNT);
    int version = input.Byte() % 2 == 0 ? 11550 : 12000;
    fuzz::SetVersion(version);
    if (selector & 0x80) {
        LoadAndSearch(slot, input.Rest(), version);
    } else {
        static bool packs = false;
        if (!packs) {
            LayAll(SLOT_COUNT, "", version); // the pack folder and its apt.dat for the scenery_packs.ini slot
            packs = true;
        }
        ReadOne(slot, input.Rest(), version);
    }
    return 0;
}
