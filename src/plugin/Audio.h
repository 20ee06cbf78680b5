// The OpenAL device used to play cloud speech. X-Plane 11 keeps its own OpenAL context current, X-Plane 12
// does not: there the plug-in opens a device and context of its own, current only while the plug-in works
// with it (another add-on's current context is left alone and restored afterwards).
#pragma once

#include <AL/alc.h>

extern ALCdevice *my_dev;      ///< the device we opened, or none
extern ALCcontext *my_context; ///< the context we created on it, or none

/// Notes the host version at start; on X-Plane 11 logs that no device of our own is needed. Opens nothing.
void Audio_Start(int xplaneVersion);
/// Opens OpenAL (and on X-Plane 12 our device and context) the first time it is needed; true when
/// speech can be played. Simulator thread only.
bool Audio_Prepare();
/// Opens the default device and a context of our own on X-Plane 12 and later (left not current); logs and
/// goes on on failure. Without the OpenAL library nothing is opened.
void System_InitAudio(int xplaneVersion);
/// Releases the context and device opened by System_InitAudio.
void System_CloseAudio();

/// Makes our context current for the scope's lifetime and restores the one that was current before. On
/// X-Plane 11 (no context of our own) it uses the simulator's current context. active is false when there
/// is no context to work with.
class AudioContextScope
{
  public:
    AudioContextScope();
    ~AudioContextScope();
    AudioContextScope(const AudioContextScope &) = delete;
    AudioContextScope &operator=(const AudioContextScope &) = delete;
    bool active = false;

  private:
    ALCcontext *previous_ = nullptr;
    bool switched_ = false;
};
