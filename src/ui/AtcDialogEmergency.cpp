// The emergency declared from the ATC dialog: the destination checked and read before anything of the
// flight changes, then the route replaced by the approach to its landing runway.
#include <cctype>
#include <string>

#include "XPLMProcessing.h"
#include "comms/MessageQueue.h"
#include "comms/PhrasesSpecial.h"
#include "monitor/WaypointTracking.h"
#include "navdata/AptNav.h"
#include "navdata/FindNavType.h"
#include "navdata/Parser.h"
#include "planning/ApproachPath.h"
#include "planning/Fms.h"
#include "planning/JumpToWaypoint.h"
#include "planning/Procedures.h"
#include "planning/RunwaySelection.h"
#include "plugin/Log.h"
#include "state/Pilot.h"
#include "ui/AboutWindow.h"
#include "ui/AtcDialog.h"
#include "ui/ChooseProcedureWindow.h"
#include "ui/WarningWindow.h"

namespace {

const char *const kTag = "AtcDialogWinHandler";
/// Characters of the field looked at for the identifier.
const size_t kCodeScan = 16;
const float kFeetPerMetre = 1.0f / 0.3048f;

bool Emergency_refuse(const char *line)
{
    CreateWarningWinControl(400, 400, 200, 90, "Vellomir - Warning", line);
    return false;
}

bool Emergency_runwayChosen(const pilot &p)
{
    return p.arrivalRunwayStruct.name[0] != '\0' && !(p.arrivalRunwayStruct.lat == 0 && p.arrivalRunwayStruct.lon == 0);
}

/// The filed arrival: its landing runway is chosen now when none was yet, so that the approach leads to it.
bool Emergency_sameAirport(pilot *p)
{
    PrintInfo(kTag, "Emergency: landing airport unchanged %s", p->arrAirportICAO.c_str());
    if (Emergency_runwayChosen(*p))
        return true;
    PrintInfo(kTag, "Emergency: set matching runway for emergency landing...");
    SetMatchingRunway(p, 0);
    if (Emergency_runwayChosen(*p))
        return true;
    // SetMatchingRunway has told the pilot the airport has no runway.
    PrintInfo(kTag, "Emergency: no runway at %s, no emergency declared", p->arrAirportICAO.c_str());
    return false;
}

/// Another airport: found near the aircraft and read into a record of its own; the flight takes it only
/// when all of that worked.
bool Emergency_newAirport(pilot *p, const std::string &code)
{
    PrintInfo(kTag, "Different emergency airport requested, previous airport %s, new airport: %s",
              p->arrAirportICAO.c_str(), code.c_str());
    PrintInfo(kTag, "searching arrival airport close to aircraft");
    NavAirport found;
    if (!FindNav_Airport(code, (float)p->latitudine, (float)p->longitudine, &found)) {
        PrintInfo(kTag, "Emergency: airport not found to set runway height: %s.", code.c_str());
        return Emergency_refuse("airport not found");
    }
    if (FindNav_IsHeliportName(found.name)) {
        PrintInfo(kTag, "airport %s is a heliport (matched [H] in: %s)", code.c_str(), found.name.c_str());
        if (aboutIsOpen == 0)
            CreateWarningWinControl(400, 600, 320, 90, "Vellomir - Warning", "Emergency ICAO is an heliport");
        return false;
    }
    PrintInfo(kTag, "Emergency: target airport found: %s, %s", code.c_str(), found.name.c_str());
    PrintInfo(kTag, "Emergency: target airport set by user to %s, looking for airport information", code.c_str());
    auto entry = IcaoMap.find(code);
    if (entry == IcaoMap.end()) {
        PrintInfo(kTag, "Emergency: airport %s is not in the scenery index, destination unchanged", code.c_str());
        return Emergency_refuse("airport not found");
    }
    PrintInfo(kTag, "Emergency: Parser start from AtcDialogWinHandler for file: %s", entry->second.ICAOfilePath.c_str());
    Parser airport;
    if (airport.readAptDat(code, entry->second.ICAOfilePath, entry->second.readOffset, p->variazioneMagnetica) != 1 ||
        airport.runways.empty()) {
        PrintInfo(kTag, "Emergency: %s could not be read or has no runway, destination unchanged", code.c_str());
        return Emergency_refuse("no runway at emergency airport");
    }

    p->arrAirportICAO = code;
    p->arrAirportFullName = found.name;
    p->altezzaAeroportoArrivo = found.height_m * kFeetPerMetre;
    p->latDestinazione = found.lat;
    p->lonDestinazione = found.lon;
    p->parser = airport;
    p->targetAirport = airport;
    p->arrivalRunwayStruct = pilot::runwayStruct();
    p->divertedInFlight = true;
    PrintInfo(kTag, "Emergency: set matching runway for emergency landing...");
    SetMatchingRunway(p, 0);
    return true;
}

/// The route becomes the approach to the landing runway, flown from where the aircraft is.
void Emergency_newRoute(pilot *p)
{
    // The exchange is the flight's: its last step (the read-back of the clearance) frees it again.
    p->gIsCopiing = 1;
    PrintInfo(kTag, "Emergency: clearing flight plan vector...");
    p->flightPlanVec.clear();
    p->flightPlanBackup.clear();
    p->ilsPathCreated = false;
    NaviCheck_ActivateWaypoint(p, 0, true);
    p->transponder = EMERGENCY_SQUAWK;
    PrintInfo(kTag, "Emergency: SetILSPath...");
    p->stars.clear();
    p->starFixes.clear();
    p->numeroDiStarTrovate = 0;
    p->sidFixes.clear();
    // Windows listing the old STARs or the old route would act on what is gone.
    ChooseProcedure_CloseStar();
    JumpToWaypoint_Close();
    PrintInfo(kTag, "SetILSPath - AtcDialoWinHandler");
    SetILSPath(p);
    drawFlighLevels(p);
    ProgramFMS(p);
    StampaPianoDiVoloAttuale(p, false);
    gIsCopiingSince = XPLMGetElapsedTime();
}

} // namespace

void AtcDialog_EmergencyCode(const char *text, char *out, size_t size)
{
    size_t length = 0;
    for (size_t i = 0; text != nullptr && i < kCodeScan && text[i] != '\0'; i++) {
        const unsigned char c = (unsigned char)text[i];
        if (isalnum(c) && length + 1 < size)
            out[length++] = (char)toupper(c);
    }
    if (size > 0)
        out[length] = '\0';
}

bool AtcDialog_DeclareEmergency(pilot *p, const char *fieldText)
{
    std::string code;
    if (p->cicloApproach == 0 && fieldText != nullptr) {
        char cleaned[kCodeScan + 1];
        AtcDialog_EmergencyCode(fieldText, cleaned, sizeof cleaned);
        code = cleaned;
        PrintInfo(kTag, "Emergency destination airport '%s', terminated character %i", code.c_str(), (int)code.size());
    } else {
        code = p->arrAirportICAO;
        PrintInfo(kTag, "newDestination forced to %s", code.c_str());
    }
    PrintInfo(kTag, "newDestination now: '%s'", code.c_str());
    // An empty or partial identifier would match some airport whose identifier merely contains it.
    if (code.size() < ATC_DIALOG_MIN_ICAO) {
        PrintInfo(kTag, "Emergency: airport identifier '%s' too short, no emergency declared", code.c_str());
        return Emergency_refuse("airport identifier too short");
    }
    const bool declared = code == p->arrAirportICAO ? Emergency_sameAirport(p) : Emergency_newAirport(p, code);
    if (!declared)
        return false;
    p->inEmergenza = true;
    Emergency_newRoute(p);
    DeclareEmergency(p);
    return true;
}
