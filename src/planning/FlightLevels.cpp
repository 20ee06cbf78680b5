// The level profile: the planned level (fl, hundreds of feet) of every waypoint from the cruise level, the
// current descent target, the SID ceilings ahead and the STAR floors, and the approach height at the
// arrival runway.
#include <algorithm>

#include "planning/Procedures.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "ui/Settings.h"

namespace
{

const char *kTag = "drawFlighLevels";

/// The level of the approach at the arrival: the approach height setting above the field elevation.
int FlightLevels_ApproachLevel(const pilot *p)
{
    const int setting = p->vfrFlight != 0 ? altezzaApproachVFR : altezzaApproachIFR;
    // The arrival runway's elevation once the runway is chosen, the airport's as filed before that.
    const float field =
        p->arrivalRunwayStruct.heightft != 0 ? p->arrivalRunwayStruct.heightft : p->altezzaAeroportoArrivo;
    return (int)((field + (float)setting) / 100.0f);
}

} // namespace

void drawFlighLevels(pilot *record)
{
    pilot *p = record;
    std::vector<pilot::flightPlanLoc> &route = p->flightPlanVec;
    if (route.empty()) {
        PrintDebug(kTag, "drawFlighLevels - Empty FP, ABORTING");
        return;
    }
    const int size = (int)route.size();
    const int start = std::min(std::max(p->gActualFlightPlanIndex, 0), size);
    const int R = respectRestrictions;
    const int T = p->altezzaDiscesaFeet != 0 ? p->altezzaDiscesaFeet / 100 : p->plannedFL;
    // A STAR restriction above the filed level is met at the filed level.
    auto starCap = [p](int r) { return p->plannedFL > 0 ? std::min(r, p->plannedFL) : r; };

    bool sidRestExists = false, starRestExists = false;
    int higherStarRestriction = 0, higherStarRestrictionIndex = 0;
    for (int i = start; i < size; i++) {
        const pilot::flightPlanLoc &loc = route[(size_t)i];
        if (loc.order == 1 && loc.restriction != 0) {
            PrintDebug(kTag, "drawFlighLevels - sidRestExists for SID %s order %i restriction %i", loc.name.c_str(),
                       loc.order, loc.restriction);
            sidRestExists = true;
        } else if (loc.order == 3 && loc.restriction != 0) {
            PrintDebug(kTag, "drawFlighLevels - starRestExists - Restriction found for STAR %s order %i restriction %i",
                       loc.name.c_str(), loc.order, loc.restriction);
            starRestExists = true;
            const int r = starCap(loc.restriction);
            if (r > higherStarRestriction) {
                higherStarRestriction = r;
                higherStarRestrictionIndex = i;
                PrintDebug(kTag, "drawFlighLevels - higherStarRestriction %i on index %i (%s)", r, i, loc.name.c_str());
            }
        }
    }
    const int H = higherStarRestriction, Hi = higherStarRestrictionIndex;
    const int firstFl = route.front().fl;
    int lastRestriction = 0;

    for (int i = 0; i < size; i++) {
        pilot::flightPlanLoc &loc = route[(size_t)i];
        const int o = loc.order;
        const char *name = loc.name.c_str();
        if (o == 0) {
            loc.fl = firstFl;
            PrintDebug(kTag, "drawFlighLevels - Departure 0A found: %i-%i, setting first fix FL: %i for fix %s", o, i,
                       loc.fl, name);
        } else if (o == 1) {
            const int r = loc.restriction;
            if (!sidRestExists || R == 0) {
                loc.fl = T;
                PrintDebug(
                    kTag,
                    "drawFlighLevels - SID 1A found: %i-%i, no one sid restriction, setting planned FL: %i for fix %s",
                    o, i, loc.fl, name);
            } else if (r >= 1) {
                loc.fl = std::min(T, r);
                PrintDebug(kTag,
                           "drawFlighLevels - SID %s found: %i-%i, sid restriction exists, altezzaObiettivoFL %i, "
                           "restriction %i, setting: %i for fix %s",
                           T > r ? "1C" : "1D", o, i, T, r, loc.fl, name);
            } else {
                // An unrestricted SID fix is flown at the next SID restriction ahead: no climb above a
                // ceiling still to come.
                int next = 0;
                for (int j = i + 1; j < size && next == 0; j++)
                    if (route[(size_t)j].order == 1 && route[(size_t)j].restriction >= 1)
                        next = route[(size_t)j].restriction;
                if (next != 0) {
                    loc.fl = std::min(T, next);
                    PrintDebug(kTag,
                               "drawFlighLevels - SID 1E found: %i-%i, sid restriction does not exists, setting orphan "
                               "to the next sid restriction %i for fix %s",
                               o, i, loc.fl, name);
                } else {
                    loc.fl = T;
                    PrintDebug(kTag,
                               "drawFlighLevels - SID 1F found: %i-%i, sid restriction does not exists, orphan over "
                               "the lowerSidRestrictionIndex, setting altezzaObiettivoFL %i for fix %s",
                               o, i, loc.fl, name);
                }
            }
        } else if (o >= 2 && o <= 5 && p->faseDiscesa > 2) {
            // Cleared to the final approach altitude (above the terrain floor): the procedure's floors of
            // the fixes still ahead no longer hold the aircraft up.
            loc.fl = T;
            PrintDebug(kTag, "drawFlighLevels - final descent: %i-%i, setting: %i for fix %s", o, i, loc.fl, name);
        } else if (o == 2) {
            if (loc.forcedFl > 0) {
                loc.fl = loc.forcedFl;
                PrintDebug(kTag, "drawFlighLevels - FIX 2F found: %i-%i, level filed by the pilot: %i for fix %s", o, i,
                           loc.fl, name);
            } else if (starRestExists && T < H && R == 1) {
                loc.fl = H;
                PrintDebug(
                    kTag, "drawFlighLevels - FIX 2A found: %i-%i, overriding with higherStarRestriction: %i for fix %s",
                    o, i, loc.fl, name);
            } else {
                loc.fl = T;
                PrintDebug(kTag, "drawFlighLevels - FIX 2B found: %i-%i, setting planned FL: %i for fix %s", o, i,
                           loc.fl, name);
            }
        } else if (o >= 3 && o <= 5) {
            const int r = loc.restriction != 0 ? starCap(loc.restriction) : 0;
            const int previous = lastRestriction; // the last restriction met before this waypoint
            if (r != 0)
                lastRestriction = r;
            const char *label;
            // Floor of a restriction when restrictions are respected.
            auto unrestrictedStar = [&]() {
                if (r != 0 && R == 1) {
                    loc.fl = std::max(T, r);
                    label = r > T ? "STAR 3-5B" : "STAR 3-5C";
                } else {
                    loc.fl = T;
                    label = "STAR 3-5D";
                }
            };
            if (!starRestExists) {
                unrestrictedStar();
            } else if (T < H && i < Hi) {
                if (R == 1) {
                    loc.fl = H;
                    label = "FIX 3-5A";
                } else if (r != 0) {
                    loc.fl = std::max(T, r);
                    label = r > T ? "STAR 3-5E" : "STAR 3-5F";
                } else {
                    loc.fl = T;
                    label = "STAR 3-5G";
                }
            } else if (r != 0 && i <= Hi) {
                loc.fl = std::max(T, r);
                label = r > T ? "STAR 3-5E" : "STAR 3-5F";
            } else if (r != 0) {
                unrestrictedStar();
            } else if (previous == 0) {
                loc.fl = T;
                label = R == 1 ? "STAR 3-5F" : "STAR 3-5G";
            } else if (R == 1 && !(T > previous && p->altezzaDiscesaFeet == 0)) {
                loc.fl = previous;
                label = "STAR 3-5H";
            } else {
                loc.fl = T;
                label = "STAR 3-5G";
            }
            PrintDebug(kTag,
                       "drawFlighLevels - %s found: %i-%i, restriction %i, lastRestriction %i, setting: %i for fix %s",
                       label, o, i, r, previous, loc.fl, name);
        } else if (o == 6) {
            loc.fl = FlightLevels_ApproachLevel(p);
            PrintDebug(kTag, "drawFlighLevels - Order 6. STAR 4-A destination, set to approach phase %i", loc.fl);
        }
    }

    // On the final step of the descent nothing is planned below the approach level.
    const int setting = p->vfrFlight != 0 ? altezzaApproachVFR : altezzaApproachIFR;
    if (p->faseDiscesa > 2 && setting != 0) {
        const int floor = FlightLevels_ApproachLevel(p);
        for (int i = 0; i < size; i++) {
            pilot::flightPlanLoc &loc = route[(size_t)i];
            if (loc.fl < floor) {
                loc.fl = floor;
                PrintDebug(
                    kTag,
                    "drawFlighLevels - STAR 3-5 found a fl under altezzaApproachIFR, ovverriding to FL %i for %i-%i %s",
                    floor, loc.order, i, loc.name.c_str());
            }
        }
    }

    PrintDebug(kTag, "drawFlighLevels - Result:");
    for (const pilot::flightPlanLoc &loc : route)
        PrintDebug(kTag, "Name %s - FL %i- Restriction %i", loc.name.c_str(), loc.fl, loc.restriction);
    StampaPianoDiVoloAttuale(p, true);
    PrintDebug(kTag, "drawFlighLevels - NOT BREAKED");
}
