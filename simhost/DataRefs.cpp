// Datarefs: the simulator's own (typed storage the harness sets, published by the version the host
// reports) and those plug-ins publish through accessors. Handles stay valid until Reset; a name the
// version does not publish gives no handle. A plug-in's dataref outlives its unregistration as an
// orphan (reads give 0, writes do nothing) and is adopted again when some plug-in registers the name.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "DataRefTable.h"
#include "HostInternal.h"
#include "XPLMDataAccess.h"

namespace simhost {
namespace detail {

struct DataRef {
    std::string name;
    int types = 0;
    bool writable = true;
    bool alive = true;          ///< false for an orphaned plug-in dataref
    bool published = false;     ///< registered by a plug-in through accessors
    unsigned generations = ~0u; ///< of a simulator dataref: the X-Plane generations that publish it
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
int gFindCalls = 0;
std::vector<std::string> gMissing; ///< names the plug-in looked for in vain, first time each
/// Nonzero while the simulator itself (the harness, the flight model) writes: no read-only or band checks.
int gSimulatorWriting = 0;

struct SimulatorWrite {
    SimulatorWrite() { gSimulatorWriting++; }
    ~SimulatorWrite() { gSimulatorWriting--; }
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

void DefineBuiltIn(const std::string &name, int types, int arraySize, double value, unsigned generations, bool writable)
{
    DataRef *ref = AddRef(name, types);
    ref->generations = generations;
    ref->writable = writable;
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

/// Whether the running X-Plane has the dataref: a simulator dataref of its generation, a live plug-in one.
bool Present(const DataRef *ref)
{
    return ref->published ? ref->alive : (ref->generations & CurrentGeneration()) != 0;
}

// A handle as the plug-in gives it: null for no handle, an error for a stale or foreign pointer. An
// orphaned dataref (and a simulator dataref of the other generation) resolves to null without an error:
// reading it gives 0 and writing it does nothing, as in X-Plane.
DataRef *Resolve(XPLMDataRef handle, const char *call)
{
    if (handle == nullptr)
        return nullptr;
    if (gHandles.count(handle) == 0) {
        HostError("%s with an invalid dataref handle", call);
        return nullptr;
    }
    DataRef *ref = static_cast<DataRef *>(handle);
    return Present(ref) ? ref : nullptr;
}

bool CheckType(DataRef *ref, int type, const char *call)
{
    if (ref->types & type)
        return true;
    HostError("%s on %s, whose types are %d", call, ref->name.c_str(), ref->types);
    return false;
}

/// A plug-in writing a simulator dataref X-Plane does not let plug-ins write: X-Plane ignores it.
bool RefusedWrite(const DataRef *ref, const char *call)
{
    if (gSimulatorWriting > 0 || ref->writable)
        return false;
    HostError("%s on %s, which is read-only: X-Plane ignores the write", call, ref->name.c_str());
    return true;
}

/// A COM1 frequency a plug-in writes must be in the air band in the dataref's own unit.
void CheckCom1Band(const DataRef *ref, int value)
{
    if (gSimulatorWriting > 0)
        return;
    struct Band {
        const char *name;
        int low, high;
        const char *unit;
    };
    static const Band kBands[] = {
        {"sim/cockpit/radios/com1_freq_hz", 11800, 13697, "10 kHz"},
        {"sim/cockpit2/radios/actuators/com1_frequency_hz_833", 118000, 136990, "kHz"},
    };
    for (const Band &band : kBands) {
        if (ref->name == band.name && (value < band.low || value > band.high))
            HostError("XPLMSetDatai: %d written to %s is no air-band frequency in %s (%d to %d)", value, band.name,
                      band.unit, band.low, band.high);
    }
}

DataRef *Lookup(const std::string &name)
{
    auto it = gByName.find(name);
    if (it == gByName.end() || !Present(it->second))
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
    gFindCalls = 0;
    gMissing.clear();
    for (const BuiltInDataRef &b : BuiltInDataRefs())
        DefineBuiltIn(b.name, b.types, b.arraySize, b.value, b.generations, b.writable);
}

} // namespace detail

using namespace detail;

bool HasDataRef(const std::string &name)
{
    return Lookup(name) != nullptr;
}

int DataRefTypes(const std::string &name)
{
    const DataRef *ref = Lookup(name);
    return ref != nullptr ? ref->types : 0;
}

void DefineDataRef(const std::string &name, int types, int arraySize)
{
    if (gByName.count(name) == 0)
        DefineBuiltIn(name, types, arraySize, 0, ~0u, true);
}

int FindCount(const std::string &name)
{
    auto it = gByName.find(name);
    return it == gByName.end() ? 0 : it->second->finds;
}

int FindDataRefCalls()
{
    return gFindCalls;
}

std::vector<std::string> MissingDataRefs()
{
    return gMissing;
}

void SetInt(const std::string &name, int value)
{
    SimulatorWrite write;
    XPLMSetDatai(Lookup(name), value);
}
void SetFloat(const std::string &name, float value)
{
    SimulatorWrite write;
    XPLMSetDataf(Lookup(name), value);
}
void SetDouble(const std::string &name, double value)
{
    SimulatorWrite write;
    XPLMSetDatad(Lookup(name), value);
}
void SetIntArray(const std::string &name, const std::vector<int> &values)
{
    SimulatorWrite write;
    XPLMSetDatavi(Lookup(name), const_cast<int *>(values.data()), 0, (int)values.size());
}
void SetFloatArray(const std::string &name, const std::vector<float> &values)
{
    SimulatorWrite write;
    XPLMSetDatavf(Lookup(name), const_cast<float *>(values.data()), 0, (int)values.size());
}
void SetBytes(const std::string &name, const std::string &bytes)
{
    DataRef *ref = Lookup(name);
    if (ref == nullptr)
        return;
    SimulatorWrite write;
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
    gFindCalls++;
    if (inDataRefName == nullptr)
        return nullptr;
    auto it = gByName.find(inDataRefName);
    // An orphaned plug-in dataref keeps its handle; a simulator dataref of another generation does not exist.
    if (it == gByName.end() || (!it->second->published && !Present(it->second))) {
        if (std::find(gMissing.begin(), gMissing.end(), inDataRefName) == gMissing.end())
            gMissing.push_back(inDataRefName);
        return nullptr;
    }
    it->second->finds++;
    return it->second;
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
    return Present(static_cast<DataRef *>(inDataRef)) ? 1 : 0;
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
    if (RefusedWrite(ref, "XPLMSetDatai"))
        return;
    CheckCom1Band(ref, inValue);
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
    if (RefusedWrite(ref, "XPLMSetDataf"))
        return;
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
    if (RefusedWrite(ref, "XPLMSetDatad"))
        return;
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
    if (RefusedWrite(ref, "XPLMSetDatavi"))
        return;
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
    if (RefusedWrite(ref, "XPLMSetDatavf"))
        return;
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
    if (RefusedWrite(ref, "XPLMSetDatab"))
        return;
    if (inValue == nullptr || inOffset < 0 || inLength <= 0 || inOffset >= (int)ref->bytes.size())
        return;
    // Bytes that would go past the end of the dataref are not written: it never grows.
    int count = std::min(inLength, (int)ref->bytes.size() - inOffset);
    memcpy(&ref->bytes[(size_t)inOffset], inValue, (size_t)count);
}

XPLM_API XPLMDataRef XPLMRegisterDataAccessor(const char *inDataName, XPLMDataTypeID inDataType, int inIsWritable,
                                              XPLMGetDatai_f inReadInt, XPLMSetDatai_f inWriteInt,
                                              XPLMGetDataf_f inReadFloat, XPLMSetDataf_f inWriteFloat,
                                              XPLMGetDatad_f inReadDouble, XPLMSetDatad_f inWriteDouble,
                                              XPLMGetDatavi_f inReadIntArray, XPLMSetDatavi_f inWriteIntArray,
                                              XPLMGetDatavf_f inReadFloatArray, XPLMSetDatavf_f inWriteFloatArray,
                                              XPLMGetDatab_f inReadData, XPLMSetDatab_f inWriteData, void *inReadRefcon,
                                              void *inWriteRefcon)
{
    if (inDataName == nullptr || inDataName[0] == 0) {
        HostError("XPLMRegisterDataAccessor without a name");
        return nullptr;
    }
    auto it = gByName.find(inDataName);
    DataRef *ref = nullptr;
    if (it != gByName.end() && it->second->published && !it->second->alive) {
        ref = it->second; // an orphan is adopted: the handles others hold work again
    } else if (Lookup(inDataName) != nullptr) {
        HostError("XPLMRegisterDataAccessor: %s is already registered", inDataName);
        return nullptr;
    } else {
        ref = AddRef(inDataName, inDataType);
    }
    ref->types = inDataType;
    ref->alive = true;
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
    if (inDataRef != nullptr && gHandles.count(inDataRef) != 0 && static_cast<DataRef *>(inDataRef)->published &&
        !static_cast<DataRef *>(inDataRef)->alive) {
        HostError("XPLMUnregisterDataAccessor on %s, already unregistered",
                  static_cast<DataRef *>(inDataRef)->name.c_str());
        return;
    }
    DataRef *ref = Resolve(inDataRef, "XPLMUnregisterDataAccessor");
    if (ref == nullptr)
        return;
    if (!ref->published) {
        HostError("XPLMUnregisterDataAccessor on the simulator's dataref %s", ref->name.c_str());
        return;
    }
    // Orphaned, not erased: other plug-ins' handles stay valid and read 0.
    ref->alive = false;
    ref->ri = nullptr;
    ref->wi = nullptr;
    ref->rf = nullptr;
    ref->wf = nullptr;
    ref->rd = nullptr;
    ref->wd = nullptr;
    ref->rvi = nullptr;
    ref->wvi = nullptr;
    ref->rvf = nullptr;
    ref->wvf = nullptr;
    ref->rb = nullptr;
    ref->wb = nullptr;
    ref->readRef = ref->writeRef = nullptr;
}
