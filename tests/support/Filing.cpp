// Filing a flight plan through the flight plan window.
#include "support/Filing.h"

#include <fstream>
#include <sstream>

#include "Harness.h"
#include "navdata/AptNav.h"
#include "navdata/FindNavType.h"
#include "planning/FlightPlanFiling.h"
#include "planning/FlightPlanWindow.h"
#include "plugin/FacilityNaming.h"
#include "plugin/FirstFrame.h"
#include "plugin/PluginGlobals.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"
#include "ui/AboutWindow.h"
#include "ui/Settings.h"

namespace {

std::string ReadSource(const std::string &relative)
{
    std::ifstream file(std::string(VELLOMIR_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void Set(XPWidgetID field, const std::string &text)
{
    XPSetWidgetDescriptor(field, text.c_str());
}

} // namespace

void Filing_AtSeattle()
{
    ASSERT_TRUE(simhost::InstallSample(std::string(VELLOMIR_SOURCE_DIR) + "/data/sample"));
    simhost::WriteFile("Resources/plugins/Vellomir64/ICAOCodes.dat", ReadSource("data/plugin/ICAOCodes.dat"));
    ASSERT_TRUE(simhost::PlaceAtParking("KSEA", "A1"));
    simhost::SetBytes("sim/aircraft/view/acf_tailnum", "N737VM");
    simhost::SetWeather(160, 15, 1013);
    IcaoMap.clear();
    Utils_readAllAptDat();
    pilotObj = pilot();
    FrameDriver_FirstFrame(pilotObj);
    pilotObj.isOnGround = 1;
    simhost::TuneCom1(128.0);
    gActualFrequency = pilotObj.gActualFrequency = simhost::GetInt("sim/cockpit2/radios/actuators/com1_frequency_hz_833");
    gActualFrequencyName = "DELIVERY";
    IcaoFlightName[0] = IcaoFlightNumber[0] = 0;
    gIsFPFiled = 0;
    lookForSID = lookForSTAR = 1;
    tdDescentSpeed = 1500;
    gKMLExp = 0;
    aboutIsOpen = 0;
}

void Filing_File(const std::string &route, const std::function<void()> &change)
{
    CreateFileFlightPlanControl(100, 700, 850, 330);
    Set(ControlIcaoFlightName, "asa");
    Set(ControlIcaoFlightNumber, "123");
    Set(ControlDepartureEdit, "KSEA");
    Set(ControlArrivalEdit, "KPDX");
    Set(ControlTLDep, "18000");
    Set(ControlTLArr, "18000");
    Set(ControlFlightlevelEdit, "160");
    Set(ControlDescentSpeed, "1800");
    Set(ControlFlightPlanEdit, route);
    change();
    ASSERT_TRUE(simhost::ClickWidget(ControlApplyButton));
}

void Filing_SeattleRecord(pilot &record)
{
    record = pilot();
    record.datiPilotaImpostati = 1;
    record.isOnGround = 1;
    record.latitudine = 47.4490; // KSEA, gate A1
    record.longitudine = -122.3093;
    record.depAirportICAO = "KSEA";
    record.arrAirportICAO = "KPDX";
    record.plannedFL = 200;
    record.departureRunwayStruct.lat = 47.4638f; // 16L
    record.departureRunwayStruct.lon = -122.3079f;
    record.departureRunwayStruct.heading = 180;
}

void Filing_Route(pilot &record, const std::vector<const char *> &words)
{
    for (const char *word : words) {
        float lat = 0, lon = 0;
        const float refLat = record.flightPlanVec.empty() ? 0 : record.flightPlanVec.back().lat;
        const float refLon = record.flightPlanVec.empty() ? 0 : record.flightPlanVec.back().lon;
        const int type = findNavType(word, &record, refLat, refLon, &lat, &lon);
        ASSERT_NE(type, 0) << word;
        record.AddToFlightPlan(lat, lon, word, 2, type, 0, 0);
    }
}
