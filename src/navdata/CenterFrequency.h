// The area controller (centre) of the flight: which airport to look up, and its centre's name and
// frequency from the plug-in's acc.dat ("identifiers:spoken name:MHz" per line, "#" lines are comments).
#pragma once

#include <cstddef>

class pilot;

/// Chooses the airport whose centre serves the flight (the departure airport while the plan is filed and
/// the first centre call is not made, else the airport nearest to the aircraft) and looks it up.
void Radio_settaFrequenzaCenter(pilot *record);
/// Looks identifier up in acc.dat and updates the record's centre: a frequency that differs from the one
/// in use is held back until a later lookup finds it again; without any usable line a made-up frequency
/// named "Center" is used, never one of the departure or arrival airport's frequencies.
void Radio_ottieniFrequenzaCenter(const char *identifier, pilot *record);

/// The frequency text of an acc.dat line ("127.125", blanks around it allowed) in the simulator's unit for
/// xplaneVersion (127125 from 11330 on, 12712 below); false, value untouched, unless it is a COM
/// frequency of 118.000 to 136.990 MHz.
bool Radio_ParseCenterFrequency(const char *text, size_t length, int xplaneVersion, double *value);
/// True when identifier occurs in text[0, length) as a whole word: the characters before and after it
/// are not letters or digits.
bool Radio_ContainsIdentifier(const char *text, size_t length, const char *identifier);
