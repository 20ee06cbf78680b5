// The taxiway names of a taxi route as the taxi clearance says them.
#pragma once

#include <cstddef>
#include <string>

class pilot;

/// Size of the "via" text: four names and their markup fit with room to spare.
enum { TAXI_VIA_SIZE = 64 };
/// Most taxiway names a clearance says.
enum { TAXI_VIA_MAX_NAMES = 4 };

/// The name with the phrase markup characters ("#", "*", "@") and control characters removed and the
/// blanks around it trimmed.
std::string Taxi_CleanName(const std::string &name);

/// True for a name a controller says as a taxiway: one or two letters and up to two digits ("B", "A7",
/// "NB", "K12"); not "Linear Feature 13", "CL N 16L" or an empty name.
bool Taxi_LooksLikeTaxiway(const std::string &name);

/// The taxiway names of the record's route in order from the aircraft to the runway, each spelled
/// ("#B#, #A7#"): consecutive repeats once, at most TAXI_VIA_MAX_NAMES, never a name cut by the buffer.
/// Returns the number of names; 0 (and "") when the route has none, so that the "via" part is left out.
int Taxi_ViaText(const pilot *record, char *out, size_t size);
