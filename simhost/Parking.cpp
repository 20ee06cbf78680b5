// The startup locations of the scenery's airports, and placing the aircraft on one of them.
#include <strings.h>

#include "NavDatabase.h"

namespace simhost {

using namespace detail;

std::vector<ParkingPosition> ParkingPositions(const std::string &icao)
{
    std::vector<ParkingPosition> positions;
    for (const AptStartup &s : NavStartups()) {
        if (s.airport != icao)
            continue;
        ParkingPosition p;
        p.name = s.name;
        p.kind = s.kind;
        p.lat = s.lat;
        p.lon = s.lon;
        p.headingTrue_deg = s.heading;
        p.elevation_m = s.elevationM;
        positions.push_back(p);
    }
    return positions;
}

bool PlaceAtParking(const std::string &icao, const std::string &name)
{
    std::vector<ParkingPosition> positions = ParkingPositions(icao);
    const ParkingPosition *chosen = nullptr;
    for (const ParkingPosition &p : positions)
        if (p.name == name) {
            chosen = &p;
            break;
        }
    for (size_t i = 0; chosen == nullptr && i < positions.size(); i++)
        if (strcasecmp(positions[i].name.c_str(), name.c_str()) == 0)
            chosen = &positions[i];
    if (chosen == nullptr)
        return false;
    PlaceAircraft(chosen->lat, chosen->lon, chosen->elevation_m, chosen->headingTrue_deg, true);
    return true;
}

} // namespace simhost
