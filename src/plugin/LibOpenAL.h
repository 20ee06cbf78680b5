// OpenAL, opened at first use ("libopenal.so.1"; VELLOMIR_LIBOPENAL names another file). Call through gAL
// only after OpenAL_Load() returned true.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

struct OpenALApi {
    decltype(&::alcOpenDevice) alcOpenDevice;
    decltype(&::alcCloseDevice) alcCloseDevice;
    decltype(&::alcCreateContext) alcCreateContext;
    decltype(&::alcDestroyContext) alcDestroyContext;
    decltype(&::alcMakeContextCurrent) alcMakeContextCurrent;
    decltype(&::alcGetCurrentContext) alcGetCurrentContext;
    decltype(&::alcGetIntegerv) alcGetIntegerv;
    decltype(&::alGetError) alGetError;
    decltype(&::alGetString) alGetString;
    decltype(&::alGenBuffers) alGenBuffers;
    decltype(&::alDeleteBuffers) alDeleteBuffers;
    decltype(&::alBufferData) alBufferData;
    decltype(&::alGenSources) alGenSources;
    decltype(&::alDeleteSources) alDeleteSources;
    decltype(&::alSourceQueueBuffers) alSourceQueueBuffers;
    decltype(&::alSourcePlay) alSourcePlay;
    decltype(&::alSourceStop) alSourceStop;
    decltype(&::alGetSourcei) alGetSourcei;
};
extern OpenALApi gAL;

/// Opens OpenAL once; false when it is missing.
bool OpenAL_Load();
/// The next OpenAL_Load opens OpenAL again by the name set then (tests); only with no device open.
void OpenAL_Forget();
/// What is missing ("libopenal.so.1 (reason)"), empty when OpenAL is loaded or not tried yet.
const char *OpenAL_Missing();
