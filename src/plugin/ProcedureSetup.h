// The frame driver's procedure set-up of the route: the SID and STAR choice windows and the filing of
// the chosen procedures, in that order.
#pragma once

class pilot;

/// Runs once per frame (now: the host's elapsed time in seconds).
void FrameDriver_ProcedureSetup(pilot &record, float now);
