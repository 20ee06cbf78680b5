// The OpenAL device used to play cloud speech on X-Plane 12.
#pragma once

#include <AL/alc.h>

extern ALCdevice *my_dev;      ///< the device we opened, or none
extern ALCcontext *my_context; ///< the context we created on it, or none

/// Opens the default device and a current context on X-Plane 12 and later; logs and goes on on failure.
void System_InitAudio(int xplaneVersion);
/// Releases the context and device opened by System_InitAudio.
void System_CloseAudio();
