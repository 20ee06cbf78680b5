// Descent planning: each step of the descent ladder turned into a level that keeps clear of the terrain of
// the route still to fly.
#pragma once

class pilot;

/// The descent rates the Options window accepts (ft/min); NaviCheck_DescentRate bounds the setting to them.
const int kDescentRateMin_fpm = 500, kDescentRateMax_fpm = 6000;

/// Makes a descent step the flight's descent level: requested ft above the destination (lastDescense: the
/// final approach altitude), raised to a floor above the highest terrain ahead (ostacoloMassimoFt). A step
/// is taken when it is lower than the last one by the step margin, or when the terrain floor raises it; it
/// then becomes the plan's level (drawFlighLevels) and, when announce is set and it differs from the
/// cleared level, is cleared with ControlloAltitudine. Stamps orarioUltimoPassoDiscesa whatever it decides.
void NaviCheck_impostafaseDiscesa(pilot *record, int requested, bool announce, bool lastDescense);
