// The departure the radio exchange tests fly.
#include "ExchangeSupport.h"

#include <algorithm>
#include <cstdlib>

#include "XPLMDataAccess.h"
#include "comms/DialogBox.h"
#include "comms/DialogState.h"
#include "comms/MessageQueue.h"
#include "comms/PhraseCommon.h"
#include "comms/ReadbackWindow.h"
#include "plugin/CustomDataRefs.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "state/FlightGlobals.h"
#include "state/Hooks.h"
#include "state/Pilot.h"
#include "support/TowerRadio.h"
#include "ui/Settings.h"

void Exchange_SetUpDeparture()
{
    pilot &r = pilotObj;
    r.SetData(green, 47.4440, -122.3010, "Vellomir @12@");
    r.datiPilotaImpostati = 1;
    r.parser.deliveryFrequency = 128000;
    r.parser.groundFrequency = 121700;
    r.parser.towerFrequency = 119900;
    r.depAirportICAO = "KSEA";
    r.depAirportFullName = "Seattle-Tacoma Intl";
    r.arrAirportICAO = "KPDX";
    r.arrAirportFullName = "Portland Intl";
    snprintf(r.departureRunwayName, sizeof r.departureRunwayName, "16L");
    snprintf(r.departureRunwayStruct.name, sizeof r.departureRunwayStruct.name, "16L");
    r.departureRunwayStruct.lat = 47.4638f;
    r.departureRunwayStruct.lon = -122.3079f;
    r.AddSid("SUMMA2", "SUMMA2", 0, 0, false);
    r.numeroDiSidTrovate = 1;
    r.sidSelezionata = true;
    r.sidFiled = true; // the route below already leads with it
    r.plannedFL = 240;
    r.gIsFPFiled = gIsFPFiled = 1;
    r.AddToFlightPlan(47.2f, -122.3f, "SUMMA", 1, 0, 40, 0);
    r.AddToFlightPlan(45.6f, -122.6f, "KPDX", 6, 0, 0, 0);
    simhost::PlaceAircraft(47.4440, -122.3010, 130, 160, true);
    simhost::SetEngines(false);
    simhost::SetInt("sim/cockpit/radios/transponder_code", 1200);
}

void ExchangeTest::SetUp()
{
    HostTest::SetUp();
    TowerRadio_Open();
    System_RegisterDataRefs();
    Radio_ResetState();
    FlightGlobals_Reset();
    readbackWinIsOpen = dialogIsOpen = 0;
    developerDEBUG = 1;
    HisotryComunicazioniRadio.clear();
    Exchange_SetUpDeparture();
    simhost::TuneCom1(128.0);
    simhost::RunFrame();
}

void ExchangeTest::TearDown()
{
    developerDEBUG = 0;
    System_UnregisterDataRefs();
    TowerRadio_Close();
    Radio_ResetState();
    pilotObj.ResetFlight();
    pilotObj.flightPlanVec.clear();
    HostTest::TearDown();
}

bool ExchangeTest::RunUntilReadback(int code, float seconds)
{
    for (float t = 0; t < seconds; t += 0.1f) {
        if (gReadbackMessage == code)
            return true;
        simhost::RunSeconds(0.1f);
    }
    return gReadbackMessage == code;
}

std::string Request_Offered()
{
    for (const char *title : {"Delivery", "Ground", "Tower", "Center", "Approach"}) {
        void *window = simhost::FindWindowByTitle(title);
        if (window == nullptr)
            continue;
        std::string text = std::string(title) + ":";
        const char *separator = " ";
        for (const std::string &label : simhost::ButtonLabels(window)) {
            text += separator + label;
            separator = " | ";
        }
        return text;
    }
    return "";
}

bool ExchangeTest::ReadBack(int code)
{
    return gReadbackMessage == code && ReadbackButton != nullptr && simhost::ClickWidget(ReadbackButton);
}

void ExchangeTest::RunUntilQuiet(float seconds)
{
    for (float t = 0; t < seconds; t += 0.1f) {
        if (queue.empty() && simhost::ElapsedTime() > frequencyBusyUntil)
            break;
        simhost::RunSeconds(0.1f);
    }
    simhost::RunFrame();
}

std::vector<std::string> ExchangeTest::Shown()
{
    std::vector<std::string> texts;
    for (const ComunicazioniRadio &line : HisotryComunicazioniRadio)
        texts.push_back(line.text);
    HisotryComunicazioniRadio.clear();
    return texts;
}

std::vector<int> ExchangeTest::Codes()
{
    std::vector<int> codes;
    const std::vector<std::string> &lines = simhost::LogLines();
    const std::string marker = "Message code ";
    for (size_t i = logSeen_; i < lines.size(); i++) {
        size_t at = lines[i].find(marker);
        if (at != std::string::npos && lines[i].find(" delivered", at) != std::string::npos)
            codes.push_back(atoi(lines[i].c_str() + at + marker.size()));
    }
    logSeen_ = lines.size();
    return codes;
}

int ExchangeTest::RadioInUse()
{
    return XPLMGetDatai(XPLMFindDataRef("Vellomir/radio_in_use"));
}

int ExchangeTest::RadioFacility()
{
    return XPLMGetDatai(XPLMFindDataRef("Vellomir/radio_facility_id"));
}
