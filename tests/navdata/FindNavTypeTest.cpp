// Route words resolved through the simulator's navigation database: real US AIRAC 1911 navaids and fixes,
// plus a few made-up stations for the distance rules.
#include <cstring>

#include "Harness.h"
#include "XPLMNavigation.h"
#include "navdata/FindNavType.h"
#include "plugin/Log.h"
#include "support/NavData.h"
#include "support/PluginHost.h"

namespace {

const float kUnset = -999.0f;

class FindNavTypeTest : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        developerDEBUGlocal = 1;
        LayTestNavDatabase();
    }
    int Resolve(const char *identifier, float refLat, float refLon)
    {
        lat = kUnset;
        lon = kUnset;
        return findNavType(identifier, &record, refLat, refLon, &lat, &lon);
    }
    /// Made-up stations around 45N 100W (earth_nav.dat 1200 rows).
    void LayMadeUpStations()
    {
        simhost::WriteNavData(simhost::NavDataFile::EarthNav,
                              "I\n1200 Version - made up for the tests\n\n"
                              // ZZA: VOR 0.6 nm north of the reference, NDB 3 nm south
                              " 3  45.010000000 -100.000000000 1000 11000 40 10.000  ZZA ENRT K3 ZULU A VOR\n"
                              " 2  44.950000000 -100.000000000    0   300 25  0.000  ZZA ENRT K3 ZULU A NDB\n"
                              // ZZB: VOR with DME 12.5 nm north, NDB 12.5 nm south
                              " 3  45.208333333 -100.000000000 1000 11100 40 10.000  ZZB ENRT K3 ZULU B VOR/DME\n"
                              "12  45.208333333 -100.000000000 1000 11100 40  0.000  ZZB ENRT K3 ZULU B VOR/DME\n"
                              " 2  44.791666667 -100.000000000    0   310 25  0.000  ZZB ENRT K3 ZULU B NDB\n"
                              // ZZC: two VORs either side of the 180 degree meridian
                              " 3  52.000000000  179.950000000  100 11200 40  5.000  ZZC ENRT PA ZULU C EAST VOR\n"
                              " 3  52.000000000  178.000000000  100 11300 40  5.000  ZZC ENRT PA ZULU C FAR VOR\n"
                              "99\n");
    }
    pilot record;
    float lat = kUnset, lon = kUnset;
};

TEST_F(FindNavTypeTest, NearestOfOneIdentifierWinsByWholeMilesTheShortWayAndUnknownWordsAreNotResolved)
{
    struct Row {
        const char *id;
        float refLat, refLon;
        int type;        ///< 0: not resolved, lat and lon left alone
        float lat, lon;  ///< lon 0: not checked
    } rows[] = {
        // Roseburg: VOR/DME at 43.1824/-123.3522, the NDB of the same name 3.2 nm north of it. From the
        // north the NDB (15 nm against 19); from the south the VOR, its DME at the same distance not replacing it.
        {"RBG", 43.5f, -123.35f, xplm_Nav_NDB, 43.235256f, -123.358017f},
        {"RBG", 42.9f, -123.35f, xplm_Nav_VOR, 43.182422f, 0},
        // 0.6 nm from the VOR/DME: the VOR truncates to 0 and loses to the NDB (3 nm), which loses to the DME at 0.
        {"RBG", 43.172422f, -123.352239f, xplm_Nav_DME, 43.182422f, 0},
        {"ZZA", 45.0f, -100.0f, xplm_Nav_NDB, 44.95f, 0},     // no DME here: the NDB stays
        {"ZZB", 45.0f, -100.0f, xplm_Nav_VOR, 45.208333f, 0}, // VOR, NDB and DME all at 12 nm: the VOR stays
        // A five-letter fix of two regions, near the reference: Dallas terminal, North Carolina en-route.
        {"PERSN", 33.0f, -97.0f, xplm_Nav_Fix, 33.182097f, -96.619067f},
        {"PERSN", 36.0f, -79.0f, xplm_Nav_Fix, 36.233292f, 0},
        // Across the 180 degree meridian, measured the short way.
        {"ZZC", 52.0f, -179.95f, xplm_Nav_VOR, 52.0f, 179.95f},
        {"TAMMO", 54.7f, -179.9f, xplm_Nav_Fix, 0, 0},
        // Direct tokens, six characters, empty and unknown words.
        {"DCT", 43.0f, -123.0f, 0, kUnset, kUnset},
        {"XDCTX", 43.0f, -123.0f, 0, kUnset, kUnset},
        {"PERSNX", 33.0f, -97.0f, 0, kUnset, kUnset},
        {"", 33.0f, -97.0f, 0, kUnset, kUnset},
        {"QQQ", 43.0f, -123.0f, 0, kUnset, kUnset},
        {"QQQQQ", 43.0f, -123.0f, 0, kUnset, kUnset},
    };
    for (const Row &r : rows) {
        if (strcmp(r.id, "ZZA") == 0)
            LayMadeUpStations(); // replaces earth_nav.dat: the rows from here on see only the made-up stations
        EXPECT_EQ(Resolve(r.id, r.refLat, r.refLon), r.type) << r.id << " " << r.refLat;
        if (r.lat != 0) {
            EXPECT_NEAR(lat, r.lat, 1e-4) << r.id << " " << r.refLat;
        }
        if (r.lon != 0) {
            EXPECT_NEAR(lon, r.lon, 1e-4) << r.id << " " << r.refLat;
        }
    }
    EXPECT_TRUE(simhost::HostErrors().empty());
}

TEST_F(FindNavTypeTest, WithoutAFullReferenceTheAircraftPositionIsUsed)
{
    record.latitudine = 36.0; // North Carolina
    record.longitudine = -79.0;
    EXPECT_EQ(Resolve("PERSN", 0.0f, 0.0f), xplm_Nav_Fix);
    EXPECT_NEAR(lat, 36.233292f, 1e-5);
    EXPECT_EQ(Resolve("PERSN", 33.0f, 0.0f), xplm_Nav_Fix); // one coordinate 0: still the aircraft
    EXPECT_NEAR(lat, 36.233292f, 1e-5);

    float onlyLat = 0; // outputs the caller does not want are not written
    EXPECT_EQ(findNavType("CVO", &record, 44.0f, -123.0f, nullptr, nullptr), xplm_Nav_VOR);
    EXPECT_EQ(findNavType("CVO", &record, 44.0f, -123.0f, &onlyLat, nullptr), xplm_Nav_VOR);
    EXPECT_NEAR(onlyLat, 44.499569f, 1e-5);
}

} // namespace
