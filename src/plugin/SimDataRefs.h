// Handles of the simulator datarefs the plug-in reads, found once at start.
#pragma once

#include "XPLMDataAccess.h"

// attitude (found first at start)
extern XPLMDataRef headingAttualeDataRef, gRollDataRef, gPitchDataRef;
extern XPLMDataRef CofG_refx, CofG_refy, CofG_refz;

// flight
extern XPLMDataRef AircrafLatRef, AircrafLonRef;
extern XPLMDataRef gAcfHeadingRef;
extern XPLMDataRef gAcfMagneticVariationRef;
extern XPLMDataRef gIndicatedAirspeedUserAcfRef;
extern XPLMDataRef gIndicatedTrueAirspeedUserAcfRef;
extern XPLMDataRef isOnGroundDataRef;
extern XPLMDataRef simulatorPauseDataRef;
extern XPLMDataRef gAcfAGLRef;
extern XPLMDataRef gAcfHightRef;
extern XPLMDataRef gAltTempErrRef;
extern XPLMDataRef gAcfSpeedRef;
extern XPLMDataRef gAcfVerticalSpeedRef;
extern XPLMDataRef gAcfEngineStartedRef;
extern XPLMDataRef gTunedAutopilotAlt;
extern XPLMDataRef oraSimulata;
extern XPLMDataRef squawkCode;
extern XPLMDataRef gMachNumberRef;
extern XPLMDataRef gAcfWeightRef; ///< total mass, kg
extern XPLMDataRef gVNavAutopilotStateRef;
extern XPLMDataRef gWindHeadingRef, gWindSpeedRef, gBarometerRef;

/// Finds the attitude datarefs.
void System_FindAttitudeDataRefs();
/// Finds the flight datarefs; the weather ones depend on the host version.
void System_FindFlightDataRefs(int xplaneVersion);

/// The standard altimeter setting, inHg.
constexpr float kStandardAltimeterInHg = 29.92f;
/// The sea-level pressure of the weather in inches of mercury, whichever unit the version's dataref has;
/// the standard 29.92 when the reading is no pressure (a missing dataref, a broken value).
float SimData_BarometerInHg();
/// The sea-level pressure of the weather in hectopascal: X-Plane 12's pascals / 100, X-Plane 11's inches of
/// mercury x 33.8639; the standard 1013.25 when the reading is no pressure.
float SimData_BarometerHpa();
