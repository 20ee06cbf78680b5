// The texts of the flight plan form made safe: airport codes, flight name and number, the route's
// words and the radio callsign.
#pragma once

#include <string>
#include <vector>

/// Longest route the flight plan window holds, characters.
enum { FLIGHT_PLAN_ROUTE_MAX = 511 };
/// Longest flight name and flight number kept, characters.
enum { FLIGHT_NAME_MAX = 31, FLIGHT_NUMBER_MAX = 16 };
/// Size of the flight record's callsign buffer (pilot::nomePilota).
enum { CALLSIGN_SIZE = 40 };
/// Aircraft weight above which the callsign ends in " Heavy", kg.
enum { HEAVY_WEIGHT_KG = 137000 };

/// An airport code from the first five characters of text: letters upper-cased, digits kept, the rest dropped.
std::string FlightPlan_CleanCode(const std::string &text);
/// The flight name: at most 31 characters of text, letters, digits, space and hyphen kept as typed.
std::string FlightPlan_CleanName(const std::string &text);
/// The flight number: at most 16 characters of text, letters upper-cased, digits, space and hyphen kept.
std::string FlightPlan_CleanNumber(const std::string &text);
/// The route's words: letters upper-cased, digits and periods kept, every other character separates
/// words ("MCKEN/ONALS" is two words).
std::vector<std::string> FlightPlan_RouteWords(const std::string &text);
/// The words joined with single spaces.
std::string FlightPlan_JoinWords(const std::vector<std::string> &words);
/// The identifier of a route word: the part before its first period ("MALAY" of "MALAY.FL.120").
std::string FlightPlan_WordIdentifier(const std::string &word);
/// Removes every word whose identifier is one of names; returns how many were removed.
int FlightPlan_RemoveWords(std::vector<std::string> &words, const std::vector<std::string> &names);
/// True when a word names an airway (J1, V23, UL607, Q7, T257): one or two letters, then digits, then
/// at most one letter.
bool FlightPlan_IsAirway(const std::string &word);
/// The radio callsign: "<name> @<number>@" ("@<number>@" without a name), " Heavy" after it when heavy;
/// the name part is shortened (between words where it can) so that the whole fits in the flight
/// record's callsign buffer with both marks and " Heavy".
std::string FlightPlan_Callsign(const std::string &spokenName, const std::string &number, bool heavy);
