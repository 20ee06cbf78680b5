// The OpenAL symbol table.
#include "plugin/LibOpenAL.h"

#include "plugin/RuntimeLib.h"

OpenALApi gAL = {};

namespace
{

#define AL_SYMBOL(field)                                                                                               \
    {                                                                                                                  \
#field, reinterpret_cast < void **>(&gAL.field)                                                                \
    }
const RuntimeSymbol kOpenALSymbols[] = {
    AL_SYMBOL(alcOpenDevice),         AL_SYMBOL(alcCloseDevice),
    AL_SYMBOL(alcCreateContext),      AL_SYMBOL(alcDestroyContext),
    AL_SYMBOL(alcMakeContextCurrent), AL_SYMBOL(alcGetCurrentContext),
    AL_SYMBOL(alcGetIntegerv),        AL_SYMBOL(alGetError),
    AL_SYMBOL(alGetString),           AL_SYMBOL(alGenBuffers),
    AL_SYMBOL(alDeleteBuffers),       AL_SYMBOL(alBufferData),
    AL_SYMBOL(alGenSources),          AL_SYMBOL(alDeleteSources),
    AL_SYMBOL(alSourceQueueBuffers),  AL_SYMBOL(alSourcePlay),
    AL_SYMBOL(alSourceStop),          AL_SYMBOL(alGetSourcei),
};
#undef AL_SYMBOL

RuntimeLib gOpenALLib = {
    "libopenal.so.1", "VELLOMIR_LIBOPENAL", kOpenALSymbols, sizeof kOpenALSymbols / sizeof kOpenALSymbols[0], 0, ""};

} // namespace

bool OpenAL_Load()
{
    return RuntimeLib_Load(gOpenALLib);
}

const char *OpenAL_Missing()
{
    return gOpenALLib.missing;
}

void OpenAL_Forget()
{
    RuntimeLib_Forget(gOpenALLib);
}
