// Filing the flight plan: the form's fields checked, the route resolved, and only when everything
// passed, the flight changed, the files written and the planning chain started.
#pragma once

#include <string>

class pilot;

extern char IcaoFlightName[32];   ///< airline designator or free name typed by the user
extern char IcaoFlightNumber[32]; ///< flight number typed by the user (at most 16 characters)
extern std::string pianoDiVolo;    ///< cleaned route text of the last filing
extern std::string arrAirportICAO; ///< arrival of the last filing

/// The flight plan form as typed.
struct FlightPlanForm {
    std::string flightName, flightNumber, departure, arrival;
    std::string transDep, transArr; ///< feet
    std::string flightLevel;        ///< hundreds of feet
    std::string descentSpeed;       ///< feet per minute
    std::string route;
    int lookForSID = 1, manualSID = 0, lookForSTAR = 1, manualSTAR = 0, vfr = 0;
};

/// Files the form for the flight: every check first, into locals; when one fails, its warning is shown
/// (a warning window titled "Vellomir - Warning" unless one is open) and nothing of the flight, COM1 or
/// the files changes. When all pass, the flight takes the plan, the files are written and the planning
/// chain (levels, departure runway, SID, FMS) runs. True when filed.
bool FlightPlan_File(const FlightPlanForm &form, pilot *record);
