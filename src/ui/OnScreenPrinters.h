// Line printers of the on-screen information: one text per row of a column over the simulator's view,
// each gated by its own switch; the blinking ones draw an empty row in even seconds.
#pragma once

#include <string>

/// Rows used so far this frame in columns 1 to 5 (reset by the frame driver).
extern int gDebugStringHeightCo1um1, gDebugStringHeightCo1um2, gDebugStringHeightCo1um3, gDebugStringHeightCo1um4,
    gDebugStringHeightCo1um5;
extern int gDebugStringHeightBase;
/// A temporary error line, shown in red for 25 s from messaggioTempErroreActTime (0 = none).
extern std::string messaggioTempErrore;
extern float messaggioTempErroreActTime;

/// Resets the row counters at the start of a frame.
void OnScreen_ResetRows();
/// Sets the temporary error line, shown from now on for 25 s.
void OnScreen_SetTempError(const char *text);
/// Whether the blinking printers draw their text now (odd whole seconds of elapsed time).
bool OnScreen_BlinkOn(float now);

/// A panel line (flightStatsIsActive).
void StampaLineaSchermo(const char *text, const float colour[3]);
/// The heading indicator line (headingIndicatorActive).
void StampaHeadingIndicator(const char *text, const float colour[3]);
/// A blinking warning (onScreenWarnings).
void StampaAvviso(const char *text, const float colour[3]);
/// A blinking error, always.
void StampaErrore(const char *text, const float colour[3]);
