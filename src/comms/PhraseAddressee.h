// Whom the pilot's own calls are addressed to: the controller he is talking to, by its name on the air.
#pragma once

#include <string>

class pilot;

/// The name on the air of a facility of the flight ("DELIVERY", "GROUND", "TOWER", "APPROACH", "DEPARTURE"
/// or "CENTER"): the centre's name, or an airport's name and the facility's word ("Seattle Tacoma ground").
/// Airport facilities are the departure airport's until the flight has been with the centre, approach or
/// the tower for landing, the arrival airport's afterwards. A name the data lack leaves the word alone
/// ("Center", "Ground"). Any other name ("ATIS", "NONE", "") stands for the controller in charge.
std::string Phrase_FacilityName(const pilot *record, const std::string &facility);
/// The controller in charge of the flight at its stage: delivery before the IFR clearance, ground until the
/// holding point, tower until the centre, then the centre, approach, the tower for landing and the ground.
const char *Phrase_FacilityInCharge(const pilot *record);
/// Whom a call of the pilot is addressed to: the facility tuned on COM1 (the record's gActualFrequencyName)
/// or, with ATIS or nothing of the flight tuned, the controller in charge.
std::string Phrase_Addressee(const pilot *record);
