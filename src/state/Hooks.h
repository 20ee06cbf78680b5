// Stand-ins for functions of subsystems still to come: each has its final name and signature, does
// nothing and logs nothing. The subsystem that builds one removes it from here.
#pragma once

#include <string>

#include "XPWidgets.h"
#include "planning/Fms.h"
#include "ui/ChooseProcedureWindow.h"

class pilot;

// MARK: procedures, approach path and FMS
/// Rebuilds the approach path to the arrival runway at the end of the route.
void SetILSPath(pilot *p);
/// Heading to the active waypoint and the error of the aircraft's heading.
void CalcolaHeadingError(pilot *p);

// MARK: radio exchanges
/// The controller's IFR clearance.
void FlightPlanning_RequestIFRClearanceResponse(pilot *p);


// MARK: radio texts
/// The frequency as it is written in phrases ("121.900").
std::string printFrequenciesDecimals(double frequency);
/// The altimeter setting as phrase text; with spelled true the number is between "#" marks.
std::string printAltimeter(bool spelled);
