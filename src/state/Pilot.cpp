// The flight record's construction, reset and container appends.
#include "state/Pilot.h"

#include <cstdio>
#include <cstring>

#include "plugin/Log.h"

pilot pilotObj;

pilot::pilot() = default;
pilot::~pilot() = default;

void pilot::SetPilotName(const char *name)
{
    snprintf(nomePilota, sizeof nomePilota, "%s", name != nullptr ? name : "");
}

void pilot::SetData(const float colour[3], double lat, double lon, const char *name)
{
    ResetFlight();
    flightPlanVec.clear();
    coloreDialogo[0] = colour[0];
    coloreDialogo[1] = colour[1];
    coloreDialogo[2] = colour[2];
    SetPilotName(name);
    latitudine = lat;
    longitudine = lon;
}

void pilot::ResetFlight()
{
    // One rule for every member, old and new: a new flight starts from what a new record holds. Only
    // the active route stays, until the next flight's SetData empties it.
    std::vector<flightPlanLoc> route;
    route.swap(flightPlanVec);
    *this = pilot();
    flightPlanVec.swap(route);
}

namespace {
pilot::flightPlanLoc Pilot_makeLoc(float lat, float lon, const char *name, int order, int navType, int fl,
                                   int restriction)
{
    pilot::flightPlanLoc loc;
    loc.name = name != nullptr ? name : "";
    loc.lat = lat;
    loc.lon = lon;
    loc.order = order;
    loc.navType = navType;
    loc.fl = fl;
    loc.restriction = restriction;
    return loc;
}

pilot::sid Pilot_makeProcedure(const char *name, const char *name2, double lat, double lon, bool favour)
{
    pilot::sid s;
    s.name = name != nullptr ? name : "";
    s.name2 = name2 != nullptr ? name2 : "";
    s.lat = lat;
    s.lon = lon;
    s.favour = favour;
    return s;
}
} // namespace

void pilot::AddToFlightPlan(float lat, float lon, const char *name, int order, int navType, int fl, int restriction)
{
    if (lat == 0.0f || lon == 0.0f) {
        PrintInfo("AddToFlightPlan", "Skipping incorrect flighplan entry found with 0.0000 lat or lon %s - %f %f",
                  name, lat, lon);
        return;
    }
    PrintDebug("AddToFlightPlan", "Adding %s - %f %f", name, lat, lon);
    flightPlanVec.push_back(Pilot_makeLoc(lat, lon, name, order, navType, fl, restriction));
}

void pilot::AddToFlightPlanBackup(float lat, float lon, const char *name, int order, int navType, int fl,
                                  int restriction)
{
    flightPlanBackup.push_back(Pilot_makeLoc(lat, lon, name, order, navType, fl, restriction));
}

void pilot::AddSid(const char *name, const char *name2, double lat, double lon, bool favour)
{
    sids.push_back(Pilot_makeProcedure(name, name2, lat, lon, favour));
}

void pilot::AddStar(const char *name, const char *name2, double lat, double lon, bool favour)
{
    stars.push_back(Pilot_makeProcedure(name, name2, lat, lon, favour));
}

namespace {
pilot::sidFix Pilot_makeFix(int procIndex, const char *procName, const char *transition, const char *fixName,
                            const char *region, double lat, double lon, int fl, int restriction)
{
    pilot::sidFix f;
    f.procIndex = procIndex;
    f.procName = procName != nullptr ? procName : "";
    f.transition = transition != nullptr ? transition : "";
    f.fixName = fixName != nullptr ? fixName : "";
    f.region = region != nullptr ? region : "";
    f.lat = lat;
    f.lon = lon;
    f.fl = fl;
    f.restriction = restriction;
    return f;
}
} // namespace

void pilot::AddSidFix(int procIndex, const char *procName, const char *transition, const char *fixName,
                      const char *region, double lat, double lon, int fl, int restriction)
{
    sidFixes.push_back(Pilot_makeFix(procIndex, procName, transition, fixName, region, lat, lon, fl, restriction));
}

void pilot::AddStarFix(int procIndex, const char *procName, const char *transition, const char *fixName,
                       const char *region, double lat, double lon, int fl, int restriction)
{
    starFixes.push_back(Pilot_makeFix(procIndex, procName, transition, fixName, region, lat, lon, fl, restriction));
}

void pilot::AddTaxiPoint(int nodeInLine, int globalID, float distanzaFlooding, const char *name, int lineID,
                         double lat, double lon)
{
    linePoint p;
    p.id = nodeInLine;
    p.globalID = globalID;
    p.distanzaFlooding = distanzaFlooding;
    p.name = name != nullptr ? name : "";
    p.lineID = lineID;
    p.lat = lat;
    p.lon = lon;
    taxiPoints.push_back(p);
}
