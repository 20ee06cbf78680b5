#ifndef XPLMScenery_h
#define XPLMScenery_h
/* Terrain probes and magnetic variation. */
#include "XPLMDefs.h"

#ifdef __cplusplus
extern "C" {
#endif

#if defined(XPLM200)
typedef int XPLMProbeType;
enum {
    xplm_ProbeY = 0
};

typedef int XPLMProbeResult;
enum {
    xplm_ProbeHitTerrain = 0,
    xplm_ProbeError = 1,
    xplm_ProbeMissed = 2
};

typedef void *XPLMProbeRef;

/* Set structSize to sizeof (44) before probing. */
typedef struct {
    int structSize;
    float locationX;
    float locationY;
    float locationZ;
    float normalX;
    float normalY;
    float normalZ;
    float velocityX;
    float velocityY;
    float velocityZ;
    int is_wet;
} XPLMProbeInfo_t;

XPLM_API XPLMProbeRef XPLMCreateProbe(XPLMProbeType inProbeType);
XPLM_API void XPLMDestroyProbe(XPLMProbeRef inProbe);
XPLM_API XPLMProbeResult XPLMProbeTerrainXYZ(XPLMProbeRef inProbe, float inX, float inY, float inZ,
                                             XPLMProbeInfo_t *outInfo);
#endif

#if defined(XPLM300)
XPLM_API float XPLMGetMagneticVariation(double latitude, double longitude);
XPLM_API float XPLMDegTrueToDegMagnetic(float headingDegreesTrue);
XPLM_API float XPLMDegMagneticToDegTrue(float headingDegreesMagnetic);
#endif

#ifdef __cplusplus
}
#endif

#endif
