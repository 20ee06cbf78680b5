// The scenery index over one apt.dat file (parseSingleAptDat), checked against a plain line-by-line
// reading of the same file, and every indexed airport read back by the airport reader.
// Input: filler (1 byte: 0xfe or 0xff, else none), filler length (2 bytes), X-Plane version (1 byte), then the file. The filler
// puts the fuzzed bytes across the index's 2 MB read block: whole lines, or one line that the fuzzed
// bytes continue.
#include <cstring>
#include <map>

#include "FuzzHost.h"
#include "navdata/AptNav.h"
#include "navdata/Parser.h"
#include "ui/Utils.h"

namespace {

/// The index's read block; a line this long or longer is skipped whole.
const size_t kBlockSize = 2u << 20;
/// The airport reader's line buffer: longer header lines may lose their last field there.
const size_t kReaderLine = 2047;
/// Indexed airports read back per run.
const int kReadBack = 16;

struct Expected {
    int64_t offset;
    bool readable; ///< the airport reader sees the header as the index does
};

bool IsTerminator(char c)
{
    return c == '\r' || c == '\n';
}

/// The index as its description reads: every line that splits at blanks and tabs into five or more
/// fields, the first of them 1, 16 or 17, enters its fifth field with the line's offset; the later
/// row of an identifier wins. Lines before `from` (a line start) are filler, known to hold no header.
std::map<std::string, Expected> IndexByLines(const std::string &file, size_t from)
{
    std::map<std::string, Expected> index;
    if (file.empty() || (file[0] != 'I' && file[0] != 'A'))
        return index;
    size_t start = from;
    while (start < file.size()) {
        if (IsTerminator(file[start])) {
            start++;
            continue;
        }
        size_t end = start;
        while (end < file.size() && !IsTerminator(file[end]))
            end++;
        size_t fieldStart[5], fieldLength[5];
        int count = 0;
        for (size_t p = start; p < end && count < 5;) {
            while (p < end && (file[p] == ' ' || file[p] == '\t'))
                p++;
            size_t first = p;
            while (p < end && file[p] != ' ' && file[p] != '\t')
                p++;
            if (p > first) {
                fieldStart[count] = first;
                fieldLength[count++] = p - first;
            }
        }
        if (end - start < kBlockSize && count == 5) {
            int code = Utils_SpanToInt(file.data() + fieldStart[0], fieldLength[0]);
            if (code == 1 || code == 16 || code == 17) {
                bool readable = end - start <= kReaderLine && memchr(file.data() + start, 0, end - start) == nullptr;
                index[file.substr(fieldStart[4], fieldLength[4])] = Expected{(int64_t)start, readable};
            }
        }
        start = end;
    }
    return index;
}

/// Filler of the given kind ending 64 to 4159 bytes before the block's end; empty for most kinds (the
/// 2 MB of a filler make a run a hundred times slower).
std::string Filler(uint8_t kind, uint16_t length)
{
    static std::string wholeLines, longLine;
    if (wholeLines.empty()) {
        wholeLines = "I\n";
        while (wholeLines.size() < kBlockSize)
            wholeLines += "1300 47.1 -122.2 90 gate\n";
        longLine = "I\n" + std::string(kBlockSize, 'x');
    }
    size_t size = kBlockSize - 64 - length % 4096;
    switch (kind) {
    case 0xfe: { // whole lines up to just before the block's end
        std::string filler = wholeLines.substr(0, size);
        filler.back() = '\n';
        return filler;
    }
    case 0xff: // one line that the fuzzed bytes continue
        return longLine.substr(0, size);
    default:
        return "";
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::StartHost();
    fuzz::Input input{data, size};
    uint8_t fillerKind = input.Byte();
    uint16_t fillerLength = input.Word();
    fuzz::SetVersion(fuzz::VersionOf(input.Byte()));
    std::string file = Filler(fillerKind, fillerLength);
    size_t fillerEnd = file.size();
    file += input.Rest();
    // The long filler line goes on into the fuzzed bytes: it ends at their first line end.
    if (fillerEnd > 0 && file[fillerEnd - 1] != '\n')
        while (fillerEnd < file.size() && !IsTerminator(file[fillerEnd]))
            fillerEnd++;
    std::string path = fuzz::LayFile("Custom Scenery/Fuzz/Earth nav data/apt.dat", file);

    IcaoMap.clear();
    parseSingleAptDat(path);
    std::map<std::string, Expected> expected = IndexByLines(file, fillerEnd);
    FUZZ_CHECK(IcaoMap.size() == expected.size(), "%zu airports indexed, %zu expected", IcaoMap.size(),
               expected.size());
    static Parser parser;
    int readBack = 0;
    for (const auto &entry : IcaoMap) {
        auto it = expected.find(entry.first);
        FUZZ_CHECK(it != expected.end(), "'%s' indexed but not a header", entry.first.c_str());
        FUZZ_CHECK(entry.second.readOffset == it->second.offset, "'%s' at %lld, expected at %lld",
                   entry.first.c_str(), (long long)entry.second.readOffset, (long long)it->second.offset);
        FUZZ_CHECK(entry.second.ICAOfilePath == path, "'%s' in %s", entry.first.c_str(),
                   entry.second.ICAOfilePath.c_str());
        if (!it->second.readable || readBack++ >= kReadBack)
            continue;
        FUZZ_CHECK(parser.readAptDat(entry.first, path, entry.second.readOffset, 0) == 1,
                   "'%s' indexed at %lld but not found there", entry.first.c_str(),
                   (long long)entry.second.readOffset);
    }
    return 0;
}
