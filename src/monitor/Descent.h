// Descent planning: where the descent starts, and each step of the descent ladder turned into a level that
// keeps clear of the terrain of the route still to fly.
#pragma once

class pilot;

/// The descent rate of the settings (tdDescentSpeed, ft/min) bounded to what an airliner flies.
int Descent_Rate();
const int kDescentRateMin_fpm = 500, kDescentRateMax_fpm = 6000;

/// Distance (nm) before the destination at which the descent must start: the time to descend from the
/// current altitude to the destination's elevation at Descent_Rate(), plus a minute, at the current
/// ground speed. 0 on the ground or when already below the destination.
float NaviCheck_DistanzaTOD(const pilot *record);

/// Makes a descent step the flight's descent level: requested ft above the destination (lastDescense: the
/// final approach altitude), raised to a floor above the highest terrain ahead (ostacoloMassimoFt). A step
/// is taken when it is lower than the last one by the step margin, or when the terrain floor raises it; it
/// then becomes the plan's level (drawFlighLevels) and, when announce is set and it differs from the
/// cleared level, is cleared with ControlloAltitudine. Stamps orarioUltimoPassoDiscesa whatever it decides.
void NaviCheck_impostafaseDiscesa(pilot *record, int requested, bool announce, bool lastDescense);
