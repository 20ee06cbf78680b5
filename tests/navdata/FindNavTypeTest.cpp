// Route words resolved through the simulator's navigation database: real US AIRAC 1911 navaids and fixes,
// plus a few made-up stations for the distance rules.
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

TEST_F(FindNavTypeTest, VorNdbAndDmeOfOneIdentifierNearestWinsByWholeMilesAndATieKeepsTheVor)
{
    // Roseburg: VOR/DME at 43.1824/-123.3522, the NDB of the same name 3.2 nm north of it.
    EXPECT_EQ(Resolve("RBG", 43.5f, -123.35f), xplm_Nav_NDB); // from the north: NDB 15 nm, VOR 19 nm
    EXPECT_NEAR(lat, 43.235256f, 1e-5);
    EXPECT_NEAR(lon, -123.358017f, 1e-5);

    // From the south the VOR is nearer, and its DME at the same distance does not replace it.
    EXPECT_EQ(Resolve("RBG", 42.9f, -123.35f), xplm_Nav_VOR);
    EXPECT_NEAR(lat, 43.182422f, 1e-5);
    EXPECT_TRUE(Logged("SearchNavType: VOR (dist 16.000000 nm, 43.182423/-123.352242) is closer than DME (dist 16 nm"));

    // 0.6 nm from the Roseburg VOR/DME: the VOR truncates to 0 and loses to the NDB (3 nm), which in turn
    // loses to the co-located DME, also at 0.
    EXPECT_EQ(Resolve("RBG", 43.172422f, -123.352239f), xplm_Nav_DME);
    EXPECT_NEAR(lat, 43.182422f, 1e-5);

    LayMadeUpStations();
    EXPECT_EQ(Resolve("ZZA", 45.0f, -100.0f), xplm_Nav_NDB); // no DME here: the NDB stays
    EXPECT_NEAR(lat, 44.95f, 1e-5);
    EXPECT_TRUE(Logged("SearchNavType: Found VOR lat/lon 45.009998/-100.000000 in a distance of 0 miles (navType: 4)"));
    EXPECT_EQ(Resolve("ZZB", 45.0f, -100.0f), xplm_Nav_VOR); // VOR, NDB and DME all at 12 nm: the VOR stays
    EXPECT_NEAR(lat, 45.208333f, 1e-5);
}

TEST_F(FindNavTypeTest, FiveLetterFixOfTwoRegionsResolvesNearTheReference)
{
    EXPECT_EQ(Resolve("PERSN", 33.0f, -97.0f), xplm_Nav_Fix); // the Dallas terminal fix
    EXPECT_NEAR(lat, 33.182097f, 1e-5);
    EXPECT_NEAR(lon, -96.619067f, 1e-5);
    EXPECT_EQ(Resolve("PERSN", 36.0f, -79.0f), xplm_Nav_Fix); // the en-route fix in North Carolina
    EXPECT_NEAR(lat, 36.233292f, 1e-5);
}

TEST_F(FindNavTypeTest, NavaidAcrossTheDateLineIsMeasuredTheShortWay)
{
    LayMadeUpStations();
    EXPECT_EQ(Resolve("ZZC", 52.0f, -179.95f), xplm_Nav_VOR);
    EXPECT_NEAR(lon, 179.95f, 1e-4);
    EXPECT_TRUE(Logged("in a distance of 3 miles (navType: 4)")); // 0.1 degree at 52N, not 359.9
    EXPECT_EQ(Resolve("TAMMO", 54.7f, -179.9f), xplm_Nav_Fix);
}

TEST_F(FindNavTypeTest, DirectTokensLongWordsAndUnknownWordsAreNotResolved)
{
    EXPECT_EQ(Resolve("DCT", 43.0f, -123.0f), 0);
    EXPECT_TRUE(Logged("findNavType DEBUG: Skipping DIRECT fix search"));
    EXPECT_EQ(Resolve("XDCTX", 43.0f, -123.0f), 0);
    EXPECT_EQ(Resolve("PERSNX", 33.0f, -97.0f), 0); // six characters
    EXPECT_TRUE(lat == kUnset && lon == kUnset);
    EXPECT_TRUE(Logged("findNavType DEBUG: SearchNavType: navTypeTmp 0, search failed!"));
    EXPECT_EQ(Resolve("", 33.0f, -97.0f), 0);
    EXPECT_EQ(Resolve("QQQ", 43.0f, -123.0f), 0);
    EXPECT_EQ(Resolve("QQQQQ", 43.0f, -123.0f), 0);
    EXPECT_TRUE(simhost::HostErrors().empty());
}

TEST_F(FindNavTypeTest, WithoutAFullReferenceTheAircraftPositionIsUsed)
{
    record.latitudine = 36.0; // North Carolina
    record.longitudine = -79.0;
    EXPECT_EQ(Resolve("PERSN", 0.0f, 0.0f), xplm_Nav_Fix);
    EXPECT_NEAR(lat, 36.233292f, 1e-5);
    EXPECT_TRUE(Logged("Searching close to aircraft position 36.000000 - -79.000000"));
    EXPECT_EQ(Resolve("PERSN", 33.0f, 0.0f), xplm_Nav_Fix); // one coordinate 0: still the aircraft
    EXPECT_NEAR(lat, 36.233292f, 1e-5);
    EXPECT_EQ(Resolve("PERSN", 33.0f, -97.0f), xplm_Nav_Fix);
    EXPECT_NEAR(lat, 33.182097f, 1e-5); // near the previous waypoint

    float onlyLat = 0; // outputs the caller does not want are not written
    EXPECT_EQ(findNavType("CVO", &record, 44.0f, -123.0f, nullptr, nullptr), xplm_Nav_VOR);
    EXPECT_EQ(findNavType("CVO", &record, 44.0f, -123.0f, &onlyLat, nullptr), xplm_Nav_VOR);
    EXPECT_NEAR(onlyLat, 44.499569f, 1e-5);
}

} // namespace
