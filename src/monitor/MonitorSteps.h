// The steps of the navigation monitor, shared between its files. Each step that returns true ended the
// monitor's work for this frame.
#pragma once

#include <cstddef>

#include "state/Pilot.h"

/// What one frame of the monitor knows beyond the record.
struct NaviFrame {
    float now = 0;         ///< elapsed seconds
    size_t queuedAtStart = 0; ///< queue length when the frame began
};

/// True when a radio call was queued during this frame: the frame's monitoring ends there.
bool NaviCheck_CallStarted(const NaviFrame &frame);
/// The value as an int when it is a finite number inside [lo, hi], else fallback.
int NaviCheck_BoundedInt(float value, int lo, int hi, int fallback);
/// An emergency flight is never told to climb: true when the active level lies above the altitude.
bool NaviCheck_EmergencyClimb(const pilot *p);

// MARK: landing (monitor/MonitorLanding.cpp)
/// The take-off flag, the landing roll, the runway vacated and the blocks a touch-and-go leaves.
bool NaviCheck_LandingRoll(pilot *p, const NaviFrame &frame);

// MARK: descent (monitor/MonitorDescent.cpp)
/// Steps of the descent ladder and the top of descent; may mark the arrival path for generation.
bool NaviCheck_DescentSteps(pilot *p, const NaviFrame &frame);
/// The expedite, the new level from the plan, and the deviation calls.
bool NaviCheck_LevelCalls(pilot *p, const NaviFrame &frame);

// MARK: arrival (monitor/MonitorArrival.cpp)
/// Landing information and the hand-over to the arrival's approach.
bool NaviCheck_ArrivalCalls(pilot *p, const NaviFrame &frame);
/// Whether speed advice may be given now (consentiRiduzioneVelocita).
void NaviCheck_SpeedAdvicePermission(pilot *p, const NaviFrame &frame);
/// The landing clearance near the threshold.
bool NaviCheck_ClearedToLand(pilot *p, const NaviFrame &frame);
/// The arrival set-up, one part per frame: airport and runway, STAR search, approach path.
bool NaviCheck_ArrivalSetUp(pilot *p, const NaviFrame &frame);
/// The destination point (looked up once per arrival airport) and the direct distance to it.
void NaviCheck_DestinationPoint(pilot *p);
/// Direct distance from the aircraft to the destination point, nm; 0 while the point is unknown.
float NaviCheck_DistanceToDestination(const pilot *p);
