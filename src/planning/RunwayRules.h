// The rules that pick one runway end of an airport: the airport's runway-use rules, the end best
// aligned with the wind, and the nearest suitable end in calm wind.
#pragma once

#include <string>
#include <vector>

#include "navdata/Parser.h"

class pilot;

/// A wind direction reading (degrees true, any value) as whole degrees 0..359; a reading that is no
/// number counts as 0.
int Runway_WindDirection(float reading_deg);
/// A wind speed reading as whole knots, 0 for a negative reading or one that is no number.
int Runway_WindSpeed(float reading_kt);

/// Positions in ends of the ends a runway-use rule names: the upper-cased designator contains the
/// upper-cased runway of at least one rule. Empty when no rule names one of the ends.
std::vector<int> Runway_EligibleByRules(const std::vector<Parser::runway> &ends,
                                        const std::vector<Parser::runwayInUseDeparture> &rules);

/// Every position of ends.
std::vector<int> Runway_AllEnds(const std::vector<Parser::runway> &ends);

/// Among the eligible ends, the one whose true heading lies closest to the direction the wind blows
/// from (whole degrees 0..359); on equal angles the earlier end. -1 when none is eligible.
int Runway_BestForWind(const std::vector<Parser::runway> &ends, const std::vector<int> &eligible, int wind_deg);

/// True when the airport's localizers include an ILS (type 4) for the designator.
bool Runway_HasIls(const std::string &airportICAO, const char *designator);

/// The nearest end to the reference point (refLat, refLon). A departure takes the nearest end; an
/// arrival prefers the nearest end with an ILS, drops ends closer than 10 nm to the reference that the
/// approach could not be flown to straight from there, and when every end was dropped takes the nearest
/// end after all. ilsAirport names the airport's entry of the localizer index. -1 only without ends.
int Runway_Nearest(pilot *record, const std::vector<Parser::runway> &ends, int isDeparture, double refLat,
                   double refLon, const std::string &ilsAirport);
