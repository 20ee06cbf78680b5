// The simulator's state copied into the flight record each frame.
#include "plugin/FrameReads.h"

#include <cmath>

#include "plugin/FacilityNaming.h"
#include "plugin/FirstFrame.h"
#include "plugin/PluginGlobals.h"
#include "plugin/SimDataRefs.h"
#include "state/Pilot.h"
#include "ui/Settings.h"

int simulatorPause = 0;

namespace {

const double kFeetPerMetre = 3.28084;
/// One inch of mercury is about a thousand feet of pressure altitude.
const float kFeetPerInHg = 1000.0f;
/// Half the band around the transition level within which the altimeter source is kept.
const float kTransitionBand_ft = 100.0f;

/// A heading in [0, 360).
float FrameReads_wrap360(float heading_deg)
{
    heading_deg = std::fmod(heading_deg, 360.0f);
    if (heading_deg < 0)
        heading_deg += 360.0f;
    return heading_deg >= 360.0f ? 0.0f : heading_deg;
}

/// A float that is not a number reads as 0: nothing downstream may keep NaN.
float FrameReads_finite(float value)
{
    return std::isfinite(value) ? value : 0.0f;
}

} // namespace

float FrameDriver_PressureAltitude(float altitude_ft, float altimeter_inHg)
{
    return (kStandardAltimeterInHg - altimeter_inHg) * kFeetPerInHg + altitude_ft;
}

void FrameDriver_ReadOnGround(pilot &record)
{
    record.isOnGround = XPLMGetDatai(isOnGroundDataRef);
}

void FrameDriver_ReadAltitude(pilot &record)
{
    // X-Plane 11's altimeter has no temperature error (nor a dataref for it).
    record.altimeterTempError = gAltTempErrRef != nullptr ? FrameReads_finite(XPLMGetDataf(gAltTempErrRef)) : 0.0f;
    float altitude_ft = FrameReads_finite((float)(XPLMGetDatad(gAcfHightRef) * kFeetPerMetre)) + record.altimeterTempError;
    int transitionFL = record.gTODReached == 1 ? gTransLevelFLArr : gTransLevelFLDep;
    // The source changes only once clearly across the transition level: an aircraft levelling off at it
    // does not jump between the two readings frame after frame.
    const float transition_ft = (float)(transitionFL * 100);
    if (altitude_ft > transition_ft + kTransitionBand_ft)
        record.altitudineStandard = true;
    else if (altitude_ft < transition_ft - kTransitionBand_ft)
        record.altitudineStandard = false;
    if (record.altitudineStandard)
        altitude_ft = FrameDriver_PressureAltitude(altitude_ft, SimData_BarometerInHg());
    record.altitudineFeets = altitude_ft;
    record.gActualAGL = FrameReads_finite((float)(XPLMGetDataf(gAcfAGLRef) * kFeetPerMetre));
}

void FrameDriver_ReadCom1(pilot &record)
{
    gActualFrequency = (double)XPLMGetDatai(actualFrequencyRef);
    record.gActualFrequency = gActualFrequency;
}

void FrameDriver_ReadEngines(pilot &record)
{
    int first = 0;
    if (XPLMGetDatavi(gAcfEngineStartedRef, &first, 0, 1) != 1)
        first = 0;
    record.engineRunning = first;
    if (first == 1)
        record.gIsEngStartApproved = 1;
}

void FrameDriver_ReadPositionAndMotion(pilot &record)
{
    double lat = XPLMGetDatad(AircrafLatRef), lon = XPLMGetDatad(AircrafLonRef);
    if (std::isfinite(lat) && std::isfinite(lon)) {
        record.latitudine = lat;
        record.longitudine = lon;
    }
    // X-Plane's variation is added to a true heading to make it magnetic (negative where the declination is east).
    record.variazioneMagnetica = FrameReads_finite(XPLMGetDataf(gAcfMagneticVariationRef));
    record.headingAttuale =
        FrameReads_wrap360(FrameReads_finite(XPLMGetDataf(gAcfHeadingRef)) + record.variazioneMagnetica);
    record.kmlExport = gKMLExp;
    record.groundSpeed = FrameReads_finite(XPLMGetDataf(gAcfSpeedRef));
    record.verticalSpeed = FrameReads_finite(XPLMGetDataf(gAcfVerticalSpeedRef));
    record.indicatedAirspeed = FrameReads_finite(XPLMGetDataf(gIndicatedAirspeedUserAcfRef));
    record.acfWeight = FrameReads_finite(XPLMGetDataf(gAcfWeightRef));
}

void FrameDriver_ReadPause()
{
    simulatorPause = XPLMGetDatai(simulatorPauseDataRef);
}
