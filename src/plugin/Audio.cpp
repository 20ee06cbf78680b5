// OpenAL start-up and the scope that makes the plug-in's context current only while it is used.
#include "plugin/Audio.h"

#include <cstdio>

#include "plugin/LibOpenAL.h"
#include "plugin/Log.h"

ALCdevice *my_dev = nullptr;
ALCcontext *my_context = nullptr;

namespace
{

int gHostVersion = 0;
bool gAudioTried = false;

void Audio_checkError()
{
    if (gAL.alGetError() != AL_NO_ERROR)
        PrintInfo("System_InitAudio", "OpenAL error");
}

const char *Audio_orNone(const char *text)
{
    return text != nullptr ? text : "(none)";
}

} // namespace

void Audio_Start(int xplaneVersion)
{
    gHostVersion = xplaneVersion;
    gAudioTried = false;
    if (xplaneVersion < 12000)
        PrintInfo("System_InitAudio", "AL not required");
}

bool Audio_Prepare()
{
    if (!gAudioTried) {
        gAudioTried = true;
        if (gHostVersion >= 12000)
            System_InitAudio(gHostVersion);
        else if (!OpenAL_Load())
            PrintInfo("System_InitAudio", "OpenAL is not available: %s", OpenAL_Missing());
    }
    if (!OpenAL_Load())
        return false;
    return my_context != nullptr || (gHostVersion < 12000 && gAL.alcGetCurrentContext() != nullptr);
}

void System_InitAudio(int xplaneVersion)
{
    gHostVersion = xplaneVersion;
    if (xplaneVersion < 12000) {
        PrintInfo("System_InitAudio", "AL not required");
        return;
    }
    PrintInfo("System_InitAudio", "AL init");
    if (!OpenAL_Load()) {
        PrintInfo("System_InitAudio", "OpenAL is not available: %s", OpenAL_Missing());
        return;
    }
    if (my_context != nullptr)
        return;
    PrintInfo("System_InitAudio", "OpenAL initialization function");
    ALCcontext *previous = gAL.alcGetCurrentContext();
    if (previous != nullptr && (developerDEBUG || userDebug))
        PrintInfo("System_InitAudio", "OpenAL device found");
    // Another add-on's context may be current: it stays theirs, we open our own.
    PrintInfo("System_InitAudio", "OpenAL device not found, creating..");
    my_dev = gAL.alcOpenDevice(nullptr);
    if (my_dev == nullptr) {
        PrintInfo("System_InitAudio", "Error opening default OpenAL Device..");
        return;
    }
    my_context = gAL.alcCreateContext(my_dev, nullptr);
    if (my_context == nullptr) {
        gAL.alcCloseDevice(my_dev);
        my_dev = nullptr;
        PrintInfo("System_InitAudio", "Error while creating OpenAL Context");
        return;
    }
    PrintInfo("System_InitAudio", "OpenAL context created");
    AudioContextScope scope;
    Audio_checkError();
    ALCint major = 0, minor = 0;
    gAL.alcGetIntegerv(my_dev, ALC_MAJOR_VERSION, 1, &major);
    gAL.alcGetIntegerv(my_dev, ALC_MINOR_VERSION, 1, &minor);
    printf("OpenAL version   : %d.%d\n", major, minor);
    printf("OpenAL hardware  : %s\n", Audio_orNone(gAL.alGetString(AL_RENDERER)));
    printf("OpenAL extensions: %s\n", Audio_orNone(gAL.alGetString(AL_EXTENSIONS)));
    Audio_checkError();
}

void System_CloseAudio()
{
    if (my_context != nullptr) {
        if (gAL.alcGetCurrentContext() == my_context)
            gAL.alcMakeContextCurrent(nullptr);
        gAL.alcDestroyContext(my_context);
        my_context = nullptr;
    }
    if (my_dev != nullptr) {
        gAL.alcCloseDevice(my_dev);
        my_dev = nullptr;
    }
    gAudioTried = false;
}

AudioContextScope::AudioContextScope()
{
    if (gAL.alcGetCurrentContext == nullptr)
        return; // OpenAL was never opened
    previous_ = gAL.alcGetCurrentContext();
    if (my_context == nullptr) {
        // Only X-Plane 11's own context is used; on 12 a current context belongs to another add-on.
        active = gHostVersion > 0 && gHostVersion < 12000 && previous_ != nullptr;
        return;
    }
    if (previous_ != my_context) {
        active = gAL.alcMakeContextCurrent(my_context) == ALC_TRUE;
        switched_ = active;
    } else {
        active = true;
    }
}

AudioContextScope::~AudioContextScope()
{
    if (switched_)
        gAL.alcMakeContextCurrent(previous_);
}
