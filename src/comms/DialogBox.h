// The dialogue box at the top of the screen (the last three lines on the air) and the radio history.
#pragma once

#include <deque>
#include <string>

/// Lines of the dialogue box, each "r:g:b#HH:MM:SS words...", oldest first; at most DIALOG_BOX_LINES.
extern std::deque<std::string> gOutputDialogues;

struct ComunicazioniRadio {
    std::string text; ///< display text of one delivered message
};
/// The last delivered display texts, oldest first; at most RADIO_HISTORY_SIZE.
extern std::deque<ComunicazioniRadio> HisotryComunicazioniRadio;

enum { DIALOG_BOX_LINES = 3, RADIO_HISTORY_SIZE = 31, DIALOG_LINE_WIDTH = 220 };

/// Wraps a delivered display text into lines of at most DIALOG_LINE_WIDTH characters, stamps them with the
/// time of day (the simulator's with `simTimeStampMessages`, else the computer's) and the colour, and adds
/// them to the box, dropping the oldest lines beyond DIALOG_BOX_LINES.
void AddToDialogArray(const char *text, const float color[3]);
/// Draws the box's lines into the driver window (gLeft, gTop).
void ShowDialogMessages();
/// Appends a display text to the history, dropping the oldest entry beyond RADIO_HISTORY_SIZE.
void Radio_AddToHistory(const char *text);
