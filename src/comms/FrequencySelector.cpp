// The frequency selector window and its buttons.
#include "comms/FrequencySelector.h"

#include "XPLMDataAccess.h"
#include "XPStandardWidgets.h"
#include "navdata/CenterFrequency.h"
#include "plugin/FirstFrame.h"
#include "plugin/FacilityNaming.h"
#include "plugin/Log.h"
#include "state/Pilot.h"
#include "ui/Settings.h"
#include "ui/WidgetHelpers.h"

XPWidgetID SwitchFrequenze_XPWidgetID = nullptr;
int FinestraFrequenzeAperta = 0;
XPWidgetID SwitchFrequenze_buttonTower = nullptr, SwitchFrequenze_buttonGround = nullptr,
           SwitchFrequenze_buttonDeliv = nullptr, SwitchFrequenze_buttonAtis = nullptr,
           SwitchFrequenze_buttonAppr = nullptr, SwitchFrequenze_buttonDepar = nullptr,
           SwitchFrequenze_buttonCent = nullptr;

namespace {

const char *const kTag = "SwitchFrequenze_XPWidgetIDHandler";

struct SelectorButton {
    XPWidgetID *handle;
    const char *label;
};

/// Top to bottom.
const SelectorButton kButtons[] = {
    {&SwitchFrequenze_buttonTower, "Tower"},       {&SwitchFrequenze_buttonGround, "Ground"},
    {&SwitchFrequenze_buttonDeliv, "Delivery"},    {&SwitchFrequenze_buttonAtis, "Atis"},
    {&SwitchFrequenze_buttonAppr, "Approach"},     {&SwitchFrequenze_buttonDepar, "Departure"},
    {&SwitchFrequenze_buttonCent, "Center"},
};

// Layout, pixels from the window's left and top.
const int kButtonLeft = 20, kButtonRight = 150, kButtonHeight = 22, kFirstButtonTop = 30, kButtonSpacing = 20;

/// Writes f (whole number) to COM1 and returns what COM1 reads back; 0 without a COM1 dataref yet.
int FrequencySelector_tune(double f)
{
    if (actualFrequencyRef == nullptr) {
        PrintInfo(kTag, "COM1 is not found yet (no flight started), %f not tuned", f);
        return 0;
    }
    XPLMSetDatai(actualFrequencyRef, (int)f);
    return XPLMGetDatai(actualFrequencyRef);
}

/// Tunes an airport facility's frequency unless the airport has none; logWord (when given) names it in
/// the log of what was wanted and what COM1 took.
void FrequencySelector_tuneAirport(double f, const char *logWord, const char *buttonLog)
{
    if ((int)f == 0)
        return;
    int tuned = FrequencySelector_tune(f);
    if (logWord != nullptr)
        PrintDebug(kTag, "%s frequenza da immettere: %f, realmente immessa: %i", logWord, f, tuned);
    PrintDebug(kTag, "%s", buttonLog);
}

/// The centre's frequency, looked up first when none is known; COM1 is never set to 0.
void FrequencySelector_tuneCenter(pilot &record)
{
    if ((int)record.frequenzaCenter == 0)
        Radio_settaFrequenzaCenter(&record);
    if ((int)record.frequenzaCenter == 0) {
        PrintInfo(kTag, "No centre frequency known, COM1 not tuned");
        return;
    }
    int tuned = FrequencySelector_tune(record.frequenzaCenter);
    PrintDebug(kTag, "(int)(pilotObj.frequenzaCenter): %i", (int)record.frequenzaCenter);
    PrintDebug(kTag, "(long) XPLMGetDatai(actualFrequencyRef): %i", tuned);
    PrintDebug(kTag, "center frequenza da immettere: %f, realmente immessa: %i", record.frequenzaCenter, tuned);
    if (developerDEBUG) {
        PrintDebug(kTag, "buttonCent");
        PrintDebug(kTag, "%s", gActualFrequency == record.frequenzaCenter ? "uguale" : "diversa");
        PrintDebug(kTag, "gActualFrequency %9.20lf.", gActualFrequency);
        PrintDebug(kTag, "frequenzaCenter %9.20lf.", record.frequenzaCenter);
    }
}

void FrequencySelector_press(XPWidgetID button)
{
    pilot &record = pilotObj;
    const Parser &airport = record.primaChiamataCenterEffettuataMIA ? record.targetAirport : record.parser;
    if (button == SwitchFrequenze_buttonTower)
        FrequencySelector_tuneAirport(airport.towerFrequency, "tower",
                                      "buttonTower");
    else if (button == SwitchFrequenze_buttonGround)
        FrequencySelector_tuneAirport(airport.groundFrequency, nullptr, "buttonGround");
    else if (button == SwitchFrequenze_buttonDeliv)
        FrequencySelector_tuneAirport(airport.deliveryFrequency, "center", "buttonDeliv");
    else if (button == SwitchFrequenze_buttonAtis) {
        if ((int)airport.atisFrequency != 0) {
            FrequencySelector_tune(airport.atisFrequency);
            PrintDebug(kTag, "buttonAtis called, setting %i frequency", (int)airport.atisFrequency);
        }
    } else if (button == SwitchFrequenze_buttonAppr)
        FrequencySelector_tuneAirport(airport.approachFrequency, "approach", "buttonAppr");
    else if (button == SwitchFrequenze_buttonDepar)
        FrequencySelector_tuneAirport(airport.departureFrequency, nullptr, "buttonDepar");
    else if (button == SwitchFrequenze_buttonCent)
        FrequencySelector_tuneCenter(record);
}

} // namespace

void CreaFinestraFrequenze(int left, int top, int width, int height)
{
    if (SwitchFrequenze_XPWidgetID != nullptr)
        FrequencySelector_Destroy();
    if (frequenciesPositionLeft != 0 && frequenciesPositionTop != 0) {
        left = frequenciesPositionLeft;
        top = frequenciesPositionTop;
    }
    FinestraFrequenzeAperta = 1;
    SwitchFrequenze_XPWidgetID = Utils_CreateMainWindow(left, top, left + width, top - height, "Frequencies selector");
    int buttonTop = top - kFirstButtonTop;
    for (const SelectorButton &button : kButtons) {
        *button.handle = Utils_CreatePushButton(left + kButtonLeft, buttonTop, left + kButtonRight,
                                                buttonTop - kButtonHeight, button.label, SwitchFrequenze_XPWidgetID);
        buttonTop -= kButtonSpacing;
    }
    XPAddWidgetCallback(SwitchFrequenze_XPWidgetID, SwitchFrequenze_XPWidgetIDHandler);
}

void FrequencySelector_Destroy()
{
    if (SwitchFrequenze_XPWidgetID != nullptr) {
        int left = 0, top = 0;
        XPGetWidgetGeometry(SwitchFrequenze_XPWidgetID, &left, &top, nullptr, nullptr);
        frequenciesPositionLeft = left;
        frequenciesPositionTop = top;
    }
    Utils_DestroyWindow(&SwitchFrequenze_XPWidgetID);
    for (const SelectorButton &button : kButtons)
        *button.handle = nullptr;
    FinestraFrequenzeAperta = 0;
}

void FrequencySelector_Toggle()
{
    if (SwitchFrequenze_XPWidgetID == nullptr)
        CreaFinestraFrequenze(100, 500, 169, 180);
    else
        FrequencySelector_Destroy();
}

int SwitchFrequenze_XPWidgetIDHandler(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t)
{
    if (message == xpMessage_CloseButtonPushed) {
        FrequencySelector_Destroy();
        return 1;
    }
    if (message == xpMsg_PushButtonPressed)
        FrequencySelector_press((XPWidgetID)param1);
    return 0;
}
