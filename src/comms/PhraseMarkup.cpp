// Spelling of digits and letters for speech, and the clean-up of the markers for display.
#include "comms/PhraseMarkup.h"

#include <cctype>
#include <cstring>

#include "ui/Settings.h"

namespace {

/// At most this many characters of a message are rendered.
const size_t kMaxMarkedUpCharacters = 257;

const char *const kDigits[] = {"zero", "one", "two", "tree", "four", "five", "six", "seven", "eight", "niner"};
const char *const kLetters[] = {"alfa",   "bravo",   "charlie", "delta",  "echo",    "foxtrot", "golf",
                                "hotel",  "india",   "juliet",  "kilo",   "lima",    "mike",    "november",
                                "oscar",  "papa",    "quebec",  "romeo",  "sierra",  "tango",   "uniform",
                                "victor", "whiskey", "x-ray",   "yankee", "zulu"};

/// A text being built into a fixed buffer; once something did not fit nothing more is added.
struct Output {
    char *buf;
    size_t size;
    size_t used;
    bool full;
};

void Phrase_append(Output &out, const char *piece, size_t length)
{
    if (out.full || out.size == 0)
        return;
    if (out.used + length >= out.size) {
        out.full = true;
        return;
    }
    memcpy(out.buf + out.used, piece, length);
    out.used += length;
    out.buf[out.used] = '\0';
}

void Phrase_appendChar(Output &out, char c)
{
    Phrase_append(out, &c, 1);
}

void Phrase_appendWord(Output &out, const char *word)
{
    size_t length = strlen(word);
    if (out.full || out.used + length + 1 >= out.size) {
        out.full = true;
        return;
    }
    Phrase_append(out, word, length);
    Phrase_appendChar(out, ' ');
}

/// The spoken word of a spelled character, or null when the character is copied as it is.
const char *Phrase_spelled(char c, char spanKind)
{
    if (c >= '0' && c <= '9')
        return kDigits[c - '0'];
    if (c == '.')
        return pointInsteadDecimal == 1 ? "point" : "decimal";
    if (!isalpha((unsigned char)c))
        return nullptr;
    char upper = (char)toupper((unsigned char)c);
    if (spanKind == '*') {
        if (upper == 'C')
            return "center";
        if (upper == 'L')
            return "left";
        if (upper == 'R')
            return "right";
    }
    return kLetters[upper - 'A'];
}

/// Replaces the first occurrence of what by with in the NUL-terminated text (with is not longer).
void Phrase_replaceFirst(char *text, const char *what, const char *with)
{
    char *found = strstr(text, what);
    if (found == nullptr)
        return;
    size_t whatLength = strlen(what), withLength = strlen(with);
    memcpy(found, with, withLength);
    memmove(found + withLength, found + whatLength, strlen(found + whatLength) + 1);
}

void Phrase_blankSeparators(char *text)
{
    for (char *c = text; *c != '\0'; c++)
        if (*c == '/' || *c == '_' || *c == '-')
            *c = ' ';
}

} // namespace

void Phrase_Render(const char *text, char *display, size_t displaySize, char *speech, size_t speechSize)
{
    Output shown = {display, displaySize, 0, false};
    Output spoken = {speech, speechSize, 0, false};
    if (displaySize > 0)
        display[0] = '\0';
    if (speechSize > 0)
        speech[0] = '\0';
    if (text == nullptr)
        return;

    char spanKind = 0; // 0 outside a spelled span, else '#' or '*'
    for (size_t i = 0; i < kMaxMarkedUpCharacters && text[i] != '\0'; i++) {
        char c = text[i];
        if (c == '#' || c == '*' || c == '@') {
            spanKind = spanKind != 0 ? 0 : (c == '*' ? '*' : '#');
            continue;
        }
        if (spanKind != 0) {
            Phrase_appendChar(shown, c);
            const char *word = Phrase_spelled(c, spanKind);
            // A span right after a word ("HAROB#6#") is a word of its own in speech too.
            if (word != nullptr && spoken.used > 0 && isalnum((unsigned char)speech[spoken.used - 1]))
                Phrase_appendChar(spoken, ' ');
            if (word != nullptr)
                Phrase_appendWord(spoken, word);
            else
                Phrase_appendChar(spoken, c);
            continue;
        }
        if (c == '-' || c == '_')
            c = ' ';
        Phrase_appendChar(shown, c);
        Phrase_appendChar(spoken, c);
    }
    if (displaySize > 0) {
        Phrase_replaceFirst(display, "'wind'", "wind");
        Phrase_blankSeparators(display);
    }
    if (speechSize > 0)
        Phrase_blankSeparators(speech);
}
