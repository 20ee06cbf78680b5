// The printers draw with the simulator's string drawing at x 10, one row of 11 pixels each, from
// informationsPosition down. The elapsed time of the frame is read once per printed line: cheap.
#include "ui/OnScreenPrinters.h"

#include <cstdio>

#include "XPLMGraphics.h"
#include "XPLMProcessing.h"
#include "ui/Settings.h"

int gDebugStringHeightCo1um1 = 0, gDebugStringHeightCo1um2 = 0, gDebugStringHeightCo1um3 = 0,
    gDebugStringHeightCo1um4 = 0, gDebugStringHeightCo1um5 = 0;
int gDebugStringHeightBase = 440;
std::string messaggioTempErrore;
float messaggioTempErroreActTime = 0;

namespace
{

const int kRowHeight = 11, kLeft = 10;

/// Draws text (or an empty row) in column 1 and moves to the next row.
void OnScreen_row(const char *text, const float colour[3])
{
    float rgb[3] = {colour[0], colour[1], colour[2]};
    XPLMDrawString(rgb, kLeft, informationsPosition - kRowHeight * gDebugStringHeightCo1um1, text, nullptr,
                   xplmFont_Basic);
    gDebugStringHeightCo1um1++;
}

} // namespace

void OnScreen_ResetRows()
{
    gDebugStringHeightCo1um1 = gDebugStringHeightCo1um2 = gDebugStringHeightCo1um3 = 0;
    gDebugStringHeightCo1um4 = gDebugStringHeightCo1um5 = 0;
    gDebugStringHeightBase = 440;
}

void OnScreen_SetTempError(const char *text)
{
    messaggioTempErrore = text != nullptr ? text : "";
    // 0 means no error: an error set in the very first instant still counts as set.
    const float now = XPLMGetElapsedTime();
    messaggioTempErroreActTime = now > 0 ? now : 1e-3f;
}

bool OnScreen_BlinkOn(float now)
{
    return ((long)now) % 2 == 1;
}

void StampaLineaSchermo(const char *text, const float colour[3])
{
    if (flightStatsIsActive == 1)
        OnScreen_row(text, colour);
}

void StampaHeadingIndicator(const char *text, const float colour[3])
{
    if (headingIndicatorActive == 1)
        OnScreen_row(text, colour);
}

void StampaAvviso(const char *text, const float colour[3])
{
    if (onScreenWarnings == 1)
        OnScreen_row(OnScreen_BlinkOn(XPLMGetElapsedTime()) ? text : "", colour);
}

void StampaErrore(const char *text, const float colour[3])
{
    OnScreen_row(OnScreen_BlinkOn(XPLMGetElapsedTime()) ? text : "", colour);
}
