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

TEST_F(NavDatabaseTest, NavaidsReportTheirNavDatPositionsAndNames)
{
    Info vor = InfoOf(Near("RBG", 43.0f, -123.0f, xplm_Nav_VOR));
    EXPECT_EQ(vor.type, xplm_Nav_VOR);
    EXPECT_FLOAT_EQ(vor.lat, 43.182422222f);
    EXPECT_FLOAT_EQ(vor.lon, -123.352238889f);
    EXPECT_STREQ(vor.id, "RBG");
    EXPECT_STREQ(vor.name, "ROSEBURG VOR/DME");
    EXPECT_STREQ(InfoOf(Near("RBG", 43.0f, -123.0f, xplm_Nav_NDB)).name, "ROSEBURG NDB");
    EXPECT_STREQ(InfoOf(Near("IEUG", 44.0f, -123.0f, xplm_Nav_ILS)).name, "KEUG 16R ILS-cat-III");
    EXPECT_EQ(InfoOf(Near("IEUG", 44.0f, -123.0f, xplm_Nav_DME)).type, xplm_Nav_DME);
    // GPS approach rows are not navaids X-Plane publishes.
    EXPECT_EQ(Near("R16RY", 44.0f, -123.0f, 0xFFFF), XPLM_NAV_NOT_FOUND);
}

TEST_F(NavDatabaseTest, AirportsFromTheGlobalSceneryWithDatumOrRunwayCentre)
{
    Info lell = InfoOf(Near("LELL", 41.0f, 2.0f, xplm_Nav_Airport));
    EXPECT_EQ(lell.type, xplm_Nav_Airport);
    EXPECT_FLOAT_EQ(lell.lat, 41.520833333f); // datum row
    EXPECT_FLOAT_EQ(lell.lon, 2.105f);
    EXPECT_STREQ(lell.name, "Sabadell");

    Info larson = InfoOf(Near("5WI4", 45.0f, -87.0f, xplm_Nav_Airport));
    EXPECT_FLOAT_EQ(larson.lat, (float)((45.08493758 + 45.07781018) / 2)); // no datum: runway centre
    EXPECT_FLOAT_EQ(larson.lon, (float)((-87.67944903 + -87.67909653) / 2));
    EXPECT_FLOAT_EQ(InfoOf(Near("TN04", 36.0f, -82.0f, xplm_Nav_Airport)).lat, 36.586897f); // helipad
    EXPECT_FLOAT_EQ(InfoOf(Near("CJY9", 56.0f, -109.0f, xplm_Nav_Airport)).lon, -109.419f); // water runway

    simhost::NavDatabaseInfo status = simhost::NavDatabaseStatus();
    EXPECT_EQ(status.airports, 6);
    EXPECT_EQ(status.warningCount, 0);
}

TEST_F(NavDatabaseTest, FindNavAidFollowsTheSdkRules)
{
    // Types outside the mask are not considered.
    EXPECT_EQ(InfoOf(Near("RBG", 43.24f, -123.36f, xplm_Nav_VOR | xplm_Nav_NDB)).type, xplm_Nav_NDB);
    EXPECT_EQ(InfoOf(Near("RBG", 43.24f, -123.36f, xplm_Nav_VOR)).type, xplm_Nav_VOR);
    // A fragment must be contained: "RB" finds Roseburg, "EUG" also the ILS DME "IEUG", which is nearer here.
    EXPECT_STREQ(InfoOf(Near("RB", 43.0f, -123.0f, xplm_Nav_VOR)).id, "RBG");
    EXPECT_STREQ(InfoOf(Near("EUG", 44.10f, -123.21f, xplm_Nav_DME)).id, "IEUG");
    // Nearest with no identifier, across the 180 degree meridian.
    EXPECT_STREQ(InfoOf(Near(nullptr, 54.7f, -179.99f, xplm_Nav_Fix)).id, "TAMMO");
    EXPECT_STREQ(InfoOf(Near(nullptr, 45.0f, -87.5f, xplm_Nav_Airport)).id, "5WI4");
    EXPECT_EQ(Near("NOSUCH", 43.0f, -123.0f, 0xFFFF), XPLM_NAV_NOT_FOUND);
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

    float nan = std::nanf("");
    EXPECT_EQ(XPLMFindNavAid(nullptr, "PERSN", &nan, &nan, nullptr, xplm_Nav_Fix), XPLM_NAV_NOT_FOUND);
    Info bad = InfoOf(XPLM_NAV_NOT_FOUND);
    EXPECT_EQ(bad.type, xplm_Nav_Unknown);
    ASSERT_EQ(simhost::HostErrors().size(), 1u);
    EXPECT_NE(simhost::HostErrors()[0].find("XPLMGetNavAidInfo"), std::string::npos);
    simhost::ClearHostErrors();
}

TEST_F(NavDatabaseTest, LongIdentifiersAndNamesAreCutToTheSdkBuffers)
{
    simhost::WriteFile("Global Scenery/Global Airports/Earth nav data/apt.dat",
                       "I\n1100 Version\n1 100 0 0 ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 " + std::string(400, 'N') +
                           "\n1302 datum_lat 10\n1302 datum_lon 10\n99\n");
    char id[40], name[300]; // the SDK's 32 and 256 bytes, and sentinels beyond
    memset(id, 'x', sizeof id);
    memset(name, 'x', sizeof name);
    XPLMGetNavAidInfo(Near("ABCDEF", 10, 10, xplm_Nav_Airport), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                      id, name, nullptr);
    EXPECT_TRUE(strlen(id) == 31u && id[32] == 'x');
    EXPECT_TRUE(strlen(name) == 255u && name[256] == 'x');
}

} // namespace
