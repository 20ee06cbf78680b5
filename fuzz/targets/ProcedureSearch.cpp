// The SID and STAR search (CIFP reader, fix and navaid index) and the insertion of what it chose.
// Input: control byte (bit 0 STAR, bits 1-3 the runway, bit 7 the rest is earth_fix.dat instead of the
// CIFP file), then the file.
#include <cmath>

#include "FuzzHost.h"
#include "navdata/ProcedureSearch.h"
#include "planning/Procedures.h"
#include "ui/Settings.h"

namespace
{

const char *const kNavdata = "Resources/plugins/Vellomir64/navdata/";

const char *const kCifp =
    "SID:010,4,TEST1,RW16L,AAAAA,K1,P,C,E   , ,   ,TF, , , , , ,      ,    ,    ,    ,    , ,05000,     ,     , ,   ,"
    "    ,   , , , , , , , , ;\n"
    "STAR:010,2,ARR1, ,BBBBB,K1,P,C,E   , ,   ,TF, , , , , ,      ,    ,    ,    ,    ,+,FL120,     ,     , ,   ,"
    "    ,   , , , , , , , , ;\n";
const char *const kFixes = "I\n1200 Version\n\n 47.000000000 -122.000000000  AAAAA KSEA K1 2105431 AAAAA\r\n"
                           " 46.000000000 -121.000000000  BBBBB ENRT K1 2105431 BBBBB\r\n99\n";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::StartHost();
    fuzz::Input input{data, size};
    const uint8_t control = input.Byte();
    const bool star = (control & 1) != 0;
    static const char *const runways[] = {"16L", "16C", "16R", "34", "1C", "07", "", "99X"};
    char runway[8];
    snprintf(runway, sizeof runway, "%s", runways[(control >> 1) & 7]);
    if (control & 0x80) {
        fuzz::LayFile(std::string(kNavdata) + "CIFP/KSEA.dat", kCifp);
        fuzz::LayFile(std::string(kNavdata) + "earth_fix.dat", input.data, input.size);
    } else {
        fuzz::LayFile(std::string(kNavdata) + "CIFP/KSEA.dat", input.data, input.size);
        fuzz::LayFile(std::string(kNavdata) + "earth_fix.dat", kFixes);
    }
    manualChooseSID = manualChooseSTAR = 0;

    pilot record;
    record.depAirportICAO = record.arrAirportICAO = "KSEA";
    record.plannedFL = 300;
    record.AddToFlightPlan(47.5f, -122.5f, "ROUTE", 2, 512, 0, 0);
    if (star)
        searchSTAR11("KSEA", runway, &record);
    else
        searchSID11("KSEA", runway, &record);

    const auto &procs = star ? record.stars : record.sids;
    const auto &fixes = star ? record.starFixes : record.sidFixes;
    const int count = star ? record.numeroDiStarTrovate : record.numeroDiSidTrovate;
    const int selected = star ? record.selectedSTAR : record.selectedSID;
    FUZZ_CHECK(count == (int)procs.size(), "count %d for %zu procedures", count, procs.size());
    FUZZ_CHECK(count == 0 || (selected >= 0 && selected < count), "selected %d of %d", selected, count);
    for (const pilot::sid &proc : procs)
        FUZZ_CHECK(!proc.name.empty() && proc.name.size() <= 31, "procedure name of %zu characters", proc.name.size());
    for (const pilot::sidFix &fix : fixes) {
        FUZZ_CHECK(fix.procIndex >= 0 && fix.procIndex < count, "fix of procedure %d of %d", fix.procIndex, count);
        FUZZ_CHECK(!fix.fixName.empty(), "fix without a name in %s", fix.procName.c_str());
        FUZZ_CHECK(fix.restriction >= 0 && fix.restriction < 1000, "restriction %d", fix.restriction);
        FUZZ_CHECK(std::isfinite(fix.lat) && std::isfinite(fix.lon) && std::fabs(fix.lat) <= 90 &&
                       std::fabs(fix.lon) <= 180,
                   "fix %s at %f %f", fix.fixName.c_str(), fix.lat, fix.lon);
    }

    if (star)
        fileSTAR11(&record);
    else
        fileSID11(&record);
    FUZZ_CHECK(!record.flightPlanVec.empty(), "the route was lost");
    for (const pilot::flightPlanLoc &loc : record.flightPlanVec)
        FUZZ_CHECK(loc.lat != 0.0f && loc.lon != 0.0f && std::isfinite(loc.lat), "waypoint %s at %f %f",
                   loc.name.c_str(), loc.lat, loc.lon);
    return 0;
}
