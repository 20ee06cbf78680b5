// Taxi routes over real airports: KSEA and KBIX over their taxi routing networks, KBFI over its painted
// lines, Sequim (W28) with neither.
#include <cstring>
#include <string>

#include "monitor/Functions.h"
#include "navdata/AptFiles.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"
#include "taxi/TaxiNames.h"
#include "taxi/TaxiSearch.h"
#include "ui/Settings.h"

namespace {

class RealAirportsRoute : public HostTest {
  protected:
    pilot record;
    /// The aircraft on the ground at parking `gate` of icao (read from the test data file), cleared for
    /// the runway end `runway`.
    void AtGate(const char *file, const char *icao, const char *gate, const char *runway)
    {
        record = pilot();
        record.depAirportICAO = icao;
        record.variazioneMagnetica = -15.5f;
        ASSERT_EQ(record.parser.readAptDat(icao, TestData(file), 0, 0), 1);
        bool found = false;
        for (const Parser::parking &p : record.parser.parkings) {
            if (p.name == gate) {
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

TEST_F(RealAirportsRoute, Explore)
{
    struct Row { const char *file, *icao, *gate, *runway; };
    const Row rows[] = {
        {"apt/pnw.apt.dat", "KSEA", "A1", "16L"},
        {"apt/pnw.apt.dat", "KSEA", "A1", "34R"},
        {"apt/pnw.apt.dat", "KSEA", "B9", "16L"},
        {"apt/pnw.apt.dat", "KSEA", "B9", "34R"},
        {"taxi/kbfi-lines.apt.dat", "KBFI", "", "13R"},
    };
    for (const Row &row : rows) {
        record = pilot();
        ASSERT_EQ(record.parser.readAptDat(row.icao, TestData(row.file), 0, 0), 1);
        for (const Parser::parking &p : record.parser.parkings) printf("[%s]", p.name.c_str());
        printf("\n");
        if (row.gate[0] == 0) continue;
        AtGate(row.file, row.icao, row.gate, row.runway);
        TracciaTaxiPath(&record);
        printf("%s %s->%s: %zu points via '%s' end %.3f nm\n", row.icao, row.gate, row.runway, record.taxiPoints.size(),
               Via().c_str(), EndToRunway_nm());
    }
}

} // namespace
