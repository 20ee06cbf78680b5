// Version texts of the update server. Numbers are compared field by field: gluing the digits together
// would put 2.2.0 (220) below 2.1.10 (2110) and overflow on long texts.
#include "update/UpdateVersion.h"

#include <cstdio>
#include <cstring>

namespace {

bool UpdateVersion_allowed(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == '-';
}

bool UpdateVersion_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

/// Position of the first "RC" marker, letters compared upper-cased; -1 without one.
int UpdateVersion_marker(const char *text)
{
    for (int i = 0; text[i] != '\0' && text[i + 1] != '\0'; i++)
        if ((text[i] == 'r' || text[i] == 'R') && (text[i + 1] == 'c' || text[i + 1] == 'C'))
            return i;
    return -1;
}

void UpdateVersion_appendDigit(char *digits, char c)
{
    size_t used = strlen(digits);
    if (used + 1 < UPDATE_VERSION_SIZE) {
        digits[used] = c;
        digits[used + 1] = '\0';
    }
}

int UpdateVersion_compareNumbers(uint64_t a, uint64_t b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

} // namespace

bool Update_ParseVersion(const char *text, size_t length, UpdateVersion *out, char *why, size_t whySize)
{
    *out = UpdateVersion();
    size_t start = 0, end = length;
    while (start < end && UpdateVersion_blank(text[start]))
        start++;
    while (end > start && UpdateVersion_blank(text[end - 1]))
        end--;
    if (start == end) {
        snprintf(why, whySize, "an empty answer");
        return false;
    }
    for (size_t i = start; i < end; i++) {
        if (!UpdateVersion_allowed(text[i])) {
            snprintf(why, whySize, "the character %d at position %zu", (int)(unsigned char)text[i], i - start + 1);
            return false;
        }
    }
    if (end - start >= UPDATE_VERSION_SIZE) {
        snprintf(why, whySize, "an answer of %zu characters", end - start);
        return false;
    }
    memcpy(out->text, text + start, end - start);
    out->text[end - start] = '\0';

    int marker = UpdateVersion_marker(out->text);
    out->candidate = marker >= 0;
    bool inNumber = false;
    for (int i = 0; out->text[i] != '\0'; i++) {
        char c = out->text[i];
        bool digit = c >= '0' && c <= '9';
        if (marker >= 0 && i >= marker) {
            if (digit) {
                UpdateVersion_appendDigit(out->build, c);
                out->buildNumber = out->buildNumber * 10 + (uint64_t)(c - '0'); // at most 13 digits
            }
            continue;
        }
        if (!digit) {
            inNumber = false;
            continue;
        }
        UpdateVersion_appendDigit(out->code, c);
        if (!inNumber) {
            if (out->fieldCount == UPDATE_VERSION_FIELDS) {
                snprintf(why, whySize, "more than %d numbers", UPDATE_VERSION_FIELDS);
                return false;
            }
            out->fieldCount++;
            inNumber = true;
        }
        uint64_t &field = out->fields[out->fieldCount - 1];
        field = field * 10 + (uint64_t)(c - '0'); // at most 15 digits: no overflow
    }
    // A lone number ("404", "1") is a status or a count, not a release: a version has at least two.
    if (out->fieldCount < 2) {
        snprintf(why, whySize, "%s", out->fieldCount == 0 ? "no version number" : "a lone number, not a dotted version");
        return false;
    }
    return true;
}

int Update_CompareVersions(const UpdateVersion &a, const UpdateVersion &b)
{
    int fields = a.fieldCount > b.fieldCount ? a.fieldCount : b.fieldCount;
    for (int i = 0; i < fields; i++) {
        uint64_t left = i < a.fieldCount ? a.fields[i] : 0;
        uint64_t right = i < b.fieldCount ? b.fields[i] : 0;
        if (left != right)
            return UpdateVersion_compareNumbers(left, right);
    }
    if (a.candidate != b.candidate)
        return a.candidate ? -1 : 1;
    if (!a.candidate)
        return 0;
    return UpdateVersion_compareNumbers(a.buildNumber, b.buildNumber);
}

UpdateDecision Update_Decide(const UpdateVersion &stable, const UpdateVersion &candidate,
                             const UpdateVersion &installed)
{
    UpdateDecision decision;
    decision.rcBuild = installed.candidate;
    if (!installed.candidate) {
        if (Update_CompareVersions(stable, installed) > 0) {
            decision.offer = UPDATE_OFFER_STABLE;
            snprintf(decision.logLine, sizeof decision.logLine, "Stable version needs an update: %s > %s",
                     stable.code, installed.code);
        } else {
            snprintf(decision.logLine, sizeof decision.logLine,
                     "This stable version doesn't need an update: %s > %s", stable.code, installed.code);
        }
        return decision;
    }
    if (Update_CompareVersions(stable, installed) > 0) {
        decision.offer = UPDATE_OFFER_STABLE;
        decision.rcBuild = false;
        snprintf(decision.logLine, sizeof decision.logLine,
                 "RC version needs an update to a stable version!!!: %s > %s %s", stable.code, installed.code,
                 installed.build);
    } else if (Update_CompareVersions(candidate, installed) > 0) {
        decision.offer = UPDATE_OFFER_CANDIDATE;
        snprintf(decision.logLine, sizeof decision.logLine,
                 "RC version needs an update to a newer RC version: %s %s > %s %s", candidate.code, candidate.build,
                 installed.code, installed.build);
    } else {
        snprintf(decision.logLine, sizeof decision.logLine, "This RC version doesn't need an update: %s %s > %s %s",
                 candidate.code, candidate.build, installed.code, installed.build);
    }
    return decision;
}
