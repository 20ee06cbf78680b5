// Which controller the tuned COM1 frequency belongs to, and the end of a hand-over once the pilot has
// tuned the frequency he was given.
#pragma once

#include <string>
#include <vector>

class pilot;

extern double gActualFrequency; ///< tuned COM1 frequency, in the host's integer unit
/// Tuned COM1 facility: "DELIVERY", "GROUND", "TOWER", "APPROACH", "ATIS", "CENTER", "DEPARTURE" or "NONE".
extern std::string gActualFrequencyName;
extern int switchToCenter; ///< the pilot completed a hand-over onto the centre frequency

/// f is the facility's primary frequency or any other it publishes (0 never matches).
bool Radio_isTunedAny(double f, double primary, const std::vector<double> &all);
/// The facility of frequency f for the flight: the departure airport's, the arrival airport's or the
/// centre's, by the first rule that matches; every frequency an airport publishes for a facility names
/// it, not only its primary (services an airport lacks are played by the next one:
/// its tower answers as delivery when it has neither delivery nor ground). A frequency of 0 is never
/// a match, so a radio that reads 0 names "NONE".
const char *Radio_FacilityName(const pilot &record, double f);
/// Names the facility of the record's tuned frequency into gActualFrequencyName and the record; logs the
/// new facility (user debug) when it changes.
void FrameDriver_NameTunedFacility(pilot &record);
/// When the pilot has tuned the frequency of a hand-over, the hand-over is complete.
void FrameDriver_CompleteHandOver(pilot &record);
