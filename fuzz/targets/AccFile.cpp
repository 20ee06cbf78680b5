// acc.dat as a user may leave it (Radio_ottieniFrequenzaCenter): three lookups of one airport.
// Input: version (1), airport (1: KSEA, S20, KPDX, XS20, an invalid identifier), approach clash (1: the
// approach frequency of the flight's airports, 0 none), then the file.
#include <cstring>

#include "FuzzHost.h"
#include "navdata/CenterFrequency.h"
#include "plugin/PluginGlobals.h"
#include "state/Pilot.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::StartHost();
    fuzz::Input input{data, size};
    int version = fuzz::VersionOf(input.Byte());
    fuzz::SetVersion(version);
    gFDV_XPlaneVersion = version;
    const char *const airports[] = {"KSEA", "S20", "KPDX", "XS20", "-X"};
    const char *airport = airports[input.Byte() % 5];
    uint8_t clash = input.Byte();
    fuzz::LayFile("Resources/plugins/Vellomir64/acc.dat", input.Rest());

    bool kHz = version >= XPLANE_VERSION_COM_833;
    double approach = clash == 0 ? 0 : (kHz ? 118000 + 25.0 * clash : 11800 + 5.0 * clash);
    pilot *flight = new pilot();
    flight->parser.approachFrequency = approach;
    flight->targetAirport.approachFrequencies.push_back(approach);
    for (int lookup = 0; lookup < 3; lookup++) {
        Radio_ottieniFrequenzaCenter(airport, flight);
        double f = flight->frequenzaCenter;
        if (airport[0] == '-') {
            FUZZ_CHECK(f == 0, "an invalid identifier set the centre to %f", f);
            continue;
        }
        FUZZ_CHECK(kHz ? f >= 118000 && f <= 136990 : f >= 11800 && f <= 13699, "centre %f out of the COM band", f);
        FUZZ_CHECK(f != approach, "centre %f on the approach frequency", f);
        size_t length = strnlen(flight->nomeCenter, sizeof flight->nomeCenter);
        FUZZ_CHECK(length > 0 && length < sizeof flight->nomeCenter, "centre name of %zu bytes", length);
        for (size_t i = 0; i < length; i++) {
            unsigned char c = (unsigned char)flight->nomeCenter[i];
            FUZZ_CHECK(c >= 32 && c != 127 && c != '#' && c != '*' && c != '@', "centre name with character %d", c);
        }
        FUZZ_CHECK(!flight->centerFittizia || strcmp(flight->nomeCenter, "Center") == 0,
                   "made-up frequency named '%s'", flight->nomeCenter);
    }
    delete flight;
    return 0;
}
