// Terrain along the route: the simulator's Y probe at points of the remaining legs, a bounded number per
// frame, one probe object per frame's share, destroyed before the frame ends.
#include "monitor/Terrain.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "XPLMGraphics.h"
#include "XPLMProcessing.h"
#include "XPLMScenery.h"
#include "monitor/Functions.h"
#include "plugin/Log.h"
#include "state/Pilot.h"

namespace
{

const char *kTag = "CalcolaAltezzaOstacoliPercorso";
const double kFeetPerMetre = 3.280839895;
/// The first sample of a leg lies this far after its start.
const float kFirstSample_nm = 0.5f;
/// A smaller step would multiply the probes for nothing the terrain grid can show.
const float kMinStep_nm = 0.05f;
const float kNothing = -1e9f;

/// One leg to sample: from the aircraft (its start not probed) or from a waypoint.
struct Leg {
    double fromLat, fromLon, toLat, toLon;
    float length_nm;
    bool probeStart;
    std::string fromName, toName;
    float max_ft = kNothing;
    bool partlyOutOfRange = false;
};

/// Highest terrain found before on the way to a waypoint, for the parts that cannot be probed now.
struct KnownLeg {
    std::string toName;
    double toLat, toLon;
    float max_ft;
};

struct Scan {
    bool running = false;
    const pilot *record = nullptr;
    size_t planSize = 0;
    int active = 0;
    float step = 0;
    std::vector<Leg> legs;
    size_t leg = 0;
    float next_nm = -1; ///< distance of the next sample along the leg; -1: the leg's start
    int points = 0;
    float frameTime = -1; ///< elapsed time of the frame the probes below were made in
    int frameProbes = 0;
};
Scan gScan;
std::vector<KnownLeg> gKnown;

/// Terrain height (ft) under a point with an existing probe; false unless the probe hits terrain.
bool Terrain_probe(XPLMProbeRef probe, double lat, double lon, float &feet)
{
    double x = 0, y = 0, z = 0;
    XPLMWorldToLocal(lat, lon, 0, &x, &y, &z);
    XPLMProbeInfo_t info;
    info.structSize = sizeof info;
    if (XPLMProbeTerrainXYZ(probe, (float)x, (float)y, (float)z, &info) != xplm_ProbeHitTerrain)
        return false;
    double hitLat = 0, hitLon = 0, hitAlt = 0;
    XPLMLocalToWorld(info.locationX, info.locationY, info.locationZ, &hitLat, &hitLon, &hitAlt);
    const double ft = hitAlt * kFeetPerMetre;
    if (!std::isfinite(ft) || std::fabs(ft) > 1e6)
        return false;
    feet = (float)ft;
    return true;
}

bool Scan_sameRoute(const pilot *p, float step)
{
    return gScan.running && gScan.record == p && gScan.planSize == p->flightPlanVec.size() &&
           gScan.active == p->gActualFlightPlanIndex && gScan.step == step;
}

float Leg_known(const Leg &leg)
{
    for (const KnownLeg &k : gKnown)
        if (k.toName == leg.toName && k.toLat == leg.toLat && k.toLon == leg.toLon)
            return k.max_ft;
    return kNothing;
}

void Scan_start(pilot *p, float step)
{
    gScan = Scan{};
    gScan.running = true;
    gScan.record = p;
    gScan.planSize = p->flightPlanVec.size();
    gScan.active = p->gActualFlightPlanIndex;
    gScan.step = step;
    const std::vector<pilot::flightPlanLoc> &plan = p->flightPlanVec;
    if (gScan.active < 0 || (size_t)gScan.active >= plan.size())
        return; // every waypoint flown: nothing ahead on the route
    distanceToCoord d = {0, 0, 0};
    const pilot::flightPlanLoc &first = plan[(size_t)gScan.active];
    CalcolaDistanzaCoordinataMini(p->latitudine, p->longitudine, first.lat, first.lon, &d, p);
    gScan.legs.push_back({p->latitudine, p->longitudine, first.lat, first.lon, d.distance, false, "aircraft",
                          first.name});
    for (size_t i = (size_t)gScan.active + 1; i < plan.size(); i++) {
        CalcolaDistanzaCoordinataMini(plan[i - 1].lat, plan[i - 1].lon, plan[i].lat, plan[i].lon, &d, p);
        gScan.legs.push_back({plan[i - 1].lat, plan[i - 1].lon, plan[i].lat, plan[i].lon, d.distance, true,
                              plan[i - 1].name, plan[i].name});
    }
    // A leg with a point that is no position cannot be sampled: it keeps what was known of it.
    for (Leg &leg : gScan.legs)
        if (!std::isfinite(leg.length_nm)) {
            leg.length_nm = 0;
            leg.partlyOutOfRange = true;
        }
}

void Scan_endLeg(Leg &leg)
{
    if (leg.partlyOutOfRange)
        leg.max_ft = std::max(leg.max_ft, Leg_known(leg));
    PrintDebug(kTag,
               "CalcolaAltezzaOstacoliPercorso - controllati tutti is subfixes da %s a %s, checked total %i point, "
               "max height found %i",
               leg.fromName.c_str(), leg.toName.c_str(), gScan.points, leg.max_ft > kNothing ? (int)leg.max_ft : 0);
}

/// The highest terrain of the finished scan (ft, 0 when nothing was found); remembers each leg's maximum.
int Scan_finish()
{
    gScan.running = false;
    gKnown.clear();
    float highest = kNothing;
    for (const Leg &leg : gScan.legs) {
        highest = std::max(highest, leg.max_ft);
        if (leg.max_ft > kNothing)
            gKnown.push_back({leg.toName, leg.toLat, leg.toLon, leg.max_ft});
    }
    const int result = highest > 0 ? (int)highest : 0;
    PrintDebug(kTag, "CalcolaAltezzaOstacoliPercorso - calcolati tutti i fixes, checked total %i point, max height found %i",
               gScan.points, result);
    PrintDebug(kTag, "CalcolaAltezzaOstacoliPercorso - Altezza dal suolo massima trovata feets: %i", result);
    PrintDebug(kTag, "CalcolaAltezzaOstacoliPercorso - leaving function");
    return result;
}

/// Probes the scan's next points, within this frame's share; true when the scan has ended.
bool Scan_run(const pilot *p)
{
    const float now = XPLMGetElapsedTime();
    if (now != gScan.frameTime) {
        gScan.frameTime = now;
        gScan.frameProbes = 0;
    }
    XPLMProbeRef probe = nullptr;
    while (gScan.leg < gScan.legs.size() && gScan.frameProbes < TERRAIN_PROBES_PER_FRAME) {
        Leg &leg = gScan.legs[gScan.leg];
        double lat = leg.fromLat, lon = leg.fromLon;
        if (gScan.next_nm < 0) {
            gScan.next_nm = kFirstSample_nm;
            if (!leg.probeStart)
                continue;
        } else if (gScan.next_nm >= leg.length_nm) {
            Scan_endLeg(leg);
            gScan.leg++;
            gScan.next_nm = -1;
            continue;
        } else {
            // On the straight line between the leg's end points (the bearing between them is true, not magnetic).
            const double f = gScan.next_nm / leg.length_nm;
            lat = leg.fromLat + (leg.toLat - leg.fromLat) * f;
            lon = std::remainder(leg.fromLon + std::remainder(leg.toLon - leg.fromLon, 360.0) * f, 360.0);
            gScan.next_nm += gScan.step;
        }
        distanceToCoord d = {0, 0, 0};
        CalcolaDistanzaCoordinataMini(p->latitudine, p->longitudine, lat, lon, &d, nullptr);
        if (!(d.distance <= kTerrainProbeRange_nm)) {
            // Out of the loaded scenery; the points closer along the leg than the gap are out of it too.
            leg.partlyOutOfRange = true;
            if (gScan.next_nm > kFirstSample_nm && std::isfinite(d.distance))
                gScan.next_nm += gScan.step * std::floor((d.distance - kTerrainProbeRange_nm) / gScan.step);
            continue;
        }
        if (probe == nullptr)
            probe = XPLMCreateProbe(xplm_ProbeY);
        gScan.frameProbes++;
        gScan.points++;
        float feet = 0;
        if (Terrain_probe(probe, lat, lon, feet))
            leg.max_ft = std::max(leg.max_ft, feet);
    }
    if (probe != nullptr)
        XPLMDestroyProbe(probe);
    return gScan.leg >= gScan.legs.size();
}

} // namespace

float CalcolaGroundElevation(float latitude, float longitude)
{
    XPLMProbeRef probe = XPLMCreateProbe(xplm_ProbeY);
    float feet = 0;
    const bool hit = Terrain_probe(probe, latitude, longitude, feet);
    XPLMDestroyProbe(probe);
    return hit ? feet : NAN;
}

int CalcolaAltezzaOstacoliPercorso(pilot *record, float step)
{
    if (record->flightPlanVec.size() < 2) {
        PrintDebug(kTag, "Flight plan doesn't have at least two fixes to compare, returning");
        gScan.running = false;
        return 0;
    }
    if (!(step >= kMinStep_nm))
        step = kMinStep_nm;
    if (!Scan_sameRoute(record, step)) {
        PrintUsrDebug("Checking obstacles...");
        PrintDebug(kTag, "CalcolaAltezzaOstacoliPercorso - Entering function");
        Scan_start(record, step);
    }
    if (!Scan_run(record))
        return record->ostacoloMassimoFt;
    return Scan_finish();
}

void CalcolaAltezzaOstacoli_Continua(pilot *record)
{
    if (!gScan.running)
        return;
    // A route changed under the scan is scanned again from its start.
    const int found = CalcolaAltezzaOstacoliPercorso(record, gScan.step);
    if (!gScan.running)
        record->ostacoloMassimoFt = found;
}

bool CalcolaAltezzaOstacoli_InCorso()
{
    return gScan.running;
}

void CalcolaAltezzaOstacoli_Reset()
{
    gScan = Scan{};
    gKnown.clear();
}
