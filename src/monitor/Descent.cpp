// The descent ladder's levels and the top of descent.
#include "monitor/Descent.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "XPLMProcessing.h"
#include "monitor/Altitude.h"
#include "planning/Fms.h"
#include "planning/Procedures.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "ui/Settings.h"

namespace
{

const char *kTag = "NaviCheck_impostafaseDiscesa";

int RoundDown(int value, int unit)
{
    return value / unit * unit;
}

int RoundUp(int value, int unit)
{
    return (value + unit - 1) / unit * unit;
}

/// The field elevation (ft) of the arrival: the chosen runway's, the airport's as filed before that.
int Descent_field(const pilot *p)
{
    const float field =
        p->arrivalRunwayStruct.heightft != 0 ? p->arrivalRunwayStruct.heightft : p->altezzaAeroportoArrivo;
    return std::isfinite(field) ? (int)field : 0;
}

} // namespace

void NaviCheck_impostafaseDiscesa(pilot *record, int requested, bool announce, bool lastDescense)
{
    pilot *p = record;
    p->orarioUltimoPassoDiscesa = XPLMGetElapsedTime();
    PrintDebug(kTag, "Entering NaviCheck_impostafaseDiscesa");
    PrintDebug(kTag,
               "NaviCheck_impostafaseDiscesa - Entering function with values livelloDiscesaRichiesto: %i, announce %s "
               "lastDescense %s",
               requested, announce ? "true" : "false", lastDescense ? "true" : "false");
    const bool vfr = p->vfrFlight != 0;
    const int field = Descent_field(p);

    int level = requested + field;
    PrintDebug(kTag, "livelloDiscesaRichiesto trasformato a %i (sommata altezza destinazione %i)", level, field);
    level = RoundDown(level, 100);
    PrintDebug(kTag, "Adattato livelloDiscesaRichiesto a %i", level);
    if (!lastDescense) {
        level = RoundUp(level, 1000);
        PrintDebug(kTag, "livelloDiscesaRichiesto arrotondato ancora: %i", level);
    } else {
        PrintDebug(kTag, "last descense detected");
        PrintDebug(kTag, "salto arrotondato livelloDiscesaRichiesto perche' lastDescense");
    }

    const int approach = field + (vfr ? altezzaApproachVFR : altezzaApproachIFR);
    PrintDebug(kTag, "NaviCheck_impostafaseDiscesa - altezzaApproach %i ( altezzaApproacIFR/VFR %i + arrivalRunwayStruct.heightft %i)",
               approach, vfr ? altezzaApproachVFR : altezzaApproachIFR, field);
    int floor, margin;
    if (lastDescense) {
        // The final altitude keeps its margin above the terrain of the remaining route.
        PrintDebug(kTag, "NaviCheck_impostafaseDiscesa - %s truelastDescense tmpPilot->ostacoloMassimoFt %i %s altezzaApproach %i",
                   p->ostacoloMassimoFt < approach ? "true" : "false", p->ostacoloMassimoFt,
                   p->ostacoloMassimoFt < approach ? "<" : ">", approach);
        floor = RoundDown(p->ostacoloMassimoFt + (vfr ? 500 : 1000), 100);
        PrintDebug(kTag, "last call detected, riduco offset di 1000ft, passo quindi da %ift a %ift",
                   p->ostacoloMassimoFt, floor);
        margin = 200;
    } else {
        PrintDebug(kTag, "NaviCheck_impostafaseDiscesa - false truelastDescense tmpPilot->ostacoloMassimoFt %i > altezzaApproach %i",
                   p->ostacoloMassimoFt, approach);
        floor = RoundUp(RoundDown(p->ostacoloMassimoFt + (vfr ? 1500 : 2000), 100), 500);
        PrintDebug(kTag, "ostacoloMassimoLocal arrotondato ancora: %i", floor);
        margin = 500;
    }

    bool raisedByTerrain = false;
    if (level + 149 < floor) {
        PrintDebug(kTag,
                   "Imposto una last descent temporanea %i invece della richiesta %i, in attesa di aver via libera senza "
                   "ostacoli. Di conseguenza non setto faseDiscesa3, verra' settata succesisvamente",
                   floor, level);
        level = floor;
        raisedByTerrain = true;
    } else if (lastDescense) {
        PrintDebug(kTag,
                   "NaviCheck_impostafaseDiscesa - faseDiscesa=3, lastDescense %s (livelloDiscesaRichiesto>ostacoloMassimoLocal):  "
                   "livelloDiscesaRichiesto %i, ostacoloMassimoLocal %i",
                   "true", level, floor);
        p->faseDiscesa = 3;
    } else {
        PrintDebug(kTag,
                   "NaviCheck_impostafaseDiscesa - faseDiscesa=3 saltato! lastDescense %s (livelloDiscesaRichiesto>ostacoloMassimoLocal): "
                   "livelloDiscesaRichiesto %i, ostacoloMassimoLocal %i",
                   "false", level, floor);
    }
    if (lastDescense) {
        PrintUsrDebug("Last descent called to %i, arrival airport height %i", level, field);
        p->altezzaApproachVolo = level;
    }

    // A lower step by the margin, or a higher terrain floor than the level handed out.
    const bool lower = level + margin < p->altezzaDiscesaFeet;
    const bool raised = raisedByTerrain && level > p->altezzaDiscesaFeet;
    if (!(lower || raised || p->altezzaDiscesaFeet == 0)) {
        PrintDebug(kTag, "aborting calling to %i, already set descent to: %i", level, p->altezzaDiscesaFeet);
        return;
    }
    PrintDebug(kTag, "NaviCheck_impostafaseDiscesa - funzione impostafaseDiscesa richiamata a livelloDiscesaRichiesto: %i",
               level);
    p->altezzaDiscesaFeet = level;
    // The FMS flies the levels: it gets the step's level with the plan.
    drawFlighLevels(p);
    ProgramFMS(p);
    expedite = 0;
    const int difference = std::abs(p->clearedFL * 100 - level);
    if (difference > FLTolerance && announce) {
        PrintDebug(kTag, "NaviCheck_impostafaseDiscesa - Calling ControlloAltitudine1");
        ControlloAltitudine(p, 0);
        PrintDebug(kTag, "NaviCheck_impostafaseDiscesa -  calling descent to: %i", level);
    } else {
        PrintDebug(kTag, "not calling descent to: %i because diff %i inferiore a FLTolerance %i (tmpPilot->altezzaDiscesaFeet %i)",
                   level, difference, FLTolerance, p->altezzaDiscesaFeet);
    }
}
