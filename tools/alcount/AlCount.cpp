// libvellomir-alcount.so: an OpenAL library that counts. vellomir-sim names it to the plug-in
// (VELLOMIR_LIBOPENAL) in place of libopenal.so.1; it opens the real OpenAL (VELLOMIR_ALCOUNT_REAL, else
// libopenal.so.1), forwards every call the plug-in makes and keeps the names of the sources and buffers
// generated and not yet deleted, per context and per device, so that a long run shows what the plug-in
// holds. A context destroyed with sources still alive, or a device closed with buffers, has them counted
// as orphaned: OpenAL frees them, but the plug-in lost track of them.
#include <AL/al.h>
#include <AL/alc.h>

#include <cstdlib>
#include <dlfcn.h>
#include <map>
#include <mutex>
#include <set>
#include <utility>

namespace
{

struct Real {
    decltype(&::alcOpenDevice) alcOpenDevice = nullptr;
    decltype(&::alcCloseDevice) alcCloseDevice = nullptr;
    decltype(&::alcCreateContext) alcCreateContext = nullptr;
    decltype(&::alcDestroyContext) alcDestroyContext = nullptr;
    decltype(&::alcMakeContextCurrent) alcMakeContextCurrent = nullptr;
    decltype(&::alcGetCurrentContext) alcGetCurrentContext = nullptr;
    decltype(&::alcGetContextsDevice) alcGetContextsDevice = nullptr;
    decltype(&::alcGetIntegerv) alcGetIntegerv = nullptr;
    decltype(&::alGetError) alGetError = nullptr;
    decltype(&::alGetString) alGetString = nullptr;
    decltype(&::alGenBuffers) alGenBuffers = nullptr;
    decltype(&::alDeleteBuffers) alDeleteBuffers = nullptr;
    decltype(&::alBufferData) alBufferData = nullptr;
    decltype(&::alGenSources) alGenSources = nullptr;
    decltype(&::alDeleteSources) alDeleteSources = nullptr;
    decltype(&::alSourceQueueBuffers) alSourceQueueBuffers = nullptr;
    decltype(&::alSourcePlay) alSourcePlay = nullptr;
    decltype(&::alSourceStop) alSourceStop = nullptr;
    decltype(&::alGetSourcei) alGetSourcei = nullptr;
    bool loaded = false;
};

struct Counts {
    std::mutex mutex;
    std::set<std::pair<ALCcontext *, ALuint>> sources;
    std::set<std::pair<ALCdevice *, ALuint>> buffers;
    std::map<ALCcontext *, ALCdevice *> contexts;
    std::set<ALCdevice *> devices;
    int orphanedSources = 0, orphanedBuffers = 0;
    int badDeletes = 0; ///< names deleted that were not generated (or deleted twice)
    /// OpenAL keeps the first error until alGetError reads it: the checks around a counted call read it
    /// here, and the plug-in's next alGetError gets it.
    ALenum pendingError = AL_NO_ERROR;
};

Counts &counts()
{
    static Counts c;
    return c;
}

template <typename T> void Bind(void *handle, const char *name, T &slot)
{
    slot = reinterpret_cast<T>(dlsym(handle, name));
}

Real &real()
{
    static Real r;
    static std::once_flag once;
    std::call_once(once, [] {
        const char *name = getenv("VELLOMIR_ALCOUNT_REAL");
        void *handle = dlopen(name != nullptr && name[0] != 0 ? name : "libopenal.so.1", RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr)
            return;
        Bind(handle, "alcOpenDevice", r.alcOpenDevice);
        Bind(handle, "alcCloseDevice", r.alcCloseDevice);
        Bind(handle, "alcCreateContext", r.alcCreateContext);
        Bind(handle, "alcDestroyContext", r.alcDestroyContext);
        Bind(handle, "alcMakeContextCurrent", r.alcMakeContextCurrent);
        Bind(handle, "alcGetCurrentContext", r.alcGetCurrentContext);
        Bind(handle, "alcGetContextsDevice", r.alcGetContextsDevice);
        Bind(handle, "alcGetIntegerv", r.alcGetIntegerv);
        Bind(handle, "alGetError", r.alGetError);
        Bind(handle, "alGetString", r.alGetString);
        Bind(handle, "alGenBuffers", r.alGenBuffers);
        Bind(handle, "alDeleteBuffers", r.alDeleteBuffers);
        Bind(handle, "alBufferData", r.alBufferData);
        Bind(handle, "alGenSources", r.alGenSources);
        Bind(handle, "alDeleteSources", r.alDeleteSources);
        Bind(handle, "alSourceQueueBuffers", r.alSourceQueueBuffers);
        Bind(handle, "alSourcePlay", r.alSourcePlay);
        Bind(handle, "alSourceStop", r.alSourceStop);
        Bind(handle, "alGetSourcei", r.alGetSourcei);
        r.loaded = r.alcOpenDevice != nullptr && r.alcCloseDevice != nullptr && r.alcCreateContext != nullptr &&
                   r.alcDestroyContext != nullptr && r.alcMakeContextCurrent != nullptr &&
                   r.alcGetCurrentContext != nullptr && r.alcGetContextsDevice != nullptr &&
                   r.alcGetIntegerv != nullptr && r.alGetError != nullptr && r.alGetString != nullptr &&
                   r.alGenBuffers != nullptr && r.alDeleteBuffers != nullptr && r.alBufferData != nullptr &&
                   r.alGenSources != nullptr && r.alDeleteSources != nullptr && r.alSourceQueueBuffers != nullptr &&
                   r.alSourcePlay != nullptr && r.alSourceStop != nullptr && r.alGetSourcei != nullptr;
    });
    return r;
}

/// Names the generating call gave back: those of a failed call are not kept.
template <typename Key> void Keep(std::set<std::pair<Key *, ALuint>> &live, Key *owner, ALsizei n, const ALuint *names)
{
    for (ALsizei i = 0; i < n; i++)
        live.insert({owner, names[i]});
}

template <typename Key> void Drop(std::set<std::pair<Key *, ALuint>> &live, Key *owner, ALsizei n, const ALuint *names)
{
    for (ALsizei i = 0; i < n; i++)
        if (live.erase({owner, names[i]}) == 0)
            counts().badDeletes++;
}

/// Removes every name of an owner; returns how many there were.
template <typename Key> int DropAll(std::set<std::pair<Key *, ALuint>> &live, Key *owner)
{
    int dropped = 0;
    for (auto it = live.begin(); it != live.end();) {
        if (it->first == owner) {
            it = live.erase(it);
            dropped++;
        } else {
            ++it;
        }
    }
    return dropped;
}

/// Reads OpenAL's error around a counted call, keeping the first for the plug-in; true when the call
/// itself raised none.
bool CallSucceeded(ALenum before, ALenum after)
{
    ALenum &pending = counts().pendingError;
    if (pending == AL_NO_ERROR)
        pending = before != AL_NO_ERROR ? before : after;
    return after == AL_NO_ERROR;
}

ALCdevice *CurrentDevice()
{
    ALCcontext *context = real().alcGetCurrentContext();
    return context != nullptr ? real().alcGetContextsDevice(context) : nullptr;
}

} // namespace

extern "C" {

/// What the plug-in holds now: sources and buffers alive, contexts and devices open, orphaned sources and
/// buffers and bad deletes since the library was opened. Returns 0 when the real OpenAL is missing.
__attribute__((visibility("default"))) int vellomirAlCounts(int *sources, int *buffers, int *contexts, int *devices,
                                                            int *orphaned, int *badDeletes)
{
    Counts &c = counts();
    std::lock_guard<std::mutex> lock(c.mutex);
    *sources = (int)c.sources.size();
    *buffers = (int)c.buffers.size();
    *contexts = (int)c.contexts.size();
    *devices = (int)c.devices.size();
    *orphaned = c.orphanedSources + c.orphanedBuffers;
    *badDeletes = c.badDeletes;
    return real().loaded ? 1 : 0;
}

ALCdevice *alcOpenDevice(const ALCchar *devicename)
{
    if (!real().loaded)
        return nullptr;
    ALCdevice *device = real().alcOpenDevice(devicename);
    std::lock_guard<std::mutex> lock(counts().mutex);
    if (device != nullptr)
        counts().devices.insert(device);
    return device;
}

ALCboolean alcCloseDevice(ALCdevice *device)
{
    {
        std::lock_guard<std::mutex> lock(counts().mutex);
        counts().orphanedBuffers += DropAll(counts().buffers, device);
        counts().devices.erase(device);
    }
    return real().alcCloseDevice(device);
}

ALCcontext *alcCreateContext(ALCdevice *device, const ALCint *attrlist)
{
    ALCcontext *context = real().alcCreateContext(device, attrlist);
    std::lock_guard<std::mutex> lock(counts().mutex);
    if (context != nullptr)
        counts().contexts[context] = device;
    return context;
}

void alcDestroyContext(ALCcontext *context)
{
    {
        std::lock_guard<std::mutex> lock(counts().mutex);
        counts().orphanedSources += DropAll(counts().sources, context);
        counts().contexts.erase(context);
    }
    real().alcDestroyContext(context);
}

ALCboolean alcMakeContextCurrent(ALCcontext *context)
{
    return real().alcMakeContextCurrent(context);
}

ALCcontext *alcGetCurrentContext(void)
{
    return real().alcGetCurrentContext();
}

void alcGetIntegerv(ALCdevice *device, ALCenum param, ALCsizei size, ALCint *values)
{
    real().alcGetIntegerv(device, param, size, values);
}

ALenum alGetError(void)
{
    std::lock_guard<std::mutex> lock(counts().mutex);
    ALenum error = counts().pendingError != AL_NO_ERROR ? counts().pendingError : real().alGetError();
    counts().pendingError = AL_NO_ERROR;
    return error;
}

const ALchar *alGetString(ALenum param)
{
    return real().alGetString(param);
}

void alGenBuffers(ALsizei n, ALuint *buffers)
{
    std::lock_guard<std::mutex> lock(counts().mutex);
    ALenum before = real().alGetError();
    real().alGenBuffers(n, buffers);
    if (CallSucceeded(before, real().alGetError()))
        Keep(counts().buffers, CurrentDevice(), n, buffers);
}

void alDeleteBuffers(ALsizei n, const ALuint *buffers)
{
    std::lock_guard<std::mutex> lock(counts().mutex);
    ALenum before = real().alGetError();
    real().alDeleteBuffers(n, buffers);
    if (CallSucceeded(before, real().alGetError()))
        Drop(counts().buffers, CurrentDevice(), n, buffers);
}

void alBufferData(ALuint buffer, ALenum format, const ALvoid *data, ALsizei size, ALsizei freq)
{
    real().alBufferData(buffer, format, data, size, freq);
}

void alGenSources(ALsizei n, ALuint *sources)
{
    std::lock_guard<std::mutex> lock(counts().mutex);
    ALenum before = real().alGetError();
    real().alGenSources(n, sources);
    if (CallSucceeded(before, real().alGetError()))
        Keep(counts().sources, real().alcGetCurrentContext(), n, sources);
}

void alDeleteSources(ALsizei n, const ALuint *sources)
{
    std::lock_guard<std::mutex> lock(counts().mutex);
    ALenum before = real().alGetError();
    real().alDeleteSources(n, sources);
    if (CallSucceeded(before, real().alGetError()))
        Drop(counts().sources, real().alcGetCurrentContext(), n, sources);
}

void alSourceQueueBuffers(ALuint source, ALsizei nb, const ALuint *buffers)
{
    real().alSourceQueueBuffers(source, nb, buffers);
}

void alSourcePlay(ALuint source)
{
    real().alSourcePlay(source);
}

void alSourceStop(ALuint source)
{
    real().alSourceStop(source);
}

void alGetSourcei(ALuint source, ALenum param, ALint *value)
{
    real().alGetSourcei(source, param, value);
}

} // extern "C"
