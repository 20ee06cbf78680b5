// The "Jump to" window: one button per route waypoint; pressing one makes it the active waypoint.
#pragma once

#include <cstdint>
#include <vector>

#include "XPWidgets.h"

class pilot;

/// Buttons in one column of the window; longer routes take more columns.
enum { JUMP_BUTTONS_PER_COLUMN = 15 };

extern XPWidgetID JumpToWaypointWin;          ///< null while the window is closed
extern std::vector<XPWidgetID> ChooseWptBtn; ///< button k: route waypoint k of the route the window lists

/// Opens the "Jump to" window over the record's route (closing an open one first).
void JumpToWaypoint(pilot *p);
/// Widget callback of the window: a waypoint button (param1 the button) or the close box.
int ControlChooseWptHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t param2);
/// Closes the window if it is open: the route it lists has been rebuilt.
void JumpToWaypoint_Close();
