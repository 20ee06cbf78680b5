// Waypoint resolution: a route word becomes the nearest VOR, NDB or DME (up to four characters) or fix
// (five characters) of that identifier, searched near the previous waypoint.
#include "navdata/FindNavType.h"

#include <cctype>
#include <cmath>
#include <cstring>

#include "XPLMNavigation.h"
#include "monitor/Functions.h"
#include "plugin/Log.h"

namespace {

/// The nearest navaid of one type with the identifier, and its distance in whole nautical miles.
struct NavCandidate {
    bool found = false;
    float lat = 0, lon = 0;
    int dist_nm = 0;
};

/// Size XPLMGetNavAidInfo writes identifiers into.
const int kNavIdSize = 32;
/// Size XPLMGetNavAidInfo writes names into.
const int kNavNameSize = 256;

bool FindNav_idIs(XPLMNavRef ref, const char *identifier)
{
    char id[kNavIdSize] = "";
    XPLMGetNavAidInfo(ref, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, id, nullptr, nullptr);
    id[kNavIdSize - 1] = 0;
    return strcmp(id, identifier) == 0;
}

/// A distance measure for comparing candidates (squared degrees, longitude scaled by the latitude).
double FindNav_spread(float lat, float lon, float otherLat, float otherLon)
{
    double dLon = std::fabs((double)otherLon - lon);
    if (dLon > 180)
        dLon = 360 - dLon;
    dLon *= std::cos(((double)lat + otherLat) * 0.5 * M_PI / 180.0);
    double dLat = (double)otherLat - lat;
    return dLat * dLat + dLon * dLon;
}

NavCandidate FindNav_Nearest(const char *identifier, float lat, float lon, XPLMNavType type, pilot *tmpPilot)
{
    NavCandidate c;
    XPLMNavRef ref = FindNav_Exact(identifier, type, lat, lon);
    if (ref == XPLM_NAV_NOT_FOUND)
        return c;
    XPLMGetNavAidInfo(ref, nullptr, &c.lat, &c.lon, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    distanceToCoord d = {0, 0, 0};
    CalcolaDistanzaCoordinataMini(lat, lon, c.lat, c.lon, &d, tmpPilot);
    c.found = true;
    c.dist_nm = (int)d.distance;
    return c;
}

} // namespace

XPLMNavRef FindNav_Exact(const char *identifier, XPLMNavType type, float lat, float lon)
{
    if (identifier == nullptr || identifier[0] == 0 || strlen(identifier) >= (size_t)kNavIdSize)
        return XPLM_NAV_NOT_FOUND;
    float searchLat = lat, searchLon = lon;
    XPLMNavRef nearest = XPLMFindNavAid(nullptr, identifier, &searchLat, &searchLon, nullptr, type);
    if (nearest == XPLM_NAV_NOT_FOUND || FindNav_idIs(nearest, identifier))
        return nearest;
    // The nearest match is a longer identifier: look through every entry of the type for exact ones.
    XPLMNavRef best = XPLM_NAV_NOT_FOUND;
    double bestSpread = 0;
    XPLMNavRef last = XPLMFindLastNavAidOfType(type);
    for (XPLMNavRef ref = XPLMFindFirstNavAidOfType(type); ref != XPLM_NAV_NOT_FOUND; ref = XPLMGetNextNavAid(ref)) {
        char id[kNavIdSize] = "";
        float refLat = 0, refLon = 0;
        XPLMGetNavAidInfo(ref, nullptr, &refLat, &refLon, nullptr, nullptr, nullptr, id, nullptr, nullptr);
        id[kNavIdSize - 1] = 0;
        if (strcmp(id, identifier) == 0) {
            double spread = FindNav_spread(lat, lon, refLat, refLon);
            if (best == XPLM_NAV_NOT_FOUND || spread < bestSpread) {
                best = ref;
                bestSpread = spread;
            }
        }
        if (ref == last)
            break;
    }
    return best;
}

int findNavType(const char *identifier, pilot *tmpPilot, float refLat, float refLon, float *outLat, float *outLon)
{
    const char *tag = "findNavType";
    if (identifier == nullptr)
        identifier = "";
    PrintInfoLocal(tag, "Entering SearchNavType...for %s", identifier);
    if (strstr(identifier, "DCT") != nullptr) {
        PrintDebugLocal(tag, "Skipping DIRECT fix search");
        return 0;
    }

    float lat = refLat, lon = refLon;
    if (refLat != 0 && refLon != 0) {
        PrintInfoLocal(tag, "Searching close to the previous waypoint %f/%f", lat, lon);
    } else {
        lat = tmpPilot != nullptr ? (float)tmpPilot->latitudine : 0.0f;
        lon = tmpPilot != nullptr ? (float)tmpPilot->longitudine : 0.0f;
        PrintInfoLocal(tag, "Searching close to aircraft position %f - %f", lat, lon);
    }
    PrintInfoLocal(tag, "SearchNavType: Try to find: %s near lat %f and lon %f", identifier, lat, lon);

    int navTypeTmp = 0;
    float bestLat = 0, bestLon = 0;
    const size_t length = strlen(identifier);
    // An empty word would match every navaid: it is not searched, like words of six characters or more.
    if (length > 0 && length < 5) {
        PrintInfoLocal(tag, "SearchNavType: less of 5 chars waypoint, searching as VOR...");
        const char *bestName = "VOR";
        NavCandidate vor = FindNav_Nearest(identifier, lat, lon, xplm_Nav_VOR, tmpPilot);
        const int dV = vor.found ? vor.dist_nm : 0;
        if (vor.found) {
            PrintInfoLocal(tag, "SearchNavType: Found VOR lat/lon %f/%f in a distance of %i miles (navType: %i)",
                           vor.lat, vor.lon, dV, xplm_Nav_VOR);
            navTypeTmp = xplm_Nav_VOR;
            bestLat = vor.lat;
            bestLon = vor.lon;
        } else {
            PrintInfoLocal(tag, "VOR not found");
        }

        PrintInfoLocal(tag, "Looking for a closer NDB...");
        int bestDist = dV;
        NavCandidate ndb = FindNav_Nearest(identifier, lat, lon, xplm_Nav_NDB, tmpPilot);
        if (ndb.found) {
            const int dN = ndb.dist_nm;
            PrintInfoLocal(tag, "SearchNavType: Found NDB lat/lon %f/%f in a distance of %i miles, (navType expected: %i)",
                           ndb.lat, ndb.lon, dN, xplm_Nav_NDB);
            // A distance of 0 (under a mile, or nothing found) counts as no candidate.
            if ((dN != 0 && dV > dN) || dV == 0) {
                PrintInfoLocal(tag,
                               "SearchNavType: NDB (dist %i nm, %f/%f) is closer than %s (dist %f nm, %f %f), using NDB, "
                               "(navType: %i)",
                               dN, ndb.lat, ndb.lon, bestName, (double)dV, vor.lat, vor.lon, xplm_Nav_NDB);
                navTypeTmp = xplm_Nav_NDB;
                bestLat = ndb.lat;
                bestLon = ndb.lon;
                bestDist = dN;
                bestName = "NDB";
            } else {
                PrintInfoLocal(tag,
                               "SearchNavType: %s (dist %f nm, %f/%f) is closer than NDB (dist %i nm, %f %f), using %s, "
                               "(navType: %i)",
                               bestName, (double)dV, vor.lat, vor.lon, dN, ndb.lat, ndb.lon, bestName, navTypeTmp);
            }
        } else {
            PrintInfoLocal(tag, "NDB not found");
        }

        PrintInfoLocal(tag, "Looking for a closer DME...");
        NavCandidate dme = FindNav_Nearest(identifier, lat, lon, xplm_Nav_DME, tmpPilot);
        if (dme.found) {
            const int dD = dme.dist_nm;
            PrintInfoLocal(tag, "SearchNavType: Found DME lat/lon %f/%f in a distance of %i miles, (navType expected: %i)",
                           dme.lat, dme.lon, dD, xplm_Nav_DME);
            if (bestDist > dD || bestDist == 0) {
                PrintInfoLocal(tag,
                               "SearchNavType: DME (dist %i nm, %f/%f) is closer than %s (dist %f nm, %f %f), using DME, "
                               "(navType: %i)",
                               dD, dme.lat, dme.lon, bestName, (double)bestDist, bestLat, bestLon, xplm_Nav_DME);
                navTypeTmp = xplm_Nav_DME;
                bestLat = dme.lat;
                bestLon = dme.lon;
            } else {
                PrintInfoLocal(tag,
                               "SearchNavType: %s (dist %f nm, %f/%f) is closer than DME (dist %i nm, %f %f), using %s, "
                               "(navType: %i)",
                               bestName, (double)bestDist, bestLat, bestLon, dD, dme.lat, dme.lon, bestName, navTypeTmp);
            }
        } else {
            PrintInfoLocal(tag, "DME not found");
        }
    } else if (length == 5) {
        PrintInfoLocal(tag, "SearchNavType: 5 chars waypoint, searching as FIX...");
        NavCandidate fix = FindNav_Nearest(identifier, lat, lon, xplm_Nav_Fix, tmpPilot);
        if (fix.found) {
            PrintInfoLocal(tag, "SearchNavType: found %s at lat/lon %f/%f, (navType: %i)", identifier, fix.lat, fix.lon,
                           xplm_Nav_Fix);
            navTypeTmp = xplm_Nav_Fix;
            bestLat = fix.lat;
            bestLon = fix.lon;
        } else {
            PrintInfoLocal(tag, "SearchNavType: 5 chars waypoint search fails");
        }
    }

    if (navTypeTmp == 0) {
        PrintDebugLocal(tag, "SearchNavType: navTypeTmp 0, search failed!");
        return 0;
    }
    if (outLat != nullptr)
        *outLat = bestLat;
    if (outLon != nullptr)
        *outLon = bestLon;
    return navTypeTmp;
}

bool FindNav_Airport(const std::string &identifier, float lat, float lon, NavAirport *out)
{
    XPLMNavRef ref = FindNav_Exact(identifier.c_str(), xplm_Nav_Airport, lat, lon);
    if (ref == XPLM_NAV_NOT_FOUND)
        return false;
    char name[kNavNameSize] = "";
    NavAirport found;
    XPLMGetNavAidInfo(ref, nullptr, &found.lat, &found.lon, &found.height_m, nullptr, nullptr, nullptr, name,
                      nullptr);
    name[kNavNameSize - 1] = 0;
    found.name = name;
    if (!std::isfinite(found.height_m))
        found.height_m = 0;
    if (out != nullptr)
        *out = found;
    return true;
}

bool FindNav_IsHeliportName(std::string name)
{
    for (char &c : name)
        c = (char)tolower((unsigned char)c);
    return name.find("[h]") != std::string::npos || name.find("heliport") != std::string::npos ||
           name.find("hospital") != std::string::npos;
}
