// The legacy FMS of the SDK: 100 entries, each a navaid or a lat/lon with an altitude, the entry shown
// and the entry flown to. Plug-in calls with bad indexes or references are reported, as they would
// leave X-Plane's flight plan broken.
#include <cstdio>

#include "HostInternal.h"
#include "NavDatabase.h"
#include "XPLMNavigation.h"

namespace simhost {
namespace detail {

namespace {

struct Entry {
    XPLMNavType type = xplm_Nav_Unknown; ///< xplm_Nav_LatLon for a lat/lon entry
    XPLMNavRef ref = XPLM_NAV_NOT_FOUND;
    std::string id;
    int altitude = 0;
    float lat = 0, lon = 0;
};

struct Fms {
    Entry entries[kFmsEntries];
    int displayed = 0;
    int destination = 0;
    FmsClear clearing = FmsClear::Shift;
    int writeCalls = 0;
};
Fms gFms;

bool ValidIndex(int index, const char *call)
{
    if (index >= 0 && index < kFmsEntries)
        return true;
    HostError("%s(%d): the FMS has entries 0 to %d", call, index, kFmsEntries - 1);
    return false;
}

/// Entries before the first empty one: the flight plan X-Plane flies.
int PlanLength()
{
    int count = 0;
    while (count < kFmsEntries && gFms.entries[count].type != xplm_Nav_Unknown)
        count++;
    return count;
}

/// Writing an entry past the end of the plan leaves a gap X-Plane's FMS cannot fly across.
void CheckContiguous(int index, const char *call)
{
    int length = PlanLength();
    if (index > length)
        HostError("%s(%d) leaves entries %d to %d empty: the FMS is programmed with contiguous entries", call,
                  index, length, index - 1);
}

const char *KindOf(XPLMNavType type)
{
    switch (type) {
    case xplm_Nav_Airport:
        return "airport";
    case xplm_Nav_NDB:
        return "ndb";
    case xplm_Nav_VOR:
        return "vor";
    case xplm_Nav_Fix:
        return "fix";
    case xplm_Nav_LatLon:
        return "latlon";
    default:
        return "";
    }
}

} // namespace

void ResetFms()
{
    gFms = Fms();
}

bool FmsDestinationPoint(float &lat, float &lon, int &altitude_ft)
{
    const Entry &e = gFms.entries[gFms.destination];
    if (e.type == xplm_Nav_Unknown)
        return false;
    lat = e.lat;
    lon = e.lon;
    altitude_ft = e.altitude;
    return true;
}

bool FmsSequence()
{
    const int next = gFms.destination + 1;
    if (next >= PlanLength())
        return false;
    gFms.destination = next;
    gFms.displayed = next;
    return true;
}

} // namespace detail

using namespace detail;

void SetFmsClearing(FmsClear mode)
{
    gFms.clearing = mode;
}

FmsEntry FmsEntryAt(int index)
{
    FmsEntry out;
    if (index < 0 || index >= kFmsEntries)
        return out;
    const Entry &e = gFms.entries[index];
    out.kind = KindOf(e.type);
    out.type = e.type;
    out.id = e.id;
    out.ref = e.ref;
    out.altitude_ft = e.altitude;
    out.lat = e.lat;
    out.lon = e.lon;
    return out;
}

std::vector<FmsEntry> FmsPlan()
{
    std::vector<FmsEntry> plan;
    for (int i = 0, n = PlanLength(); i < n; i++)
        plan.push_back(FmsEntryAt(i));
    return plan;
}

int FmsDisplayedEntry()
{
    return gFms.displayed;
}

int FmsDestinationEntry()
{
    return gFms.destination;
}

int FmsWriteCalls()
{
    return gFms.writeCalls;
}

} // namespace simhost

using namespace simhost::detail;

XPLM_API int XPLMCountFMSEntries(void)
{
    return PlanLength();
}

XPLM_API int XPLMGetDisplayedFMSEntry(void)
{
    return gFms.displayed;
}

XPLM_API int XPLMGetDestinationFMSEntry(void)
{
    return gFms.destination;
}

XPLM_API void XPLMSetDisplayedFMSEntry(int inIndex)
{
    gFms.writeCalls++;
    if (ValidIndex(inIndex, "XPLMSetDisplayedFMSEntry"))
        gFms.displayed = inIndex;
}

XPLM_API void XPLMSetDestinationFMSEntry(int inIndex)
{
    gFms.writeCalls++;
    if (!ValidIndex(inIndex, "XPLMSetDestinationFMSEntry"))
        return;
    if (gFms.entries[inIndex].type == xplm_Nav_Unknown)
        HostError("XPLMSetDestinationFMSEntry(%d): the entry is empty, there is nothing to fly to", inIndex);
    gFms.destination = inIndex;
}

XPLM_API void XPLMGetFMSEntryInfo(int inIndex, XPLMNavType *outType, char *outID, XPLMNavRef *outRef,
                                  int *outAltitude, float *outLat, float *outLon)
{
    Entry empty;
    const Entry &e = ValidIndex(inIndex, "XPLMGetFMSEntryInfo") ? gFms.entries[inIndex] : empty;
    if (outType != nullptr)
        *outType = e.type;
    if (outID != nullptr)
        snprintf(outID, 256, "%s", e.id.c_str());
    if (outRef != nullptr)
        *outRef = e.ref;
    if (outAltitude != nullptr)
        *outAltitude = e.altitude;
    if (outLat != nullptr)
        *outLat = e.lat;
    if (outLon != nullptr)
        *outLon = e.lon;
}

XPLM_API void XPLMSetFMSEntryInfo(int inIndex, XPLMNavRef inRef, int inAltitude)
{
    gFms.writeCalls++;
    if (!ValidIndex(inIndex, "XPLMSetFMSEntryInfo"))
        return;
    const NavAid *navaid = NavDatabaseEntry(inRef);
    if (navaid == nullptr) {
        HostError("XPLMSetFMSEntryInfo(%d) with an invalid navaid reference %d", inIndex, inRef);
        return;
    }
    if (KindOf(navaid->type)[0] == 0 || navaid->type == xplm_Nav_LatLon) {
        HostError("XPLMSetFMSEntryInfo(%d): navaid %s of type %d; the FMS takes airports, NDBs, VORs and fixes",
                  inIndex, navaid->id.c_str(), navaid->type);
        return;
    }
    CheckContiguous(inIndex, "XPLMSetFMSEntryInfo");
    Entry &e = gFms.entries[inIndex];
    e.type = navaid->type;
    e.ref = inRef;
    e.id = navaid->id;
    e.altitude = inAltitude;
    e.lat = navaid->lat;
    e.lon = navaid->lon;
}

XPLM_API void XPLMSetFMSEntryLatLon(int inIndex, float inLat, float inLon, int inAltitude)
{
    gFms.writeCalls++;
    if (!ValidIndex(inIndex, "XPLMSetFMSEntryLatLon"))
        return;
    if (!(inLat >= -90.0f && inLat <= 90.0f && inLon >= -180.0f && inLon <= 180.0f)) {
        HostError("XPLMSetFMSEntryLatLon(%d) with no position: %f %f", inIndex, inLat, inLon);
        return;
    }
    CheckContiguous(inIndex, "XPLMSetFMSEntryLatLon");
    Entry &e = gFms.entries[inIndex];
    e = Entry();
    e.type = xplm_Nav_LatLon;
    e.altitude = inAltitude;
    e.lat = inLat;
    e.lon = inLon;
}

XPLM_API void XPLMClearFMSEntry(int inIndex)
{
    gFms.writeCalls++;
    if (!ValidIndex(inIndex, "XPLMClearFMSEntry"))
        return;
    if (gFms.clearing == simhost::FmsClear::Blank) {
        gFms.entries[inIndex] = Entry();
        return;
    }
    for (int i = inIndex; i + 1 < simhost::kFmsEntries; i++)
        gFms.entries[i] = gFms.entries[i + 1];
    gFms.entries[simhost::kFmsEntries - 1] = Entry();
    // The entries shown and flown to keep pointing at the same waypoints.
    if (gFms.destination > inIndex)
        gFms.destination--;
    if (gFms.displayed > inIndex)
        gFms.displayed--;
}

XPLM_API XPLMNavType XPLMGetGPSDestinationType(void)
{
    XPLMNavType type = gFms.entries[gFms.destination].type;
    return type == xplm_Nav_LatLon ? xplm_Nav_Unknown : type;
}

XPLM_API XPLMNavRef XPLMGetGPSDestination(void)
{
    return gFms.entries[gFms.destination].ref;
}
