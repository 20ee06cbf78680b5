// Heading vectors: the heading to fly to the active waypoint and its error, the en-route distance still to
// fly, the relative wind of the panel, and the controller's vector phrase.
#pragma once

#include <cstdint>
#include <string>

class pilot;

/// Fills headingTarget (wind-corrected when usaHeadingWCA), headingError, direzioneVirata and its word,
/// nomeWaypointAttuale, distanzaWaypointAttuale and leftRightVentoRelativo for the active waypoint. The
/// error is measured against the wind-corrected heading whenever the correction was computed (an
/// autopilot flying a crosswind holds that heading, not the bearing). An active index outside the route
/// leaves every member as it was.
void CalcolaHeadingError(pilot *p);
/// Aircraft to the active waypoint, then leg by leg while the waypoints are departure, SID or en-route
/// points (order 0 to 2): the en-route distance of the sector hand-overs (nm). 0 when the active waypoint
/// is already a STAR or approach point, or outside the route.
float GetDistanceToTarget(pilot *p);
/// The value in decimal, left-padded with '0' to width characters ("005"); wider values are not cut.
std::string FormatHeading(int value, int width);
/// Queues the controller's vector onto heading (degrees magnetic): rounded to 5 degrees unless
/// preciseHeading, 360 rather than 000, "for NAME" on the departure runway and SID legs; a read-back is
/// asked (code 550) on the centre, or the approach once its cycle has begun. The flag has no effect.
void CallVectoring(pilot *p, float heading, int16_t flag);

/// The wind on the panel: "head" (below 46 or above 315 degrees off the nose), "cross" (side "right" 46 to
/// 135, "left" 226 to 315) or "tail" (136 to 225), from the relative angle of dirVentoRelativa.
const char *VentoRelativo_Classe(int relativeAngle, const char **side);
