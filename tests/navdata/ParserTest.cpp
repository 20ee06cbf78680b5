// The airport parser on hand-written apt.dat snippets, one group per kind of row, and on a real airport
// (tests/data/apt, see its README).
#include <cmath>
#include <vector>

#include "navdata/AptNav.h"
#include "support/PluginHost.h"
#include "navdata/AptFiles.h"

namespace {

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

class ParserTest : public HostTest {
  protected:
    Parser parser;
    /// Reads airport TEST made of the given rows on an X-Plane version.
    int Read(const std::string &rows, int xplaneVersion = 12000)
    {
        simhost::SetXPlaneVersion(xplaneVersion);
        std::string path = HostFile("test.dat", AptText("1 100 1 0 TEST Test Field\n" + rows));
        return parser.readAptDat("TEST", path, 0, 15.5f);
    }
};

TEST_F(ParserTest, LegacyFrequenciesAreInKilohertzOnAn833SimulatorAndModernOnesCutOnAnOldOne)
{
    Read("54 12345 TWR\n53 12180 GND\n52 12800 DEL\n50 11800 ATIS\n55 11920 APP\n56 12010 DEP\n");
    EXPECT_EQ((std::vector<double>{parser.towerFrequency, parser.groundFrequency, parser.deliveryFrequency,
                                   parser.atisFrequency, parser.approachFrequency, parser.departureFrequency}),
              (std::vector<double>{123450, 121800, 128000, 118000, 119200, 120100}));
    const struct {
        const char *rows;
        int version;
        double tower;
    } towers[] = {{"1054 123455 TWR\n", 11300, 12345}, {"1054 123455 TWR\n", 11330, 123455},
                  // the later row wins, one out of range is ignored
                  {"54 12100 TWR\n1054 119900 TWR\n54 13700 BAD\n", 12000, 119900}};
    for (const auto &t : towers) {
        Read(t.rows, t.version);
        EXPECT_EQ(parser.towerFrequency, t.tower) << t.rows;
    }
}

TEST_F(ParserTest, AirportWithoutTowerGetsTheUnicomOrTheFakeFrequencyAndKeepsTheLastApproach)
{
    Read("55 11920 APP\n56 12010 DEP\n54 11990 TWR\n53 12180 GND\n");
    Read("53 12180 GND\n", 11300);
    EXPECT_EQ(parser.towerFrequency, 12685);
    Read("53 12180 GND\n", 12000);
    EXPECT_EQ(parser.towerFrequency, 126850);
    // Approach and departure survive an airport that has none.
    EXPECT_EQ(parser.approachFrequency + parser.departureFrequency + parser.groundFrequency, 119200 + 120100 + 121800);

    Read("51 12295 UNICOM\n");
    EXPECT_EQ(parser.towerFrequency + parser.groundFrequency, 122950);
    Read("54 11990 TWR\n51 12295 UNICOM\n");
    EXPECT_EQ(parser.towerFrequency, 119900);
}

TEST_F(ParserTest, EveryPublishedComFrequencyIsKeptInOrderAndTheFirstIsThePrimary)
{
    // A military field of current scenery: a UHF tower listed first, two ground, three approach rows.
    Read("1054 257800 TWR\n1054 118300 TWR\n1054 126200 TWR\n1053 121700 GND\n1053 121900 GND\n"
         "1051 122950 UNICOM\n1055 119200 APP\n1055 120100 APP\n1055 125900 APP\n1050 3023 HF\n");
    EXPECT_EQ(parser.towerFrequency, 118300);
    EXPECT_EQ(parser.towerFrequencies, (std::vector<double>{118300, 126200})); // the unicom is no tower here
    EXPECT_EQ(parser.groundFrequencies, (std::vector<double>{121700, 121900}));
    EXPECT_EQ(parser.approachFrequency, 119200);
    EXPECT_EQ(parser.approachFrequencies, (std::vector<double>{119200, 120100, 125900}));
    EXPECT_TRUE(parser.atisFrequencies.empty());
    EXPECT_TRUE(Logged("airport TEST, row 1054 frequency '257800' is not a COM frequency (118.000 to 136.990 MHz)"));
    EXPECT_TRUE(Logged("row 1050 frequency '3023' is not a COM frequency"));

    // Tens of kHz before 11330; unicom rows all serve as the tower of a field without one.
    Read("51 12280 CTAF\n51 12295 UNICOM\n53 12170 GND\n53 12190 GND\n", 11300);
    EXPECT_EQ(parser.towerFrequencies, (std::vector<double>{12280, 12295}));
    EXPECT_EQ(parser.groundFrequencies, (std::vector<double>{12170, 12190}));
    EXPECT_EQ(parser.approachFrequencies, (std::vector<double>{119200, 120100, 125900})); // kept from the last read
}

TEST_F(ParserTest, RunwayHeadingsFollowTheQuadrantOfTheFarEndAndEndsTakeTheBlastPad)
{
    Read(RunwayRow("09", 47.0, -122.0, 0, 0, "27", 47.0, -121.9) + RunwayRow("36", 47.0, -122.0, 0, 0, "18", 47.1, -122.0) +
         RunwayRow("04", 47.0, -122.0, 0, 0, "22", 47.1, -121.9) + RunwayRow("13", 47.1, -122.0, 0, 0, "31", 47.0, -121.9) +
         RunwayRow("22", 47.1, -121.9, 0, 0, "04", 47.0, -122.0) + RunwayRow("31", 47.0, -121.9, 0, 0, "13", 47.1, -122.0));
    ASSERT_EQ(parser.runways.size(), 12u);
    EXPECT_NEAR(parser.runways[0].heading, 90, 1e-3);
    EXPECT_NEAR(parser.runways[1].heading, 270, 1e-3);
    EXPECT_EQ(parser.runways[2].heading, 360); // due north stays 360
    EXPECT_EQ(parser.runways[3].heading, 180);
    const float lower[] = {0, 90, 180, 270};
    for (int q = 0; q < 4; q++) {
        float h = parser.runways[4 + 2 * q].heading, reverse = parser.runways[5 + 2 * q].heading;
        EXPECT_GT(h, lower[q]) << "quadrant " << q;
        EXPECT_LT(h, lower[q] + 90) << "quadrant " << q;
        EXPECT_NEAR(std::fmod(h + 180, 360), reverse, 1e-3);
    }

    // The runway end takes the blast pad when the threshold is not displaced.
    Read(RunwayRow("16L", 47.46, -122.31, 0, 60, "34R", 47.43, -122.31, 150, 30));
    ASSERT_EQ(parser.runways.size(), 2u);
    EXPECT_EQ(parser.runways[0].number, 16);
    EXPECT_STREQ(parser.runways[0].name, "16L");
    EXPECT_EQ(parser.runways[0].thresholdLength, 60);
    EXPECT_EQ(parser.runways[1].thresholdLength, 150);
}

TEST_F(ParserTest, ParkingKeepsThirtyGatesApronsAndRampsButNotHangarsOrTieDowns)
{
    Read("15 47.1 -122.3 90.5 Gate A1\n15 47.1 -122.3 10 Tie down 3\n15 47.1 -122.3 10 Ramp 5\n"
         "1300 47.2 -122.4 180 gate jets|turboprops A 12\n1300 47.2 -122.4 0 hangar props H1\n"
         "1300 47.2 -122.4 0 tie_down props T1\n1300 47.2 -122.4 0 misc helos\tPad\n");
    std::string kept; // name/type/gate/legacy/id
    for (const auto &parking : parser.parkings)
        kept += parking.name + "/" + parking.type + "/" + std::to_string(parking.isGate) + "/" +
                std::to_string(parking.legacy) + "/" + std::to_string(parking.id) + " ";
    EXPECT_EQ(kept, "Gate A1//1/1/0 Ramp 5//0/1/1 A 12/jets|turboprops/1/0/2 Pad/helos/0/0/3 ");
    EXPECT_FLOAT_EQ(parser.parkings[0].heading, 90.5f);

    std::string rows;
    for (int i = 0; i < 35; i++)
        rows += "1300 47.2 -122.4 0 gate jets G" + std::to_string(i) + "\n";
    Read(rows);
    ASSERT_EQ(parser.parkings.size(), 30u);
    EXPECT_EQ(parser.parkings[29].name, "G29");
}

TEST_F(ParserTest, YellowLineNodesAreNumberedWithinTheLineAndTheAirportUnderTheLineName)
{
    Read("111 46.0 -122.0 1\n" // before any line: not stored
         "120 Centreline for Taxi B\n111 47.0 -122.0 1 102\n111 47.0 -122.1\n112 47.0 -122.2 47.1 -122.2 51\n"
         "113 47.0 -122.3\n115 47.0 -122.4\n"
         "120 Line for Taxiway C1\n111 47.5 -122.0 20\n111 47.5 -122.1 20\n115 47.5 -122.2\n115 47.5 -122.3\n"
         "120\n120 Centreline for Taxi join\n111 47.2 -122.0 1\n"
         "110 1 0.25 0 Pavement\n111 47.7 -122.0\n111 47.7 -122.1\n113 47.7 -122.2\n");
    ASSERT_EQ(parser.puntiTaxi.size(), 5u);
    // A node row without a line type keeps its line's last one.
    EXPECT_EQ(parser.puntiTaxi[1].lineType, 1);
    EXPECT_DOUBLE_EQ(parser.puntiTaxi[1].lon, -122.1);
    // The loop-closing row ends the line with the type of the row before it; the row after it is no node.
    const Parser::linePoint &end = parser.puntiTaxi[3];
    EXPECT_EQ(end.name, "B"); // the paint words dropped
    EXPECT_EQ(end.id, 3);
    EXPECT_EQ(end.lineType, 51);
    EXPECT_DOUBLE_EQ(end.lon, -122.3);
    // A white line stores no node, not even its end; a pavement's nodes belong to no line.
    const Parser::linePoint &last = parser.puntiTaxi[4];
    EXPECT_EQ(last.name, "");
    EXPECT_EQ(last.lineID, 2); // a lone "120" has one field and is skipped
    EXPECT_EQ(last.globalID, 4);
    EXPECT_DOUBLE_EQ(last.lat, (double)47.2f);
}

TEST_F(ParserTest, TaxiNetworkKeepsNodesNamedEdgesAndTheirRunwayZones)
{
    Read("1200 network\n1201 47.43808485 -122.31124805 both 5273 16L34R_start\n1201 47.44 -122.31 junc 5274\n"
         "1201 47.44 -122.32 both\n1201 north -122.3 both 7 x\n"
         "1202 5273 5274 twoway runway 16L/34R\n1204 departure 16L,34R\n1204 ils 16L\n"
         "1202 5274 5275 oneway taxiway_C A 7\n1204 departure 16L\n1204 departure 34R\n1204 arrival 34R\n"
         "1202 5275 5276 sideways taxiway B\n1204 departure 16L\n1202 5274 5275 twoway taxiway C\n1204 holding 16L\n"
         "1202 1 2 twoway\n1206 1 2 twoway service\n");
    ASSERT_EQ(parser.taxiNodes.size(), 2u);
    EXPECT_EQ(parser.taxiNodes[0].id, 5273);
    EXPECT_DOUBLE_EQ(parser.taxiNodes[0].lat, 47.43808485); // double precision
    ASSERT_EQ(parser.taxiEdges.size(), 3u);
    std::string edges; // from-to name runway/one-way departure|arrival|ils zones
    for (const Parser::taxiEdge &e : parser.taxiEdges)
        edges += std::to_string(e.from) + "-" + std::to_string(e.to) + " " + e.name + " " + std::to_string(e.runway) +
                 "/" + std::to_string(e.oneWay) + " " + e.departureZone + "|" + e.arrivalZone + "|" + e.ilsZone + "\n";
    EXPECT_EQ(edges, "5273-5274 16L/34R 1/0 16L,34R||16L\n5274-5275 A 7 0/1 16L,34R|34R|\n5274-5275 C 0/0 ||\n");
    // The node without a number, the node without a position, the edge of no direction (and the zone after
    // it, which must not go to the edge before), the edge row too short and the zone of no kind are each
    // named in the log.
    EXPECT_EQ(parser.taxiEdges[2].departureZone, "");
    EXPECT_EQ(LogCount("follows no edge that was kept"), 1);
    EXPECT_EQ(LogCount("needs 5 fields"), 2);
    EXPECT_EQ(LogCount("is not a node with a position and a number"), 1);
    EXPECT_EQ(LogCount("is not an edge between two nodes"), 1);
    EXPECT_EQ(LogCount("names no departure, arrival or ils zone"), 1);
}

TEST_F(ParserTest, TaxiNodesSouthAndWestAreKeptButNotGarbageOnes)
{
    Read("120 Taxi A\n111 -33.94 151.17 1\n111 -33.95 -70.8 1\n111 north -122.0 1\n111 95.0 10.0 1\n"
         "111 47.0 -190 1\n111 nan 1 1\n");
    ASSERT_EQ(parser.puntiTaxi.size(), 2u);
    EXPECT_DOUBLE_EQ(parser.puntiTaxi[1].lon, -70.8);
    EXPECT_EQ(LogCount("is not a position, skipped"), 4);
}

TEST_F(ParserTest, RunwayUseRulesFromLegacyAndCurrentRows)
{
    Read("1100 16L 11920 arrivals|departures jets 000360 160160 Both\n"
         "1110 34R 119900 ARRIVALS jets 290020 340340 North\n"
         "1100 16R 11920 helos 000360 160160 Nothing\n"
         "1110 16C 119900 departures\n");
    auto rules = [](const auto &list) { // a rule for arrivals and departures is a rule of both lists
        std::string text;
        for (const auto &rule : list)
            text += std::string(rule.runway) + " " + rule.operations + " " + std::to_string(rule.headingFrom) + "-" +
                    std::to_string(rule.headingTo) + "|";
        return text;
    };
    EXPECT_EQ(rules(parser.runwaysInUseDeparture), "16L arrivals|departures 0-360|");
    EXPECT_EQ(rules(parser.runwaysInUseArrival), "16L arrivals|departures 0-360|34R ARRIVALS 290-20|");
    EXPECT_TRUE(Logged("row 1110 needs 6 fields, has 4; skipped"));
}

TEST_F(ParserTest, AirportWithoutANameIsFoundAndTheNextHeaderEndsIt)
{
    std::string path = HostFile("three.dat", AptText("1 10 1 0 AAAA First\r\n54 11800 T\r\n"
                                                      "1 20 1 0 BBBB\r\n54 11900 T\r\n"
                                                      "16 30 1 0 CCCC Third\r\n54 12000 T\r\n"));
    EXPECT_EQ(parser.readAptDat("BBBB", path, 0, 15.5f), 1);
    EXPECT_EQ(parser.towerFrequency, 119000);
    EXPECT_EQ(parser.readAptDat("bbbb", path, 0, 15.5f), 0);
    EXPECT_EQ(parser.towerFrequency, 126850);
}

TEST_F(ParserTest, RealSeattleHasRunwaysRulesThirtyGatesAndLinkedTaxiLines)
{
    ClearSceneryIndex();
    parseSingleAptDat(TestData("apt/pnw.apt.dat"));
    parseSingleAptDat(TestData("apt/kbix-gateway.apt.dat"));
    ASSERT_EQ(IcaoMap.size(), 4u); // KSEA, CYXX, W28 and KBIX
    ASSERT_EQ(parser.readAptDat("KSEA", IcaoMap["KSEA"].ICAOfilePath, IcaoMap["KSEA"].readOffset, 15.3f), 1);
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
