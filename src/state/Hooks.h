// Stand-ins for functions of subsystems still to come: each has its final name and signature, does
// nothing and logs nothing. The subsystem that builds one removes it from here.
#pragma once

#include <string>

#include "XPWidgets.h"
#include "planning/ApproachPath.h"
#include "planning/Fms.h"

class pilot;

// MARK: procedures, approach path and FMS
/// Heading to the active waypoint and the error of the aircraft's heading.
void CalcolaHeadingError(pilot *p);

// MARK: radio exchanges
/// The controller's IFR clearance.
void FlightPlanning_RequestIFRClearanceResponse(pilot *p);

// MARK: procedure choice windows
/// Opens the SID choice window listing the procedures from index first on.
void CreateChooseSidControl(pilot *p, int first);
/// Opens the STAR choice window listing the procedures from index first on.
void CreateChooseStarControl(pilot *p, int first);
/// The SID choice window, null while closed.
extern XPWidgetID ControlChooseSidWin;
