// The release notes as the update window shows them: lines cleaned, wrapped and counted.
#pragma once

#include <cstddef>

enum {
    UPDATE_NOTE_LINES = 15,     ///< lines taken from the notes
    UPDATE_NOTE_LINES_SHOWN = 13, ///< of which the window shows the first ones
    UPDATE_NOTE_LINE_MAX = 100, ///< characters of a line; longer lines are wrapped
    UPDATE_NOTES_MAX_BYTES = 64 * 1024
};

struct UpdateNotes {
    int count = 0;
    int droppedControls = 0; ///< control characters left out
    char lines[UPDATE_NOTE_LINES][UPDATE_NOTE_LINE_MAX + 1] = {};
};

/// Splits the notes at CR and LF (runs of them are one separator, so empty lines vanish), drops control
/// characters (a tab becomes a blank), wraps lines longer than UPDATE_NOTE_LINE_MAX at a blank where one
/// is near, and keeps the first UPDATE_NOTE_LINES lines.
void Update_SplitNotes(const char *body, size_t size, UpdateNotes *out);

/// Size of the update window for these notes: 7 pixels per character of the longest line (at least 60)
/// plus 10 wide, 23 per line (at least 3) plus 130 high.
void Update_NotesWindowSize(const UpdateNotes &notes, int *width, int *height);
