// CIFP procedure records: "SID:010,4,BANGR9,RW16L,CAVOB,K1,P,C,EY  , ,   ,DF, ... ,+,03000, ...;"
// Fields are comma separated and padded with blanks; an empty identifier is a blank field.
#include "navdata/CifpReader.h"

#include <cstdio>
#include <cstring>
#include <set>

#include "plugin/Log.h"
#include "ui/Utils.h"

namespace
{

const char *kTag = "Cifp_Parse";

/// The blank-trimmed span of a field.
std::string Cifp_Trimmed(const char *begin, const char *end)
{
    while (begin < end && (*begin == ' ' || *begin == '\t'))
        begin++;
    while (end > begin && (end[-1] == ' ' || end[-1] == '\t' || end[-1] == ';'))
        end--;
    return std::string(begin, (size_t)(end - begin));
}

/// Longest identifier (procedure, transition, fix) taken; CIFP's own are at most 6 characters.
const size_t kMaxIdentifier = 31;

struct FieldSpan {
    const char *begin, *end;
};

/// Parses one record line; returns an empty reason on success, else why the line is malformed.
/// `name` gets the procedure identifier whenever the line has one.
const char *Cifp_ParseLine(const char *line, size_t length, CifpLeg *leg, std::string *name)
{
    if (length > CIFP_MAX_LINE) {
        // The procedure name is still worth knowing, to leave the whole procedure out.
        const char *c1 = (const char *)memchr(line, ',', 64 < length ? 64 : length);
        const char *c2 = c1 != nullptr ? (const char *)memchr(c1 + 1, ',', 64) : nullptr;
        const char *c3 = c2 != nullptr ? (const char *)memchr(c2 + 1, ',', 64) : nullptr;
        if (c3 != nullptr)
            *name = Cifp_Trimmed(c2 + 1, c3);
        return "line too long";
    }
    FieldSpan fields[40];
    int count = 0;
    const char *start = line, *end = line + length;
    for (const char *c = line; c <= end; c++) {
        if (c == end || *c == ',') {
            if (count < 40)
                fields[count] = {start, c};
            count++;
            start = c + 1;
        }
    }
    if (count >= 3)
        *name = Cifp_Trimmed(fields[2].begin, fields[2].end);
    for (size_t i = 0; i < length; i++) {
        const unsigned char ch = (unsigned char)line[i];
        if (ch < 0x20 && ch != '\t')
            return "control character";
        if (ch >= 0x7f)
            return "byte outside ASCII";
    }
    if (count < 24)
        return "fewer than 24 fields";
    leg->procedure = *name;
    leg->transition = Cifp_Trimmed(fields[3].begin, fields[3].end);
    leg->fix = Cifp_Trimmed(fields[4].begin, fields[4].end);
    leg->region = Cifp_Trimmed(fields[5].begin, fields[5].end);
    const std::string code = Cifp_Trimmed(fields[22].begin, fields[22].end);
    leg->altitudeCode = code.empty() ? ' ' : code[0];
    leg->altitude1 = Cifp_Trimmed(fields[23].begin, fields[23].end);
    if (leg->procedure.empty())
        return "no procedure identifier";
    if (leg->procedure.size() > kMaxIdentifier || leg->transition.size() > kMaxIdentifier ||
        leg->fix.size() > kMaxIdentifier || leg->region.size() > kMaxIdentifier || leg->altitude1.size() > 8)
        return "identifier too long";
    return "";
}

} // namespace

void Cifp_Parse(const char *text, size_t size, bool star, const char *source, std::vector<CifpLeg> *legs)
{
    legs->clear();
    const char *prefix = star ? "STAR:" : "SID:";
    const size_t prefixLength = strlen(prefix);
    std::set<std::string> broken;
    const char *p = text, *end = text + size;
    int lineNumber = 0;
    while (p < end) {
        const char *nl = (const char *)memchr(p, '\n', (size_t)(end - p));
        const char *lineEnd = nl != nullptr ? nl : end;
        lineNumber++;
        size_t length = (size_t)(lineEnd - p);
        while (length > 0 && p[length - 1] == '\r')
            length--;
        if (length >= prefixLength && memcmp(p, prefix, prefixLength) == 0) {
            CifpLeg leg;
            std::string name;
            const char *reason = Cifp_ParseLine(p, length, &leg, &name);
            if (reason[0] != '\0') {
                if (name.size() > kMaxIdentifier)
                    name.resize(kMaxIdentifier);
                PrintInfo(kTag, "Malformed procedure line %i in %s (%s), procedure \"%s\" left out", lineNumber, source,
                          reason, name.c_str());
                if (!name.empty())
                    broken.insert(name);
            } else {
                legs->push_back(std::move(leg));
            }
        }
        p = lineEnd + 1;
    }
    if (broken.empty())
        return;
    size_t kept = 0;
    for (size_t i = 0; i < legs->size(); i++) {
        if (broken.count((*legs)[i].procedure) != 0)
            continue;
        if (kept != i)
            (*legs)[kept] = std::move((*legs)[i]);
        kept++;
    }
    legs->resize(kept);
}

bool Cifp_ReadWhole(const char *path, size_t maxSize, std::string *text)
{
    text->clear();
    FILE *file = fopen(path, "rb");
    if (file == nullptr)
        return false;
    char block[65536];
    size_t n;
    bool ok = true;
    while ((n = fread(block, 1, sizeof block, file)) > 0) {
        if (text->size() + n > maxSize) {
            ok = false;
            break;
        }
        text->append(block, n);
    }
    fclose(file);
    if (!ok)
        text->clear();
    return ok;
}

bool Cifp_ReadFile(const char *path, bool star, std::vector<CifpLeg> *legs)
{
    legs->clear();
    std::string text;
    if (!Cifp_ReadWhole(path, CIFP_MAX_FILE, &text)) {
        FILE *probe = fopen(path, "rb");
        if (probe != nullptr) {
            fclose(probe);
            PrintInfo(kTag, "Procedure file %s is larger than %i bytes, not read", path, (int)CIFP_MAX_FILE);
        }
        return false;
    }
    Cifp_Parse(text.data(), text.size(), star, path, legs);
    return true;
}

int Cifp_Restriction(const CifpLeg &leg, bool star)
{
    if (!star && leg.altitudeCode == '+')
        return 0;
    if (star && leg.altitudeCode == '-')
        return 0;
    const char *text = leg.altitude1.c_str();
    int value = 0;
    if (strncmp(text, "FL", 2) == 0) {
        if (!Utils_LeadingInt(text + 2, &value))
            return 0;
    } else {
        if (!Utils_LeadingInt(text, &value))
            return 0;
        value /= 100;
    }
    // Levels beyond FL999 or below the ground are not restrictions.
    return value > 0 && value < 1000 ? value : 0;
}
