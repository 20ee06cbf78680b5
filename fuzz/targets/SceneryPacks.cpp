// X-Plane's list of custom scenery packs (Custom Scenery/scenery_packs.ini), read for the order in
// which the packs' airports enter the index (Scenery_CustomAptDatFiles).
// Input: the file.
#include "FuzzHost.h"
#include "Harness.h"
#include "navdata/AptNav.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::StartHost();
    static bool packsMade = false;
    if (!packsMade) {
        for (const char *pack : {"Fuzz Airport A", "FuzzB", "zzz overlay"})
            fuzz::LayFile(std::string("Custom Scenery/") + pack + "/Earth nav data/apt.dat", "I\n1000 Version\n99\n");
        packsMade = true;
    }
    fuzz::LayFile("Custom Scenery/scenery_packs.ini", data, size);
    // A pack may be any folder the user names, the root included ("SCENERY_PACK /").
    static const std::string kTail = "/Earth nav data/apt.dat";
    for (const std::string &file : Scenery_CustomAptDatFiles(simhost::SystemPath(), "/"))
        FUZZ_CHECK(file.size() >= kTail.size() && file.compare(file.size() - kTail.size(), kTail.size(), kTail) == 0,
                   "pack file %s", file.c_str());
    return 0;
}
