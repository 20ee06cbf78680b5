// The localizer reader of the plug-in's earth_nav.dat (parseSingleNavDat), on every column layout.
// Input: X-Plane version (1 byte), then the file.
#include <cmath>

#include "FuzzHost.h"
#include "navdata/AptNav.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::StartHost();
    fuzz::Input input{data, size};
    fuzz::SetVersion(fuzz::VersionOf(input.Byte()));
    std::string path = fuzz::LayFile("Resources/plugins/Vellomir64/navdata/earth_nav.dat", input.data, input.size);

    ILSMap.clear();
    parseSingleNavDat(path);
    for (const auto &airport : ILSMap)
        for (const ILSDat &ils : airport.second.ils) {
            FUZZ_CHECK(ils.type == 4 || ils.type == 5, "%s: localizer of type %d", airport.first.c_str(), ils.type);
            FUZZ_CHECK(std::isfinite(ils.bearing) && std::isfinite(ils.lat) && std::isfinite(ils.lon),
                       "%s %s: a value that is not a number", airport.first.c_str(), ils.runway.c_str());
        }
    ILSMap.clear(); // a run frees what it allocated, else libFuzzer leak-checks every run
    return 0;
}
