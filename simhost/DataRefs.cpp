// Datarefs: the simulator's own (typed storage the harness sets) and those plug-ins publish
// through accessors. Handles stay valid until Reset; an unknown name gives no handle.
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "HostInternal.h"
#include "XPLMDataAccess.h"

namespace simhost {
namespace detail {

struct DataRef {
    std::string name;
    int types = 0;
    bool writable = true;
    bool alive = true;
    bool published = false; ///< registered by a plug-in through accessors
    // storage of the simulator's own datarefs
    int i = 0;
    float f = 0;
    double d = 0;
    std::vector<int> vi;
    std::vector<float> vf;
    std::string bytes;
    // accessors of a published dataref
    XPLMGetDatai_f ri = nullptr;
    XPLMSetDatai_f wi = nullptr;
    XPLMGetDataf_f rf = nullptr;
    XPLMSetDataf_f wf = nullptr;
    XPLMGetDatad_f rd = nullptr;
    XPLMSetDatad_f wd = nullptr;
    XPLMGetDatavi_f rvi = nullptr;
    XPLMSetDatavi_f wvi = nullptr;
    XPLMGetDatavf_f rvf = nullptr;
    XPLMSetDatavf_f wvf = nullptr;
    XPLMGetDatab_f rb = nullptr;
    XPLMSetDatab_f wb = nullptr;
    void *readRef = nullptr;
    void *writeRef = nullptr;
    int finds = 0;
};

namespace {

std::vector<std::unique_ptr<DataRef>> gRefs;
std::map<std::string, DataRef *> gByName;
std::unordered_set<const void *> gHandles;

struct BuiltIn {
    const char *name;
    int types;
    int arraySize;
    double value;
};

// The simulator datarefs the plug-in reads or writes, with X-Plane's types.
const BuiltIn kBuiltIns[] = {
    {"sim/flightmodel/position/latitude", xplmType_Double | xplmType_Float, 0, 0},
    {"sim/flightmodel/position/longitude", xplmType_Double | xplmType_Float, 0, 0},
    {"sim/flightmodel/position/elevation", xplmType_Double | xplmType_Float, 0, 0},
    {"sim/flightmodel/position/local_x", xplmType_Double | xplmType_Float, 0, 0},
    {"sim/flightmodel/position/local_y", xplmType_Double | xplmType_Float, 0, 0},
    {"sim/flightmodel/position/local_z", xplmType_Double | xplmType_Float, 0, 0},
    {"sim/flightmodel/position/psi", xplmType_Float, 0, 0},
    {"sim/flightmodel/position/phi", xplmType_Float, 0, 0},
    {"sim/flightmodel/position/theta", xplmType_Float, 0, 0},
    {"sim/flightmodel/position/magnetic_variation", xplmType_Float, 0, 0},
    {"sim/flightmodel/position/indicated_airspeed2", xplmType_Float, 0, 0},
    {"sim/flightmodel/position/true_airspeed", xplmType_Float, 0, 0},
    {"sim/flightmodel/position/groundspeed", xplmType_Float, 0, 0},
    {"sim/flightmodel/position/vh_ind_fpm", xplmType_Float, 0, 0},
    {"sim/flightmodel/position/y_agl", xplmType_Float, 0, 0},
    {"sim/flightmodel/failures/onground_any", xplmType_Int, 0, 1},
    {"sim/flightmodel/engine/ENGN_running", xplmType_IntArray, 16, 0},
    {"sim/flightmodel/weight/m_total", xplmType_Float, 0, 60000},
    {"sim/time/paused", xplmType_Int, 0, 0},
    {"sim/time/local_time_sec", xplmType_Float, 0, 43200},
    {"sim/time/total_running_time_sec", xplmType_Float, 0, 0},
    {"sim/cockpit/autopilot/altitude", xplmType_Float, 0, 0},
    {"sim/cockpit/autopilot/autopilot_state", xplmType_Int, 0, 0},
    {"sim/cockpit/radios/transponder_code", xplmType_Int, 0, 1200},
    {"sim/cockpit/radios/com1_freq_hz", xplmType_Int, 0, 11800},
    {"sim/cockpit2/radios/actuators/com1_frequency_hz_833", xplmType_Int, 0, 118000},
    {"sim/aircraft/view/acf_tailnum", xplmType_Data, 40, 0},
    {"sim/weather/aircraft/altimeter_temperature_error", xplmType_Float, 0, 0},
    {"sim/weather/wind_direction_degt[0]", xplmType_Float, 0, 0}, // X-Plane 11's lowest wind layer
    {"sim/weather/wind_speed_kt[0]", xplmType_Float, 0, 0},
    {"sim/weather/region/wind_direction_degt[0]", xplmType_Float, 0, 0},
    {"sim/weather/aircraft/wind_speed_kt[0]", xplmType_Float, 0, 0},
    {"sim/weather/barometer_sealevel_inhg", xplmType_Float, 0, 29.92},
    {"sim/weather/aircraft/wind_now_direction_degt", xplmType_Float, 0, 0},
    {"sim/cockpit2/gauges/indicators/wind_speed_kts", xplmType_Float, 0, 0},
    {"sim/weather/aircraft/qnh_pas", xplmType_Float, 0, 101325},
};

DataRef *AddRef(const std::string &name, int types)
{
    gRefs.push_back(std::make_unique<DataRef>());
    DataRef *ref = gRefs.back().get();
    ref->name = name;
    ref->types = types;
    gByName[name] = ref;
    gHandles.insert(ref);
    return ref;
}

void DefineBuiltIn(const std::string &name, int types, int arraySize, double value)
{
    DataRef *ref = AddRef(name, types);
    ref->i = (int)value;
    ref->f = (float)value;
    ref->d = value;
    if (types & xplmType_IntArray)
        ref->vi.assign((size_t)arraySize, (int)value);
    if (types & xplmType_FloatArray)
        ref->vf.assign((size_t)arraySize, (float)value);
    if (types & xplmType_Data)
        ref->bytes.assign((size_t)arraySize, '\0');
}

// A handle as the plug-in gives it: null for no handle, an error for a stale or foreign pointer.
DataRef *Resolve(XPLMDataRef handle, const char *call)
{
    if (handle == nullptr)
        return nullptr;
    if (gHandles.count(handle) == 0) {
        HostError("%s with an invalid dataref handle", call);
        return nullptr;
    }
    DataRef *ref = static_cast<DataRef *>(handle);
    if (!ref->alive) {
        HostError("%s on unregistered dataref %s", call, ref->name.c_str());
        return nullptr;
    }
    return ref;
}

bool CheckType(DataRef *ref, int type, const char *call)
{
    if (ref->types & type)
        return true;
    HostError("%s on %s, whose types are %d", call, ref->name.c_str(), ref->types);
    return false;
}

DataRef *Lookup(const std::string &name)
{
    auto it = gByName.find(name);
    if (it == gByName.end() || !it->second->alive)
        return nullptr;
    return it->second;
}

// Copies a window of an array, the SDK way: with no output, the array length.
template <typename T> int ReadArray(const std::vector<T> &values, T *out, int offset, int max)
{
    if (out == nullptr)
        return (int)values.size();
    if (offset < 0 || max < 0 || offset >= (int)values.size())
        return 0;
    int count = std::min(max, (int)values.size() - offset);
    for (int k = 0; k < count; k++)
        out[k] = values[(size_t)(offset + k)];
    return count;
}

template <typename T> void WriteArray(std::vector<T> &values, const T *in, int offset, int count)
{
    if (in == nullptr || offset < 0 || count <= 0)
        return;
    for (int k = 0; k < count && offset + k < (int)values.size(); k++)
        values[(size_t)(offset + k)] = in[k];
}

} // namespace

void ResetDataRefs()
{
    gRefs.clear();
    gByName.clear();
    gHandles.clear();
    for (const BuiltIn &b : kBuiltIns)
        DefineBuiltIn(b.name, b.types, b.arraySize, b.value);
}

} // namespace detail

using namespace detail;

bool HasDataRef(const std::string &name)
{
    return Lookup(name) != nullptr;
}

void DefineDataRef(const std::string &name, int types, int arraySize)
{
    if (Lookup(name) == nullptr)
        DefineBuiltIn(name, types, arraySize, 0);
}

int FindCount(const std::string &name)
{
    auto it = gByName.find(name);
    return it == gByName.end() ? 0 : it->second->finds;
}

void SetInt(const std::string &name, int value)
{
    XPLMSetDatai(Lookup(name), value);
}
void SetFloat(const std::string &name, float value)
{
    XPLMSetDataf(Lookup(name), value);
}
void SetDouble(const std::string &name, double value)
{
    XPLMSetDatad(Lookup(name), value);
}
void SetIntArray(const std::string &name, const std::vector<int> &values)
{
    XPLMSetDatavi(Lookup(name), const_cast<int *>(values.data()), 0, (int)values.size());
}
void SetFloatArray(const std::string &name, const std::vector<float> &values)
{
    XPLMSetDatavf(Lookup(name), const_cast<float *>(values.data()), 0, (int)values.size());
}
void SetBytes(const std::string &name, const std::string &bytes)
{
    DataRef *ref = Lookup(name);
    if (ref == nullptr)
        return;
    // Like X-Plane's tail number: the rest of the buffer is zeroed.
    std::string padded = bytes;
    if (!ref->published && padded.size() < ref->bytes.size())
        padded.resize(ref->bytes.size(), '\0');
    XPLMSetDatab(ref, padded.data(), 0, (int)padded.size());
}
int GetInt(const std::string &name)
{
    return XPLMGetDatai(Lookup(name));
}
float GetFloat(const std::string &name)
{
    return XPLMGetDataf(Lookup(name));
}
double GetDouble(const std::string &name)
{
    return XPLMGetDatad(Lookup(name));
}
std::vector<int> GetIntArray(const std::string &name)
{
    DataRef *ref = Lookup(name);
    std::vector<int> values((size_t)XPLMGetDatavi(ref, nullptr, 0, 0));
    XPLMGetDatavi(ref, values.data(), 0, (int)values.size());
    return values;
}
std::vector<float> GetFloatArray(const std::string &name)
{
    DataRef *ref = Lookup(name);
    std::vector<float> values((size_t)XPLMGetDatavf(ref, nullptr, 0, 0));
    XPLMGetDatavf(ref, values.data(), 0, (int)values.size());
    return values;
}
std::string GetBytes(const std::string &name)
{
    DataRef *ref = Lookup(name);
    std::string bytes((size_t)XPLMGetDatab(ref, nullptr, 0, 0), '\0');
    XPLMGetDatab(ref, bytes.data(), 0, (int)bytes.size());
    return bytes;
}

} // namespace simhost

using namespace simhost::detail;

XPLM_API XPLMDataRef XPLMFindDataRef(const char *inDataRefName)
{
    if (inDataRefName == nullptr)
        return nullptr;
    DataRef *ref = Lookup(inDataRefName);
    if (ref != nullptr)
        ref->finds++;
    return ref;
}

XPLM_API int XPLMCanWriteDataRef(XPLMDataRef inDataRef)
{
    DataRef *ref = Resolve(inDataRef, "XPLMCanWriteDataRef");
    return ref != nullptr && ref->writable;
}

XPLM_API int XPLMIsDataRefGood(XPLMDataRef inDataRef)
{
    if (inDataRef == nullptr || gHandles.count(inDataRef) == 0)
        return 0;
    return static_cast<DataRef *>(inDataRef)->alive ? 1 : 0;
}

XPLM_API XPLMDataTypeID XPLMGetDataRefTypes(XPLMDataRef inDataRef)
{
    DataRef *ref = Resolve(inDataRef, "XPLMGetDataRefTypes");
    return ref != nullptr ? ref->types : xplmType_Unknown;
}

XPLM_API int XPLMGetDatai(XPLMDataRef inDataRef)
{
    DataRef *ref = Resolve(inDataRef, "XPLMGetDatai");
    if (ref == nullptr || !CheckType(ref, xplmType_Int, "XPLMGetDatai"))
        return 0;
    if (ref->published)
        return ref->ri != nullptr ? ref->ri(ref->readRef) : 0;
    return ref->i;
}

XPLM_API void XPLMSetDatai(XPLMDataRef inDataRef, int inValue)
{
    DataRef *ref = Resolve(inDataRef, "XPLMSetDatai");
    if (ref == nullptr || !CheckType(ref, xplmType_Int, "XPLMSetDatai"))
        return;
    if (ref->published) {
        if (ref->writable && ref->wi != nullptr)
            ref->wi(ref->writeRef, inValue);
        return;
    }
    ref->i = inValue;
    DataRefWritten(ref->name);
}

XPLM_API float XPLMGetDataf(XPLMDataRef inDataRef)
{
    DataRef *ref = Resolve(inDataRef, "XPLMGetDataf");
    if (ref == nullptr || !CheckType(ref, xplmType_Float, "XPLMGetDataf"))
        return 0;
    if (ref->published)
        return ref->rf != nullptr ? ref->rf(ref->readRef) : 0;
    return (ref->types & xplmType_Double) ? (float)ref->d : ref->f;
}

XPLM_API void XPLMSetDataf(XPLMDataRef inDataRef, float inValue)
{
    DataRef *ref = Resolve(inDataRef, "XPLMSetDataf");
    if (ref == nullptr || !CheckType(ref, xplmType_Float, "XPLMSetDataf"))
        return;
    if (ref->published) {
        if (ref->writable && ref->wf != nullptr)
            ref->wf(ref->writeRef, inValue);
        return;
    }
    ref->f = inValue;
    ref->d = inValue;
    DataRefWritten(ref->name);
}

XPLM_API double XPLMGetDatad(XPLMDataRef inDataRef)
{
    DataRef *ref = Resolve(inDataRef, "XPLMGetDatad");
    if (ref == nullptr || !CheckType(ref, xplmType_Double, "XPLMGetDatad"))
        return 0;
    if (ref->published)
        return ref->rd != nullptr ? ref->rd(ref->readRef) : 0;
    return ref->d;
}

XPLM_API void XPLMSetDatad(XPLMDataRef inDataRef, double inValue)
{
    DataRef *ref = Resolve(inDataRef, "XPLMSetDatad");
    if (ref == nullptr || !CheckType(ref, xplmType_Double, "XPLMSetDatad"))
        return;
    if (ref->published) {
        if (ref->writable && ref->wd != nullptr)
            ref->wd(ref->writeRef, inValue);
        return;
    }
    ref->d = inValue;
    ref->f = (float)inValue;
    DataRefWritten(ref->name);
}

XPLM_API int XPLMGetDatavi(XPLMDataRef inDataRef, int *outValues, int inOffset, int inMax)
{
    DataRef *ref = Resolve(inDataRef, "XPLMGetDatavi");
    if (ref == nullptr || !CheckType(ref, xplmType_IntArray, "XPLMGetDatavi"))
        return 0;
    if (ref->published)
        return ref->rvi != nullptr ? ref->rvi(ref->readRef, outValues, inOffset, inMax) : 0;
    return ReadArray(ref->vi, outValues, inOffset, inMax);
}

XPLM_API void XPLMSetDatavi(XPLMDataRef inDataRef, int *inValues, int inOffset, int inCount)
{
    DataRef *ref = Resolve(inDataRef, "XPLMSetDatavi");
    if (ref == nullptr || !CheckType(ref, xplmType_IntArray, "XPLMSetDatavi"))
        return;
    if (ref->published) {
        if (ref->writable && ref->wvi != nullptr)
            ref->wvi(ref->writeRef, inValues, inOffset, inCount);
        return;
    }
    WriteArray(ref->vi, inValues, inOffset, inCount);
}

XPLM_API int XPLMGetDatavf(XPLMDataRef inDataRef, float *outValues, int inOffset, int inMax)
{
    DataRef *ref = Resolve(inDataRef, "XPLMGetDatavf");
    if (ref == nullptr || !CheckType(ref, xplmType_FloatArray, "XPLMGetDatavf"))
        return 0;
    if (ref->published)
        return ref->rvf != nullptr ? ref->rvf(ref->readRef, outValues, inOffset, inMax) : 0;
    return ReadArray(ref->vf, outValues, inOffset, inMax);
}

XPLM_API void XPLMSetDatavf(XPLMDataRef inDataRef, float *inValues, int inOffset, int inCount)
{
    DataRef *ref = Resolve(inDataRef, "XPLMSetDatavf");
    if (ref == nullptr || !CheckType(ref, xplmType_FloatArray, "XPLMSetDatavf"))
        return;
    if (ref->published) {
        if (ref->writable && ref->wvf != nullptr)
            ref->wvf(ref->writeRef, inValues, inOffset, inCount);
        return;
    }
    WriteArray(ref->vf, inValues, inOffset, inCount);
}

XPLM_API int XPLMGetDatab(XPLMDataRef inDataRef, void *outValue, int inOffset, int inMaxBytes)
{
    DataRef *ref = Resolve(inDataRef, "XPLMGetDatab");
    if (ref == nullptr || !CheckType(ref, xplmType_Data, "XPLMGetDatab"))
        return 0;
    if (ref->published)
        return ref->rb != nullptr ? ref->rb(ref->readRef, outValue, inOffset, inMaxBytes) : 0;
    if (outValue == nullptr)
        return (int)ref->bytes.size();
    if (inOffset < 0 || inMaxBytes < 0 || inOffset >= (int)ref->bytes.size())
        return 0;
    int count = std::min(inMaxBytes, (int)ref->bytes.size() - inOffset);
    memcpy(outValue, ref->bytes.data() + inOffset, (size_t)count);
    return count;
}

XPLM_API void XPLMSetDatab(XPLMDataRef inDataRef, void *inValue, int inOffset, int inLength)
{
    DataRef *ref = Resolve(inDataRef, "XPLMSetDatab");
    if (ref == nullptr || !CheckType(ref, xplmType_Data, "XPLMSetDatab"))
        return;
    if (ref->published) {
        if (ref->writable && ref->wb != nullptr)
            ref->wb(ref->writeRef, inValue, inOffset, inLength);
        return;
    }
    if (inValue == nullptr || inOffset < 0 || inLength <= 0)
        return;
    if ((size_t)(inOffset + inLength) > ref->bytes.size())
        ref->bytes.resize((size_t)(inOffset + inLength), '\0');
    memcpy(&ref->bytes[(size_t)inOffset], inValue, (size_t)inLength);
}

XPLM_API XPLMDataRef XPLMRegisterDataAccessor(const char *inDataName, XPLMDataTypeID inDataType, int inIsWritable,
                                              XPLMGetDatai_f inReadInt, XPLMSetDatai_f inWriteInt,
                                              XPLMGetDataf_f inReadFloat, XPLMSetDataf_f inWriteFloat,
                                              XPLMGetDatad_f inReadDouble, XPLMSetDatad_f inWriteDouble,
                                              XPLMGetDatavi_f inReadIntArray, XPLMSetDatavi_f inWriteIntArray,
                                              XPLMGetDatavf_f inReadFloatArray, XPLMSetDatavf_f inWriteFloatArray,
                                              XPLMGetDatab_f inReadData, XPLMSetDatab_f inWriteData,
                                              void *inReadRefcon, void *inWriteRefcon)
{
    if (inDataName == nullptr || inDataName[0] == 0) {
        HostError("XPLMRegisterDataAccessor without a name");
        return nullptr;
    }
    if (Lookup(inDataName) != nullptr) {
        HostError("XPLMRegisterDataAccessor: %s is already registered", inDataName);
        return nullptr;
    }
    DataRef *ref = AddRef(inDataName, inDataType);
    ref->published = true;
    ref->writable = inIsWritable != 0;
    ref->ri = inReadInt;
    ref->wi = inWriteInt;
    ref->rf = inReadFloat;
    ref->wf = inWriteFloat;
    ref->rd = inReadDouble;
    ref->wd = inWriteDouble;
    ref->rvi = inReadIntArray;
    ref->wvi = inWriteIntArray;
    ref->rvf = inReadFloatArray;
    ref->wvf = inWriteFloatArray;
    ref->rb = inReadData;
    ref->wb = inWriteData;
    ref->readRef = inReadRefcon;
    ref->writeRef = inWriteRefcon;
    return ref;
}

XPLM_API void XPLMUnregisterDataAccessor(XPLMDataRef inDataRef)
{
    DataRef *ref = Resolve(inDataRef, "XPLMUnregisterDataAccessor");
    if (ref == nullptr)
        return;
    if (!ref->published) {
        HostError("XPLMUnregisterDataAccessor on the simulator's dataref %s", ref->name.c_str());
        return;
    }
    ref->alive = false;
    gByName.erase(ref->name);
}
