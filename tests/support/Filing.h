// Filing a flight plan through the flight plan window over the bundled sample, from gate A1 of KSEA.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "state/Pilot.h"

/// The sample laid, the aircraft at gate A1 of KSEA with a south flow (Seattle departs from 16L), the
/// airline callsigns, the scenery indexed, pilotObj's first frame done on the ground, COM1 on delivery,
/// SIDs and STARs looked for: ready to file.
void Filing_AtSeattle();
/// Opens the flight plan window, types a KSEA to KPDX plan with this route (flight ASA 123, transition
/// levels 18000 ft, FL160, 1800 fpm), lets change adjust the fields, presses "Insert Flightplan".
void Filing_File(const std::string &route, const std::function<void()> &change = [] {});
/// A flight record on the ground at gate A1 of KSEA, bound for KPDX at FL200, departing 16L; no route yet.
void Filing_SeattleRecord(pilot &record);
/// Adds route words as filing resolves them: order 2, each searched near the previous waypoint.
void Filing_Route(pilot &record, const std::vector<const char *> &words);
