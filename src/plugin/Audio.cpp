// OpenAL start-up. X-Plane 11 keeps its own OpenAL context current, X-Plane 12 does not (it moved to
// FMOD), so on 12 the plug-in opens the default device itself.
#include "plugin/Audio.h"

#include <AL/al.h>
#include <cstdio>

#include "plugin/Log.h"

ALCdevice *my_dev = nullptr;
ALCcontext *my_context = nullptr;

namespace {

void Audio_checkError()
{
    if (alGetError() != AL_NO_ERROR)
        PrintInfo("System_InitAudio", "OpenAL error");
}

const char *Audio_orNone(const char *text)
{
    return text != nullptr ? text : "(none)";
}

} // namespace

void System_InitAudio(int xplaneVersion)
{
    if (xplaneVersion < 12000) {
        PrintInfo("System_InitAudio", "AL not required");
        return;
    }
    PrintInfo("System_InitAudio", "AL init");
    PrintInfo("System_InitAudio", "OpenAL initialization function");
    Audio_checkError();
    if (alcGetCurrentContext() != nullptr) {
        if (developerDEBUG || userDebug)
            PrintInfo("System_InitAudio", "OpenAL device found");
        return;
    }
    PrintInfo("System_InitAudio", "OpenAL device not found, creating..");
    my_dev = alcOpenDevice(nullptr);
    if (my_dev == nullptr) {
        PrintInfo("System_InitAudio", "Error opening default OpenAL Device..");
        return;
    }
    my_context = alcCreateContext(my_dev, nullptr);
    if (my_context == nullptr) {
        alcCloseDevice(my_dev);
        my_dev = nullptr;
        PrintInfo("System_InitAudio", "Error while creating OpenAL Context");
        return;
    }
    alcMakeContextCurrent(my_context);
    PrintInfo("System_InitAudio", "OpenAL context created");
    ALCint major = 0, minor = 0;
    alcGetIntegerv(my_dev, ALC_MAJOR_VERSION, 1, &major);
    alcGetIntegerv(my_dev, ALC_MINOR_VERSION, 1, &minor);
    printf("OpenAL version   : %d.%d\n", major, minor);
    printf("OpenAL hardware  : %s\n", Audio_orNone(alGetString(AL_RENDERER)));
    printf("OpenAL extensions: %s\n", Audio_orNone(alGetString(AL_EXTENSIONS)));
    Audio_checkError();
}

void System_CloseAudio()
{
    if (my_context != nullptr) {
        if (alcGetCurrentContext() == my_context)
            alcMakeContextCurrent(nullptr);
        alcDestroyContext(my_context);
        my_context = nullptr;
    }
    if (my_dev != nullptr) {
        alcCloseDevice(my_dev);
        my_dev = nullptr;
    }
}
