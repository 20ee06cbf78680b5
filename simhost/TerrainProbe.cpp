// X-Plane's local (OpenGL) frame and its terrain probes. The local frame is Cartesian, in metres, with its
// origin on the sea-level sphere near the aircraft: X east, Y up and Z south at the origin. The frame
// moves between frames when the aircraft gets far from it (or when a test moves it), so local
// coordinates are only good within the frame they were computed in. A Y probe finds the tallest terrain
// on the line parallel to Y through the point; outside the loaded scenery (about 300 x 300 km around the
// aircraft) it hits the sea-level sphere, as X-Plane's does.
#include <cmath>
#include <memory>
#include <vector>

#include "HostInternal.h"
#include "XPLMGraphics.h"
#include "XPLMScenery.h"

namespace simhost {
namespace detail {

namespace {

/// The sphere of the simulated Earth.
const double kEarthRadius_m = 6371008.8;
/// Half the side of the loaded scenery square around the aircraft.
const double kLoadedHalfSide_m = 150000.0;
/// The frame follows the aircraft once it is this far from the origin.
const double kFrameShift_m = 100000.0;
const double kRad = M_PI / 180.0;

struct Vec {
    double x, y, z;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator*(double k, Vec a) { return {k * a.x, k * a.y, k * a.z}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

struct Frame {
    double lat = 0, lon = 0;
    Vec east{0, 1, 0}, north{0, 0, 1}, up{1, 0, 0}, origin{kEarthRadius_m, 0, 0};
};

struct ProbeObject {
    int type = 0;
    bool alive = true;
};

struct ProbeState {
    Frame frame;
    std::vector<std::unique_ptr<ProbeObject>> probes; ///< alive
    Retired<ProbeObject> retired;                      ///< so that stale handles are recognised
    ProbeStats stats;
};
ProbeState gProbes;

Vec Unit(double lat, double lon)
{
    return {std::cos(lat * kRad) * std::cos(lon * kRad), std::cos(lat * kRad) * std::sin(lon * kRad),
            std::sin(lat * kRad)};
}

void PlaceFrame(double lat, double lon)
{
    Frame &f = gProbes.frame;
    f.lat = lat;
    f.lon = lon;
    f.up = Unit(lat, lon);
    f.east = {-std::sin(lon * kRad), std::cos(lon * kRad), 0};
    f.north = {-std::sin(lat * kRad) * std::cos(lon * kRad), -std::sin(lat * kRad) * std::sin(lon * kRad),
               std::cos(lat * kRad)};
    f.origin = kEarthRadius_m * f.up;
}

Vec FromLocal(double x, double y, double z)
{
    const Frame &f = gProbes.frame;
    return f.origin + x * f.east + y * f.up + (-z) * f.north;
}

void ToWorld(Vec p, double &lat, double &lon, double &alt)
{
    double r = std::sqrt(Dot(p, p));
    lat = std::atan2(p.z, std::hypot(p.x, p.y)) / kRad;
    lon = std::atan2(p.y, p.x) / kRad;
    alt = r - kEarthRadius_m;
}

/// True when (lat, lon) lies in the scenery loaded around the aircraft.
bool Loaded(double lat, double lon)
{
    AircraftState a = Aircraft();
    double north = (lat - a.lat) * kRad * kEarthRadius_m;
    double dLon = std::remainder(lon - a.lon, 360.0);
    double east = dLon * kRad * kEarthRadius_m * std::cos(a.lat * kRad);
    return std::fabs(north) <= kLoadedHalfSide_m && std::fabs(east) <= kLoadedHalfSide_m;
}

ProbeObject *Find(XPLMProbeRef ref, const char *call)
{
    for (const std::unique_ptr<ProbeObject> &p : gProbes.probes)
        if (p.get() == ref)
            return p.get();
    if (gProbes.retired.Holds(ref))
        HostError("%s: probe %p was destroyed", call, ref);
    else
        HostError("%s: %p is not a probe", call, ref);
    return nullptr;
}

} // namespace

void ResetTerrainProbes()
{
    gProbes = ProbeState();
    PlaceFrame(0, 0);
}

void TerrainFrameBegins(double aircraftLat, double aircraftLon, bool placed)
{
    gProbes.stats.probesInFrame = 0;
    if (!placed)
        return;
    double x, y, z;
    XPLMWorldToLocal(aircraftLat, aircraftLon, 0, &x, &y, &z);
    if (std::hypot(x, z) > kFrameShift_m)
        PlaceFrame(aircraftLat, aircraftLon);
}

void TerrainPlaceFrame(double lat, double lon)
{
    PlaceFrame(lat, lon);
}

size_t RetiredProbes()
{
    return gProbes.retired.Size();
}

void TerrainPluginStopped()
{
    int alive = (int)gProbes.probes.size();
    for (std::unique_ptr<ProbeObject> &p : gProbes.probes) {
        p->alive = false;
        gProbes.retired.Add(std::move(p));
    }
    gProbes.probes.clear();
    gProbes.stats.alive = 0;
    if (alive > 0)
        HostError("the plug-in stopped with %d terrain probe(s) not destroyed", alive);
}

} // namespace detail

using namespace detail;

void SetLocalOrigin(double lat, double lon)
{
    PlaceFrame(lat, lon);
}

ProbeStats TerrainProbeStats()
{
    return gProbes.stats;
}

} // namespace simhost

using namespace simhost;
using namespace simhost::detail;

XPLM_API void XPLMWorldToLocal(double inLatitude, double inLongitude, double inAltitude, double *outX, double *outY,
                               double *outZ)
{
    const Frame &f = gProbes.frame;
    Vec d = (kEarthRadius_m + inAltitude) * Unit(inLatitude, inLongitude) - f.origin;
    if (outX != nullptr)
        *outX = Dot(d, f.east);
    if (outY != nullptr)
        *outY = Dot(d, f.up);
    if (outZ != nullptr)
        *outZ = -Dot(d, f.north);
}

XPLM_API void XPLMLocalToWorld(double inX, double inY, double inZ, double *outLatitude, double *outLongitude,
                               double *outAltitude)
{
    double lat, lon, alt;
    ToWorld(FromLocal(inX, inY, inZ), lat, lon, alt);
    if (outLatitude != nullptr)
        *outLatitude = lat;
    if (outLongitude != nullptr)
        *outLongitude = lon;
    if (outAltitude != nullptr)
        *outAltitude = alt;
}

XPLM_API XPLMProbeRef XPLMCreateProbe(XPLMProbeType inProbeType)
{
    if (inProbeType != xplm_ProbeY)
        HostError("XPLMCreateProbe: unknown probe type %d", inProbeType);
    gProbes.probes.push_back(std::make_unique<ProbeObject>());
    gProbes.probes.back()->type = inProbeType;
    gProbes.stats.created++;
    gProbes.stats.alive++;
    return gProbes.probes.back().get();
}

XPLM_API void XPLMDestroyProbe(XPLMProbeRef inProbe)
{
    ProbeObject *p = Find(inProbe, "XPLMDestroyProbe");
    if (p == nullptr)
        return;
    p->alive = false;
    Retire(gProbes.probes, gProbes.retired, p);
    gProbes.stats.destroyed++;
    gProbes.stats.alive--;
}

XPLM_API XPLMProbeResult XPLMProbeTerrainXYZ(XPLMProbeRef inProbe, float inX, float inY, float inZ,
                                             XPLMProbeInfo_t *outInfo)
{
    (void)inY; // the line runs along Y whatever the height asked from
    ProbeObject *p = Find(inProbe, "XPLMProbeTerrainXYZ");
    if (p == nullptr)
        return xplm_ProbeError;
    if (outInfo == nullptr || outInfo->structSize != (int)sizeof(XPLMProbeInfo_t)) {
        HostError("XPLMProbeTerrainXYZ: probe info size %d, not %d", outInfo != nullptr ? outInfo->structSize : -1,
                  (int)sizeof(XPLMProbeInfo_t));
        return xplm_ProbeError;
    }
    if (p->type != xplm_ProbeY)
        return xplm_ProbeError;
    gProbes.stats.probes++;
    gProbes.stats.probesInFrame++;
    if (gProbes.stats.probesInFrame > gProbes.stats.maxProbesInFrame)
        gProbes.stats.maxProbesInFrame = gProbes.stats.probesInFrame;
    if (!std::isfinite(inX) || !std::isfinite(inZ))
        return xplm_ProbeMissed;

    // The line (x, t, z): its points are at distance sqrt((R + t)^2 + |a|^2) from the centre, a being the
    // horizontal offset; the height h is met at t = sqrt((R + h)^2 - |a|^2) - R.
    const double a2 = (double)inX * inX + (double)inZ * inZ;
    auto heightMet = [a2](double h) { return std::sqrt((kEarthRadius_m + h) * (kEarthRadius_m + h) - a2) - kEarthRadius_m; };
    if (a2 >= kEarthRadius_m * kEarthRadius_m)
        return xplm_ProbeMissed; // beside the planet
    double t = heightMet(0), lat, lon, alt;
    ToWorld(FromLocal(inX, t, inZ), lat, lon, alt);
    double ground = 0;
    if (Loaded(lat, lon)) {
        // The line is nearly vertical: a few steps settle the crossing well below a millimetre.
        for (int i = 0; i < 4; i++) {
            ground = TerrainAt(lat, lon, AircraftGroundLevel());
            t = heightMet(ground);
            ToWorld(FromLocal(inX, t, inZ), lat, lon, alt);
        }
    }
    Vec up = Unit(lat, lon);
    const Frame &f = gProbes.frame;
    outInfo->locationX = inX;
    outInfo->locationY = (float)t;
    outInfo->locationZ = inZ;
    outInfo->normalX = (float)Dot(up, f.east);
    outInfo->normalY = (float)Dot(up, f.up);
    outInfo->normalZ = (float)-Dot(up, f.north);
    outInfo->velocityX = outInfo->velocityY = outInfo->velocityZ = 0;
    outInfo->is_wet = ground <= 0 ? 1 : 0;
    return xplm_ProbeHitTerrain;
}
