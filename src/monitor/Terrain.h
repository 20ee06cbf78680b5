// The terrain under the route still to fly: single points and the highest ground along the remaining
// legs, sampled with the simulator's terrain probe.
#pragma once

class pilot;

/// At most this many terrain probes in one frame; a longer scan goes on over the next frames.
enum { TERRAIN_PROBES_PER_FRAME = 250 };
/// Points farther than this from the aircraft are not probed: the simulator's scenery is loaded only about
/// 150 km around the aircraft and answers sea level beyond.
const float kTerrainProbeRange_nm = 70.0f;

/// Terrain elevation (ft) at a point; NaN when the probe does not hit terrain there.
float CalcolaGroundElevation(float latitude, float longitude);

/// Highest terrain (ft) along the route still to fly, sampled every `step` nm on the way from the aircraft
/// to the active waypoint and on every later leg (at each leg's start and along the straight line between
/// its end points). Starts a new scan, or goes on with the scan in progress for the same route; a scan
/// probes at most TERRAIN_PROBES_PER_FRAME points per frame. Returns the result of the scan when it ends
/// within this call, otherwise the record's ostacoloMassimoFt (until CalcolaAltezzaOstacoli_Continua
/// ends it). Parts of the route out of the probes' range keep the highest terrain found on them before.
int CalcolaAltezzaOstacoliPercorso(pilot *record, float step);
/// Goes on with a scan in progress (at most TERRAIN_PROBES_PER_FRAME probes in the frame); when it ends,
/// writes its result into the record's ostacoloMassimoFt. Does nothing when no scan runs. Once a frame.
void CalcolaAltezzaOstacoli_Continua(pilot *record);
/// True while a scan is in progress.
bool CalcolaAltezzaOstacoli_InCorso();
/// Forgets the scan in progress and what earlier scans found (a new flight).
void CalcolaAltezzaOstacoli_Reset();
