// The phrase markup of radio texts: spelled spans between "#" (or "@", the callsign's flight number) and
// runway designators between "*".
#pragma once

#include <cstddef>

/// Size of the rendered display and speech texts, NUL included.
enum { PHRASE_RENDER_SIZE = 2048 };

/// Renders a marked-up text into the text shown in the dialogue box and the text given to speech.
/// Spelled characters become words in the speech text ("#4521#" is spoken "four five two one"); a speech
/// text that would not fit is cut where it no longer fits, never inside a spelled word.
void Phrase_Render(const char *text, char *display, size_t displaySize, char *speech, size_t speechSize);
