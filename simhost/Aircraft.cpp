// The user's aircraft: a simple kinematic flight model that turns, climbs and accelerates towards a
// commanded heading, altitude and speed, writes the position datarefs (with the magnetic variation and
// the altimeter's temperature error) each frame, keeps the simulator clock running and the two COM1
// datarefs in step.
#include <cmath>

#include "HostInternal.h"

namespace simhost {
namespace detail {

namespace {

const double kFeetPerMetre = 3.28084;
const double kMetresPerSecondPerKnot = 0.514444;
const float kTurnRate_degps = 3.0f;   // standard rate turn
const float kAcceleration_ktps = 3.0f;
const float kDefaultClimb_fpm = 1800.0f;
/// North pole of the centred dipole that best fits the Earth's field (IGRF 2020).
const double kDipolePoleLat_deg = 80.65, kDipolePoleLon_deg = -72.68;
/// X-Plane 12's wind layers.
const size_t kWindLayers = 13;
const double kSeaLevelIsa_K = 288.15, kIsaLapse_Kpft = 0.0019812;
/// The FMS sequences to the next entry this close to the destination.
const double kFmsSequence_nm = 1.0;
/// X-Plane's autopilot state word while following the FMS: auto-throttle (1), vertical speed (16) and
/// heading navigation engaged (512).
const int kAutopilotFollowingFms = 529;
const char *const kAutopilotState = "sim/cockpit/autopilot/autopilot_state";

struct Model {
    bool placed = false; ///< the model owns the position datarefs
    bool flying = false; ///< the mover follows the commanded values
    bool followFms = false; ///< the autopilot flies the FMS destination entry
    float fmsAltitude_ft = 0; ///< the level flown towards entries without an altitude
    double lat = 0, lon = 0;
    double elevation_m = 0;
    double ground_m = 0;
    float heading_deg = 0; ///< true
    float speed_kt = 0;
    float vs_fpm = 0;
    float groundSpeed_kt = 0, track_deg = 0; ///< over the ground: the wind drifts an aircraft in the air
    float windFrom_deg = 0, windSpeed_kt = 0;  ///< true
    bool holdMagnetic = false;                 ///< the target heading is magnetic (the autopilot's heading mode)
    float targetMagnetic_deg = 0;
    float targetHeading_deg = 0, targetAltitude_ft = 0, targetSpeed_kt = 0;
    float climb_fpm = kDefaultClimb_fpm;
    bool linking = false;
    double localTime_s = -1; ///< the clock kept in double; the float dataref would drift frame by frame
    double runningTime_s = 0;
    bool variationFixed = false;
    float variation_deg = 0;
    float isaDeviation_C = 0;
};
Model gModel;

float WrapDegrees(float deg)
{
    deg = std::fmod(deg, 360.0f);
    return deg < 0 ? deg + 360.0f : deg;
}

float Towards(float value, float target, float step)
{
    if (value < target)
        return std::fmin(value + step, target);
    return std::fmax(value - step, target);
}

/// How far the altimeter reads above the true altitude in air isaDeviation_C warmer than standard (feet).
float TemperatureError(double altitude_ft, float isaDeviation_C)
{
    double isa_K = kSeaLevelIsa_K - kIsaLapse_Kpft * altitude_ft;
    return (float)(-altitude_ft * isaDeviation_C / (isa_K + isaDeviation_C));
}

void WriteState()
{
    Model &m = gModel;
    SetDouble("sim/flightmodel/position/latitude", m.lat);
    SetDouble("sim/flightmodel/position/longitude", m.lon);
    SetDouble("sim/flightmodel/position/elevation", m.elevation_m);
    SetFloat("sim/flightmodel/position/psi", m.heading_deg);
    SetFloat("sim/flightmodel/position/groundspeed", (float)(m.groundSpeed_kt * kMetresPerSecondPerKnot));
    SetFloat("sim/flightmodel/position/hpath", m.track_deg);
    SetFloat("sim/flightmodel/position/true_airspeed", (float)(m.speed_kt * kMetresPerSecondPerKnot));
    SetFloat("sim/flightmodel/misc/machno", (float)(m.speed_kt / 661.47)); // sea-level speed of sound
    SetFloat("sim/flightmodel/position/indicated_airspeed2", m.speed_kt);
    SetFloat("sim/flightmodel/position/vh_ind_fpm", m.vs_fpm);
    SetFloat("sim/flightmodel/position/y_agl", (float)(m.elevation_m - m.ground_m));
    SetInt("sim/flightmodel/failures/onground_any", m.elevation_m - m.ground_m < 0.5 ? 1 : 0);
    SetFloat("sim/flightmodel/position/magnetic_variation",
             m.variationFixed ? m.variation_deg : ModelMagneticVariation(m.lat, m.lon));
    SetFloat("sim/weather/aircraft/altimeter_temperature_error",
             TemperatureError(m.elevation_m * kFeetPerMetre, m.isaDeviation_C));
}

/// Great-circle distance (nm) and initial true bearing (degrees) from the aircraft to a point.
void DistanceAndBearing(const Model &m, double lat, double lon, double &distance_nm, float &bearing_deg)
{
    const double rad = M_PI / 180.0;
    double lat1 = m.lat * rad, lat2 = lat * rad, dLon = (lon - m.lon) * rad;
    double a = std::sin((lat2 - lat1) / 2) * std::sin((lat2 - lat1) / 2) +
               std::cos(lat1) * std::cos(lat2) * std::sin(dLon / 2) * std::sin(dLon / 2);
    distance_nm = 2 * std::atan2(std::sqrt(a), std::sqrt(1 - a)) * 60.0 / rad;
    double y = std::sin(dLon) * std::cos(lat2);
    double x = std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dLon);
    bearing_deg = WrapDegrees((float)(std::atan2(y, x) / rad));
}

/// The true altitude at which X-Plane's autopilot holds an altitude: it flies the altimeter, which X-Plane 12
/// makes read off the true altitude in air warmer or colder than standard.
float AutopilotTrueAltitude(float indicated_ft)
{
    if (host().options.xplaneVersion < 12000)
        return indicated_ft;
    float true_ft = indicated_ft; // true + error(true) = indicated, solved by a few fixed-point steps
    for (int i = 0; i < 4; i++)
        true_ft = indicated_ft - TemperatureError(true_ft, gModel.isaDeviation_C);
    return true_ft;
}

/// LNAV and VNAV: the commanded heading and altitude from the FMS destination entry, sequencing past it.
void FollowFms()
{
    Model &m = gModel;
    float lat = 0, lon = 0;
    int altitude_ft = 0;
    for (int guard = 0; guard < kFmsEntries && FmsDestinationPoint(lat, lon, altitude_ft); guard++) {
        double distance_nm = 0;
        float bearing_deg = 0;
        DistanceAndBearing(m, lat, lon, distance_nm, bearing_deg);
        if (distance_nm < kFmsSequence_nm && FmsSequence())
            continue;
        // LNAV holds the course: into the wind by the angle that cancels its cross component.
        float crab_deg = 0;
        if (m.speed_kt > 1.0f && m.elevation_m - m.ground_m >= 0.5) {
            double cross = m.windSpeed_kt * std::sin((m.windFrom_deg - bearing_deg) * M_PI / 180.0) / m.speed_kt;
            crab_deg = (float)(std::asin(std::fmax(-1.0, std::fmin(1.0, cross))) * 180.0 / M_PI);
        }
        m.targetHeading_deg = WrapDegrees(bearing_deg + crab_deg);
        m.targetAltitude_ft = AutopilotTrueAltitude(altitude_ft > 0 ? (float)altitude_ft : m.fmsAltitude_ft);
        return;
    }
}

void EndFms()
{
    if (gModel.followFms)
        SetInt(kAutopilotState, 0);
    gModel.followFms = false;
}

float CurrentVariation(const Model &m)
{
    return m.variationFixed ? m.variation_deg : ModelMagneticVariation(m.lat, m.lon);
}

void Move(float dt)
{
    Model &m = gModel;
    if (m.followFms)
        FollowFms();
    if (m.holdMagnetic) // X-Plane's variation is added to a true heading to make it magnetic
        m.targetHeading_deg = WrapDegrees(m.targetMagnetic_deg - CurrentVariation(m));
    float turn = std::remainder(m.targetHeading_deg - m.heading_deg, 360.0f);
    m.heading_deg = WrapDegrees(m.heading_deg + std::fmax(-kTurnRate_degps * dt, std::fmin(kTurnRate_degps * dt, turn)));
    m.speed_kt = Towards(m.speed_kt, m.targetSpeed_kt, kAcceleration_ktps * dt);

    const bool wasOnGround = m.elevation_m - m.ground_m < 0.5;
    float altitude_ft = (float)(m.elevation_m * kFeetPerMetre);
    float gap_ft = m.targetAltitude_ft - altitude_ft;
    // Full rate until close, then ease in so the level is held without overshoot.
    float vs = std::fmin(m.climb_fpm, std::fabs(gap_ft) * 12.0f);
    m.vs_fpm = gap_ft >= 0 ? vs : -vs;
    m.elevation_m += m.vs_fpm / 60.0f * dt / kFeetPerMetre;

    // Through the air along the heading; in the air the wind carries the aircraft along (it blows towards the
    // reciprocal of where it comes from).
    double heading_rad = m.heading_deg * M_PI / 180.0;
    double north_kt = m.speed_kt * std::cos(heading_rad), east_kt = m.speed_kt * std::sin(heading_rad);
    if (m.elevation_m - m.ground_m >= 0.5) {
        double windFrom_rad = m.windFrom_deg * M_PI / 180.0;
        north_kt -= m.windSpeed_kt * std::cos(windFrom_rad);
        east_kt -= m.windSpeed_kt * std::sin(windFrom_rad);
    }
    m.groundSpeed_kt = (float)std::hypot(north_kt, east_kt);
    m.track_deg = m.groundSpeed_kt > 0.01f ? WrapDegrees((float)(std::atan2(east_kt, north_kt) * 180.0 / M_PI))
                                           : m.heading_deg;
    m.lat += north_kt * dt / 3600.0 / 60.0;
    double cosLat = std::cos(m.lat * M_PI / 180.0);
    if (std::fabs(cosLat) > 1e-6)
        m.lon += east_kt * dt / 3600.0 / (60.0 * cosLat);
    if (m.lon > 180.0)
        m.lon -= 360.0;
    else if (m.lon < -180.0)
        m.lon += 360.0;

    // On a chosen terrain the ground is where the aircraft now is; it rolls over it unless climbing away.
    if (!TerrainFollowsAircraftLevel()) {
        m.ground_m = TerrainAt(m.lat, m.lon, m.ground_m);
        if (wasOnGround && m.vs_fpm <= 0)
            m.elevation_m = m.ground_m;
    }
    if (m.elevation_m < m.ground_m) {
        m.elevation_m = m.ground_m;
        m.vs_fpm = 0;
    }
}

} // namespace

void ResetAircraft()
{
    gModel = Model();
}

double AircraftGroundLevel()
{
    return gModel.ground_m;
}

bool AircraftPlaced()
{
    return gModel.placed;
}

void StepAircraft(float seconds)
{
    Model &m = gModel;
    m.runningTime_s += seconds;
    SetFloat("sim/time/total_running_time_sec", (float)m.runningTime_s);
    if (GetInt("sim/time/paused") != 0)
        return;
    float shown = GetFloat("sim/time/local_time_sec");
    if (m.localTime_s < 0 || (float)m.localTime_s != shown) // set from outside
        m.localTime_s = shown;
    m.localTime_s = std::fmod(m.localTime_s + seconds, 86400.0);
    SetFloat("sim/time/local_time_sec", (float)m.localTime_s);
    if (!gModel.placed)
        return;
    if (gModel.flying)
        Move(seconds);
    WriteState();
}

void DataRefWritten(const std::string &name)
{
    // X-Plane keeps COM1 in two units: 10 kHz (com1_freq_hz) and kHz (the 8.33 kHz dataref).
    if (gModel.linking)
        return;
    gModel.linking = true;
    if (name == "sim/cockpit/radios/com1_freq_hz")
        SetInt("sim/cockpit2/radios/actuators/com1_frequency_hz_833",
               GetInt("sim/cockpit/radios/com1_freq_hz") * 10);
    else if (name == "sim/cockpit2/radios/actuators/com1_frequency_hz_833")
        SetInt("sim/cockpit/radios/com1_freq_hz", GetInt("sim/cockpit2/radios/actuators/com1_frequency_hz_833") / 10);
    gModel.linking = false;
}

} // namespace detail

using namespace detail;

void PlaceAircraft(double lat, double lon, double elevation_m, float headingTrue_deg, bool onGround)
{
    EndFms();
    Model &m = gModel;
    m.placed = true;
    m.flying = false;
    m.lat = lat;
    m.lon = lon;
    m.elevation_m = elevation_m;
    if (onGround)
        m.ground_m = elevation_m;
    else if (!TerrainFollowsAircraftLevel())
        m.ground_m = TerrainAt(lat, lon, m.ground_m);
    // X-Plane loads the scenery around a new position and centres its local frame there.
    TerrainPlaceFrame(lat, lon);
    m.heading_deg = WrapDegrees(headingTrue_deg);
    m.speed_kt = m.groundSpeed_kt = 0;
    m.track_deg = m.heading_deg;
    m.vs_fpm = 0;
    m.holdMagnetic = false;
    WriteState();
}

void SetGroundElevation(double elevation_m)
{
    gModel.ground_m = elevation_m;
}

void FlyTowards(float headingTrue_deg, float altitude_ft, float speed_kt, float climb_fpm)
{
    EndFms();
    Model &m = gModel;
    m.flying = m.placed;
    m.holdMagnetic = false;
    m.targetHeading_deg = WrapDegrees(headingTrue_deg);
    m.targetAltitude_ft = altitude_ft;
    m.targetSpeed_kt = speed_kt;
    m.climb_fpm = climb_fpm > 0 ? climb_fpm : kDefaultClimb_fpm;
}

void FlyFms(float altitude_ft, float speed_kt, float climb_fpm)
{
    Model &m = gModel;
    FlyTowards(m.heading_deg, AutopilotTrueAltitude(altitude_ft), speed_kt, climb_fpm);
    m.followFms = m.placed;
    m.fmsAltitude_ft = altitude_ft;
    if (m.followFms)
        SetInt(kAutopilotState, kAutopilotFollowingFms);
}

void SetAutopilotTargets(float altitude_ft, float speed_kt)
{
    Model &m = gModel;
    if (altitude_ft > 0) {
        m.fmsAltitude_ft = altitude_ft;
        m.targetAltitude_ft = AutopilotTrueAltitude(altitude_ft);
    }
    if (speed_kt > 0)
        m.targetSpeed_kt = speed_kt;
}

void FlyHeadingMagnetic(float headingMagnetic_deg)
{
    EndFms();
    Model &m = gModel;
    m.flying = m.placed;
    m.holdMagnetic = true;
    m.targetMagnetic_deg = WrapDegrees(headingMagnetic_deg);
    m.targetHeading_deg = WrapDegrees(m.targetMagnetic_deg - CurrentVariation(m));
}

void StopAircraft()
{
    EndFms();
    gModel.flying = false;
    gModel.speed_kt = gModel.groundSpeed_kt = 0;
    gModel.vs_fpm = 0;
    if (gModel.placed)
        WriteState();
}

void SetHeading(float headingTrue_deg)
{
    gModel.heading_deg = gModel.targetHeading_deg = WrapDegrees(headingTrue_deg);
    if (gModel.placed)
        WriteState();
}

AircraftState Aircraft()
{
    const Model &m = gModel;
    AircraftState state;
    state.lat = m.lat;
    state.lon = m.lon;
    state.elevation_m = m.elevation_m;
    state.headingTrue_deg = m.heading_deg;
    state.speed_kt = m.speed_kt;
    state.groundSpeed_kt = m.groundSpeed_kt;
    state.trackTrue_deg = m.track_deg;
    state.verticalSpeed_fpm = m.vs_fpm;
    state.onGround = m.elevation_m - m.ground_m < 0.5;
    return state;
}

void TuneCom1(double megahertz)
{
    SetInt("sim/cockpit2/radios/actuators/com1_frequency_hz_833", (int)std::lround(megahertz * 1000.0));
}

void SetWeather(float windFromTrue_deg, float windSpeed_kt, float qnh_hpa, float isaDeviation_C)
{
    gModel.isaDeviation_C = isaDeviation_C;
    gModel.windFrom_deg = windFromTrue_deg;
    gModel.windSpeed_kt = windSpeed_kt;
    // Each generation's datarefs; those the running version does not publish are not written.
    bool xp12 = host().options.xplaneVersion >= 12000;
    SetFloat("sim/weather/wind_direction_degt[0]", windFromTrue_deg);
    // X-Plane 12 keeps this old name but gives metres per second in it.
    SetFloat("sim/weather/wind_speed_kt[0]", xp12 ? windSpeed_kt * (float)kMetresPerSecondPerKnot : windSpeed_kt);
    SetFloat("sim/weather/barometer_sealevel_inhg", qnh_hpa / 33.8639f);
    SetFloat("sim/cockpit2/gauges/indicators/wind_speed_kts", windSpeed_kt);
    SetFloat("sim/weather/aircraft/wind_now_direction_degt", windFromTrue_deg);
    SetFloat("sim/weather/aircraft/qnh_pas", qnh_hpa * 100.0f);
    SetFloatArray("sim/weather/region/wind_direction_degt", std::vector<float>(kWindLayers, windFromTrue_deg));
    SetFloatArray("sim/weather/aircraft/wind_speed_kts", std::vector<float>(kWindLayers, windSpeed_kt));
    if (gModel.placed)
        WriteState();
}

void SetEngines(bool running)
{
    std::vector<int> engines = GetIntArray("sim/flightmodel/engine/ENGN_running");
    for (int &engine : engines)
        engine = running ? 1 : 0;
    SetIntArray("sim/flightmodel/engine/ENGN_running", engines);
}

void SetMagneticVariation(float variation_deg)
{
    gModel.variationFixed = true;
    gModel.variation_deg = variation_deg;
    if (gModel.placed)
        WriteState();
}

float ModelMagneticVariation(double lat, double lon)
{
    // The declination is the bearing of the dipole's pole; X-Plane's variation has the other sign.
    const double rad = M_PI / 180.0;
    double lat1 = lat * rad, lat2 = kDipolePoleLat_deg * rad, dLon = (kDipolePoleLon_deg - lon) * rad;
    double y = std::sin(dLon) * std::cos(lat2);
    double x = std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dLon);
    if (std::fabs(x) < 1e-12 && std::fabs(y) < 1e-12)
        return 0.0f; // at the pole itself
    return (float)(-std::atan2(y, x) / rad);
}

} // namespace simhost
