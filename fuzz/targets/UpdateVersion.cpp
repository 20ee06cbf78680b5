// The update server's version answers (Update_ParseVersion) and their order and choice.
// Input: control byte (where the answer splits into a stable, a candidate and an installed text), then
// the texts separated by "|".
#include <cstring>
#include <string>

#include "FuzzHost.h"
#include "update/UpdateVersion.h"

namespace {

bool Parse(const std::string &text, UpdateVersion *version)
{
    char why[64];
    if (!Update_ParseVersion(text.data(), text.size(), version, why, sizeof why)) {
        FUZZ_CHECK(why[0] != '\0', "a refusal without a reason");
        return false;
    }
    size_t length = strlen(version->text);
    FUZZ_CHECK(length >= 1 && length <= 15, "a version of %zu characters", length);
    for (size_t i = 0; i < length; i++) {
        char c = version->text[i];
        FUZZ_CHECK((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == '-',
                   "the character %d kept in a version", (int)(unsigned char)c);
    }
    for (const char *p = version->code; *p != '\0'; p++)
        FUZZ_CHECK(*p >= '0' && *p <= '9', "a code with the character %d", (int)(unsigned char)*p);
    FUZZ_CHECK(version->fieldCount >= 1 && version->fieldCount <= UPDATE_VERSION_FIELDS, "%d numbers",
               version->fieldCount);
    FUZZ_CHECK(Update_CompareVersions(*version, *version) == 0, "a version unequal to itself");
    return true;
}

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string input((const char *)data, size);
    std::string parts[3];
    size_t start = 0;
    for (int i = 0; i < 3; i++) {
        size_t bar = i < 2 ? input.find('|', start) : std::string::npos;
        parts[i] = input.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    UpdateVersion stable, candidate, installed;
    bool ok = Parse(parts[0], &stable);
    ok = Parse(parts[1], &candidate) && ok;
    ok = Parse(parts[2], &installed) && ok;
    if (!ok)
        return 0;
    FUZZ_CHECK(Sign(Update_CompareVersions(stable, candidate)) == -Sign(Update_CompareVersions(candidate, stable)),
               "an order that is not antisymmetric");
    UpdateDecision decision = Update_Decide(stable, candidate, installed);
    if (decision.offer != UPDATE_OFFER_NONE) {
        const UpdateVersion &offered = decision.offer == UPDATE_OFFER_STABLE ? stable : candidate;
        FUZZ_CHECK(Update_CompareVersions(offered, installed) > 0, "%s offered to %s", offered.text, installed.text);
    }
    FUZZ_CHECK(decision.offer != UPDATE_OFFER_CANDIDATE || installed.candidate, "a candidate offered to a stable %s",
               installed.text);
    return 0;
}
