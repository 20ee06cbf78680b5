// Line reading and field splitting shared by the readers of X-Plane's text data files
// (apt.dat, earth_nav.dat, scenery_packs.ini).
#pragma once

#include <cstddef>
#include <cstdio>

/// Size of the line buffer of the data readers.
enum { APT_LINE_SIZE = 2048 };
/// Most fields a line of APT_LINE_SIZE bytes can hold.
enum { APT_MAX_FIELDS = APT_LINE_SIZE / 2 };

/// Reads one line into buffer (bufferSize bytes, always terminated): characters up to the first CR or LF,
/// then every CR and LF that follows (they stay in the buffer, so blank lines are absorbed). Returns 1
/// for a line, 0 at end of file with nothing read, minus the error number on a read error. Characters
/// that do not fit are read and dropped, and *overlong (when given) says so.
int T_fgetc(FILE *file, char *buffer, size_t bufferSize, bool *overlong = nullptr);

/// The fields of one line, pointing into the line itself.
struct AptFields {
    int count = 0;
    char *field[APT_MAX_FIELDS];
};

/// Splits line in place at runs of blanks, tabs, CRs and LFs (line terminators never belong to a
/// field); returns the number of fields. Fields past APT_MAX_FIELDS are dropped.
int AptLine_Split(char *line, AptFields *fields);

/// X-Plane's data files start with a byte-order line, "I" (or "A"). True, with the file back at its
/// start, when file does; otherwise logs "invalid start" and "invalid apt.dat in <path>" (tag) and
/// returns false.
bool AptLine_CheckFirstByte(FILE *file, const char *path, const char *tag);

/// True for the characters that separate fields of a data line.
inline bool AptLine_IsSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
