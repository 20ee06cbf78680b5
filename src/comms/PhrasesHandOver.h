// What the area and approach controllers announce on their own: landing information, speed, and the
// hand-overs to the next centre, to approach and to the arrival tower.
#pragma once

class pilot;

void ComunicaInformazioniAtterraggio(pilot *record);
void ApproachAnnounceReduceSpeed(pilot *record, int speed_kt);

void HandOverCenter(pilot *record);
void HandOverCenterReadback(pilot *record, const char *text);
void HandOverCenterGot(pilot *record);

void HandOverApproach(pilot *record);
void HandOverApproachReadback(pilot *record, const char *text);
void HandOverApproachGot(pilot *record);

/// The approach clearance and the hand-over to the arrival tower; with heading_deg 0 to 360 the
/// controller also turns the aircraft onto that heading (a negative heading: no turn).
void HandOverTowerForLanding(pilot *record, int heading_deg = -1);
void HandOverTowerForLandingReadBack(pilot *record, const char *text);

/// The spelled approach type of the arrival runway ("ILS", "LOC"), "" for a visual approach.
const char *Radio_ApproachType(const pilot *record);
