// SID and STAR search over the airport's CIFP file. A procedure serves a runway through its runway
// transition ("RW16L", the both-runways form "RW16B", or "ALL"); its common route (blank transition) goes
// with that transition, and a procedure without runway transitions serves every runway. Its fixes are
// placed from the fix and navaid index; the procedure whose name holds the route's first (SID) or last
// (STAR) fix is chosen, otherwise one is drawn at random among those with a placed fix.
#include "navdata/ProcedureSearch.h"

#include <cctype>
#include <chrono>
#include <cstring>
#include <map>
#include <random>
#include <unordered_map>

#include "XPLMUtilities.h"
#include "navdata/CifpReader.h"
#include "navdata/FixIndex.h"
#include "planning/Procedures.h"
#include "plugin/Log.h"
#include "ui/Settings.h"
#include "ui/Utils.h"
#include "ui/WarningWindow.h"

namespace
{

std::mt19937 gProcedureRandom;
bool gProcedureRandomSeeded = false;

/// What differs between the SID and the STAR search.
struct ProcedureKind {
    bool star;
    const char *tag;   ///< "searchSID11" / "searchSTAR11"
    const char *upper; ///< "SID" / "STAR"
    const char *lower; ///< "sid" / "star"
};

const ProcedureKind kSid = {false, "searchSID11", "SID", "sid"};
const ProcedureKind kStar = {true, "searchSTAR11", "STAR", "star"};

/// A runway transition identifier: "RW" and two digits, then at most one letter.
bool Procedure_IsRunwayTransition(const std::string &t)
{
    return t.size() >= 4 && t.size() <= 5 && t[0] == 'R' && t[1] == 'W' && isdigit((unsigned char)t[2]) &&
           isdigit((unsigned char)t[3]) && (t.size() == 4 || isalpha((unsigned char)t[4]));
}

bool Procedure_ValidIcao(const std::string &icao)
{
    if (icao.empty() || icao.size() > 8)
        return false;
    for (char c : icao)
        if (!isalnum((unsigned char)c))
            return false;
    return true;
}

std::string Procedure_NavdataPath(const std::string &relative)
{
    const char *sep = XPLMGetDirectorySeparator();
    if (sep == nullptr || sep[0] == '\0')
        sep = "/";
    std::string name = std::string("navdata") + sep + relative;
    for (size_t i = 0; i < name.size(); i++)
        if (name[i] == '/')
            name.replace(i, 1, sep);
    char path[2048];
    if (!Utils_PluginFilePath(name.c_str(), path, sizeof path))
        return "";
    return path;
}

struct ProcedureLegs {
    std::string name;
    bool hasRunwayTransitions = false;
    bool servesRunway = false;
    std::vector<const CifpLeg *> legs; ///< runway transition, "ALL" and common-route legs, in file order
};

/// The procedures of the legs that serve the runway, in order of their first line.
std::vector<ProcedureLegs> Procedure_Serving(const std::vector<CifpLeg> &legs, const std::string &runwayA,
                                             const std::string &runwayB)
{
    std::vector<ProcedureLegs> procedures;
    std::map<std::string, size_t> byName;
    for (const CifpLeg &leg : legs) {
        auto it = byName.find(leg.procedure);
        if (it == byName.end()) {
            it = byName.emplace(leg.procedure, procedures.size()).first;
            procedures.emplace_back();
            procedures.back().name = leg.procedure;
        }
        ProcedureLegs &proc = procedures[it->second];
        const std::string &t = leg.transition;
        const bool matches = t == "ALL" || (!runwayA.empty() && t == runwayA) || (!runwayB.empty() && t == runwayB);
        if (Procedure_IsRunwayTransition(t))
            proc.hasRunwayTransitions = true;
        if (matches)
            proc.servesRunway = true;
        if (matches || t.empty())
            proc.legs.push_back(&leg);
    }
    std::vector<ProcedureLegs> serving;
    for (ProcedureLegs &proc : procedures) {
        if (!proc.servesRunway && proc.hasRunwayTransitions)
            continue;
        if (proc.legs.empty())
            continue; // only en-route transitions: nothing that reaches this airport's runways
        serving.push_back(std::move(proc));
    }
    return serving;
}

/// Places every fix from the index: the airport's terminal fix of that name, a two- or three-letter
/// navaid of the region, else the fix of the region; a fix none of these finds takes the position of a
/// placed fix of the same name.
void Procedure_PlaceFixes(std::vector<pilot::sidFix> *fixes, const std::string &icao)
{
    for (pilot::sidFix &f : *fixes) {
        FixPosition pos;
        bool found = FixIndex_Terminal(f.fixName, icao, &pos);
        if ((f.fixName.size() == 2 || f.fixName.size() == 3) && FixIndex_Navaid(f.fixName, f.region, &pos))
            found = true;
        if (!found)
            found = FixIndex_Fix(f.fixName, f.region, &pos);
        if (found) {
            f.lat = pos.lat;
            f.lon = pos.lon;
            f.navType = pos.navType;
        }
    }
    std::unordered_map<std::string, size_t> placed; // first placed fix of each name
    for (size_t i = 0; i < fixes->size(); i++)
        if ((*fixes)[i].lat != 0.0 && (*fixes)[i].lon != 0.0)
            placed.emplace((*fixes)[i].fixName, i);
    for (pilot::sidFix &f : *fixes) {
        if (f.lat != 0.0 && f.lon != 0.0)
            continue;
        auto it = placed.find(f.fixName);
        if (it != placed.end()) {
            const pilot::sidFix &g = (*fixes)[it->second];
            f.lat = g.lat;
            f.lon = g.lon;
            f.navType = g.navType;
        }
    }
}

void Procedure_Search(const ProcedureKind &kind, const std::string &airportICAO, const char *runway, pilot *p)
{
    const char *tag = kind.tag;
    std::vector<pilot::sid> &procs = kind.star ? p->stars : p->sids;
    std::vector<pilot::sidFix> &fixes = kind.star ? p->starFixes : p->sidFixes;
    int16_t &count = kind.star ? p->numeroDiStarTrovate : p->numeroDiSidTrovate;
    int16_t &selected = kind.star ? p->selectedSTAR : p->selectedSID;
    bool &chosen = kind.star ? p->starSelezionata : p->sidSelezionata;
    const int manual = kind.star ? manualChooseSTAR : manualChooseSID;
    const std::string &terminalIcao = kind.star ? p->arrAirportICAO : p->depAirportICAO;

    procs.clear();
    fixes.clear();
    count = 0;
    selected = 0;
    chosen = false;
    backuPianoDivolo(p, kind.star, false);

    const char *runwayText = runway != nullptr ? runway : "";
    PrintDebug(tag, "Entro in %s per aereo %s, airport %s, runway %s. Flight Plan size: %i", tag, p->nomePilota,
               airportICAO.c_str(), runwayText, (int)p->flightPlanVec.size());
    std::string runwayA, runwayB;
    if (!ProcedureSearch_RunwayTransitions(runwayText, &runwayA, &runwayB))
        PrintInfo(tag, "Runway designator \"%s\" is no runway number: only procedures for every runway are taken",
                  runwayText);
    PrintDebug(tag, "Generated runwayA %s, from runway %s", runwayA.c_str(), runwayText);
    PrintDebug(tag, "Generated runwayB %s, from runway %s", runwayB.c_str(), runwayText);

    // The route fix a procedure should connect to: the first waypoint for a SID, the last for a STAR.
    std::string fixTroncated = "----";
    if (p->flightPlanVec.empty()) {
        PrintDebug(tag, "FP empty, set fake fixTroncated %s", fixTroncated.c_str());
    } else {
        // The filed route's end, past an earlier procedure's fixes or approach points.
        const std::vector<pilot::flightPlanLoc> &route = p->flightPlanVec;
        const pilot::flightPlanLoc *end = kind.star ? &route.back() : &route.front();
        for (size_t k = 0; k < route.size(); k++) {
            const pilot::flightPlanLoc &loc = kind.star ? route[route.size() - 1 - k] : route[k];
            if (loc.order == 2) {
                end = &loc;
                break;
            }
        }
        fixTroncated = end->name.substr(0, 4);
        PrintDebug(tag,
                   kind.star ? "using last waypoint %s for fixTroncated" : "using first waypoint %s for fixTroncated",
                   fixTroncated.c_str());
    }

    std::vector<CifpLeg> legs;
    const std::string cifpPath =
        Procedure_ValidIcao(airportICAO) ? Procedure_NavdataPath("CIFP/" + airportICAO + ".dat") : std::string();
    if (cifpPath.empty() || !Cifp_ReadFile(cifpPath.c_str(), kind.star, &legs)) {
        if (cifpPath.empty())
            PrintInfo(tag, "Invalid airport code \"%.16s\" for the procedure search", airportICAO.c_str());
        chosen = true;
        if (warningIsOpen == 0)
            PrintUsrDebug("Navdata file not found %s", cifpPath.empty() ? airportICAO.c_str() : cifpPath.c_str());
        return;
    }
    PrintDebug(tag, "%s opened successfully", cifpPath.c_str());

    // Procedures serving the runway and their fixes, in file order.
    for (const ProcedureLegs &proc : Procedure_Serving(legs, runwayA, runwayB)) {
        const bool favour = proc.name.find(fixTroncated) != std::string::npos;
        char name[32];
        snprintf(name, sizeof name, "%s", proc.name.c_str());
        if (kind.star)
            p->AddStar(name, name, 0.0, 0.0, favour);
        else
            p->AddSid(name, name, 0.0, 0.0, favour);
        count++;
        PrintDebug(tag, "%s found: %s --, id %i). Dimensioni del vettore: %i", kind.lower, name, count - 1,
                   (int)procs.size());
        for (const CifpLeg *leg : proc.legs) {
            if (leg->fix.empty())
                continue; // a leg without a fix (heading or course to an altitude) is no waypoint
            const int restriction = Cifp_Restriction(*leg, kind.star);
            // A transition ends where the next part begins (or a leg repeats its fix): one entry, which
            // keeps the restriction either line gives.
            if (!fixes.empty() && fixes.back().procIndex == count - 1 && fixes.back().fixName == leg->fix) {
                if (fixes.back().restriction == 0) {
                    fixes.back().restriction = restriction;
                    fixes.back().altitudeCode = leg->altitudeCode;
                }
                continue;
            }
            if (kind.star)
                p->AddStarFix(count - 1, name, "", leg->fix.c_str(), leg->region.c_str(), 0.0, 0.0, 0, restriction);
            else
                p->AddSidFix(count - 1, name, "", leg->fix.c_str(), leg->region.c_str(), 0.0, 0.0, 0, restriction);
            fixes.back().altitudeCode = leg->altitudeCode;
        }
        if (count == INT16_MAX)
            break;
    }

    // Fix positions.
    if (!fixes.empty()) {
        const std::string fixPath = Procedure_NavdataPath("earth_fix.dat");
        const std::string navPath = Procedure_NavdataPath("earth_nav.dat");
        if (!FixIndex_Load(fixPath, navPath)) {
            CreateWarningWinControl(400, 600, 420, 110, "Vellomir - Warning", "Navdata not found.",
                                    "This plugin requires an ARINC 424 CIFP data folder,",
                                    kind.star ? "STAR/STAR search function will not work."
                                              : "SID/STAR search function will not work.",
                                    "Please refer to the documentation for the correct plugin installation");
            PrintInfo(tag, "Warning: %s search error, cannot open earthFix navdata", kind.upper);
        } else {
            if (FixIndex_NavaidCount() == 0)
                PrintInfo(tag, "Warning: %s search error, cannot open earthNav navdata", kind.upper);
            Procedure_PlaceFixes(&fixes, terminalIcao.empty() ? airportICAO : terminalIcao);
        }
    }

    PrintDebug(tag, "%s Loops complete", kind.upper);
    StampaPianoDiVoloAttuale(p, true);

    if (count == 0 || manual != 0) {
        PrintDebug(tag, "Skipping random %s pickup", kind.upper);
        if (count == 0)
            chosen = true;
    } else {
        PrintDebug(tag, "Sceglo una %s a caso", kind.lower);
        // Only procedures with a placed fix are drawn: a vector departure or a procedure none of whose
        // fixes could be placed would file nothing while others would.
        std::vector<int> drawable;
        std::vector<bool> placed(procs.size(), false);
        for (const pilot::sidFix &f : fixes)
            if (f.lat != 0.0 && f.lon != 0.0 && f.procIndex >= 0 && f.procIndex < (int)placed.size())
                placed[(size_t)f.procIndex] = true;
        for (int i = 0; i < (int)procs.size(); i++)
            if (placed[(size_t)i])
                drawable.push_back(i);
        if (drawable.empty())
            for (int i = 0; i < (int)procs.size(); i++)
                drawable.push_back(i);
        int pick = -1;
        for (int i : drawable)
            if (procs[(size_t)i].favour) {
                pick = i;
                PrintDebug(tag, "found at least a favour %s %s %s", kind.upper, procs[(size_t)i].name.c_str(), "true");
                break;
            }
        if (pick < 0) {
            if (!gProcedureRandomSeeded) {
                gProcedureRandom.seed((unsigned)std::chrono::steady_clock::now().time_since_epoch().count());
                gProcedureRandomSeeded = true;
            }
            std::uniform_int_distribution<int> draw(0, (int)drawable.size() - 1);
            pick = drawable[(size_t)draw(gProcedureRandom)];
        }
        selected = (int16_t)pick;
        chosen = true;
        PrintDebug(tag, "%s %s randomly chosen for runway %s, %i of %i available", kind.lower,
                   procs[(size_t)pick].name.c_str(), runwayText, pick + 1, (int)count);
    }
    if (p->datiPilotaImpostati == 1) {
        PrintDebug(tag, "total %ss found: %i", kind.lower, (int)count);
        PrintDebug(tag, "fixTroncated/fix: %s/%s", fixTroncated.c_str(),
                   count > 0 ? procs[(size_t)selected].name.c_str() : "");
    }
    if (kind.star) {
        StampaStars(p);
        StampaStarFixes(p);
    }
}

} // namespace

bool ProcedureSearch_RunwayTransitions(const char *runway, std::string *a, std::string *b)
{
    a->clear();
    b->clear();
    if (runway == nullptr)
        return false;
    std::string r;
    for (const char *c = runway; *c != '\0' && r.size() < 8; c++)
        if (*c != ' ')
            r += (char)toupper((unsigned char)*c);
    size_t digits = 0;
    while (digits < r.size() && isdigit((unsigned char)r[digits]))
        digits++;
    if (digits == 0 || digits > 2 || r.size() > digits + 1 ||
        (r.size() == digits + 1 && !isalpha((unsigned char)r.back())))
        return false;
    std::string number = r.substr(0, digits);
    if (number.size() == 1)
        number = "0" + number;
    const std::string side = r.substr(digits);
    *a = "RW" + number + side;
    if (side == "L" || side == "R" || side == "C")
        *b = "RW" + number + "B";
    return true;
}

void ProcedureSearch_Seed(unsigned seed)
{
    gProcedureRandom.seed(seed);
    gProcedureRandomSeeded = true;
}

void searchSID11(std::string airportICAO, char *runway, pilot *record)
{
    if (record != nullptr)
        Procedure_Search(kSid, airportICAO, runway, record);
}

void searchSTAR11(std::string airportICAO, char *runway, pilot *record)
{
    if (record != nullptr)
        Procedure_Search(kStar, airportICAO, runway, record);
}
