// The AIRAC cycle reader of the navigation data files (ottieniVersioneAiracFile).
// Input: the file.
#include "FuzzHost.h"
#include "navdata/AptNav.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::StartHost();
    std::string path = fuzz::LayFile("Resources/plugins/Vellomir64/navdata/earth_fix.dat", data, size);
    std::string cycle = ottieniVersioneAiracFile(path);
    FUZZ_CHECK(cycle.size() <= 31, "a cycle of %zu digits", cycle.size());
    for (char c : cycle)
        FUZZ_CHECK(c >= '0' && c <= '9', "a cycle with the character %d", (int)(unsigned char)c);
    return 0;
}
