// Naming the tuned COM1 facility from the departure airport, the arrival airport and the centre.
#include "plugin/FacilityNaming.h"

#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "state/Pilot.h"

double gActualFrequency = 0;
std::string gActualFrequencyName = "NONE";
int switchToCenter = 0;

namespace {

/// A published frequency that f is tuned to; 0 stands for "none published" and never matches.
bool Radio_isTuned(double f, double published)
{
    return published != 0 && f == published;
}

/// The tuned frequency in MHz, for the log.
double Radio_megahertz(double f)
{
    return f / (gFDV_XPlaneVersion >= XPLANE_VERSION_COM_833 ? 1000.0 : 100.0);
}

} // namespace

bool Radio_isTunedAny(double f, double primary, const std::vector<double> &all)
{
    if (Radio_isTuned(f, primary))
        return true;
    for (double published : all)
        if (Radio_isTuned(f, published))
            return true;
    return false;
}

const char *Radio_FacilityName(const pilot &record, double f)
{
    const Parser &dep = record.parser;
    const Parser &arr = record.targetAirport;
    const bool handedToTower = record.HandoffTorreComunicato;
    auto delivery = [f](const Parser &a) { return Radio_isTunedAny(f, a.deliveryFrequency, a.deliveryFrequencies); };
    auto ground = [f](const Parser &a) { return Radio_isTunedAny(f, a.groundFrequency, a.groundFrequencies); };
    auto tower = [f](const Parser &a) { return Radio_isTunedAny(f, a.towerFrequency, a.towerFrequencies); };
    auto approach = [f](const Parser &a) { return Radio_isTunedAny(f, a.approachFrequency, a.approachFrequencies); };
    auto atis = [f](const Parser &a) { return Radio_isTunedAny(f, a.atisFrequency, a.atisFrequencies); };
    auto departure = [f](const Parser &a) {
        return Radio_isTunedAny(f, a.departureFrequency, a.departureFrequencies);
    };
    const bool arrivalGround = handedToTower && ground(arr);

    if (delivery(dep) && !handedToTower)
        return "DELIVERY";
    if (ground(dep))
        return dep.deliveryFrequency != 0 ? "GROUND" : "DELIVERY";
    if (tower(dep)) {
        if (dep.deliveryFrequency == 0 && dep.groundFrequency == 0)
            return "DELIVERY";
        if (dep.groundFrequency == 0)
            return "GROUND";
        return arrivalGround ? "GROUND" : "TOWER";
    }
    if (arrivalGround)
        return "GROUND";
    if (record.gTODReached == 1 && tower(arr))
        return "TOWER";
    if (approach(dep) || approach(arr))
        return "APPROACH";
    if (atis(dep) || atis(arr))
        return "ATIS";
    if (Radio_isTuned(f, record.frequenzaCenter))
        return "CENTER";
    if (departure(dep) || departure(arr))
        return "DEPARTURE";
    return "NONE";
}

void FrameDriver_NameTunedFacility(pilot &record)
{
    const char *name = Radio_FacilityName(record, record.gActualFrequency);
    if (gActualFrequencyName != name) {
        PrintUsrDebug("Tuned facility: %s (COM1 %.3f)", name, Radio_megahertz(record.gActualFrequency));
        gActualFrequencyName = name;
    }
    if (record.gActualFrequencyName != name)
        record.gActualFrequencyName = name;
}

void FrameDriver_CompleteHandOver(pilot &record)
{
    if (!Radio_isTuned(record.gActualFrequency, record.frequenzaObiettivo))
        return;
    record.frequenzaObiettivo = 0;
    record.gTargetAirportTowerInitialCallDone = 0;
    if (record.nuovaCenterTrovata) {
        record.primaChiamataCenterEffettuata = 0;
        record.nuovaCenterTrovata = false;
    }
    if (gActualFrequencyName == "CENTER")
        switchToCenter = 1;
}
