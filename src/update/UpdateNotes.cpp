// Release notes come from the server: every byte is checked before it reaches a caption, and neither
// the number nor the length of the lines can grow the window beyond the screen.
#include "update/UpdateNotes.h"

#include <cstring>

namespace {

struct NotesBuilder {
    UpdateNotes *out;
    char line[UPDATE_NOTE_LINE_MAX + 1];
    size_t used;
};

bool Notes_full(const NotesBuilder &b)
{
    return b.out->count == UPDATE_NOTE_LINES;
}

/// Ends the line being built (nothing when it is empty).
void Notes_emit(NotesBuilder &b, size_t length)
{
    while (length > 0 && b.line[length - 1] == ' ')
        length--;
    if (length > 0 && !Notes_full(b)) {
        memcpy(b.out->lines[b.out->count], b.line, length);
        b.out->lines[b.out->count][length] = '\0';
        b.out->count++;
    }
}

/// The line is full: ends it at the last blank of its second half, else before a character that does not
/// continue a UTF-8 sequence, and carries the rest over.
void Notes_wrap(NotesBuilder &b)
{
    size_t cut = b.used;
    for (size_t i = b.used; i > b.used / 2; i--) {
        if (b.line[i - 1] == ' ') {
            cut = i - 1;
            break;
        }
    }
    if (cut == b.used)
        while (cut > 1 && ((unsigned char)b.line[cut] & 0xc0) == 0x80)
            cut--;
    size_t restStart = cut < b.used && b.line[cut] == ' ' ? cut + 1 : cut;
    Notes_emit(b, cut);
    size_t rest = b.used - restStart;
    memmove(b.line, b.line + restStart, rest);
    b.used = rest;
}

} // namespace

void Update_SplitNotes(const char *body, size_t size, UpdateNotes *out)
{
    *out = UpdateNotes();
    NotesBuilder b = {out, {}, 0};
    for (size_t i = 0; i < size && !Notes_full(b); i++) {
        unsigned char c = (unsigned char)body[i];
        if (c == '\r' || c == '\n') {
            Notes_emit(b, b.used);
            b.used = 0;
            continue;
        }
        if (c == '\t')
            c = ' ';
        if (c < 0x20 || c == 0x7f) {
            out->droppedControls++;
            continue;
        }
        if (b.used == UPDATE_NOTE_LINE_MAX)
            Notes_wrap(b);
        b.line[b.used++] = (char)c;
    }
    if (!Notes_full(b))
        Notes_emit(b, b.used);
}

void Update_NotesWindowSize(const UpdateNotes &notes, int *width, int *height)
{
    int longest = 60;
    for (int i = 0; i < notes.count; i++) {
        int length = (int)strlen(notes.lines[i]);
        if (length > longest)
            longest = length;
    }
    int lines = notes.count > 3 ? notes.count : 3;
    *width = 7 * longest + 10;
    *height = 23 * lines + 130;
}
