// Stand-ins for functions of subsystems still to come: each has its final name and signature, does
// nothing and logs nothing. The subsystem that builds one removes it from here.
#pragma once

#include <cstdint>
#include <string>

#include "XPWidgets.h"
#include "comms/PhrasesDelivery.h"
#include "comms/RadioTexts.h"
#include "navdata/CenterFrequency.h"
#include "planning/ApproachPath.h"
#include "planning/Fms.h"
#include "taxi/TaxiSearch.h"
#include "ui/ChooseProcedureWindow.h"

class pilot;

// MARK: procedures, approach path and FMS
/// Heading to the active waypoint and the error of the aircraft's heading.
void CalcolaHeadingError(pilot *p);

// MARK: altitude and heading instructions
/// Composes and queues a heading vector (code 550).
void CallVectoring(pilot *record, float heading, int16_t flag);
/// En-route distance still to fly to the first STAR or approach point (nm).
float GetDistanceToTarget(pilot *p);

// MARK: request dialog
/// Closes the request dialog, remembering its position; nothing when it is closed.
void RequestDialog_Close();

// MARK: waypoint sequencing
/// The last stage of the navigation monitor: waypoint switching, the tower hand-over for landing, heading
/// vectors and speed advice (reads consentiRiduzioneVelocita for the speed advice).
void NaviCheck_WaypointSequencing(pilot *p);

// MARK: read-back window
/// Opens the read-back window for gReadbackMessage (its "Readback" and "Say again" buttons answer
/// through comms/ReadbackAnswers).
void CreateReadbackDialog(int left, int top, int width, int height);
