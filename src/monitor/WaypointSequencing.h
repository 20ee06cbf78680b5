// Waypoint sequencing and heading calls: the last stage of the navigation monitor. Each frame, after the
// first en-route call and with a route: has the active waypoint been reached, passed or lost (then the next
// one becomes active), is the flight handed to the destination tower, is a heading vector due, is speed
// advice due.
#pragma once

class pilot;

/// Reasons the vector rules gave this frame (rule numbers 1 to 15, in the order they fired), for the debug
/// display and log.
struct HeadingRuleList {
    enum { CAPACITY = 16 };
    int rules[CAPACITY];
    int count;
};
extern HeadingRuleList WhyTrueList, WhyFalseList;
/// The message of a vector rule with the figures of this frame.
void NaviCheck_HeadingRuleText(const pilot *p, int rule, char *out, int size);

/// Sequencing for this frame (run first): the heading to the active waypoint (CalcolaHeadingError), its
/// activation on its first frame, then fix reached, reached laterally, passed, lost, a skip asked by the
/// pilot and "Departure" points; a switch makes the next waypoint active and the FMS follow it. True when
/// the active waypoint was switched: the monitor's call ends for this frame.
bool NaviCheck_SequenceWaypoints(pilot *p);
/// The destination tower takes the flight on the arrival runway leg, within 20 nm (7.5 nm VFR). True when
/// the hand-over was queued: the monitor's call ends.
bool NaviCheck_TowerHandOverForLanding(pilot *p);
/// Vectoring for this frame (after the sequencing, in the same frame): the vector rules decide whether a
/// vector is due; a due vector is given after the announce delay when the frequency is free, no read-back or
/// contact is pending and the pilot will hear it. True when a vector was queued: the monitor's call ends.
bool NaviCheck_HeadingVectors(pilot *p);
/// Below 10000 ft: "reduce speed to 250 knots" (above 260 kt, with the low-altitude warning on), after top
/// of descent below 8000 ft "200 knots" (above 210 kt), at most every 180 s, when allowed is true (the
/// monitor's speed-advice permission).
void NaviCheck_SpeedAdvice(pilot *p, bool allowed);
/// The whole stage in order: sequencing, tower hand-over, vectoring, speed advice (when the monitor's
/// consentiRiduzioneVelocita allows it); each call that queues a transmission ends it.
void NaviCheck_WaypointSequencing(pilot *p);
