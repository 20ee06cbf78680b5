// The transponder: the code set in the cockpit and the code the controller assigns.
#pragma once

class pilot;

/// The transponder code set in the cockpit.
int CodiceSquawk();
/// A new code: 2000 to 2777, every digit 0 to 7.
int Radio_NewSquawk();
/// Assigns a new code to a flight that has none (0) or the 2902 placeholder; another code stays.
void Radio_AssignSquawk(pilot *record);
