// The simulator datarefs the plug-in reads, as one table each for attitude and flight.
#include "plugin/SimDataRefs.h"

#include <cstddef>

XPLMDataRef headingAttualeDataRef, gRollDataRef, gPitchDataRef;
XPLMDataRef CofG_refx, CofG_refy, CofG_refz;

XPLMDataRef AircrafLatRef, AircrafLonRef;
XPLMDataRef gAcfHeadingRef;
XPLMDataRef gAcfMagneticVariationRef;
XPLMDataRef gIndicatedAirspeedUserAcfRef;
XPLMDataRef gIndicatedTrueAirspeedUserAcfRef;
XPLMDataRef isOnGroundDataRef;
XPLMDataRef simulatorPauseDataRef;
XPLMDataRef gAcfAGLRef;
XPLMDataRef gAcfHightRef;
XPLMDataRef gAltTempErrRef;
XPLMDataRef gAcfSpeedRef;
XPLMDataRef gAcfVerticalSpeedRef;
XPLMDataRef gAcfEngineStartedRef;
XPLMDataRef gTunedAutopilotAlt;
XPLMDataRef oraSimulata;
XPLMDataRef squawkCode;
XPLMDataRef gMachNumberRef;
XPLMDataRef gAcfWeightRef;
XPLMDataRef gVNavAutopilotStateRef;
XPLMDataRef gWindHeadingRef, gWindSpeedRef, gBarometerRef;

namespace {

/// X-Plane 12's barometer dataref is in pascals, X-Plane 11's in inches of mercury.
bool gBarometerInPascals = false;
const float kPascalsPerInHg = 3386.389f;
/// Readings outside these bounds are not a sea-level pressure (a missing dataref reads 0).
const float kLowestInHg = 25.0f, kHighestInHg = 33.0f;
const float kHpaPerInHg = 33.8639f;
const float kStandardHpa = 1013.25f;

struct DataRefEntry {
    XPLMDataRef *handle;
    const char *name;
};

const DataRefEntry kAttitude[] = {
    {&headingAttualeDataRef, "sim/flightmodel/position/psi"},
    {&gRollDataRef, "sim/flightmodel/position/phi"},
    {&gPitchDataRef, "sim/flightmodel/position/theta"},
    {&CofG_refx, "sim/flightmodel/position/local_x"},
    {&CofG_refy, "sim/flightmodel/position/local_y"},
    {&CofG_refz, "sim/flightmodel/position/local_z"},
};

const DataRefEntry kFlight[] = {
    {&AircrafLatRef, "sim/flightmodel/position/latitude"},
    {&AircrafLonRef, "sim/flightmodel/position/longitude"},
    {&gAcfHeadingRef, "sim/flightmodel/position/psi"},
    {&gAcfMagneticVariationRef, "sim/flightmodel/position/magnetic_variation"},
    {&gIndicatedAirspeedUserAcfRef, "sim/flightmodel/position/indicated_airspeed2"},
    {&gIndicatedTrueAirspeedUserAcfRef, "sim/flightmodel/position/true_airspeed"},
    {&isOnGroundDataRef, "sim/flightmodel/failures/onground_any"},
    {&simulatorPauseDataRef, "sim/time/paused"},
    {&gAcfAGLRef, "sim/flightmodel/position/y_agl"},
    {&gAcfHightRef, "sim/flightmodel/position/elevation"},
    {&gAcfSpeedRef, "sim/flightmodel/position/groundspeed"},
    {&gAcfVerticalSpeedRef, "sim/flightmodel/position/vh_ind_fpm"},
    {&gAcfEngineStartedRef, "sim/flightmodel/engine/ENGN_running"},
    {&gTunedAutopilotAlt, "sim/cockpit/autopilot/altitude"},
    {&oraSimulata, "sim/time/local_time_sec"},
    {&squawkCode, "sim/cockpit/radios/transponder_code"},
    {&gMachNumberRef, "sim/flightmodel/misc/machno"},
    {&gVNavAutopilotStateRef, "sim/cockpit/autopilot/autopilot_state"},
    {&gAcfWeightRef, "sim/flightmodel/weight/m_total"},
};

// Weather moved to new datarefs in X-Plane 12. X-Plane 11 publishes its lowest wind layer as scalar
// datarefs whose names end in "[0]", and has no altimeter temperature error.
const DataRefEntry kWeatherXP11[] = {
    {&gWindHeadingRef, "sim/weather/wind_direction_degt[0]"},
    {&gWindSpeedRef, "sim/weather/wind_speed_kt[0]"},
    {&gBarometerRef, "sim/weather/barometer_sealevel_inhg"},
};
const DataRefEntry kWeatherXP12[] = {
    {&gWindHeadingRef, "sim/weather/aircraft/wind_now_direction_degt"},
    {&gWindSpeedRef, "sim/cockpit2/gauges/indicators/wind_speed_kts"},
    {&gBarometerRef, "sim/weather/aircraft/qnh_pas"},
    {&gAltTempErrRef, "sim/weather/aircraft/altimeter_temperature_error"},
};

template <size_t N> void SimDataRefs_find(const DataRefEntry (&table)[N])
{
    for (const DataRefEntry &entry : table)
        *entry.handle = XPLMFindDataRef(entry.name);
}

} // namespace

void System_FindAttitudeDataRefs()
{
    SimDataRefs_find(kAttitude);
}

void System_FindFlightDataRefs(int xplaneVersion)
{
    SimDataRefs_find(kFlight);
    gBarometerInPascals = xplaneVersion >= 12000;
    gAltTempErrRef = nullptr;
    if (gBarometerInPascals)
        SimDataRefs_find(kWeatherXP12);
    else
        SimDataRefs_find(kWeatherXP11);
}

float SimData_BarometerInHg()
{
    float value = XPLMGetDataf(gBarometerRef);
    if (gBarometerInPascals)
        value /= kPascalsPerInHg;
    // NaN fails both comparisons.
    if (!(value >= kLowestInHg && value <= kHighestInHg))
        return kStandardAltimeterInHg;
    return value;
}

float SimData_BarometerHpa()
{
    float value = XPLMGetDataf(gBarometerRef);
    float inHg = gBarometerInPascals ? value / kPascalsPerInHg : value;
    if (!(inHg >= kLowestInHg && inHg <= kHighestInHg))
        return kStandardHpa;
    return gBarometerInPascals ? value / 100.0f : value * kHpaPerInHg;
}
