// parseSingleAptDat: indexes every airport header row of one apt.dat file with its byte offset.
// The file is read in large blocks and only the first bytes of each line are looked at, so that
// indexing a global apt.dat of a few hundred megabytes takes about as long as reading it.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "navdata/AptLine.h"
#include "navdata/AptNav.h"
#include "plugin/Log.h"
#include "ui/Utils.h"

std::map<std::string, AptDat> IcaoMap;

namespace {

/// Read block; a line longer than this is skipped whole.
const size_t kBlockSize = 2u << 20;
/// Bytes before and after the block that the vector scan may read.
const size_t kPadding = 32;

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
    // The row code is read as a number, which may follow any white space that is not a field separator.
    if (c0 != '1')
        return c0 == ' ' || c0 == '\t' || c0 == '\v' || c0 == '\f' || c0 == '0' || c0 == '+';
    if (s + 1 >= e)
        return false; // "1" alone has one field
    char c1 = s[1];
    if (!IsDigit(c1))
        return true; // "1 ", or "1." and the like, read as 1
    if (s + 2 < e && IsDigit(s[2]))
        return false; // three digits: 100 and above
    return c1 == '6' || c1 == '7';
}

#ifdef __SSE2__
unsigned TerminatorBits(__m128i bytes)
{
    return (unsigned)_mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r'))));
}
#endif

/// Airport identifiers with the offsets of their header rows, in file order.
typedef std::vector<std::pair<std::string, int64_t>> HeaderList;

/// Adds the line [s, e) at file offset to headers when it is an airport header of five or more fields.
void IndexLine(const char *s, const char *e, int64_t offset, HeaderList &headers)
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
    headers.emplace_back(std::string(begin[4], (size_t)(end[4] - begin[4])), offset);
}

/// Enters the headers of one file into IcaoMap; of an identifier met twice the later row counts.
void AddToIndex(HeaderList &headers, const std::string &path)
{
    std::stable_sort(
        headers.begin(), headers.end(),
        [](const HeaderList::value_type &a, const HeaderList::value_type &b) { return a.first < b.first; });
    // Into an empty index the sorted identifiers go at its end without searching the tree.
    bool append = IcaoMap.empty();
    for (size_t i = 0; i < headers.size(); i++) {
        if (i + 1 < headers.size() && headers[i + 1].first == headers[i].first)
            continue;
        AptDat entry;
        entry.ICAOfilePath = path;
        entry.readOffset = headers[i].second;
        if (append)
            IcaoMap.emplace_hint(IcaoMap.end(), std::move(headers[i].first), std::move(entry));
        else
            IcaoMap[headers[i].first] = std::move(entry);
    }
}

/// Bit i set when the line starting at block[i] may be an airport header: block[i - 1] is a CR or LF
/// and block[i] starts what MayBeHeader does not rule out. Reads block[-1] to block[16].
unsigned CandidateMask(const char *block)
{
#ifdef __SSE2__
    __m128i previous = _mm_loadu_si128((const __m128i *)(block - 1));
    __m128i current = _mm_loadu_si128((const __m128i *)block);
    __m128i next = _mm_loadu_si128((const __m128i *)(block + 1));
    __m128i afterTerminator =
        _mm_or_si128(_mm_cmpeq_epi8(previous, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(previous, _mm_set1_epi8('\r')));
    // "1" followed by anything but a digit, or by the 6 or 7 of 16 and 17.
    __m128i nextDigit =
        _mm_and_si128(_mm_cmpgt_epi8(next, _mm_set1_epi8('0' - 1)), _mm_cmplt_epi8(next, _mm_set1_epi8('9' + 1)));
    __m128i nextSixSeven =
        _mm_or_si128(_mm_cmpeq_epi8(next, _mm_set1_epi8('6')), _mm_cmpeq_epi8(next, _mm_set1_epi8('7')));
    __m128i one =
        _mm_andnot_si128(_mm_andnot_si128(nextSixSeven, nextDigit), _mm_cmpeq_epi8(current, _mm_set1_epi8('1')));
    // Blanks, tabs, control bytes, bytes above 127, and '+' to '0': rare first bytes, checked one by one.
    __m128i other = _mm_or_si128(
        _mm_cmplt_epi8(current, _mm_set1_epi8('!')),
        _mm_and_si128(_mm_cmpgt_epi8(current, _mm_set1_epi8('*')), _mm_cmplt_epi8(current, _mm_set1_epi8('1'))));
    __m128i candidates = _mm_and_si128(afterTerminator, _mm_or_si128(one, other));
    // Line terminators themselves start no line.
    return (unsigned)_mm_movemask_epi8(candidates) & ~TerminatorBits(current);
#else
    unsigned mask = 0;
    for (int i = 0; i < 16; i++)
        if (IsTerminator(block[i - 1]) && !IsTerminator(block[i]))
            mask |= 1u << i;
    return mask;
#endif
}

/// Position of the last CR or LF of buf[0, have), or none.
size_t LastTerminator(const char *buf, size_t have)
{
    for (size_t i = have; i > 0; i--)
        if (IsTerminator(buf[i - 1]))
            return i - 1;
    return (size_t)-1;
}

/// Indexes the whole lines of buf[0, have). buf has kPadding writable bytes before and after.
/// startsLine says that buf[0] begins a line (else it is the tail of a line being skipped). Returns
/// the number of bytes done with: all at end of file, else up to the start of the last, unfinished
/// line; (size_t)-1 when the block holds no line end at all.
size_t IndexBlock(char *buf, size_t have, bool atEnd, bool startsLine, int64_t base, HeaderList &headers)
{
    size_t lastTerminator = LastTerminator(buf, have);
    if (!atEnd && lastTerminator == (size_t)-1)
        return (size_t)-1;
    // Line starts before limit have their whole line in the block.
    size_t limit = atEnd ? have : lastTerminator + 1;
    buf[-1] = startsLine ? '\n' : 'x';
    memset(buf + have, '\n', kPadding);
    for (size_t i = 0; i < limit; i += 16) {
        unsigned mask = CandidateMask(buf + i);
        if (mask == 0)
            continue;
        if (limit - i < 16)
            mask &= (1u << (limit - i)) - 1;
        while (mask != 0) {
            size_t start = i + (size_t)__builtin_ctz(mask);
            mask &= mask - 1;
            size_t end = start;
            while (end < have && !IsTerminator(buf[end]))
                end++;
            if (MayBeHeader(buf + start, buf + end))
                IndexLine(buf + start, buf + end, base + (int64_t)start, headers);
        }
    }
    return limit;
}

/// Reads the headers of the file from its start; false on a read error.
bool ReadHeaders(FILE *file, const std::string &path, HeaderList &headers)
{
    std::unique_ptr<char[]> storage(new char[kBlockSize + 2 * kPadding]);
    char *buf = storage.get() + kPadding;
    size_t have = 0;
    int64_t base = 0;
    bool startsLine = true;
    for (;;) {
        size_t got = fread(buf + have, 1, kBlockSize - have, file);
        if (ferror(file))
            return false;
        bool atEnd = got < kBlockSize - have;
        have += got;
        size_t done = IndexBlock(buf, have, atEnd, startsLine, base, headers);
        if (atEnd)
            return true;
        if (done == (size_t)-1) {
            // No line end in a whole block: a line longer than the block, skipped up to its end.
            if (startsLine)
                PrintInfo("parseSingleAptDat", "%s: line at offset %lld is longer than %zu bytes, skipped",
                          path.c_str(), (long long)base, kBlockSize);
            startsLine = false;
            done = have;
        } else {
            startsLine = true;
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
    if (!AptLine_CheckFirstByte(file, path.c_str(), "parseSingleAptDat")) {
        fclose(file);
        return;
    }
    HeaderList headers;
    if (!ReadHeaders(file, path, headers))
        printf("no file %s\n", path.c_str());
    fclose(file);
    AddToIndex(headers, path); // what was read before an error still counts
}
