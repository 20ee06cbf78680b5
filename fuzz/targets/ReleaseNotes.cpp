// The release notes as the update window shows them (Update_SplitNotes, Update_NotesWindowSize).
// Input: the notes.
#include <cstring>

#include "FuzzHost.h"
#include "update/UpdateNotes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    UpdateNotes notes;
    Update_SplitNotes((const char *)data, size, &notes);
    FUZZ_CHECK(notes.count >= 0 && notes.count <= UPDATE_NOTE_LINES, "%d lines", notes.count);
    for (int i = 0; i < notes.count; i++) {
        size_t length = strnlen(notes.lines[i], sizeof notes.lines[i]);
        FUZZ_CHECK(length >= 1 && length <= UPDATE_NOTE_LINE_MAX, "line %d of %zu characters", i, length);
        FUZZ_CHECK(notes.lines[i][length - 1] != ' ', "line %d ends in a blank", i);
        for (size_t j = 0; j < length; j++) {
            unsigned char c = (unsigned char)notes.lines[i][j];
            FUZZ_CHECK(c >= 0x20 && c != 0x7f, "the control character %d in line %d", (int)c, i);
        }
    }
    int width = 0, height = 0;
    Update_NotesWindowSize(notes, &width, &height);
    FUZZ_CHECK(width >= 430 && width <= 7 * UPDATE_NOTE_LINE_MAX + 10, "a window %d pixels wide", width);
    FUZZ_CHECK(height >= 199 && height <= 23 * UPDATE_NOTE_LINES + 130, "a window %d pixels high", height);
    return 0;
}
