// The bundled sample in simhost for the benchmarks: started as X-Plane 12, and KSEA at a gate with the
// driver window and the sound on.
#pragma once

#include <cstdlib>

#include "Harness.h"
#include "navdata/AptNav.h"
#include "plugin/Audio.h"
#include "plugin/FirstFrame.h"
#include "plugin/FrameDriver.h"
#include "plugin/PluginGlobals.h"
#include "plugin/SimDataRefs.h"
#include "speech/SpeechWorker.h"
#include "speech/Wave.h"
#include "state/Pilot.h"

/// simhost reset as X-Plane 12 with its log discarded, the bundled sample installed, the plug-in told
/// the version.
inline void Bench_StartSample()
{
    simhost::Options options;
    options.xplaneVersion = 12000;
    options.discardLog = true;
    simhost::Reset(options);
    simhost::InstallSample(VELLOMIR_SOURCE_DIR "/data/sample");
    gFDV_XPlaneVersion = options.xplaneVersion;
}

/// KSEA at gate A1 at 60 frames a second, ground tuned, the data refs found, the apt.dat read, the first
/// frame done, the driver window open and the sound started (into no device).
inline void Bench_AtSeattleGate()
{
    setenv("ALSOFT_DRIVERS", "null", 1); // a sound device that plays into nothing
    simhost::Options options;
    options.xplaneVersion = 12000;
    options.frameRate = 60.0f;
    simhost::Reset(options);
    simhost::InstallSample(VELLOMIR_SOURCE_DIR "/data/sample");
    simhost::PlaceAtParking("KSEA", "A1");
    simhost::TuneCom1(121.7);
    gFDV_XPlaneVersion = options.xplaneVersion;
    System_FindAttitudeDataRefs();
    System_FindFlightDataRefs(gFDV_XPlaneVersion);
    Utils_readAllAptDat();
    FrameDriver_FirstFrame(pilotObj);
    gAlreadyChecked = 1;
    System_CreateDriverWindow();
    System_InitAudio(gFDV_XPlaneVersion);
}

/// Stops the speech and closes what Bench_AtSeattleGate opened (simhost itself stays up).
inline void Bench_LeaveSeattleGate()
{
    SpeechWorker_Stop();
    Wave_ReleaseAllUtterances();
    System_CloseAudio();
    System_DestroyDriverWindow();
}
