// The taxi route search over an airport read from fuzzed apt.dat bytes (network rows, painted lines,
// runways and parking positions), from a parking position or a node to a runway end.
// Input: X-Plane version (1 byte), airport identifier (1), start (1: bit 0 from a parking position, else a
// taxi node; the rest picks which), runway end (1), then the file.
#include <cmath>
#include <cstring>

#include "FuzzHost.h"
#include "navdata/Parser.h"
#include "state/Pilot.h"
#include "taxi/TaxiGuide.h"
#include "taxi/TaxiNames.h"
#include "taxi/TaxiSearch.h"
#include "ui/Settings.h"

namespace
{

const char *const kIdentifiers[] = {"KSEA", "KBIX", "TEST", "1"};

bool InRange(double lat, double lon)
{
    return std::isfinite(lat) && std::isfinite(lon) && std::fabs(lat) <= 90 && std::fabs(lon) <= 180;
}

void CheckRoute(const pilot &record, size_t nodes)
{
    FUZZ_CHECK(record.taxiPoints.size() <= nodes, "%zu route points from %zu nodes", record.taxiPoints.size(), nodes);
    for (const pilot::linePoint &point : record.taxiPoints) {
        FUZZ_CHECK(InRange(point.lat, point.lon), "route point at %f %f", point.lat, point.lon);
        FUZZ_CHECK(point.distanzaFlooding > 0 && std::isfinite(point.distanzaFlooding), "route point labelled %f",
                   point.distanzaFlooding);
    }
    for (size_t i = 0; i + 1 < record.taxiPoints.size(); i++)
        FUZZ_CHECK(record.taxiPoints[i].distanzaFlooding >= record.taxiPoints[i + 1].distanzaFlooding,
                   "route labels grow towards the aircraft at point %zu", i);
    FUZZ_CHECK(taxiGuide.size() <= TAXI_GUIDE_MAX_POINTS, "%zu guide points", taxiGuide.size());
    FUZZ_CHECK(record.taxiPoints.size() >= 2 || taxiGuide.empty(), "a guide without a route");
    for (const pilot::linePoint &point : taxiGuide)
        FUZZ_CHECK(InRange(point.lat, point.lon), "guide point at %f %f", point.lat, point.lon);
    char via[TAXI_VIA_SIZE];
    int names = Taxi_ViaText(&record, via, sizeof via);
    FUZZ_CHECK(names >= 0 && names <= TAXI_VIA_MAX_NAMES, "%d names", names);
    FUZZ_CHECK(strchr(via, '*') == nullptr && strchr(via, '@') == nullptr, "markup in '%s'", via);
    size_t marks = 0;
    for (const char *c = via; *c != 0; c++)
        marks += *c == '#' ? 1 : 0;
    FUZZ_CHECK(marks == 2 * (size_t)names, "'%s' for %d names", via, names);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::StartHost();
    gKMLExp = 0;
    fuzz::Input input{data, size};
    fuzz::SetVersion(fuzz::VersionOf(input.Byte()));
    const char *icao = kIdentifiers[input.Byte() % (sizeof kIdentifiers / sizeof kIdentifiers[0])];
    uint8_t start = input.Byte(), runway = input.Byte();
    std::string path = fuzz::LayFile("apt.dat", input.data, input.size);

    static pilot record; // large: kept between runs, its airport and route replaced each time
    record.parser.readAptDat(icao, path, 0, 15.5f);
    record.taxiPoints.clear();
    const Parser &airport = record.parser;
    if (airport.runways.empty())
        return 0;
    if ((start & 1) && !airport.parkings.empty()) {
        const Parser::parking &at = airport.parkings[(start >> 1) % airport.parkings.size()];
        record.latitudine = at.lat;
        record.longitudine = at.lon;
        record.headingAttuale = at.heading;
    } else if (!airport.taxiNodes.empty()) {
        const Parser::taxiNode &at = airport.taxiNodes[(start >> 1) % airport.taxiNodes.size()];
        record.latitudine = at.lat;
        record.longitudine = at.lon;
    } else if (!airport.puntiTaxi.empty()) {
        const Parser::linePoint &at = airport.puntiTaxi[(start >> 1) % airport.puntiTaxi.size()];
        record.latitudine = at.lat;
        record.longitudine = at.lon;
    }
    size_t which = runway % airport.runways.size();
    const Parser::runway &end = airport.runways[which];
    pilot::runwayStruct &r = record.departureRunwayStruct;
    snprintf(r.name, sizeof r.name, "%s", end.name);
    r.lat = end.lat;
    r.lon = end.lon;
    r.heading = end.heading;
    r.thresholdLength = end.thresholdLength;
    r.index = (int)which + 1;
    TracciaTaxiPath(&record);
    CheckRoute(record, airport.taxiNodes.size() + airport.puntiTaxi.size());
    return 0;
}
