// The on-screen flight information: the panel of status lines, the blinking warnings, the temporary
// error line and the heading indicator, drawn once per frame by the frame driver.
#pragma once

class pilot;

/// Draws everything switched on for the flight record p. Formats nothing that is switched off; looks
/// nothing up and logs nothing.
void printOnScreenInformations(pilot *p);

/// The heading indicator text and colour for a heading error (degrees, 0..180) and turn side (1 left,
/// 2 right), or "--(-)--" in blue when the point is too near (tooNear).
const char *OnScreen_HeadingIndicatorText(int error_deg, int side, bool tooNear, const float **colour);
/// Arrival clock time (seconds of the day) and flight minutes for distance_nm at tas_kt from localTime_s;
/// false below 30 kt (no estimate).
bool OnScreen_EstimatedArrival(float distance_nm, float tas_kt, float localTime_s, int *arrival_s, int *minutes);
