// The apt.dat airport reader (Parser::readAptDat) at an offset, as the scenery index hands it one.
// Input: offset (2 bytes, modulo the file size + 2; the last value stands for -1), X-Plane version
// (1 byte), airport identifier (1 byte), then the file.
#include <cmath>

#include "FuzzHost.h"
#include "navdata/Parser.h"

namespace {

const char *const kIdentifiers[] = {"KSEA", "KBIX", "LOWI", "W28", "CYXX", "1"};

void CheckAirport(const Parser &parser)
{
    FUZZ_CHECK(parser.parkings.size() <= PARSER_MAX_PARKINGS, "%zu parking positions", parser.parkings.size());
    for (const Parser::runway &end : parser.runways) {
        FUZZ_CHECK(std::isfinite(end.lat) && std::isfinite(end.lon) && std::isfinite(end.thresholdLength),
                   "runway %s: a coordinate or length that is not a number", end.name);
        FUZZ_CHECK(end.heading >= 0 && end.heading <= 360, "runway %s: heading %f", end.name, end.heading);
    }
    for (const Parser::parking &position : parser.parkings)
        FUZZ_CHECK(std::isfinite(position.lat) && std::isfinite(position.lon) && std::isfinite(position.heading),
                   "parking %s: a value that is not a number", position.name.c_str());
    for (size_t i = 0; i < parser.puntiTaxi.size(); i++) {
        const Parser::linePoint &node = parser.puntiTaxi[i];
        FUZZ_CHECK(std::fabs(node.lat) <= 90 && std::fabs(node.lon) <= 180, "taxi node %zu at %f %f", i, node.lat,
                   node.lon);
        FUZZ_CHECK(node.globalID == (int)i, "taxi node %zu has globalID %d", i, node.globalID);
        FUZZ_CHECK(node.lineType == 1 || node.lineType == 51, "taxi node %zu of line type %d", i, node.lineType);
        for (int neighbour : node.neighbourIDs)
            FUZZ_CHECK(neighbour >= 0 && (size_t)neighbour < parser.puntiTaxi.size() && neighbour != (int)i,
                       "taxi node %zu linked to %d", i, neighbour);
    }
    for (double frequency : {parser.towerFrequency, parser.groundFrequency, parser.deliveryFrequency,
                             parser.approachFrequency, parser.departureFrequency, parser.atisFrequency})
        FUZZ_CHECK(std::isfinite(frequency), "a frequency that is not a number");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::StartHost();
    fuzz::Input input{data, size};
    uint16_t offsetWord = input.Word();
    fuzz::SetVersion(fuzz::VersionOf(input.Byte()));
    const char *icao = kIdentifiers[input.Byte() % (sizeof kIdentifiers / sizeof kIdentifiers[0])];
    std::string path = fuzz::LayFile("apt.dat", input.data, input.size);
    int64_t offset = offsetWord % (int64_t)(input.size + 2);
    if (offset == (int64_t)input.size + 1)
        offset = -1;

    Parser parser; // a fresh one each run, so that a run frees what it allocated (else every run is leak-checked)
    int found = parser.readAptDat(icao, path, offset, 15.5f);
    FUZZ_CHECK(found == 0 || found == 1, "readAptDat returned %d", found);
    CheckAirport(parser);
    return 0;
}
