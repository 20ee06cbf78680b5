// Stand-ins for functions of subsystems still to come: each has its final name and signature, does
// nothing and logs nothing. The subsystem that builds one removes it from here.
#pragma once

class pilot;

// MARK: FMS programming
/// Rewrites the simulator's FMS from the route.
void ProgramFMS(pilot *record);
