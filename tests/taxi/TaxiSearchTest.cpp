// The taxi route search on hand-made airports: painted-line graphs with junctions, islands and stray
// line ends, a small network with a one-way edge, and the faults of the search it must not have.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "monitor/Functions.h"
#include "navdata/AptFiles.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"
#include "taxi/TaxiGuide.h"
#include "taxi/TaxiNames.h"
#include "taxi/TaxiSearch.h"
#include "ui/Settings.h"

namespace
{

class TaxiSearch : public HostTest
{
  protected:
    pilot record;
    /// Reads airport TEST from the rows, puts the aircraft at (lat, lon) and clears it to runway 36, whose
    /// threshold is at (rwyLat, rwyLon) (a runway row to 18 far south).
    void Airport(const std::string &rows, double lat, double lon, double rwyLat, double rwyLon)
    {
        record = pilot();
        record.depAirportICAO = "TEST";
        std::string path =
            HostFile("taxi.dat", AptText("1 100 1 0 TEST Test Field\n" +
                                         RunwayRow("36", rwyLat, rwyLon, 0, 0, "18", rwyLat - 0.02, rwyLon) + rows));
        ASSERT_EQ(record.parser.readAptDat("TEST", path, 0, 0), 1);
        record.latitudine = lat;
        record.longitudine = lon;
        const Parser::runway &end = record.parser.runways[0];
        pilot::runwayStruct &r = record.departureRunwayStruct;
        snprintf(r.name, sizeof r.name, "%s", end.name);
        r.number = end.number;
        r.lat = end.lat;
        r.lon = end.lon;
        r.heading = end.heading;
        r.thresholdLength = end.thresholdLength;
        r.index = 1;
    }
    std::string Via()
    {
        char via[TAXI_VIA_SIZE];
        Taxi_ViaText(&record, via, sizeof via);
        return via;
    }
    /// The graph node of a route point.
    int NodeOf(const pilot::linePoint &point)
    {
        return gTaxiGraph.network ? TaxiGraph_NodeOfFileId(gTaxiGraph, point.globalID) : point.globalID;
    }
    bool Adjacent(int a, int b)
    {
        const TaxiGraph::node &n = gTaxiGraph.nodes[(size_t)a];
        for (int k = 0; k < n.edgeCount; k++)
            if (gTaxiGraph.edges[(size_t)(n.firstEdge + k)].to == b)
                return true;
        return false;
    }
    static double Box(const pilot::linePoint &p, double lat, double lon)
    {
        return std::max(std::fabs(p.lat - lat), std::fabs(p.lon - lon));
    }
};

std::string Line(const char *name, std::initializer_list<std::pair<double, double>> nodes, int type = 1)
{
    std::string rows = std::string("120 ") + name + "\n";
    size_t i = 0;
    char row[128];
    for (const auto &n : nodes) {
        bool last = ++i == nodes.size();
        snprintf(row, sizeof row, "%s %.6f %.6f %d\n", last ? "115" : "111", n.first, n.second, type);
        rows += row;
    }
    return rows;
}

// MARK: the search over painted lines and a network

TEST_F(TaxiSearch, RoutesEndInTheirBoxesAlongAdjacentPointsOrNotAtAll)
{
    const double y = 47.0, x = -122.0;
    const std::string tee =
        Line("Centreline for Taxi A", {{y, x - 0.003}, {y, x - 0.002}, {y, x - 0.001}, {y, x}, {y, x + 0.001}}) +
        Line("Centreline for Taxi B", {{y, x}, {y + 0.001, x}, {y + 0.002, x}, {y + 0.003, x}});
    const std::string chain = Line("Centreline for Taxi C", {{y, x}, {y + 0.0015, x}}) +
                              Line("Centreline for Taxi D", {{y + 0.0015, x}, {y + 0.003, x}}) +
                              Line("Centreline for Taxi E", {{y + 0.003, x}, {y + 0.0045, x}});
    // Node 1 holds short of the runway (node 9, on it); 2 -> 1 is one-way; 3 also reaches the runway
    // at node 10, but nothing taxis along the runway from 10 to 9.
    const std::string network = "1200\n1201 47.000 -122.000 both 1 hold\n1201 47.001 -122.000 both 2 mid\n"
                                "1201 47.002 -122.000 both 3 far\n1201 46.9995 -122.000 both 9 rwy\n"
                                "1201 46.9995 -121.999 both 10 rwy\n1202 9 10 twoway runway 18/36\n"
                                "1202 1 9 twoway taxiway K\n1204 departure 18,36\n1202 3 2 twoway taxiway L\n"
                                "1202 3 10 twoway taxiway_E M\n";
    struct Case {
        const char *what;
        std::string rows;
        double lat, lon, rwyLat, rwyLon;
        const char *via; ///< nullptr: no route
    } cases[] = {
        {"a T-junction", tee, y, x - 0.003, y + 0.003, x, "#A#, #B#"},
        {"a chain of junctions", chain, y, x, y + 0.0045, x, "#C#, #D#, #E#"},
        {"a start on a node", tee, y, x - 0.002, y + 0.003, x, "#A#, #B#"},
        {"a start between nodes", tee, y + 0.0001, x - 0.0025, y + 0.003, x, "#A#, #B#"},
        {"an empty runway box", tee, y, x - 0.003, y + 0.01, x, nullptr},
        {"the aircraft far from any line", tee, y - 0.01, x, y + 0.003, x, nullptr},
        {"disconnected islands",
         Line("Centreline for Taxi A", {{y, x}, {y, x + 0.001}}) +
             Line("Centreline for Taxi B", {{y + 0.003, x}, {y + 0.003, x + 0.001}}),
         y, x, y + 0.003, x, nullptr},
        // The end node of a white line next to the runway would have become a target nothing reaches.
        {"a stray hold-line end", tee + Line("Hold", {{y + 0.0032, x + 0.0005}, {y + 0.0031, x}}, 20), y, x - 0.003,
         y + 0.0031, x, "#A#, #B#"},
        {"a one-way edge in its direction", network + "1202 2 1 oneway taxiway K\n", 47.002, -122.000, 46.9995,
         -122.000, "#L#, #K#"},
        {"a one-way edge against it", network + "1202 1 2 oneway taxiway K\n", 47.002, -122.000, 46.9995, -122.000,
         nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Airport(c.rows, c.lat, c.lon, c.rwyLat, c.rwyLon);
        TracciaTaxiPath(&record);
        if (c.via == nullptr) {
            EXPECT_TRUE(record.taxiPoints.empty());
            EXPECT_EQ(Via(), "");
            continue;
        }
        ASSERT_GE(record.taxiPoints.size(), 2u);
        EXPECT_EQ(Via(), c.via);
        EXPECT_LT(Box(record.taxiPoints.back(), c.lat, c.lon), 0.004);
        EXPECT_LT(Box(record.taxiPoints.front(), c.rwyLat, c.rwyLon), 0.004);
        for (size_t i = 0; i + 1 < record.taxiPoints.size(); i++) {
            // Points run from the runway back to the aircraft; the aircraft drives the other way.
            EXPECT_TRUE(Adjacent(NodeOf(record.taxiPoints[i + 1]), NodeOf(record.taxiPoints[i]))) << i;
            EXPECT_GT(record.taxiPoints[i].distanzaFlooding, 0.0f);
        }
        EXPECT_GT(record.taxiPoints.back().distanzaFlooding, 0.0f); // even on the aircraft's own node
        for (const Parser::linePoint &node : record.parser.puntiTaxi)
            EXPECT_NE(node.lineType, 20);
    }
}

// MARK: the names said

TEST_F(TaxiSearch, ViaNamesRunFromTheAircraftOnlyTaxiwaysAtMostFourNeverCut)
{
    struct Case {
        std::vector<const char *> fromRunway; ///< route point names as stored: runway end first
        size_t size;
        const char *via;
    } cases[] = {
        {{"C", "C", "T", "J", "B", "B"}, TAXI_VIA_SIZE, "#B#, #J#, #T#, #C#"},
        {{"B", "Linear Feature 13", "B", "CL N 16L", "", "a7"}, TAXI_VIA_SIZE, "#A7#, #B#"},
        {{"E", "D", "C", "B", "A"}, TAXI_VIA_SIZE, "#A#, #B#, #C#, #D#"},
        {{"#K#", " *B* ", "@NB@"}, TAXI_VIA_SIZE, "#NB#, #B#, #K#"},
        {{"ABC", "A123", "7", "Taxiway B"}, TAXI_VIA_SIZE, ""},
        {{"B", "A"}, 8, "#A#"}, // "#A#, #B#" needs 9 bytes: B is left out, not cut
        {{}, TAXI_VIA_SIZE, ""},
    };
    for (const Case &c : cases) {
        record = pilot();
        for (const char *name : c.fromRunway)
            record.AddTaxiPoint(0, 0, 1, name, 0, 47, -122);
        char via[TAXI_VIA_SIZE];
        memset(via, 'x', sizeof via);
        int count = Taxi_ViaText(&record, via, c.size);
        EXPECT_STREQ(via, c.via);
        EXPECT_EQ(count, (int)std::count(c.via, c.via + strlen(c.via), '#') / 2);
    }
}

// MARK: faults the search must not have

TEST_F(TaxiSearch, WalkEndsOnALoopAndNothingIsSearchedInTheAirOrWithoutRunway)
{
    const double y = 47.0, x = -122.0;
    const std::string tee = Line("Centreline for Taxi A", {{y, x - 0.003}, {y, x - 0.002}, {y, x}}) +
                            Line("Centreline for Taxi B", {{y, x}, {y + 0.002, x}, {y + 0.003, x}});
    Airport(tee, y, x - 0.003, y + 0.003, x);
    TracciaTaxiPath(&record);
    ASSERT_FALSE(record.taxiPoints.empty());

    // Predecessors that loop never reach a start: the walk stops after one step per node.
    gTaxiGraph.previous[1] = 2;
    gTaxiGraph.previous[2] = 1;
    EXPECT_EQ(CalcolaDistanzaInversa(2, &record, gTaxiGraph), 0);
    EXPECT_TRUE(Logged("did not reach a start node"));
    EXPECT_EQ(CalcolaDistanzaInversa(999, &record, gTaxiGraph), 0);

    // A new search forgets the old route and its guide, whatever stops it.
    struct Case {
        const char *what;
        int inAir, runwayIndex;
        const char *log;
    } cases[] = {
        {"airborne", 1, 1, "in the air, no taxi route"},
        {"no runway", 0, 0, "no departure runway, no taxi route"},
    };
    for (const Case &c : cases) {
        Airport(tee, y, x - 0.003, y + 0.003, x);
        TracciaTaxiPath(&record);
        ASSERT_FALSE(taxiGuide.empty());
        record.datiPilotaImpostati = 1;
        record.isOnGround = c.inAir ? 0 : 1;
        record.departureRunwayStruct.index = c.runwayIndex;
        TracciaTaxiPath(&record);
        EXPECT_TRUE(record.taxiPoints.empty()) << c.what;
        EXPECT_TRUE(taxiGuide.empty()) << c.what;
        EXPECT_TRUE(Logged(c.log)) << c.what;
    }
}

TEST_F(TaxiSearch, SearchLeavesTheWindCorrectionAloneAndTheGuideFollowsEachRoute)
{
    const double y = 47.0, x = -122.0;
    // An L: 0.12 nm east then 0.18 nm north; and a second runway at the far end of line C.
    Airport(Line("Centreline for Taxi A", {{y, x - 0.003}, {y, x}}) +
                Line("Centreline for Taxi B", {{y, x}, {y + 0.003, x}}) +
                Line("Centreline for Taxi C", {{y, x}, {y - 0.003, x}}),
            y, x - 0.003, y + 0.003, x);
    record.datiPilotaImpostati = 1;
    record.isOnGround = 1;
    record.trueAirspeed = 10;
    record.velocitaVento = 30;
    record.windHeading = 90;
    record.angoloDiCorrezioneVento = 7;
    record.dirVentoRelativa = 11;
    TracciaTaxiPath(&record);
    EXPECT_EQ(record.angoloDiCorrezioneVento, 7);
    EXPECT_EQ(record.dirVentoRelativa, 11);

    for (double goalLat : {y + 0.003, y - 0.003}) {
        record.departureRunwayStruct.lat = (float)goalLat;
        TracciaTaxiPath(&record);
        ASSERT_GE(taxiGuide.size(), 10u);
        // From the aircraft along the route's legs, a step of 0.02 nm apart, ending at the holding point.
        EXPECT_NEAR(taxiGuide.front().lon, x - 0.003, 1e-6);
        EXPECT_NEAR(taxiGuide.back().lat, goalLat, 1e-4);
        for (size_t i = 0; i + 1 < taxiGuide.size(); i++) {
            const pilot::linePoint &a = taxiGuide[i], &b = taxiGuide[i + 1];
            EXPECT_TRUE(a.lat == y || a.lon == x) << i; // on the lines, never across the corner
            distanceToCoord d{};
            CalcolaDistanzaCoordinataMini(a.lat, a.lon, b.lat, b.lon, &d, nullptr);
            EXPECT_LE(d.distance, 0.0201f) << i;
        }
        EXPECT_EQ(taxiGuide.back().name, goalLat > y ? "B" : "C");
    }
}

TEST_F(TaxiSearch, KmlOnlyWithExportEscapedAndAFailedWriteLogged)
{
    const double y = 47.0, x = -122.0;
    const std::string rows = Line("Centreline for Taxi A&<B>", {{y, x - 0.003}, {y, x}}) +
                             Line("Centreline for Taxi \"Q\"", {{y, x}, {y + 0.003, x}});
    const std::string kml = "Resources/plugins/Vellomir64/TaxiPath.kml";
    simhost::WriteFile("Resources/plugins/Vellomir64/keep", "");
    gKMLExp = 0;
    Airport(rows, y, x - 0.003, y + 0.003, x);
    TracciaTaxiPath(&record);
    EXPECT_FALSE(simhost::FileExists(kml));

    gKMLExp = 1;
    TracciaTaxiPath(&record);
    std::string text = simhost::ReadFile(kml);
    EXPECT_NE(text.find("<name>0 - A&amp;&lt;B&gt;</name>"), std::string::npos) << text;
    EXPECT_NE(text.find("&quot;Q&quot;"), std::string::npos);
    size_t placemarks = 0;
    for (size_t at = 0; (at = text.find("<Placemark>", at)) != std::string::npos; at++)
        placemarks++;
    EXPECT_EQ(placemarks, record.taxiPoints.size() - 1); // one per edge of the route
    EXPECT_EQ(text.substr(text.size() - 27), "</Folder></Document></kml>\n");

    // A folder in the file's place: the failure is logged and the route stays.
    remove((simhost::SystemPath() + kml).c_str());
    simhost::WriteFile("Resources/plugins/Vellomir64/TaxiPath.kml/x", "");
    TracciaTaxiPath(&record);
    EXPECT_TRUE(Logged("cannot write"));
    EXPECT_FALSE(record.taxiPoints.empty());
    gKMLExp = 1;
}

} // namespace
