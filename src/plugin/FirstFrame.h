// The first frame of every flight (after load and after each flight reset): the COM1 dataref of the
// simulator's version, the tail number, a fresh flight record and the departure airport.
#pragma once

#include <string>

#include "XPLMDataAccess.h"

class pilot;

extern XPLMDataRef actualFrequencyRef; ///< the COM1 frequency dataref chosen at the first frame
extern XPLMDataRef acfNameRef;         ///< the aircraft's tail number
extern char gAcfName[60];
extern char gActualAptICAO[10]; ///< identifier of the departure airport found at the first frame
/// An airport the departure is forced to instead of the nearest one; empty for the nearest.
extern std::string overwrittenDepartureApt;

/// Runs the first-frame set-up of a flight on the record: chooses the COM1 dataref (kHz from X-Plane
/// 11.30's 8.33 kHz radios on, tens of kHz before), starts the record from the aircraft's position and
/// tail number, finds the departure airport (the nearest to the aircraft, or overwrittenDepartureApt)
/// through the simulator's navigation database and reads it from its apt.dat at the index's offset.
void FrameDriver_FirstFrame(pilot &record);
