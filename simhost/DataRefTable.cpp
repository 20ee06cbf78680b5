// The simulator datarefs simhost publishes, as X-Plane 11's and 12.1's DataRefs lists give them.
#include "DataRefTable.h"

#include <iterator>

#include "HostInternal.h"
#include "XPLMDataAccess.h"

namespace simhost {
namespace detail {

namespace {

// The simulator datarefs the plug-in reads or writes, with X-Plane's names, types and writability by
// generation (X-Plane 11's and 12.1's DataRefs lists). X-Plane 11 publishes its wind layers as scalar
// datarefs whose names end in "[0]"; 12 still has them (deprecated, the speed in m/s despite its name) and
// adds the "sim/weather/region/..." and "sim/weather/aircraft/..." families, arrays of 13 layers.
const BuiltInDataRef kBuiltIns[] = {
    {"sim/flightmodel/position/latitude", xplmType_Double | xplmType_Float, 0, 0, kBoth, false},
    {"sim/flightmodel/position/longitude", xplmType_Double | xplmType_Float, 0, 0, kBoth, false},
    {"sim/flightmodel/position/elevation", xplmType_Double | xplmType_Float, 0, 0, kBoth, false},
    {"sim/flightmodel/position/local_x", xplmType_Double | xplmType_Float, 0, 0, kBoth, true},
    {"sim/flightmodel/position/local_y", xplmType_Double | xplmType_Float, 0, 0, kBoth, true},
    {"sim/flightmodel/position/local_z", xplmType_Double | xplmType_Float, 0, 0, kBoth, true},
    {"sim/flightmodel/position/psi", xplmType_Float, 0, 0, kBoth, true},
    {"sim/flightmodel/position/phi", xplmType_Float, 0, 0, kBoth, true},
    {"sim/flightmodel/position/theta", xplmType_Float, 0, 0, kBoth, true},
    {"sim/flightmodel/position/magnetic_variation", xplmType_Float, 0, 0, kBoth, false},
    {"sim/flightmodel/position/indicated_airspeed2", xplmType_Float, 0, 0, kBoth, true},
    {"sim/flightmodel/position/true_airspeed", xplmType_Float, 0, 0, kBoth, true},
    {"sim/flightmodel/misc/machno", xplmType_Float, 0, 0, kBoth, false},
    {"sim/flightmodel/position/groundspeed", xplmType_Float, 0, 0, kBoth, false},
    {"sim/flightmodel/position/hpath", xplmType_Float, 0, 0, kBoth, false},
    {"sim/flightmodel/position/vh_ind_fpm", xplmType_Float, 0, 0, kBoth, true},
    {"sim/flightmodel/position/y_agl", xplmType_Float, 0, 0, kBoth, false},
    {"sim/flightmodel/failures/onground_any", xplmType_Int, 0, 1, kBoth, true},
    {"sim/flightmodel/engine/ENGN_running", xplmType_IntArray, 16, 0, kBoth, true},
    {"sim/flightmodel/weight/m_total", xplmType_Float, 0, 60000, kBoth, false},
    {"sim/time/paused", xplmType_Int, 0, 0, kBoth, false},
    {"sim/time/local_time_sec", xplmType_Float, 0, 43200, kBoth, false},
    {"sim/time/total_running_time_sec", xplmType_Float, 0, 0, kBoth, true},
    {"sim/cockpit/autopilot/altitude", xplmType_Float, 0, 0, kBoth, true},
    {"sim/cockpit/autopilot/autopilot_state", xplmType_Int, 0, 0, kBoth, true},
    {"sim/cockpit/radios/transponder_code", xplmType_Int, 0, 1200, kBoth, true},
    {"sim/cockpit/radios/com1_freq_hz", xplmType_Int, 0, 11800, kBoth, true},
    {"sim/cockpit2/radios/actuators/com1_frequency_hz_833", xplmType_Int, 0, 118000, kBoth, true},
    {"sim/aircraft/view/acf_tailnum", xplmType_Data, 40, 0, kBoth, true},
    {"sim/weather/wind_direction_degt[0]", xplmType_Float, 0, 0, kBoth, true},
    {"sim/weather/wind_speed_kt[0]", xplmType_Float, 0, 0, kBoth, true},
    {"sim/weather/barometer_sealevel_inhg", xplmType_Float, 0, 29.92, kBoth, true},
    {"sim/cockpit2/gauges/indicators/wind_speed_kts", xplmType_Float, 0, 0, kBoth, true},
    {"sim/weather/aircraft/altimeter_temperature_error", xplmType_Float, 0, 0, kXP12, false},
    {"sim/weather/aircraft/wind_now_direction_degt", xplmType_Float, 0, 0, kXP12, false},
    {"sim/weather/aircraft/qnh_pas", xplmType_Float, 0, 101325, kXP12, false},
    {"sim/weather/region/wind_direction_degt", xplmType_FloatArray, 13, 0, kXP12, true},
    {"sim/weather/aircraft/wind_speed_kts", xplmType_FloatArray, 13, 0, kXP12, false},
};

} // namespace

const std::vector<BuiltInDataRef> &BuiltInDataRefs()
{
    static const std::vector<BuiltInDataRef> table(std::begin(kBuiltIns), std::end(kBuiltIns));
    return table;
}

/// The generation of the X-Plane the host reports.
unsigned CurrentGeneration()
{
    return host().options.xplaneVersion >= 12000 ? kXP12 : kXP11;
}

} // namespace detail
} // namespace simhost
