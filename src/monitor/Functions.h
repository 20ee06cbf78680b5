// Geodesy of the flight: distances and bearings on a flat-earth approximation, the wind correction, the
// angle helpers, the autopilot test, the point projection and the distance still to fly.
#pragma once

#include "state/Pilot.h"

/// Result of every distance computation.
struct distanceToCoord {
    float heading;    ///< magnetic bearing from the first point to the second, 0..360
    float headingWCA; ///< heading plus the wind correction angle; written only when the correction is computed
    float distance;   ///< nautical miles
};

/// A position in degrees.
struct coordinate {
    double lat = 0, lon = 0;
};

/// Distance and magnetic bearing from point 1 to point 2; with the record filled from the simulator also
/// the wind correction (angoloDiCorrezioneVento, headingWCA, usaHeadingWCA, dirVentoRelativa).
void CalcolaDistanzaCoordinata(double lat1, double lon1, double lat2, double lon2, distanceToCoord *out,
                               int calculateWCA, pilot *tmpPilot);
/// Distance and magnetic bearing only.
void CalcolaDistanzaCoordinataMini(double lat1, double lon1, double lat2, double lon2, distanceToCoord *out,
                                   pilot *tmpPilot);

/// The reciprocal heading.
float invertiGradi(float heading);
/// Smallest angle between two headings, 0..180.
float GetHeadingDifference(float a, float b);
float calcolaDifferenzaTraAngoli(float a, float b);
/// Turn direction from current to target: 1 left, 2 right.
int GetLeftRightDirection(float current, float target);
/// "left" or "right", by the rule of GetLeftRightDirection.
const char *GetLeftRightDirectionStringa(float current, float target);

/// True when the simulator's autopilot state word is one of the engaged-mode values.
bool isAutopilotActive(int autopilotState);

/// Recomputes distanzaDestinazioneTotale: aircraft to the active waypoint, the remaining legs, and the
/// last waypoint to the destination, in whole nautical miles (truncated after each leg); and the same sum
/// untruncated in distanzaRimanenteEsatta.
void calcolaDistanzaRimanente(pilot *tmpPilot);

/// The point `distance` nautical miles from (lat, lon) along the true `heading` (degrees).
void DisegnaTraiettoria(double lat, double lon, float heading, float distance, coordinate *out);
