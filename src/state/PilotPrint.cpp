// Log printers of the flight record's containers (route, backup, procedures and their fixes).
#include <cstdio>
#include <cstring>

#include "plugin/Log.h"
#include "state/Pilot.h"
#include "ui/Utils.h"

void StampaPianoDiVoloAttuale(pilot *record, bool silent)
{
    if (record->datiPilotaImpostati == 0)
        return;
    if (record->flightPlanVec.empty()) {
        if (!silent)
            PrintInfo("StampaPianoDiVoloAttuale", "Piano di volo vuoto");
        return;
    }
    char line[LOG_MESSAGE_SIZE];
    snprintf(line, sizeof line, "Flight plan status for %s (size %i): ", record->nomePilota,
             (int)record->flightPlanVec.size());
    for (const pilot::flightPlanLoc &loc : record->flightPlanVec)
        Utils_Appendf(line, sizeof line, "%s.%i (%i) (%i) ", loc.name.c_str(), loc.fl, loc.restriction, loc.order);
    PrintInfo("StampaPianoDiVoloAttuale", "%s", line);
    if (silent)
        return;
    static const char *const legend[] = {"DepRunway----0", "SID----------1", "fplan--------2", "STAR---------3",
                                         "APPROX-------4", "ILS----------5", "ArrRunway----6"};
    for (const char *entry : legend)
        PrintInfo("StampaPianoDiVoloAttuale", "%s", entry);
}

void StampaBackupPianoDiVoloAttuale(pilot *record)
{
    char line[LOG_MESSAGE_SIZE];
    snprintf(line, sizeof line, "Flight plan backup for %s (size %i):", record->nomePilota,
             (int)record->flightPlanBackup.size());
    for (const pilot::flightPlanLoc &loc : record->flightPlanBackup)
        Utils_Appendf(line, sizeof line, " %s.%i (%i)", loc.name.c_str(), loc.fl, loc.order);
    PrintInfo("StampaBackupPianoDiVoloAttuale", "%s", line);
}

void StampaSids(pilot *record)
{
    PrintInfo("StampaSids", "SID trovate: %i", (int)record->sids.size());
}

void StampaStars(pilot *record)
{
    PrintInfo("StampaStars", "STAR trovate: %i", (int)record->stars.size());
}

void StampaSidFixes(pilot *record)
{
    int i = 0;
    for (const pilot::sidFix &f : record->sidFixes)
        PrintInfo("StampaSidFixes", "sidFixes (%i): %i, %s, %s, %s, %s, %i, %f %f", i++, f.procIndex,
                  f.procName.c_str(), f.transition.c_str(), f.fixName.c_str(), f.region.c_str(), f.restriction,
                  f.lat, f.lon);
}

void StampaStarFixes(pilot *record)
{
    int i = 0;
    for (const pilot::starFix &f : record->starFixes)
        PrintInfo("StampaStarFixes", "starFixes (%i): %i, %s, %s, %s, %s, %f %f", i++, f.procIndex,
                  f.procName.c_str(), f.transition.c_str(), f.fixName.c_str(), f.region.c_str(), f.lat, f.lon);
}
