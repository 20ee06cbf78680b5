// The radio as other add-ons and the request windows see it: the two published datarefs and whether
// the frequency is free for a new exchange.
#pragma once

class pilot;

/// "Vellomir/radio_facility_id" of a facility name: DELIVERY 1, GROUND 2, TOWER 3, DEPARTURE 4, CENTER 5,
/// APPROACH 6, ATIS 8, anything else 0.
int NaviCheck_FacilityId(const char *facility);
/// Refreshes "Vellomir/radio_in_use" (1 while a message is on the air, or, unless the radio is released
/// between dialogues, while an exchange waits for its read-back), "Vellomir/radio_facility_id" and
/// frequenzaLibera for the flight. Run once per frame.
void NaviCheck_UpdateRadio(pilot *record);
