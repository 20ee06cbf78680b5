// Taxi routes over real airports: KSEA and KBIX over their taxi routing networks, KBFI over its painted
// lines, Sequim (W28) with neither.
#include <cstring>
#include <string>

#include "monitor/Functions.h"
#include "navdata/AptFiles.h"
#include "planning/RunwaySelection.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"
#include "taxi/TaxiNames.h"
#include "taxi/TaxiSearch.h"
#include "ui/Settings.h"

namespace
{

class RealAirportsRoute : public HostTest
{
  protected:
    pilot record;
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
};

// KSEA (tests/data/apt/pnw.apt.dat, from the sample) routes over its network from gate A1 south along the
// apron's unnamed edges onto B; 16L's departure holds lie west of the runway, reached over J, T and C.
// KBIX (Gateway) over its network from the tie-down D8; KBFI over its painted lines (network rows taken
// out, tests/data/taxi/kbfi-lines.apt.dat); Sequim has neither.
TEST_F(RealAirportsRoute, GateToRunwayOverNetworksAndPaintedLines)
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

TEST_F(RealAirportsRoute, RunwayChangeBeforeTaxiApprovalLeadsTheRouteToTheNewRunway)
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
