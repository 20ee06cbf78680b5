// What the read-back window's buttons run: for the code its read-back step was opened with, the pilot's
// read-back and the pilot's "Say again".
#pragma once

class pilot;

/// Runs the read-back of code (with text where the exchange reads back what the controller composed,
/// gResponse from the window) and ends the read-back step. False when the code has no read-back or the
/// exchange does not allow it now.
bool Radio_AnswerReadback(pilot *record, int code, const char *text);
/// Runs the pilot's "Say again" of code. False when the code has none.
bool Radio_AskSayAgain(pilot *record, int code);
