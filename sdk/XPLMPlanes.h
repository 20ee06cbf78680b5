#ifndef XPLMPlanes_h
#define XPLMPlanes_h
/* The user's aircraft and the other aircraft the simulator flies. */
#include "XPLMDefs.h"

#ifdef __cplusplus
extern "C" {
#endif

#define XPLM_USER_AIRCRAFT 0

XPLM_API void XPLMSetUsersAircraft(const char *inAircraftPath);
XPLM_API void XPLMPlaceUserAtAirport(const char *inAirportCode);
#if defined(XPLM300)
XPLM_API void XPLMPlaceUserAtLocation(double latitudeDegrees, double longitudeDegrees, float elevationMetersMSL,
                                      float headingDegreesTrue, float speedMetersPerSecond);
#endif
XPLM_API void XPLMCountAircraft(int *outTotalAircraft, int *outActiveAircraft, XPLMPluginID *outController);
/* outFileName at least 256 bytes, outPath at least 512. */
XPLM_API void XPLMGetNthAircraftModel(int inIndex, char *outFileName, char *outPath);

#ifdef __cplusplus
}
#endif

#endif
