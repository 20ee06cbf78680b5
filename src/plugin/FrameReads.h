// What the frame driver copies from the simulator into the flight record every frame, through the
// datarefs found at start (and COM1's, found at the first frame of a flight).
#pragma once

class pilot;

extern int simulatorPause; ///< the host's pause flag this frame

/// The simulator's on-ground flag.
void FrameDriver_ReadOnGround(pilot &record);
/// Altitude in feet with the altimeter's temperature error; above the transition level (the departure
/// one before top of descent, the arrival one after) the pressure altitude of the altimeter setting.
/// Also the height above ground, in feet.
void FrameDriver_ReadAltitude(pilot &record);
/// The tuned COM1 frequency, in the host's integer unit, into the record and gActualFrequency.
void FrameDriver_ReadCom1(pilot &record);
/// The first engine's running flag; a running engine counts as start-up approved.
void FrameDriver_ReadEngines(pilot &record);
/// Position, magnetic variation, magnetic heading, the KML option, ground speed, vertical speed and
/// indicated airspeed.
void FrameDriver_ReadPositionAndMotion(pilot &record);
/// The pause flag into simulatorPause.
void FrameDriver_ReadPause();

/// Pressure altitude: altitude_ft corrected by the difference of the altimeter setting from 29.92 inHg.
float FrameDriver_PressureAltitude(float altitude_ft, float altimeter_inHg);
