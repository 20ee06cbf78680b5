// The voice catalogue of Voices.txt and the choice of the controller's voice for the cloud engine.
#pragma once

#include <vector>

/// Size of a voice name buffer, NUL included.
enum { VOICE_NAME_SIZE = 32 };

/// One entry of the random-voice list.
struct voceRandom {
    unsigned char scelta = 0;        ///< set to 1 once the entry has been chosen, never cleared
    char name[VOICE_NAME_SIZE] = {0}; ///< a voice identifier of the cloud speech service
};

extern std::vector<voceRandom> vociRandom;     ///< filled from Voices.txt, in file order
extern char voceRandomAttuale[VOICE_NAME_SIZE]; ///< the controller voice in use
extern char userVoice[VOICE_NAME_SIZE];         ///< key `user` of Voices.txt; shown in the debug display only
extern int vociCustom;                          ///< 1 when Voices.txt supplied at least one voice

/// The cloud engine's voice for the pilot's own transmissions.
extern const char *const kPilotVoice;

/// Reads a voices file of the plug-in's folder ("key#value" lines: `user`, random01 to random15) into list
/// and user, which start empty; false (logged) when the file cannot be read.
bool Voices_ReadCatalogue(const char *fileName, std::vector<voceRandom> &list, char (&user)[VOICE_NAME_SIZE]);

/// Reads Voices.txt from the plug-in's folder (the list and the user voice start empty); without any voice
/// the cloud engine is switched off.
void readVoices();
/// Picks a new controller voice at random from vociRandom; does nothing with an empty list.
void CambiaVoceRandom();
