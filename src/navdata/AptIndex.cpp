// parseSingleAptDat: indexes every airport header row of one apt.dat file with its byte offset.
// The file is read in large blocks and only the first bytes of each line are looked at, so that
// indexing a global apt.dat of a few hundred megabytes takes about as long as reading it.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "XPLMUtilities.h"
#include "navdata/AptLine.h"
#include "navdata/AptNav.h"
#include "plugin/Log.h"
#include "ui/Utils.h"

std::map<std::string, AptDat> IcaoMap;

namespace {

/// Read block; a line longer than this is skipped whole.
const size_t kBlockSize = 2u << 20;

bool IsTerminator(char c)
{
    return c == '\r' || c == '\n';
}

bool IsBlankOrTab(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

/// False for lines whose first bytes rule out a row code of 1, 16 or 17 (nearly every line); true
/// when the line must be split to know.
bool MayBeHeader(const char *s, const char *e)
{
    char c0 = *s;
    if (c0 != '1')
        return c0 == ' ' || c0 == '\t' || c0 == '0' || c0 == '+';
    if (s + 1 >= e)
        return false; // "1" alone has one field
    char c1 = s[1];
    if (!IsDigit(c1))
        return true; // "1 ", or "1." and the like, read as 1
    if (s + 2 < e && IsDigit(s[2]))
        return false; // three digits: 100 and above
    return c1 == '6' || c1 == '7';
}

/// Indexes the line [s, e) at file offset when it is an airport header of five or more fields.
void IndexLine(const char *s, const char *e, int64_t offset, const std::string &path)
{
    const char *begin[5], *end[5];
    int count = 0;
    const char *p = s;
    while (count < 5) {
        while (p < e && IsBlankOrTab(*p))
            p++;
        if (p == e)
            break;
        begin[count] = p;
        while (p < e && !IsBlankOrTab(*p))
            p++;
        end[count++] = p;
    }
    if (count < 5)
        return;
    int code = Utils_SpanToInt(begin[0], (size_t)(end[0] - begin[0]));
    if (code != 1 && code != 16 && code != 17)
        return;
    AptDat &entry = IcaoMap[std::string(begin[4], (size_t)(end[4] - begin[4]))];
    entry.ICAOfilePath = path;
    entry.readOffset = offset;
}

/// Bit i set when block[i] is CR or LF, for the 16 bytes at block (fewer at the end).
unsigned TerminatorMask(const char *block, size_t length)
{
#ifdef __SSE2__
    if (length >= 16) {
        __m128i bytes = _mm_loadu_si128((const __m128i *)block);
        __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')),
                                    _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')));
        return (unsigned)_mm_movemask_epi8(hits);
    }
#endif
    unsigned mask = 0;
    for (size_t i = 0; i < length && i < 16; i++)
        if (IsTerminator(block[i]))
            mask |= 1u << i;
    return mask;
}

/// Indexes the whole lines of buf[0, have). startsLine says that buf[0] begins a line (else it is the
/// tail of a line being skipped). Returns the number of bytes done with: all of them at end of file,
/// else up to the start of the last, unfinished line.
size_t IndexBlock(const char *buf, size_t have, bool atEnd, bool startsLine, int64_t base, const std::string &path)
{
    const size_t none = (size_t)-1;
    size_t lineStart = startsLine && have > 0 && !IsTerminator(buf[0]) ? 0 : none;
    for (size_t i = 0; i < have; i += 16) {
        unsigned mask = TerminatorMask(buf + i, have - i);
        while (mask != 0) {
            size_t t = i + (size_t)__builtin_ctz(mask);
            mask &= mask - 1;
            if (lineStart != none) {
                if (MayBeHeader(buf + lineStart, buf + t))
                    IndexLine(buf + lineStart, buf + t, base + (int64_t)lineStart, path);
                lineStart = none;
            }
            if (t + 1 < have && !IsTerminator(buf[t + 1]))
                lineStart = t + 1;
        }
    }
    if (lineStart == none)
        return have;
    if (atEnd) {
        if (MayBeHeader(buf + lineStart, buf + have))
            IndexLine(buf + lineStart, buf + have, base + (int64_t)lineStart, path);
        return have;
    }
    return lineStart;
}

/// Reads the file from its start and indexes it; false on a read error.
bool IndexFile(FILE *file, const std::string &path)
{
    std::unique_ptr<char[]> buffer(new char[kBlockSize]);
    char *buf = buffer.get();
    size_t have = 0;
    int64_t base = 0;
    bool startsLine = true;
    for (;;) {
        size_t got = fread(buf + have, 1, kBlockSize - have, file);
        if (ferror(file))
            return false;
        bool atEnd = got < kBlockSize - have;
        have += got;
        size_t done = IndexBlock(buf, have, atEnd, startsLine, base, path);
        if (atEnd)
            return true;
        if (done == 0 && have == kBlockSize) {
            // One line fills the whole block: skip it up to its end.
            PrintInfo("parseSingleAptDat", "%s: line at offset %lld is longer than %zu bytes, skipped", path.c_str(),
                      (long long)base, kBlockSize);
            startsLine = false;
            done = have;
        } else {
            // Either an unfinished line is carried over, or the block ended in a terminator, or it was
            // all the tail of a line being skipped.
            startsLine = done < have || (have > 0 && IsTerminator(buf[have - 1]));
        }
        memmove(buf, buf + done, have - done);
        have -= done;
        base += (int64_t)done;
    }
}

} // namespace

void parseSingleAptDat(const std::string &path)
{
    PrintDebug("parseSingleAptDat", "Entering %s, file passed %s", "parseSingleAptDat", path.c_str());
    printf("parsing %s\n", path.c_str());
    FILE *file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        int error = errno;
        printf("Error opening %s, %s %d\n", path.c_str(), strerror(error), error);
        return;
    }
    int first = getc(file);
    if (first != 'I' && first != 'A') {
        XPLMDebugString("invalid start\n");
        PrintInfo("parseSingleAptDat", "invalid apt.dat in %s", path.c_str());
        fclose(file);
        return;
    }
    rewind(file);
    if (!IndexFile(file, path))
        printf("no file %s\n", path.c_str());
    fclose(file);
}
