// The local speech engine: a synthesiser run as a program of the system (espeak-ng unless Settings.txt
// names another command), off the simulator's thread, whose wave is played as the cloud engine's is.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "speech/Voices.h"

/// Longest run of the synthesiser for one message; a program still running then is killed.
const int kLocalTtsTimeoutMs = 8000;

extern std::vector<voceRandom> vociLocali; ///< controller voices of LocalVoices.txt, in file order
extern char voceLocaleAttuale[VOICE_NAME_SIZE]; ///< the local engine's controller voice in use
extern char userVoiceLocale[VOICE_NAME_SIZE];   ///< the local engine's voice for the pilot's read-backs

/// Reads LocalVoices.txt (the same "key#value" lines as Voices.txt, with the synthesiser's voice names).
void readLocalVoices();
/// Draws the local engine's controller voice for a new controller contact; an empty list leaves the
/// synthesiser's default voice.
void CambiaVoceLocale();

/// The synthesiser's command for one message: argv (program first, as a full path) and whether the wave
/// comes on the program's standard output (else it is written to wavePath). With localTtsCommand empty:
/// espeak-ng found on PATH, "-v voice" when voice is not empty, "-w wavePath", the text read from standard
/// input. A command of its own is split at blanks (no shell, no quoting); the words "{voice}" and "{wave}"
/// are replaced by the voice and wavePath, and without "{wave}" the wave is read from standard output.
/// False when the program cannot be found; missing names it.
bool LocalTTS_Command(const char *voice, const char *wavePath, std::vector<std::string> &argv, bool *waveOnStdout,
                      std::string *missing);

/// True when the local engine can speak: the synthesiser is found and a sound context exists. What is
/// missing is logged once, and shown once in a warning window when warn is true; X-Plane's own voice speaks
/// meanwhile.
bool LocalTTS_Ready(bool warn);

/// Synthesises the sentence (already rendered for speech) in the controller's or the pilot's voice on the
/// speech worker and plays it after the messages handed over before it. A program that is missing, fails,
/// runs past the time limit or writes no playable wave is logged, and X-Plane's voice says the sentence
/// instead. done (optional) learns whether the local wave was played.
void LocalTTS_Speak(const char *sentence, bool pilot, std::function<void(bool played)> done = nullptr);

/// Changes the time limit (milliseconds); tests shorten it. 0 restores kLocalTtsTimeoutMs.
void LocalTTS_SetTimeoutMs(int milliseconds);
