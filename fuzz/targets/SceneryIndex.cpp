// The scenery index over one apt.dat file (parseSingleAptDat), checked against a plain line-by-line
// reading of the same file, and every indexed airport read back by the airport reader.
// Input: filler (1 byte: 0xfe or 0xff, else none), filler length (2 bytes), X-Plane version (1 byte),
// then the file. The filler puts the fuzzed bytes across the index's 2 MB read block: whole lines, or
// one line that the fuzzed bytes continue.
#include <cstdio>
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

/// The index in its plainest form: every line that splits at blanks and tabs into five or more
/// fields, the first of them 1, 16 or 17, enters its fifth field with the line's offset; the later
/// row of an identifier wins. text is the file from offset base on, and starts a line (the filler
/// before it holds no header); first is the file's first byte.
std::map<std::string, Expected> IndexByLines(char first, const std::string &text, int64_t base)
{
    std::map<std::string, Expected> index;
    if (first != 'I' && first != 'A')
        return index;
    size_t start = 0;
    while (start < text.size()) {
        if (IsTerminator(text[start])) {
            start++;
            continue;
        }
        size_t end = start;
        while (end < text.size() && !IsTerminator(text[end]))
            end++;
        size_t fieldStart[5], fieldLength[5];
        int count = 0;
        for (size_t p = start; p < end && count < 5;) {
            while (p < end && (text[p] == ' ' || text[p] == '\t'))
                p++;
            size_t begin = p;
            while (p < end && text[p] != ' ' && text[p] != '\t')
                p++;
            if (p > begin) {
                fieldStart[count] = begin;
                fieldLength[count++] = p - begin;
            }
        }
        if (end - start < kBlockSize && count == 5) {
            int code = Utils_SpanToInt(text.data() + fieldStart[0], fieldLength[0]);
            if (code == 1 || code == 16 || code == 17) {
                bool readable = end - start <= kReaderLine && memchr(text.data() + start, 0, end - start) == nullptr;
                index[text.substr(fieldStart[4], fieldLength[4])] = Expected{base + (int64_t)start, readable};
            }
        }
        start = end;
    }
    return index;
}

/// The bytes before the fuzzed ones: 2 MB less 64 to 4159 bytes, so that the fuzzed bytes lie across
/// the index's first read block, or none (2 MB make a run a hundred times slower).
struct Filler {
    std::string_view text;
    size_t blankLines = 0; ///< line ends written after text
    size_t Size() const { return text.size() + blankLines; }
    bool EndsLine() const { return blankLines > 0 || (!text.empty() && text.back() == '\n'); }
};

Filler FillerOf(uint8_t kind, uint16_t length)
{
    static std::string wholeLines, longLine;
    if (wholeLines.empty()) {
        wholeLines = "I\n";
        while (wholeLines.size() < kBlockSize)
            wholeLines += "1300 47.1 -122.2 90 gate\n";
        longLine = "I\n" + std::string(kBlockSize, 'x');
    }
    size_t size = kBlockSize - 64 - length % 4096;
    Filler filler;
    if (kind == 0xfe) { // whole lines, then blank lines up to the exact size
        filler.text = std::string_view(wholeLines.data(), wholeLines.rfind('\n', size - 1) + 1);
        filler.blankLines = size - filler.text.size();
    } else if (kind == 0xff) { // one line that the fuzzed bytes continue
        filler.text = std::string_view(longLine.data(), size);
    }
    return filler;
}

/// Writes the filler and the fuzzed bytes as the file; returns its path.
std::string LayAptDat(const Filler &filler, const std::string &rest)
{
    static const std::string kLineEnds(64, '\n');
    std::string path = fuzz::LayFile("Custom Scenery/Fuzz/Earth nav data/apt.dat", "");
    FILE *file = fopen(path.c_str(), "wb");
    bool written = file != nullptr && fwrite(filler.text.data(), 1, filler.text.size(), file) == filler.text.size() &&
                   fwrite(kLineEnds.data(), 1, filler.blankLines, file) == filler.blankLines &&
                   fwrite(rest.data(), 1, rest.size(), file) == rest.size();
    if (file == nullptr || fclose(file) != 0 || !written)
        fuzz::Fail("cannot write %s", path.c_str());
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::StartHost();
    fuzz::Input input{data, size};
    uint8_t fillerKind = input.Byte();
    uint16_t fillerLength = input.Word();
    fuzz::SetVersion(fuzz::VersionOf(input.Byte()));
    Filler filler = FillerOf(fillerKind, fillerLength);
    std::string rest = input.Rest();
    std::string path = LayAptDat(filler, rest);

    // The long filler line goes on into the fuzzed bytes, up to their first line end.
    size_t skipped = 0;
    if (filler.Size() > 0 && !filler.EndsLine())
        while (skipped < rest.size() && !IsTerminator(rest[skipped]))
            skipped++;
    char first = filler.Size() > 0 ? filler.text[0] : !rest.empty() ? rest[0] : 0;
    std::map<std::string, Expected> expected =
        IndexByLines(first, rest.substr(skipped), (int64_t)(filler.Size() + skipped));

    IcaoMap.clear();
    parseSingleAptDat(path);
    FUZZ_CHECK(IcaoMap.size() == expected.size(), "%zu airports indexed, %zu expected", IcaoMap.size(),
               expected.size());
    Parser parser;
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
    IcaoMap.clear(); // a run frees what it allocated, else libFuzzer leak-checks every run
    return 0;
}
