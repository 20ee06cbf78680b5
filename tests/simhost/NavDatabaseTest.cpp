// The simulated X-Plane's navigation database: what it loads from where, and how XPLMFindNavAid and
// XPLMGetNavAidInfo answer, on real AIRAC 1911 rows and gateway airports.
#include <cmath>
#include <cstring>
#include <vector>

#include "Harness.h"
#include "XPLMNavigation.h"
#include "support/NavData.h"
#include "support/PluginHost.h"

namespace {

struct Info {
    XPLMNavType type = xplm_Nav_Unknown;
    float lat = 0, lon = 0, height = 0, heading = 0;
    int frequency = 0;
    char id[32] = {0};
    char name[256] = {0};
    char reg = 0;
};

Info InfoOf(XPLMNavRef ref)
{
    Info i;
    XPLMGetNavAidInfo(ref, &i.type, &i.lat, &i.lon, &i.height, &i.frequency, &i.heading, i.id, i.name, &i.reg);
    return i;
}

XPLMNavRef Near(const char *id, float lat, float lon, XPLMNavType types)
{
    return XPLMFindNavAid(nullptr, id, &lat, &lon, nullptr, types);
}

const char *kPack = "Custom Scenery/%s/Earth nav data/apt.dat";

std::string PackPath(const char *pack)
{
    char path[256];
    snprintf(path, sizeof path, kPack, pack);
    return path;
}

/// A one-runway airport whose runway centre is at (lat, lon).
std::string Airport(const char *id, double lat, double lon)
{
    char text[512];
    snprintf(text, sizeof text,
             "I\n1100 Version\n\n1 100 0 0 %s Test %s\n"
             "100 30 1 0 0.25 0 0 0 09 %.6f %.6f 0 0 0 0 0 0 27 %.6f %.6f 0 0 0 0 0 0\n99\n",
             id, id, lat, lon - 0.01, lat, lon + 0.01);
    return text;
}

class NavDatabaseTest : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        LayTestNavDatabase();
    }
};

TEST_F(NavDatabaseTest, FindNavAidAnswersFromNavDatAndTheGlobalSceneryByTheSdkRules)
{
    const struct {
        const char *id;
        float lat, lon;
        XPLMNavType types;
        const char *foundId, *name; ///< nullptr: nothing found; name "": not compared
        float foundLat, foundLon;   ///< 0: not compared
    } rows[] = {
        // Types outside the mask are not considered: the NDB is the nearer here.
        {"RBG", 43.24f, -123.36f, xplm_Nav_VOR, "RBG", "ROSEBURG VOR/DME", 43.182422222f, -123.352238889f},
        {"RBG", 43.0f, -123.0f, xplm_Nav_NDB, "RBG", "ROSEBURG NDB", 0, 0},
        {"IEUG", 44.0f, -123.0f, xplm_Nav_ILS, "IEUG", "KEUG 16R ILS-cat-III", 0, 0},
        {"R16RY", 44.0f, -123.0f, 0xFFFF, nullptr, "", 0, 0}, // GPS approach rows are no navaids
        {"LELL", 41.0f, 2.0f, xplm_Nav_Airport, "LELL", "Sabadell", 41.520833333f, 2.105f}, // datum row
        // No datum: the runway centre; a helipad; a water runway.
        {"5WI4", 45.0f, -87.0f, xplm_Nav_Airport, "5WI4", "", (float)((45.08493758 + 45.07781018) / 2),
         (float)((-87.67944903 + -87.67909653) / 2)},
        {"TN04", 36.0f, -82.0f, xplm_Nav_Airport, "TN04", "", 36.586897f, 0},
        {"CJY9", 56.0f, -109.0f, xplm_Nav_Airport, "CJY9", "", 0, -109.419f},
        // A fragment must be contained, the nearest wins.
        {"RBG", 43.24f, -123.36f, xplm_Nav_VOR | xplm_Nav_NDB, "RBG", "ROSEBURG NDB", 0, 0},
        {"RB", 43.0f, -123.0f, xplm_Nav_VOR, "RBG", "", 0, 0},
        {"EUG", 44.10f, -123.21f, xplm_Nav_DME, "IEUG", "", 0, 0},
        // Nearest with no identifier, across the 180 degree meridian.
        {nullptr, 54.7f, -179.99f, xplm_Nav_Fix, "TAMMO", "", 0, 0},
        {nullptr, 45.0f, -87.5f, xplm_Nav_Airport, "5WI4", "", 0, 0},
        {"NOSUCH", 43.0f, -123.0f, 0xFFFF, nullptr, "", 0, 0},
    };
    for (const auto &r : rows) {
        const std::string row = std::string(r.id ? r.id : "(none)") + " " + std::to_string(r.types);
        XPLMNavRef ref = Near(r.id, r.lat, r.lon, r.types);
        if (r.foundId == nullptr) {
            EXPECT_EQ(ref, XPLM_NAV_NOT_FOUND) << row;
            continue;
        }
        Info found = InfoOf(ref);
        EXPECT_TRUE((found.type & r.types) != 0) << row;
        EXPECT_STREQ(found.id, r.foundId) << row;
        EXPECT_TRUE(r.name[0] == '\0' || std::string(found.name) == r.name) << row << ": " << found.name;
        EXPECT_TRUE(r.foundLat == 0 || std::fabs(found.lat - r.foundLat) < 1e-5f) << row << ": " << found.lat;
        EXPECT_TRUE(r.foundLon == 0 || std::fabs(found.lon - r.foundLon) < 1e-5f) << row << ": " << found.lon;
    }
    simhost::NavDatabaseInfo status = simhost::NavDatabaseStatus();
    EXPECT_EQ(status.airports, 6);
    EXPECT_EQ(status.warningCount, 0);
    EXPECT_TRUE(simhost::HostErrors().empty());
}

TEST_F(NavDatabaseTest, NearestSearchAgreesWithAFullScanAnywhereOnEarth)
{
    std::vector<Info> all;
    for (XPLMNavRef r = XPLMGetFirstNavAid(); r != XPLM_NAV_NOT_FOUND; r = XPLMGetNextNavAid(r))
        all.push_back(InfoOf(r));
    auto angle = [](double lat1, double lon1, double lat2, double lon2) {
        const double k = 3.141592653589793 / 180;
        double a = std::pow(std::sin((lat2 - lat1) * k / 2), 2) +
                   std::cos(lat1 * k) * std::cos(lat2 * k) * std::pow(std::sin((lon2 - lon1) * k / 2), 2);
        return 2 * std::asin(std::sqrt(std::min(1.0, a)));
    };
    unsigned seed = 12345;
    auto next = [&seed](double from, double to) {
        seed = seed * 1103515245u + 12345u;
        return from + (to - from) * ((seed >> 8) % 100000) / 100000.0;
    };
    for (int i = 0; i < 150; i++) {
        float lat = (float)(i < 20 ? next(85, 90) * (i % 2 ? 1 : -1) : next(-90, 90));
        float lon = (float)next(-180, 180);
        XPLMNavType type = i % 3 == 0 ? xplm_Nav_Airport : i % 3 == 1 ? xplm_Nav_Fix : xplm_Nav_VOR | xplm_Nav_NDB;
        double best = 10;
        for (const Info &a : all)
            if (a.type & type)
                best = std::min(best, angle(lat, lon, a.lat, a.lon));
        Info found = InfoOf(Near(nullptr, lat, lon, type));
        EXPECT_NEAR(angle(lat, lon, found.lat, found.lon), best, 1e-9) << lat << " " << lon;
    }
}

TEST_F(NavDatabaseTest, CustomDataAndCustomSceneryOverrideTheDefaults)
{
    EXPECT_EQ(Near("NEWFX", 10.0f, 10.0f, xplm_Nav_Fix), XPLM_NAV_NOT_FOUND); // files laid later are read then
    simhost::WriteNavData(simhost::NavDataFile::EarthFix, "I\n1200 Version\n 10.0 10.0 NEWFX ENRT XX 2105426 NEWFX\n99\n",
                          true);
    EXPECT_NE(Near("NEWFX", 10.0f, 10.0f, xplm_Nav_Fix), XPLM_NAV_NOT_FOUND);
    EXPECT_EQ(Near("PERSN", 36.0f, -79.0f, xplm_Nav_Fix), XPLM_NAV_NOT_FOUND); // the default file is not read

    // The same airport in three packs and the global scenery: without scenery_packs.ini the first pack by
    // name wins; with it, the order it lists, a disabled pack not read.
    simhost::WriteFile(PackPath("A New"), Airport("LELL", 43.0, 2.0));
    simhost::WriteFile(PackPath("B Pack"), Airport("LELL", 41.0, 2.0));
    simhost::WriteFile(PackPath("C Pack"), Airport("LELL", 42.0, 2.0));
    EXPECT_NEAR(InfoOf(Near("LELL", 41.0f, 2.0f, xplm_Nav_Airport)).lat, 43.0f, 1e-4);
    simhost::WriteFile("Custom Scenery/scenery_packs.ini",
                       "I\n1000 Version\nSCENERY\n\nSCENERY_PACK_DISABLED Custom Scenery/A New/\n"
                       "SCENERY_PACK *GLOBAL_AIRPORTS*\nSCENERY_PACK Custom Scenery/C Pack/\n"
                       "SCENERY_PACK Custom Scenery/B Pack/\n");
    EXPECT_NEAR(InfoOf(Near("LELL", 41.0f, 2.0f, xplm_Nav_Airport)).lat, 41.520833f, 1e-4); // global above C
    EXPECT_EQ(simhost::NavDatabaseStatus().airports, 6);
}

TEST_F(NavDatabaseTest, MalformedFilesAndRowsAreReportedAndSkipped)
{
    simhost::WriteNavData(simhost::NavDataFile::EarthNav, "hello\nthis is not nav data\n");
    simhost::WriteNavData(simhost::NavDataFile::EarthFix,
                          "I\n1200 Version\n\n"
                          " 36.233291667  -79.065902778  PERSN ENRT K7 2105426\n"
                          " 36.2 -79.0\n"                       // too few fields
                          " nan -79.0 BADNA ENRT K7 2105426\n"  // not a number
                          " 95.0 -79.0 NORTH ENRT K7 2105426\n" // beyond the pole
                          " 36.1e -79.0 GARBL ENRT K7\n"
                          " 10.0 10.0 TRUNC ENRT XX 2105426"); // no final 99, no line end
    simhost::WriteFile("Global Scenery/Global Airports/Earth nav data/apt.dat",
                       "I\n1100 Version\n1 100\n1 100 0 0 NORWY No runway\n1302 datum_lat 91\n" +
                           Airport("KGOOD", 40, -100).substr(15));
    simhost::NavDatabaseInfo status = simhost::LoadNavDatabase();
    EXPECT_EQ(status.navaids, 0);
    EXPECT_EQ(status.fixes, 2);
    EXPECT_EQ(status.airports, 1);
    EXPECT_EQ(status.warningCount, 7);
    auto warned = [&](const std::string &text) {
        for (const std::string &w : status.warnings)
            if (w.find(text) != std::string::npos)
                return true;
        return false;
    };
    EXPECT_TRUE(warned("earth_nav.dat:1: not an X-Plane navigation data file"));
    EXPECT_TRUE(warned("earth_fix.dat:5: a fix row needs latitude, longitude and identifier"));
    EXPECT_TRUE(warned("apt.dat:4: airport without runway, helipad or datum"));
    EXPECT_NE(Near("TRUNC", 10.0f, 10.0f, xplm_Nav_Fix), XPLM_NAV_NOT_FOUND);

    // Overlong identifiers and names are cut to the SDK's 32 and 256 bytes (sentinels beyond).
    simhost::WriteFile("Global Scenery/Global Airports/Earth nav data/apt.dat",
                       "I\n1100 Version\n1 100 0 0 ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 " + std::string(400, 'N') +
                           "\n1302 datum_lat 10\n1302 datum_lon 10\n99\n");
    char id[40], name[300];
    memset(id, 'x', sizeof id);
    memset(name, 'x', sizeof name);
    XPLMGetNavAidInfo(Near("ABCDEF", 10, 10, xplm_Nav_Airport), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                      id, name, nullptr);
    EXPECT_TRUE(strlen(id) == 31u && id[32] == 'x');
    EXPECT_TRUE(strlen(name) == 255u && name[256] == 'x');

    float nan = std::nanf("");
    EXPECT_EQ(XPLMFindNavAid(nullptr, "PERSN", &nan, &nan, nullptr, xplm_Nav_Fix), XPLM_NAV_NOT_FOUND);
    Info bad = InfoOf(XPLM_NAV_NOT_FOUND);
    EXPECT_EQ(bad.type, xplm_Nav_Unknown);
    ASSERT_EQ(simhost::HostErrors().size(), 1u);
    EXPECT_NE(simhost::HostErrors()[0].find("XPLMGetNavAidInfo"), std::string::npos);
    simhost::ClearHostErrors();
}

class NavDataFuzzRegression : public HostTest {};

// Found by the simhost navigation data fuzz target: an elevation beyond a float's range became an
// infinite height; such a row is now reported and skipped like any other unreadable number.
TEST_F(NavDataFuzzRegression, LocalizerAtAnAbsurdElevationIsSkippedNotInfinitelyHigh)
{
    simhost::WriteNavData(simhost::NavDataFile::EarthNav,
                          "I\n810 Version - data cycle 2008.01\n\n"
                          "4  47.46403060 -122.31078900    356 11030  18   180.000 ISNQ KSEA 16L ILS-cat-I\n"
                          "5  47.43000000 -122.30000000 " + std::string(114, '6') +
                              "   356 11150  18   360.000 IBEJ KSEA 34R LOC\n99\n");
    simhost::WriteFile(simhost::GlobalAptDatPath(12000), "I\n1100 Version\n\n1 1e39 0 0 KHI High\n"
                                                         "1302 datum_lat 47.4\n1302 datum_lon -122.3\n99\n");
    simhost::NavDatabaseInfo info = simhost::LoadNavDatabase();
    EXPECT_EQ(info.navaids, 1);
    EXPECT_EQ(info.airports, 0);
    EXPECT_EQ(info.warningCount, 2);
    for (XPLMNavRef ref = XPLMGetFirstNavAid(); ref != XPLM_NAV_NOT_FOUND; ref = XPLMGetNextNavAid(ref)) {
        float height = 0, heading = 0;
        XPLMGetNavAidInfo(ref, nullptr, nullptr, nullptr, &height, nullptr, &heading, nullptr, nullptr, nullptr);
        EXPECT_TRUE(std::isfinite(height) && std::isfinite(heading));
    }
}

} // namespace
