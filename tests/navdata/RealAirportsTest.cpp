// The parser and the index on real airports (tests/data/apt, see its README).
#include <cmath>

#include "navdata/AptFiles.h"
#include "support/PluginHost.h"

namespace {

class RealAirportsTest : public HostTest {
  protected:
    Parser parser;
    void SetUp() override
    {
        HostTest::SetUp();
        ClearSceneryIndex();
        parseSingleAptDat(TestData("apt/pnw.apt.dat"));
        parseSingleAptDat(TestData("apt/kbix-gateway.apt.dat"));
    }
    int ReadIndexed(const std::string &icao)
    {
        const AptDat &entry = IcaoMap[icao];
        return parser.readAptDat(icao, entry.ICAOfilePath, entry.readOffset, 15.3f);
    }
};

/// Every node against every other: the definition of the junction links.
std::vector<std::vector<int>> BruteForceLinks(const std::vector<Parser::linePoint> &points)
{
    std::vector<std::vector<int>> links(points.size());
    for (size_t i = 0; i < points.size(); i++)
        for (size_t j = 0; j < points.size(); j++)
            if (i != j && std::max(std::fabs(points[i].lat - points[j].lat), std::fabs(points[i].lon - points[j].lon)) <
                              0.0001)
                links[i].push_back(points[j].globalID);
    return links;
}

TEST_F(RealAirportsTest, SeattleHasRunwaysRulesThirtyGatesAndLinkedTaxiLines)
{
    ASSERT_EQ(IcaoMap.size(), 4u); // KSEA, CYXX, W28 and KBIX
    ASSERT_EQ(ReadIndexed("KSEA"), 1);
    ASSERT_EQ(parser.runways.size(), 6u);
    EXPECT_STREQ(parser.runways[0].name, "16L");
    EXPECT_NEAR(parser.runways[0].heading, 180, 1.5); // true heading of 16L
    EXPECT_EQ(parser.parkings.size(), 30u);
    EXPECT_EQ(parser.towerFrequency, 119900);
    EXPECT_EQ(parser.deliveryFrequency, 128000);
    EXPECT_EQ(parser.runwaysInUseDeparture.size() + parser.runwaysInUseArrival.size(), 10u);
    ASSERT_GT(parser.puntiTaxi.size(), 1000u); // the yellow lines among 6,082 painted nodes
    for (size_t i = 0; i < parser.puntiTaxi.size(); i++)
        ASSERT_EQ(parser.puntiTaxi[i].globalID, (int)i);
    std::vector<std::vector<int>> expected = BruteForceLinks(parser.puntiTaxi);
    size_t linked = 0;
    for (size_t i = 0; i < parser.puntiTaxi.size(); i++) {
        ASSERT_EQ(parser.puntiTaxi[i].neighbourIDs, expected[i]) << "node " << i;
        linked += expected[i].empty() ? 0 : 1;
    }
    EXPECT_GT(linked, 500u);
}

} // namespace
