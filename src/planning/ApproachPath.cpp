// The approach path to the arrival runway. Every bearing here is true: localizer bearings and runway
// headings are true, so the entry bearing is computed without the magnetic variation (mixing the two
// turned a 49-degree entry at Seattle into a straight-in one).
#include "planning/ApproachPath.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "XPLMProcessing.h"
#include "monitor/Functions.h"
#include "navdata/AptNav.h"
#include "planning/Fms.h"
#include "planning/Kml.h"
#include "planning/Procedures.h"
#include "plugin/Log.h"
#include "state/Pilot.h"
#include "ui/Settings.h"

int runwayILSSet = 0;

namespace
{

const char *const kTag = "SetILSPath";
const char *const kKmlFile = "ILSPath.kml";

/// The distances (nm) and angles (degrees) of the path, by flight rules.
struct ApproachRules {
    float veryCloseNm, veryCloseDeg; ///< entry already on final: no approximation and no ILS point
    float nearNm, nearDeg;           ///< entry near the final: no approximation point, a shorter arc
    float singleNm;                  ///< the one approximation point on the extended centreline
    float ilsNm;                     ///< the ILS point on the final course
    float arcRadiusNm, arcStepDeg;
    int arcMaxPoints;
    float arcTooCloseNm; ///< an arc point this close to the entry point is dropped
};
const ApproachRules kIfr = {14, 30, 19, 30, 17, 12, 30, 16, 3, 5};
const ApproachRules kVfr = {8, 20, 10, 30, 5, 4, 6.5f, 18, 2, 2.5f};

const float kStraightInDeg = 35;    ///< entry bearing this close to the runway heading: no arc
const float kArcStartOffsetDeg = 7; ///< the arc starts this far past the entry direction
const float kArcStopDeg = 8;        ///< the arc ends this close to the final course
const float kArcRejectDeg = 48;     ///< arc points this far or farther from the final course are dropped
const float kArcShrinkAboveNm = 15; ///< while the radius is above this, each kept point shrinks it
const float kArcShrinkNm = 4;

/// A generated point of the path, in double precision until it joins the route.
struct ApproachPoint {
    std::string name;
    double lat, lon;
    int order;
};

float ApproachPath_normalize(float hdg_deg)
{
    hdg_deg = std::fmod(hdg_deg, 360.0f);
    return hdg_deg < 0 ? hdg_deg + 360.0f : hdg_deg;
}

ApproachPoint ApproachPath_point(const pilot::runwayStruct &runway, const char *name, int order, float bearing_deg,
                                 float dist_nm)
{
    coordinate at;
    DisegnaTraiettoria(runway.lat, runway.lon, bearing_deg, dist_nm, &at);
    return {name, at.lat, at.lon, order};
}

/// Takes away the approach of an earlier call: generated approximation, ILS and runway points go; a
/// route waypoint that stood in as the ILS point gets its own order back.
void ApproachPath_removePrevious(pilot *p)
{
    std::vector<pilot::flightPlanLoc> &route = p->flightPlanVec;
    size_t kept = 0;
    for (size_t i = 0; i < route.size(); i++) {
        pilot::flightPlanLoc &loc = route[i];
        if (loc.routeOrder >= 0) {
            loc.order = loc.routeOrder;
            loc.routeOrder = -1;
        } else if (loc.order >= 4 && loc.order <= 6) {
            continue;
        }
        if (kept != i)
            route[kept] = std::move(loc);
        kept++;
    }
    if (kept != route.size()) {
        PrintDebug(kTag, "SetILSPath - removed %i points of the previous approach", (int)(route.size() - kept));
        route.resize(kept);
    }
}

/// The last route waypoint flies as the ILS point; its own order is kept for the route backups.
void ApproachPath_markLastAsIls(pilot *p)
{
    if (p->flightPlanVec.empty())
        return;
    pilot::flightPlanLoc &last = p->flightPlanVec.back();
    if (last.routeOrder < 0 && last.order != 5) {
        last.routeOrder = last.order;
        last.order = 5;
    }
}

/// The final approach course (true) from the arrival airport's localizers, with the landing type.
float ApproachPath_finalCourse(pilot *p)
{
    pilot::runwayStruct &runway = p->arrivalRunwayStruct;
    runway.landingType = 0;
    PrintDebug(kTag, "SetILSPath - ILSHeading resettato a zero, tmpPilot->arrAirportICAO di ricerca: %s",
               p->arrAirportICAO.c_str());
    const auto entry = ILSMap.find(p->arrAirportICAO);
    const std::vector<ILSDat> none;
    const std::vector<ILSDat> &localizers = entry != ILSMap.end() ? entry->second.ils : none;
    PrintDebug(kTag, "SetILSPath - dat.ILS.size(): %i", (int)localizers.size());
    const ILSDat *match = nullptr;
    for (const ILSDat &ils : localizers) {
        PrintDebug(kTag, "SetILSPath - dat heading %f, lat %f, lon %f, name %s, type %i", ils.bearing, ils.lat, ils.lon,
                   ils.runway.c_str(), ils.type);
        if (ils.runway == runway.name) {
            match = &ils;
            break;
        }
    }
    float course_deg = 0;
    if (match != nullptr) {
        course_deg = match->bearing;
        PrintInfo(kTag, "SetILSPath - trovato un ILS, modifico ILSHeading con valore: %f", course_deg);
        runway.landingType = match->type == 4 ? 4 : 5;
        runwayILSSet = 1;
        PrintInfo(kTag, "SetILSPath - TargetRunwayStructName %s On %f %f", runway.name, match->lat, match->lon);
    } else {
        PrintInfo(kTag, "SetILSPath - nessun ILS trovato per %s, ILSHeading rimane a zero: %f", runway.name,
                  course_deg);
    }
    if (match == nullptr || course_deg == 0.0f || course_deg == 180.0f) {
        course_deg = runway.heading;
        PrintInfo(kTag,
                  "SetILSPath - ILSHeading trovata a 0.0f o a 180.0f spaccati, reimposto con valore "
                  "arrivalRunwayStruct.heading %f",
                  course_deg);
    } else {
        PrintDebug(kTag, "SetILSPath - ILSHeading non era zero: %f", course_deg);
    }
    if (p->vfrFlight == 1 && runway.landingType == 4) {
        runway.landingType = 0;
        PrintInfo(kTag, "SetILSPath - Landing type reset to visual because was ILS and this is a VFR flight");
    }
    PrintInfo(kTag, "SetILSPath - landing type: %i", runway.landingType);
    PrintInfo(kTag, "ILSHeading: %f", course_deg);
    return course_deg;
}

/// Where the path starts and how it meets the final course.
struct ApproachEntry {
    double lat = 0, lon = 0;
    distanceToCoord toRunway = {0, 0, 0}; ///< true bearing and distance from the entry to the runway
    float frontUscitaPista = 0;           ///< from the runway out along the final course
    float frontEntrata = 0;               ///< from the runway towards the entry point
    float differenza = 0;                 ///< angle between the two
};

/// The arc of approximation points from the entry side round to the final course.
void ApproachPath_arc(pilot *p, const ApproachRules &rules, const ApproachEntry &entry, bool saltaTutto, bool veryClose,
                      std::vector<ApproachPoint> *approx, std::string *kml)
{
    const pilot::runwayStruct &runway = p->arrivalRunwayStruct;
    PrintDebug(kTag, "SetILSPath - Salto la creazione di una approx fisso, faccio la curva");
    PrintDebug(kTag, "SetILSPath - Creo armonica approach");
    const int direzione = GetLeftRightDirection(entry.frontUscitaPista, entry.frontEntrata);
    float bearing_deg = ApproachPath_normalize(direzione == 1 ? entry.frontEntrata + kArcStartOffsetDeg
                                                              : entry.frontEntrata - kArcStartOffsetDeg);
    float differenza = entry.differenza;
    float radius_nm = rules.arcRadiusNm;
    if (entry.toRunway.distance < rules.nearNm && differenza < rules.nearDeg) {
        radius_nm = entry.toRunway.distance;
        PrintDebug(kTag,
                   "SetILSPath - puntoInizialeArmonicaDiAvvicinamento tagliata per prossimita' dell'ultimo "
                   "waypoint: %f",
                   radius_nm);
    } else {
        PrintDebug(kTag,
                   "SetILSPath - puntoInizialeArmonicaDiAvvicinamento impostata al valore di default: %f. "
                   "Distance e Differnza: %f, %f",
                   radius_nm, entry.toRunway.distance, differenza);
    }
    PrintDebug(kTag, "SetILSPath - Differenza: %f", differenza);
    PrintDebug(kTag, "SetILSPath - frontUscitaPista %f e' alla %i di frontEntrata(headingUltimoWaypoint) %f",
               entry.frontUscitaPista, direzione, entry.frontEntrata);
    PrintDebug(kTag,
               "SetILSPath - comincio la generazione della curva dall'inizio della curva %f fino al front "
               "della pista %f",
               bearing_deg, entry.frontUscitaPista);
    int k = 1;
    while (differenza > kArcStopDeg && k <= rules.arcMaxPoints) {
        PrintDebug(kTag,
                   "SetILSPath - curvaAprrox, steps, puntoInizialeArmonicaDiAvvicinamento, Differenza: %f, %i, "
                   "%f, %f",
                   bearing_deg, k, radius_nm, differenza);
        char name[32];
        snprintf(name, sizeof name, "Approximation %i", k);
        const ApproachPoint point = ApproachPath_point(runway, name, 4, bearing_deg, radius_nm);
        bearing_deg =
            ApproachPath_normalize(direzione == 1 ? bearing_deg + rules.arcStepDeg : bearing_deg - rules.arcStepDeg);
        distanceToCoord toEntry = {0, 0, 0};
        CalcolaDistanzaCoordinataMini(point.lat, point.lon, entry.lat, entry.lon, &toEntry, nullptr);
        if (toEntry.distance <= rules.arcTooCloseNm || differenza >= kArcRejectDeg) {
            PrintDebug(
                kTag,
                "SetILSPath - scarto perche' DistanzaApprox_UltimoWaypoint.distance %f e' inferiore a 5 nm "
                "(troppo vicino), oppure Differenza %f e' piu grande di 48 gradi (troppi Approx) (saltaTutto %s)",
                toEntry.distance, differenza, saltaTutto ? "true" : "false");
        } else {
            approx->push_back(point);
            k++;
            if (!veryClose && !saltaTutto && kml != nullptr)
                *kml += Kml_Placemark(point.name, point.lat, point.lon);
            if (radius_nm > kArcShrinkAboveNm)
                radius_nm -= kArcShrinkNm;
        }
        differenza = GetHeadingDifference(bearing_deg, entry.frontUscitaPista);
    }
}

void ApproachPath_routePlacemarks(const pilot *p, std::string *kml)
{
    if (kml == nullptr)
        return;
    for (size_t i = 0; i < p->flightPlanVec.size(); i++)
        *kml += Kml_Placemark(std::to_string(i) + ": " + p->flightPlanVec[i].name, p->flightPlanVec[i].lat,
                              p->flightPlanVec[i].lon);
}

} // namespace

void SetILSPath(pilot *p)
{
    if (p == nullptr)
        return;
    p->ilsPathCreated = true;
    PrintInfo(kTag, "SetILSPath Enter");
    PrintInfo(kTag, "----------------------------------------------------------------");
    ApproachPath_removePrevious(p);

    ApproachEntry entry;
    if (p->flightPlanVec.empty()) {
        entry.lat = p->latitudine;
        entry.lon = p->longitudine;
        if (userDebug == 1)
            PrintUsrDebug("SetILSPath - using plane position as entry point");
    } else {
        entry.lat = p->flightPlanVec.back().lat;
        entry.lon = p->flightPlanVec.back().lon;
        if (userDebug == 1)
            PrintUsrDebug("SetILSPath - using last fix point as entry point");
    }
    PrintInfo(kTag, "SetILSPath - Set path from an entry of: Lat %f Lon %f", entry.lat, entry.lon);
    StampaPianoDiVoloAttuale(p, true);

    const bool kmlOn = p->kmlExport == 1 && p->datiPilotaImpostati == 1;
    std::string kmlText = kmlOn ? Kml_Header("ILS.kml", "sh_ylw-pushpin", kKmlWhitePushpin, "ILS") : std::string();
    std::string *kml = kmlOn ? &kmlText : nullptr;

    pilot::runwayStruct &runway = p->arrivalRunwayStruct;
    if (runway.name[0] == '\0' || (runway.lat == 0.0f && runway.lon == 0.0f)) {
        // An arrival airport without runways leaves the runway cleared: no path to a point at 0/0.
        PrintInfo(kTag, "SetILSPath - no arrival runway chosen at %s, no approach path", p->arrAirportICAO.c_str());
        Kml_WriteFile(kKmlFile, std::string(), kTag);
        return;
    }

    PrintDebug(kTag, "SetILSPath - SetILSPath GetDistance to: %s.", runway.name);
    CalcolaDistanzaCoordinataMini(entry.lat, entry.lon, runway.lat, runway.lon, &entry.toRunway, nullptr);
    PrintInfo(kTag, "SetILSPath - Dati ultimo waypoint rispetto runway arrivo. Distanza e heading: %f, %f",
              entry.toRunway.distance, entry.toRunway.heading);

    const float ilsHeading = ApproachPath_finalCourse(p);
    entry.frontUscitaPista = invertiGradi(ilsHeading);
    entry.frontEntrata = invertiGradi(entry.toRunway.heading);
    entry.differenza = GetHeadingDifference(entry.frontEntrata, entry.frontUscitaPista);
    PrintDebug(kTag, "frontEntrata: %i", (int)entry.frontEntrata);
    PrintDebug(kTag, "frontUscitaPista: %i", (int)entry.frontUscitaPista);
    PrintDebug(kTag, "distUltimoFix_Runway.heading, ILSHeading: %f, %f", entry.toRunway.heading, ilsHeading);

    const ApproachRules &rules = p->vfrFlight == 1 ? kVfr : kIfr;
    bool saltaTutto = false, creaPathApprox = true;
    if (skipApprox == 1) {
        PrintInfo(kTag, "!!!Salta tutto !!! perchè creaPathApprox richiesto nelle opzioni");
        saltaTutto = true;
        creaPathApprox = false;
    }

    const float dist_nm = entry.toRunway.distance;
    bool veryClose = false;
    if (dist_nm < rules.veryCloseNm && entry.differenza < rules.veryCloseDeg) {
        veryClose = true;
        if (p->flightPlanVec.empty()) {
            PrintInfo(kTag, "SetILSPath - The aircraft is very close to the runway: only the runway point follows");
        } else {
            PrintInfo(kTag,
                      "SetILSPath - L'ultimo fix e' molto vicino alla pista, quindi salto creazione di approx e ils, "
                      "ed imposto order 5 all'ultimo fix %s",
                      p->flightPlanVec.back().name.c_str());
            ApproachPath_markLastAsIls(p);
        }
    } else {
        PrintDebug(kTag, "SetILSPath - Non salto creazione ILS e Approx (%f %f / %f %f", dist_nm, rules.veryCloseNm,
                   entry.differenza, rules.veryCloseDeg);
    }
    if (dist_nm < rules.nearNm && entry.differenza < rules.nearDeg) {
        saltaTutto = true;
        PrintInfo(kTag, "SetILSPath - Skipping Approx: Last fix dist/EnterExitDiff: %f/%f", dist_nm, entry.differenza);
    } else {
        PrintDebug(kTag, "SetILSPath - Non salto Approx (%f %f / %f %f", dist_nm, rules.nearNm, entry.differenza,
                   rules.nearDeg);
    }

    PrintDebug(kTag,
               "SetILSPath - Secondo quanto calcolato, l'angolo d'entrata dell'anello e' %f, rispetto l'angolo di "
               "uscita per la pista che e' %f",
               entry.frontEntrata, entry.frontUscitaPista);
    PrintDebug(kTag, "SetILSPath - Cerco Approssimazione per pista %s, heading %f, front %f", runway.name,
               runway.heading, entry.frontUscitaPista);
    PrintDebug(kTag, "SetILSPath Downwind %.0f", entry.frontUscitaPista);
    PrintDebug(kTag, "Rwy Lat %f Lon %f", runway.lat, runway.lon);
    char runwayName[32];
    snprintf(runwayName, sizeof runwayName, "Runway %s", runway.name);
    if (kml != nullptr)
        *kml += Kml_Placemark(std::string(runwayName) + " on " + p->arrAirportICAO, runway.lat, runway.lon);

    std::vector<ApproachPoint> approx, ils;
    const ApproachPoint ilsPoint = ApproachPath_point(runway, "ILS", 5, entry.frontUscitaPista, rules.ilsNm);
    if (GetHeadingDifference(entry.toRunway.heading, runway.heading) < kStraightInDeg) {
        PrintInfo(kTag, "ILS in direct runway heading: %i", (int)entry.toRunway.heading);
        creaPathApprox = false;
        if (developerDEBUG && dist_nm < 15)
            PrintDebug(kTag,
                       "Creo Approach path perche' anche se sto sotto i 35 gradi dalla pista, l'ultimo waypoint e' "
                       "molto lontano dalla pista: %f",
                       dist_nm);
    }
    if (veryClose) {
        PrintInfo(kTag, "SetILSPath - Salto tutto, ILS incluso)");
        ApproachPath_markLastAsIls(p);
    } else {
        ils.push_back(ilsPoint);
        PrintInfo(kTag, "SetILSPath ILS entered: Lat %f Lon %f", ilsPoint.lat, ilsPoint.lon);
        if (kml != nullptr)
            *kml += Kml_Placemark(ilsPoint.name, ilsPoint.lat, ilsPoint.lon);
    }

    if (!creaPathApprox) {
        const ApproachPoint single =
            ApproachPath_point(runway, "Approximation", 4, entry.frontUscitaPista, rules.singleNm);
        if (veryClose || saltaTutto)
            PrintDebug(kTag, "Approx vector push skipped");
        else
            approx.push_back(single);
        ApproachPath_routePlacemarks(p, kml);
    } else {
        ApproachPath_routePlacemarks(p, kml);
        ApproachPath_arc(p, rules, entry, saltaTutto, veryClose, &approx, kml);
    }
    if (kml != nullptr)
        *kml += Kml_Footer();
    Kml_WriteFile(kKmlFile, kmlText, kTag);

    StampaPianoDiVoloAttuale(p, true);
    PrintInfo(kTag, "Adding Approximation phase to FP...");
    if (!veryClose) {
        for (const std::vector<ApproachPoint> *list : {&approx, &ils})
            for (const ApproachPoint &point : *list)
                p->AddToFlightPlan((float)point.lat, (float)point.lon, point.name.c_str(), point.order, 0, 0, 0);
        StampaPianoDiVoloAttuale(p, true);
    }
    PrintInfo(kTag, "SetILSPath - Adding %s as last fix with lat/lon: %f/%f", runwayName, runway.lat, runway.lon);
    p->AddToFlightPlan(runway.lat, runway.lon, runwayName, 6, 0, 0, 0);
    StampaPianoDiVoloAttuale(p, true);

    // The levels of the new path are drawn before the FMS gets them.
    drawFlighLevels(p);
    if (enableFmcProgramming == 1 && p->datiPilotaImpostati == 1 && !p->flightPlanVec.empty()) {
        PrintInfo(kTag, "SetILSPath - ProgramFMS");
        ProgramFMS(p);
        PrintInfo(kTag, "SetILSPath - Done1");
    }
    p->secondiDallUltimoSkipWaypoint = XPLMGetElapsedTime();
    pilot::WriteFlightPlanKml(p);
}
