// The controller's altitude clearances: climb, descend, maintain, expedite, via the STAR and through the
// transition level, with the heading to fly when the aircraft is off its track, and the deviation calls.
#pragma once

class pilot;

/// -1 when current is more than FLTolerance below target (climb), 1 when more than FLTolerance above it
/// (descend), 0 within the tolerance. Feet; the trend is not used by the test.
int isClimbOrDescend(int current, int target, int trend);

/// Composes and queues the clearance to the active waypoint's level (code 520 on the centre's frequency,
/// 525 on the approach's), prefixed with a heading when forzaHeading is 1 or the heading error is large;
/// the level becomes the cleared one. A deviation from a level already cleared is worded as a deviation
/// ("you are ... feet above your clearance altitude"), a new level as a clearance. No climb is given in an
/// emergency; with no waypoint ahead nothing is said.
void ControlloAltitudine(pilot *record, int forzaHeading);

/// Whether the altitude has been off the cleared level by more than the tolerance for long enough to be
/// called: a deviation counts once it has lasted kDeviazioneProlungata_s (a moment's jump of the altimeter
/// source or a level-off overshoot is not called). On the final approach (the final altitude cleared and
/// an approach point, the ILS point or the runway active) the aircraft leaves its altitude for the glide
/// path: no deviation counts there. Call once a frame; now in elapsed seconds.
bool NaviCheck_DeviazioneProlungata(pilot *record, float now);
const float kDeviazioneProlungata_s = 15.0f;
