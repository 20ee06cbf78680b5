// Airline telephony designators: the spoken name of an airline's ICAO designator, from ICAOCodes.dat.
#pragma once

/// The telephony designator of the airline whose ICAO designator is code (case aside), read from the
/// plug-in's ICAOCodes.dat ("DESIGNATOR;company;TELEPHONY" lines, "#" lines are comments): the last line
/// whose first field contains the code wins. When no line matches, or the file cannot be read, the code
/// exactly as passed. Codes longer than 64 characters are cut. The text stays valid until the next call.
const char *Utils_nomeLinea(const char *code);
