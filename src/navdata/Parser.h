// One airport read out of an apt.dat file: frequencies, runway ends, parking positions,
// runway-use rules, the nodes of the painted taxi lines and the taxi routing network.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Parser {
  public:
    struct runway {
        int number = 0;           ///< leading digits of the designator (09L gives 9)
        char name[5] = {0};       ///< designator, at most 4 characters
        float lat = 0, lon = 0;   ///< threshold, degrees
        float thresholdLength = 0; ///< displaced threshold in metres, else the blast pad length
        float heading = 0;        ///< true heading from this end, degrees 0..360
    };

    struct parking {
        int id = 0;               ///< order of acceptance, 0 for the first
        std::string name;
        std::string type;         ///< row 1300 airplane types as written; empty for row 15
        bool legacy = false;      ///< true for a row-15 position
        int isGate = 0;
        float lat = 0, lon = 0;
        float heading = 0;
    };

    struct linePoint {
        int id = 0;               ///< index of the node within its line
        int globalID = 0;         ///< index in puntiTaxi
        int lineID = 0;           ///< running number of the painted line
        float distanzaFlooding = 0; ///< label of the taxi route search, nm
        std::string name;         ///< cleaned name of the line
        double lat = 0, lon = 0;
        std::vector<int> neighbourIDs; ///< nodes lying on the same spot
        std::vector<int> otherIDs;
        int lineType = 0;         ///< 1 or 51
    };

    struct runwayInUseDeparture {
        char runway[256] = {0};
        char operations[32] = {0};
        int headingFrom = 0, headingTo = 0;
    };
    typedef runwayInUseDeparture runwayInUseArrival;

    /// One node of the taxi routing network (row 1201).
    struct taxiNode {
        int id = 0; ///< the node's number in the file, which the edges name
        double lat = 0, lon = 0;
    };

    /// One edge of the taxi routing network (row 1202) with the runways of its zones (rows 1204).
    struct taxiEdge {
        int from = 0, to = 0;  ///< node numbers as in the file
        bool oneWay = false;   ///< usable from `from` to `to` only
        bool runway = false;   ///< runs along a runway
        std::string name;      ///< taxiway (or runway) name as written
        std::string departureZone, arrivalZone, ilsZone; ///< runway designators, comma separated
    };

    Parser() = default;
    virtual ~Parser() = default;

    /// Reads the airport icao from the apt.dat file at path, starting at the byte offset of its header
    /// row (from the airport index), into this object. magneticVariation (degrees) is only logged.
    /// Returns airportFound: 1 when the header was met, else 0.
    int readAptDat(const std::string &icao, const std::string &path, int64_t offset, float magneticVariation);

    double towerFrequency = 0;
    double groundFrequency = 0;
    double deliveryFrequency = 0;
    double approachFrequency = 0;
    double departureFrequency = 0;
    double atisFrequency = 0;
    /// Every COM frequency the airport publishes for each facility, in the order listed; the first (the
    /// primary) is also the member above. A tower lists its radio information (row 51) frequencies when the
    /// airport publishes no tower frequency.
    std::vector<double> towerFrequencies, groundFrequencies, deliveryFrequencies, approachFrequencies,
        departureFrequencies, atisFrequencies;
    int lineCounter = -1;
    int nodeInLineCounter = -1;
    int nodeCounter = -1;
    std::vector<runway> runways;
    std::vector<runwayInUseDeparture> runwaysInUseDeparture;
    std::vector<runwayInUseArrival> runwaysInUseArrival;
    std::vector<parking> parkings;
    std::vector<linePoint> puntiTaxi;
    std::vector<taxiNode> taxiNodes; ///< taxi routing network, empty when the airport has none
    std::vector<taxiEdge> taxiEdges;
    int airportFound = 0;
};

/// Most parking positions one airport keeps.
enum { PARSER_MAX_PARKINGS = 30 };

/// The choose-runway window's scratch airport.
extern Parser gTmpParser;
