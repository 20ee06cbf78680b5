// The route backup and restore, and the insertion of the chosen SID and STAR: the SID's fixes go in front
// of the saved route, the STAR's behind it, each fix once and never one the route already has.
#include "planning/Procedures.h"

#include <cstring>
#include <string>
#include <unordered_set>

#include "monitor/Functions.h"
#include "navdata/FindNavType.h"
#include "planning/Fms.h"
#include "plugin/Log.h"
#include "ui/Settings.h"

bool flightPlanEmpty = false;

namespace
{

/// The name of the dummy point an empty route gets.
const char *const kDummyDeparture = "Departure";

/// Appends a saved waypoint with all its fields.
void Procedures_Append(pilot *p, const pilot::flightPlanLoc &loc)
{
    const size_t before = p->flightPlanVec.size();
    p->AddToFlightPlan(loc.lat, loc.lon, loc.name.c_str(), loc.order, loc.navType, loc.fl, loc.restriction);
    if (p->flightPlanVec.size() > before)
        p->flightPlanVec.back().forcedFl = loc.forcedFl;
}

/// What the insertion of one procedure needs to know about its kind.
struct InsertKind {
    bool star;
    const char *tag;
    const char *fixesName; ///< "sidFixes" / "starFixes" in the log lines
    int order;
};

/// Appends the fixes of the selected procedure to flightPlanVec. `routeEnd` is the route fix the
/// procedure joins (the first route fix for a SID, the last for a STAR), not repeated. Returns the number
/// of fixes appended; *named tells whether the procedure has any fix at all.
int Procedures_AppendFixes(const InsertKind &kind, pilot *p, const std::string &routeEnd, bool *named)
{
    const std::vector<pilot::sid> &procs = kind.star ? p->stars : p->sids;
    const std::vector<pilot::sidFix> &fixes = kind.star ? p->starFixes : p->sidFixes;
    const int selected = kind.star ? p->selectedSTAR : p->selectedSID;
    const std::string &airport = kind.star ? p->arrAirportICAO : p->depAirportICAO;
    *named = false;
    if (selected < 0 || selected >= (int)procs.size()) {
        PrintInfo(kind.tag, "Selected procedure %i is not among the %i found, nothing inserted", selected,
                  (int)procs.size());
        return 0;
    }
    const std::string &selectedName = procs[(size_t)selected].name;
    std::unordered_set<std::string> inRoute;
    for (const pilot::flightPlanLoc &loc : p->flightPlanVec)
        inRoute.insert(loc.name);
    int appended = 0;
    for (size_t i = 0; i < fixes.size(); i++) {
        const pilot::sidFix &fix = fixes[i];
        if (fix.procIndex != selected || fix.procName != selectedName) {
            if (kind.star)
                PrintDebug(kind.tag, "salto starFixes %s, non appartenente a star %s/%s. selectedSTAR %i",
                           fix.fixName.c_str(), fix.procName.c_str(), selectedName.c_str(), selected);
            continue;
        }
        *named = true;
        if (fix.fixName == routeEnd) {
            PrintDebug(kind.tag, "salto %s %s, gia' presente come ultimo waypoint %s", kind.fixesName,
                       fix.fixName.c_str(), routeEnd.c_str());
            continue;
        }
        if (fix.lat == 0.0 || fix.lon == 0.0) {
            PrintDebug(kind.tag, "non aggiungo %s %s, id %i, appartenente a %s perche' trovata lat o lon a 0",
                       kind.fixesName, fix.fixName.c_str(), (int)i, selectedName.c_str());
            continue;
        }
        if (inRoute.count(fix.fixName) != 0 || fix.fixName == airport) {
            PrintDebug(kind.tag, "salto %s %s, id %i, gia' filed esistente nel flight plan", kind.fixesName,
                       fix.fixName.c_str(), (int)i);
            continue;
        }
        float refLat = 0, refLon = 0;
        if (p->flightPlanVec.empty()) {
            PrintDebug(kind.tag, "searching %s close to aircraft", kind.fixesName);
        } else {
            refLat = p->flightPlanVec.back().lat;
            refLon = p->flightPlanVec.back().lon;
            PrintDebug(kind.tag, "searching %s close to the last flight plan fix available %s", kind.fixesName,
                       p->flightPlanVec.back().name.c_str());
        }
        float lat = 0, lon = 0;
        int navType = findNavType(fix.fixName.c_str(), p, refLat, refLon, &lat, &lon);
        if (navType == 0) {
            // The search placed the fix by its region; keep that rather than another fix's position.
            lat = (float)fix.lat;
            lon = (float)fix.lon;
            navType = fix.navType;
            PrintDebug(kind.tag, "findNavType failed, returning 0! %s lat/lon found %f %f. Using search lat/lon",
                       kind.fixesName, lat, lon);
        }
        const size_t before = p->flightPlanVec.size();
        p->AddToFlightPlan(lat, lon, fix.fixName.c_str(), kind.order, navType, fix.fl, fix.restriction);
        if (p->flightPlanVec.size() > before) {
            appended++;
            inRoute.insert(fix.fixName);
            if (kind.star)
                PrintDebug(kind.tag, "aggiungo starFixes %s, id %i, appartenente a selectedSTAR %s",
                           fix.fixName.c_str(), (int)i, selectedName.c_str());
        }
    }
    return appended;
}

/// The dummy departure point 1.5 nm out along the departure runway, for a route that would be empty.
void Procedures_DummyDeparture(pilot *p)
{
    PrintDebug("fileSID11", "no sidFixes found, empty flight plan, generating dummy point now..");
    flightPlanEmpty = true;
    coordinate point;
    DisegnaTraiettoria(p->departureRunwayStruct.lat, p->departureRunwayStruct.lon, p->departureRunwayStruct.heading,
                       1.5f, &point);
    p->AddToFlightPlan((float)point.lat, (float)point.lon, kDummyDeparture, 0, 0, p->plannedFL, 0);
    StampaPianoDiVoloAttuale(p, false);
}

void Procedures_ProgramFms(pilot *p, const char *line)
{
    if (enableFmcProgramming == 1 && p->datiPilotaImpostati == 1 && !p->flightPlanVec.empty()) {
        PrintDebug("Procedures", "%s", line);
        ProgramFMS(p);
    }
}

} // namespace

void backuPianoDivolo(pilot *record, bool keepSid, bool keepStar)
{
    PrintDebug("backuPianoDivolo", "Entering backuPianoDivolo");
    // Copied first: the backup may be taken while flightPlanVec is being rebuilt from it.
    std::vector<pilot::flightPlanLoc> saved;
    for (const pilot::flightPlanLoc &loc : record->flightPlanVec) {
        // A route waypoint standing in as the ILS point is saved as the waypoint it is.
        const int order = loc.routeOrder >= 0 ? loc.routeOrder : loc.order;
        const bool keep = order == 0 || order == 2 || (order == 1 && keepSid) || (order == 3 && keepStar);
        if (keep) {
            saved.push_back(loc);
            saved.back().order = order;
            saved.back().routeOrder = -1;
        }
    }
    record->flightPlanBackup.swap(saved);
    PrintDebug("backuPianoDivolo", "FlightPlan backup done, SID backup %s, STAR backup %s", keepSid ? "true" : "false",
               keepStar ? "true" : "false");
    if (developerDEBUG)
        StampaBackupPianoDiVoloAttuale(record);
}

void restorePianoDivolo(pilot *record)
{
    PrintDebug("restorePianoDivolo", "Entering restorePianoDivolo");
    record->flightPlanVec.clear();
    PrintDebug("restorePianoDivolo", "Recupero il seguente backup");
    StampaBackupPianoDiVoloAttuale(record);
    if (record->flightPlanBackup.empty()) {
        PrintInfo("restorePianoDivolo", "FlightPlan restore error, no backup found!");
    } else {
        for (const pilot::flightPlanLoc &loc : record->flightPlanBackup)
            Procedures_Append(record, loc);
        PrintDebug("restorePianoDivolo", "FlightPlan restore done!");
    }
    PrintDebug("restorePianoDivolo", "Richioamo drawFlighLevels perche' ho recuperato un backup");
    drawFlighLevels(record);
}

void fileSID11(pilot *record)
{
    pilot *p = record;
    if (p == nullptr)
        return;
    if (p->numeroDiSidTrovate >= 1) {
        PrintDebug("fileSID11", "Entering fileSID11");
        StampaPianoDiVoloAttuale(p, true);
        // The SID ends at the route's first fix, which the route brings: the saved route, not the active
        // one, which may still hold an earlier SID.
        std::string firstRouteFix = "NULLSTRING";
        for (const pilot::flightPlanLoc &loc : p->flightPlanBackup)
            if (loc.order == 2) {
                firstRouteFix = loc.name;
                break;
            }
        p->flightPlanVec.clear();
        PrintDebug("fileSID11", "Adding SID Fixes");
        const InsertKind kind = {false, "fileSID11", "sidFixes", 1};
        bool named = false;
        const int appended = Procedures_AppendFixes(kind, p, firstRouteFix, &named);
        const char *sidName = p->selectedSID >= 0 && p->selectedSID < (int)p->sids.size()
                                  ? p->sids[(size_t)p->selectedSID].name.c_str()
                                  : "";
        if (appended == 0 && named) {
            PrintInfo("fileSID11", "no sidFixes found for sid %s, setting back sid found to 0 !!!", sidName);
            p->numeroDiSidTrovate = 0;
        } else if (appended == 0) {
            // A vector departure: flown by headings, nothing to insert, still the SID of the clearance.
            PrintDebug("fileSID11", "sid %s has no fix to insert", sidName);
        }
        StampaBackupPianoDiVoloAttuale(p);
        for (const pilot::flightPlanLoc &loc : p->flightPlanBackup) {
            if (appended > 0 && loc.order == 0 && loc.name == kDummyDeparture)
                continue; // the SID now leads the route
            Procedures_Append(p, loc);
        }
        if (appended > 0)
            flightPlanEmpty = false;
        for (size_t i = 1; i < p->flightPlanVec.size(); i++)
            if (p->flightPlanVec[i].order == 1 && p->flightPlanVec[i].fl == 0)
                p->flightPlanVec[i].fl = p->plannedFL;
        StampaPianoDiVoloAttuale(p, true);
        p->sidFiled = true;
        drawFlighLevels(p);
        Procedures_ProgramFms(p, "fileSID11 - ProgramFMS");
    }
    if (p->flightPlanVec.empty())
        Procedures_DummyDeparture(p);
    pilot::WriteFlightPlanKml(p);
}

void fileSTAR11(pilot *record)
{
    pilot *p = record;
    if (p == nullptr)
        return;
    backuPianoDivolo(p, true, false);
    if (p->numeroDiStarTrovate < 1) {
        pilot::WriteFlightPlanKml(p);
        return;
    }
    PrintDebug("fileSTAR11", "Entering fileSTAR11");
    const std::string lastRouteFix = p->flightPlanBackup.empty() ? "NULLSTRING" : p->flightPlanBackup.back().name;
    p->flightPlanVec.clear();
    PrintDebug("fileSTAR11", "Recupero il seguente backup");
    StampaBackupPianoDiVoloAttuale(p);
    restorePianoDivolo(p);
    StampaStars(p);
    PrintDebug("fileSTAR11", "Adding STAR Fixes");
    const InsertKind kind = {true, "fileSTAR11", "starFixes", 3};
    bool named = false;
    const int appended = Procedures_AppendFixes(kind, p, lastRouteFix, &named);
    const char *starName = p->selectedSTAR >= 0 && p->selectedSTAR < (int)p->stars.size()
                               ? p->stars[(size_t)p->selectedSTAR].name.c_str()
                               : "";
    if (appended == 0 && named) {
        PrintInfo("fileSTAR11", "no sTARFixes found for star %s, setting back star found to 0 !!!", starName);
        p->numeroDiStarTrovate = 0;
    } else if (appended == 0) {
        PrintDebug("fileSTAR11", "star %s has no fix to insert", starName);
    }
    StampaPianoDiVoloAttuale(p, true);
    p->starFiled = true;
    drawFlighLevels(p);
    StampaPianoDiVoloAttuale(p, true);
    if (manualChooseSTAR == 0)
        p->ilsPathCreated = false;
    Procedures_ProgramFms(p, "fileSTAR11 - ProgramFMS");
    pilot::WriteFlightPlanKml(p);
}
