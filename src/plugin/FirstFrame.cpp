// First-frame set-up of a flight: COM1 dataref, tail number, flight record and departure airport.
#include "plugin/FirstFrame.h"

#include <cstdio>

#include "XPLMNavigation.h"
#include "navdata/AptNav.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "plugin/SimDataRefs.h"
#include "state/Pilot.h"

XPLMDataRef actualFrequencyRef = nullptr;
XPLMDataRef acfNameRef = nullptr;
char gAcfName[60] = "";
char gActualAptICAO[10] = "";
std::string overwrittenDepartureApt;

namespace {

const char *const kTag = "FrameDriver_FirstFrame";
/// Size of X-Plane's tail number dataref, bytes.
const int kTailNumberBytes = 40;
/// Sizes XPLMGetNavAidInfo writes into: identifier and name.
const int kNavIdSize = 32, kNavNameSize = 256;

void FirstFrame_chooseCom1DataRef()
{
    if (gFDV_XPlaneVersion < XPLANE_VERSION_COM_833) {
        actualFrequencyRef = XPLMFindDataRef("sim/cockpit/radios/com1_freq_hz");
        PrintInfo(kTag, "Frequency dataref Standard");
    } else {
        actualFrequencyRef = XPLMFindDataRef("sim/cockpit2/radios/actuators/com1_frequency_hz_833");
        PrintInfo(kTag, "Frequency dataref 8.33");
    }
}

void FirstFrame_readTailNumber()
{
    acfNameRef = XPLMFindDataRef("sim/aircraft/view/acf_tailnum");
    int length = XPLMGetDatab(acfNameRef, gAcfName, 0, kTailNumberBytes);
    if (length < 0 || length > kTailNumberBytes)
        length = 0;
    gAcfName[length] = '\0';
}

/// The departure airport's navaid reference: the airport named by overwrittenDepartureApt (the one with
/// exactly that identifier nearest to the aircraft), else the airport nearest to the aircraft.
XPLMNavRef FirstFrame_findAirport(float lat, float lon, char id[kNavIdSize], char name[kNavNameSize])
{
    const char *wanted = overwrittenDepartureApt.empty() ? nullptr : overwrittenDepartureApt.c_str();
    XPLMNavRef ref = XPLMFindNavAid(nullptr, wanted, &lat, &lon, nullptr, xplm_Nav_Airport);
    if (ref == XPLM_NAV_NOT_FOUND)
        return ref;
    XPLMGetNavAidInfo(ref, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, id, name, nullptr);
    // The search matches identifier fragments: KSE would find KSEA.
    if (wanted != nullptr && overwrittenDepartureApt != id)
        return XPLM_NAV_NOT_FOUND;
    return ref;
}

void FirstFrame_logParkingsAndIls(const pilot &record, const char *icao)
{
    for (const Parser::parking &p : record.parser.parkings)
        PrintInfo(kTag, "parking found: %s (type: %s)", p.name.c_str(), p.legacy ? "legacy" : p.type.c_str());
    PrintInfo(kTag, "Count ILS...");
    auto ils = ILSMap.find(icao);
    int count = ils == ILSMap.end() ? 0 : (int)ils->second.ils.size();
    PrintInfo(kTag, "Airport has %i ILS/LOC runways!", count);
}

void FirstFrame_readDepartureAirport(pilot &record, double lat, double lon)
{
    PrintInfo(kTag, "Looking for closer airport to lat/lon: %f %f", lat, lon);
    char id[kNavIdSize] = "", name[kNavNameSize] = "";
    // A new flight starts from an empty airport record: nothing of the previous flight's airport stays.
    record.parser = Parser();
    if (FirstFrame_findAirport((float)lat, (float)lon, id, name) == XPLM_NAV_NOT_FOUND) {
        PrintInfo(kTag, "Airport not found!");
        gActualAptICAO[0] = '\0';
        record.depAirportFullName.clear();
        return;
    }
    PrintInfo(kTag, "FindNavAid found! Looking for airport: %s", id);
    if (snprintf(gActualAptICAO, sizeof gActualAptICAO, "%s", id) >= (int)sizeof gActualAptICAO)
        PrintInfo(kTag, "Airport identifier %s is too long, kept as %s", id, gActualAptICAO);
    record.depAirportFullName = name;
    PrintInfo(kTag, "Airport found: %s", name);

    AptDat where;
    auto entry = IcaoMap.find(id);
    if (entry != IcaoMap.end())
        where = entry->second;
    PrintInfo(kTag, "Airport to search in file ICAOfilePath/readOffset: %s / %f. Mapsize: %i",
              where.ICAOfilePath.c_str(), (double)where.readOffset, (int)IcaoMap.size());
    record.parser.readAptDat(id, where.ICAOfilePath, where.readOffset, XPLMGetDataf(gAcfMagneticVariationRef));
    FirstFrame_logParkingsAndIls(record, id);
}

} // namespace

void FrameDriver_FirstFrame(pilot &record)
{
    FirstFrame_chooseCom1DataRef();
    FirstFrame_readTailNumber();
    double lat = XPLMGetDatad(AircrafLatRef), lon = XPLMGetDatad(AircrafLonRef);
    record.SetData(green, lat, lon, gAcfName);
    record.datiPilotaImpostati = 1;
    FirstFrame_readDepartureAirport(record, lat, lon);
}
