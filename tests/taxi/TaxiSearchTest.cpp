// The taxi route search on hand-made airports (painted-line graphs with junctions, islands and stray line
// ends, a small network with a one-way edge, and the faults of the search it must not have) and on real
// ones: KSEA and KBIX over their taxi routing networks, KBFI over its painted lines, Sequim (W28) with neither.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "monitor/Functions.h"
#include "navdata/AptFiles.h"
#include "planning/RunwaySelection.h"
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
        SetRunway("36");
    }
    /// The aircraft on the ground at parking `gate` of icao (read from the test data file), or at (lat, lon)
    /// without a gate, cleared for the runway end `runway`.
    void AtGate(const char *file, const char *icao, const char *gate, const char *runway, double lat = 0,
                double lon = 0)
    {
        record = pilot();
        record.depAirportICAO = icao;
        record.variazioneMagnetica = -15.5f;
        record.latitudine = lat;
        record.longitudine = lon;
        ASSERT_EQ(record.parser.readAptDat(icao, TestData(file), 0, 0), 1);
        bool found = gate == nullptr;
        for (const Parser::parking &p : record.parser.parkings) {
            if (gate != nullptr && p.name == gate) {
                record.latitudine = p.lat;
                record.longitudine = p.lon;
                record.headingAttuale = p.heading + record.variazioneMagnetica;
                found = true;
            }
        }
        ASSERT_TRUE(found) << gate;
        SetRunway(runway);
    }
    void SetRunway(const char *runway)
    {
        const std::vector<Parser::runway> &ends = record.parser.runways;
        for (size_t i = 0; i < ends.size(); i++) {
            if (strcmp(ends[i].name, runway) != 0)
                continue;
            pilot::runwayStruct &r = record.departureRunwayStruct;
            r.number = ends[i].number;
            snprintf(r.name, sizeof r.name, "%s", ends[i].name);
            r.lat = ends[i].lat;
            r.lon = ends[i].lon;
            r.index = (int)i + 1;
            r.thresholdLength = ends[i].thresholdLength;
            r.heading = ends[i].heading;
        }
        ASSERT_NE(record.departureRunwayStruct.index, 0) << runway;
    }
    std::string Via()
    {
        char via[TAXI_VIA_SIZE];
        Taxi_ViaText(&record, via, sizeof via);
        return via;
    }
    float EndToRunway_nm()
    {
        double lat = 0, lon = 0;
        Taxi_HoldingPoint(&record, &lat, &lon);
        distanceToCoord d{};
        CalcolaDistanzaCoordinataMini(lat, lon, record.departureRunwayStruct.lat, record.departureRunwayStruct.lon, &d,
                                      nullptr);
        return d.distance;
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

// MARK: real airports

// KSEA (tests/data/apt/pnw.apt.dat, from the sample) routes over its network from gate A1 south along the
// apron's unnamed edges onto B; 16L's departure holds lie west of the runway, reached over J, T and C.
// KBIX (Gateway) over its network from the tie-down D8; KBFI over its painted lines (network rows taken
// out, tests/data/taxi/kbfi-lines.apt.dat); Sequim has neither.
TEST_F(TaxiSearch, RealAirportGateToRunwayOverNetworksAndPaintedLines)
{
    struct Row {
        const char *file, *icao, *gate;
        double lat, lon; ///< when there is no gate
        const char *runway, *via;
        bool routed;
        bool endWithinRadius; ///< the route ends within holdingPointRadius of the runway's point
    } rows[] = {
        {"apt/pnw.apt.dat", "KSEA", "A1", 0, 0, "16L", "#B#, #J#, #T#, #C#", true, true},
        {"apt/pnw.apt.dat", "KSEA", "A1", 0, 0, "34R", "#B#", true, true},
        {"apt/kbix-gateway.apt.dat", "KBIX", nullptr, 30.40438570, -88.92068954, "03", "#D#, #A#, #B#", true, false},
        {"apt/kbix-gateway.apt.dat", "KBIX", nullptr, 30.40438570, -88.92068954, "21", "#D#, #A#, #F#", true, false},
        {"taxi/kbfi-lines.apt.dat", "KBFI", "Terminal", 0, 0, "13R", "#A#", true, true},
        {"taxi/kbfi-lines.apt.dat", "KBFI", "Terminal", 0, 0, "13L", "", false, false},
        {"apt/pnw.apt.dat", "W28", nullptr, 48.0990, -123.1872, "09", "", false, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.icao) + " " + row.runway);
        AtGate(row.file, row.icao, row.gate, row.runway, row.lat, row.lon);
        size_t before = simhost::LogLines().size();
        TracciaTaxiPath(&record);
        EXPECT_LE(simhost::LogLines().size() - before, 20u);
        EXPECT_EQ(Via(), row.via);
        EXPECT_EQ(!record.taxiPoints.empty(), row.routed);
        if (row.endWithinRadius) {
            EXPECT_LT(EndToRunway_nm(), holdingPointRadius);
        }
    }
}

TEST_F(TaxiSearch, RealAirportRunwayChangeBeforeTaxiApprovalLeadsTheRouteToTheNewRunway)
{
    AtGate("apt/pnw.apt.dat", "KSEA", "A1", "16L");
    record.isOnGround = 1;
    TracciaTaxiPath(&record);
    ASSERT_EQ(Via(), "#B#, #J#, #T#, #C#");
    for (size_t i = 0; i < record.parser.runways.size(); i++)
        if (strcmp(record.parser.runways[i].name, "34R") == 0)
            record.preferredDepRunway = (int)i + 1;
    record.preferredDepRunwayAirport = "KSEA";
    ChangeDepRunway(&record);
    EXPECT_STREQ(record.departureRunwayStruct.name, "34R");
    EXPECT_EQ(Via(), "#B#");
    EXPECT_LT(EndToRunway_nm(), holdingPointRadius);

    // Once the taxi is approved the route stays as cleared.
    record.gIsTaxiingApproved = 1;
    record.preferredDepRunway = 1; // 16L, the first runway row's first end
    ChangeDepRunway(&record);
    EXPECT_STREQ(record.departureRunwayStruct.name, "16L");
    EXPECT_EQ(Via(), "#B#");
}

} // namespace
