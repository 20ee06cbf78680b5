#ifndef XPLMGraphics_h
#define XPLMGraphics_h
/* Text drawing, the translucent box and coordinate conversion. */
#include "XPLMDefs.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef int XPLMTextureID;
enum {
    xplm_Tex_GeneralInterface = 0
};

typedef int XPLMFontID;
enum {
    xplmFont_Basic = 0,
#if defined(XPLM200)
    xplmFont_Proportional = 18
#endif
};

XPLM_API void XPLMSetGraphicsState(int inEnableFog, int inNumberTexUnits, int inEnableLighting, int inEnableAlphaTesting,
                                   int inEnableAlphaBlending, int inEnableDepthTesting, int inEnableDepthWriting);
XPLM_API void XPLMBindTexture2d(int inTextureNum, int inTextureUnit);
XPLM_API void XPLMGenerateTextureNumbers(int *outTextureIDs, int inCount);
/* rgb points to three floats 0..1; (x, y) is the lower left of the text. */
XPLM_API void XPLMDrawString(float *inColorRGB, int inXOffset, int inYOffset, const char *inChar, int *inWordWrapWidth,
                             XPLMFontID inFontID);
XPLM_API void XPLMDrawNumber(float *inColorRGB, int inXOffset, int inYOffset, double inValue, int inDigits,
                             int inDecimals, int inShowSign, XPLMFontID inFontID);
XPLM_API void XPLMDrawTranslucentDarkBox(int inLeft, int inTop, int inRight, int inBottom);
XPLM_API void XPLMGetFontDimensions(XPLMFontID inFontID, int *outCharWidth, int *outCharHeight, int *outDigitsOnly);
#if defined(XPLM200)
XPLM_API float XPLMMeasureString(XPLMFontID inFontID, const char *inChar, int inNumChars);
#endif
XPLM_API void XPLMWorldToLocal(double inLatitude, double inLongitude, double inAltitude, double *outX, double *outY,
                               double *outZ);
XPLM_API void XPLMLocalToWorld(double inX, double inY, double inZ, double *outLatitude, double *outLongitude,
                               double *outAltitude);

#ifdef __cplusplus
}
#endif

#endif
