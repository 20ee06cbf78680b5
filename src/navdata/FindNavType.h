// Resolution of a route or procedure waypoint identifier through the simulator's navigation database.
#pragma once

#include <string>

#include "XPLMNavigation.h"
#include "state/Pilot.h"

/// The X-Plane navaid type of the waypoint named `identifier` nearest to the reference point (or to the
/// aircraft when refLat or refLon is 0): 4 VOR, 2 NDB, 1024 DME for identifiers of up to four characters,
/// 512 for five-character fixes, 0 when not resolved. outLat/outLon (either may be null) get its position.
int findNavType(const char *identifier, pilot *tmpPilot, float refLat, float refLon, float *outLat, float *outLon);

/// The navaid of `type` whose identifier is exactly `identifier`, nearest to (lat, lon);
/// XPLM_NAV_NOT_FOUND when there is none. (XPLMFindNavAid alone matches identifier fragments: "SEA"
/// would find the localizer ISEA, "PDX" the airport KPDX.)
XPLMNavRef FindNav_Exact(const char *identifier, XPLMNavType type, float lat, float lon);

/// An airport of the simulator's navigation database.
struct NavAirport {
    std::string name;   ///< as the database writes it
    float lat = 0, lon = 0;
    float height_m = 0; ///< elevation, metres
};
/// The airport with exactly this identifier nearest to (lat, lon); false when there is none.
bool FindNav_Airport(const std::string &identifier, float lat, float lon, NavAirport *out);
/// True when an airport's name marks it as a heliport: "[h]", "heliport" or "hospital" in any case.
bool FindNav_IsHeliportName(std::string name);
