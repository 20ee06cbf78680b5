// SID and STAR search: the procedures of an airport's CIFP file that serve a runway, their fixes placed
// from the fix and navaid files, and the procedure chosen for the flight.
#pragma once

#include <string>

#include "state/Pilot.h"

/// The SIDs of airportICAO that serve the runway (designator as "16L", "1C", "07"), into the record's
/// sids and sidFixes, and the chosen one in selectedSID.
void searchSID11(std::string airportICAO, char *runway, pilot *record);
/// The same for STARs (stars, starFixes, selectedSTAR).
void searchSTAR11(std::string airportICAO, char *runway, pilot *record);

/// Seeds the draw among the procedures that do not connect to the route (seeded from the clock until
/// then). For tests.
void ProcedureSearch_Seed(unsigned seed);

/// The CIFP transition identifiers of a runway designator: "RW16L" and its both-runways form "RW16B"
/// ("RW01C" and "RW01B" for "1C"; no both-runways form without a side letter, b is then empty). False
/// for a designator that is no runway number.
bool ProcedureSearch_RunwayTransitions(const char *runway, std::string *a, std::string *b);
