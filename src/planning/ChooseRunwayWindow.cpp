// The choose-runway window. The airport is read afresh into gTmpParser from its indexed apt.dat, in the
// same order as the flight record's copy, so that button k stands for the record's runway end k.
#include "planning/ChooseRunwayWindow.h"

#include <algorithm>

#include "XPStandardWidgets.h"
#include "comms/MessageQueue.h"
#include "navdata/AptNav.h"
#include "navdata/Parser.h"
#include "planning/Procedures.h"
#include "planning/RunwaySelection.h"
#include "plugin/Log.h"
#include "state/FlightGlobals.h"
#include "state/Hooks.h"
#include "state/Pilot.h"
#include "ui/Settings.h"
#include "ui/WidgetHelpers.h"

int gIsDeparting = 0;
XPWidgetID ControlChooseRwyWin = nullptr;
XPWidgetID AutomaticRwyBtn = nullptr;
XPWidgetID ChooseRwyBtn[CHOOSE_RWY_BUTTONS] = {};

namespace
{

const char *const kTag = "ControlChooseRunwayHandler";
const int kLeft = 100, kTop = 700, kRight = 265;
const int kButtonLeft = 142, kButtonRight = 225;
const int kFirstButtonTop = 610, kButtonHeight = 22, kButtonPitch = 20;
/// Space below the lowest button.
const int kBottomMargin = 12;

/// The flight record the open window works on.
pilot *gChooseRunwayRecord = nullptr;

int ChooseRunway_listed()
{
    return std::min((int)gTmpParser.runways.size(), (int)CHOOSE_RWY_BUTTONS);
}

void ChooseRunway_readAirport(pilot *record, int isDeparting)
{
    gTmpParser.runways.clear();
    const std::string &icao = isDeparting ? record->depAirportICAO : record->arrAirportICAO;
    auto entry = IcaoMap.find(icao);
    if (entry == IcaoMap.end()) {
        PrintInfo("CreateChooseRunwayControl", "Airport %s is not in the scenery index: no runway to list",
                  icao.c_str());
        return;
    }
    PrintInfo("CreateChooseRunwayControl", "Parser start from CreateChooseRunwayControl");
    gTmpParser.readAptDat(icao, entry->second.ICAOfilePath, entry->second.readOffset, record->variazioneMagnetica);
}

void ChooseRunway_close(pilot *record)
{
    record->informazioniDiAtterraggioComunicate = 0;
    record->gIsCopiing = 0;
    gIsCopiing = 0;
    XPDestroyWidget(ControlChooseRwyWin, 1);
    ControlChooseRwyWin = nullptr;
    AutomaticRwyBtn = nullptr;
    std::fill(std::begin(ChooseRwyBtn), std::end(ChooseRwyBtn), nullptr);
}

/// Closes the window once the choice is applied; a clearance the choice queued (more than queued
/// messages now) holds the radio until it is read back.
void ChooseRunway_closeAfter(pilot *record, size_t queued)
{
    ChooseRunway_close(record);
    if (queue.size() > queued)
        record->gIsCopiing = 1;
}

/// Back to the automatic choice for the window's direction.
void ChooseRunway_automatic(pilot *record)
{
    if (gIsDeparting) {
        record->preferredDepRunway = 0;
        record->preferredDepRunwayAirport.clear();
        ChangeDepRunway(record);
    } else {
        record->preferredArrRunway = 0;
        record->preferredArrRunwayAirport.clear();
        ChangeArrRunway(record);
    }
}

/// The route as it was before the procedures of the old runway were inserted.
void ChooseRunway_restoreRoute(pilot *record)
{
    record->stars.clear();
    record->starFixes.clear();
    record->numeroDiStarTrovate = 0;
    // restorePianoDivolo empties the route itself before it appends the backup.
    PrintInfo(kTag, "Recupero il seguente backup");
    StampaBackupPianoDiVoloAttuale(record);
    restorePianoDivolo(record);
}

void ChooseRunway_arrival(pilot *record, int k)
{
    if (lookForSTAR == 1) {
        record->starSelezionata = false;
        record->starFiled = false;
        record->selectedSTAR = 0;
    }
    record->preferredArrRunway = k + 1;
    record->preferredArrRunwayAirport = record->arrAirportICAO;
    ChangeArrRunway(record);
    PrintInfo(kTag, "Take arrival runway %s", record->arrivalRunwayStruct.name);
}

/// The new departure runway: SIDs searched again for it, the choice windows, and the clearance again.
void ChooseRunway_departure(pilot *record, int k)
{
    record->preferredDepRunway = k + 1;
    record->preferredDepRunwayAirport = record->depAirportICAO;
    if (lookForSID == 1) {
        record->sidSelezionata = false;
        record->sidFiled = false;
        record->selectedSID = 0;
    }
    record->gIsIFRCleared = 0;
    gIsIFRCleared = 0;
    const size_t queued = queue.size();
    ChangeDepRunway(record);
    PrintInfo(kTag, "Take departure runway %s", record->departureRunwayName);
    PrintInfo(kTag, "Search Real SID and Runway Change");

    enum { kSidWindow, kStarWindow, kLast } step = kSidWindow;
    if (record->isOnGround != 1) {
        PrintInfo(kTag, "SID gia' presenti, oppure clearance richiesta in volo, non lancio cerca sid");
        record->sidSelezionata = true;
        step = kLast;
    } else {
        bool decided = false;
        if (lookForSID == 1) {
            // ChangeDepRunway has searched the new runway's SIDs, and filed one unless the pilot chooses.
            if (record->numeroDiSidTrovate > 0 && manualChooseSID) {
                step = frequenzaLibera ? kSidWindow : kLast;
                decided = true;
            }
        } else {
            PrintDebug(kTag, "Skipping SID search as requested by user");
        }
        if (!decided) {
            if (!frequenzaLibera)
                step = kLast;
            else if (record->numeroDiSidTrovate == 0)
                step = kStarWindow;
        }
    }
    if (step == kSidWindow) {
        if (!record->sidSelezionata && ControlChooseSidWin == nullptr && manualChooseSID == 1)
            CreateChooseSidControl(record, 0);
        step = frequenzaLibera ? kStarWindow : kLast;
    }
    if (step == kStarWindow && record->primaChiamataCenterEffettuataMIA == 1 && record->numeroDiStarTrovate >= 1 &&
        !record->starSelezionata && ControlChooseSidWin == nullptr && manualChooseSTAR == 1)
        CreateChooseStarControl(record, 0);
    // The pilot's SID choice gives the clearance later; the runway change may have given it already.
    if (!(manualChooseSID && record->numeroDiSidTrovate > 0) && queue.size() == queued)
        FlightPlanning_RequestIFRClearanceResponse(record);
}

void ChooseRunway_buttonPressed(pilot *record, XPWidgetID button)
{
    if (record->informazioniDiAtterraggioComunicate == 1)
        ChooseRunway_restoreRoute(record);
    if (button == AutomaticRwyBtn) {
        const size_t queued = queue.size();
        ChooseRunway_automatic(record);
        ChooseRunway_closeAfter(record, queued);
        return;
    }
    const int listed = ChooseRunway_listed();
    int k = -1;
    for (int slot = 0; slot < listed; slot++)
        if (ChooseRwyBtn[slot] != nullptr && ChooseRwyBtn[slot] == button)
            k = slot;
    const size_t queued = queue.size();
    if (k < 0) {
        PrintInfo(kTag, "Pressed button is no runway of the window: nothing changed");
    } else if (gIsDeparting) {
        ChooseRunway_departure(record, k);
    } else {
        ChooseRunway_arrival(record, k);
    }
    ChooseRunway_closeAfter(record, queued);
}

} // namespace

void CreateChooseRunwayControl(pilot *record, int isDeparting)
{
    if (ControlChooseRwyWin != nullptr) // one window at a time: the old one goes
        ChooseRunway_close(record);
    gChooseRunwayRecord = record;
    record->gIsCopiing = 1;
    gIsCopiing = 1;
    gIsDeparting = isDeparting;
    // The clearance is granted by its own last step only, never by this window.
    ChooseRunway_readAirport(record, isDeparting);

    const int n = ChooseRunway_listed();
    if ((int)gTmpParser.runways.size() > n)
        PrintInfo("CreateChooseRunwayControl", "%i runway ends, the window lists the first %i",
                  (int)gTmpParser.runways.size(), n);
    // The window reaches below its lowest button (or "Automatic" without runway buttons).
    const int lowestBottom = n > 0 ? kFirstButtonTop - kButtonPitch * (n - 1) - kButtonHeight : 608;
    ControlChooseRwyWin = Utils_CreateMainWindow(kLeft, kTop, kRight, lowestBottom - kBottomMargin, "Choose runway");
    Utils_CreateCaption(110, 648, 215, 638, "Please select new runway:", ControlChooseRwyWin);
    AutomaticRwyBtn = Utils_CreatePushButton(kButtonLeft, 630, kButtonRight, 608, "Automatic", ControlChooseRwyWin);
    std::fill(std::begin(ChooseRwyBtn), std::end(ChooseRwyBtn), nullptr);
    for (int k = 0; k < n; k++) {
        char label[32];
        snprintf(label, sizeof label, "Runway %s", gTmpParser.runways[(size_t)k].name);
        const int top = kFirstButtonTop - kButtonPitch * k;
        ChooseRwyBtn[k] =
            Utils_CreatePushButton(kButtonLeft, top, kButtonRight, top - kButtonHeight, label, ControlChooseRwyWin);
        XPShowWidget(ChooseRwyBtn[k]);
    }
    XPAddWidgetCallback(ControlChooseRwyWin, ControlChooseRunwayHandler);
}

int ControlChooseRunwayHandler(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t)
{
    pilot *record = gChooseRunwayRecord != nullptr ? gChooseRunwayRecord : &pilotObj;
    if (message == xpMessage_CloseButtonPushed) {
        const size_t queued = queue.size();
        ChooseRunway_automatic(record);
        ChooseRunway_closeAfter(record, queued);
        return 1;
    }
    if (message == xpMsg_PushButtonPressed) {
        ChooseRunway_buttonPressed(record, (XPWidgetID)param1);
        return 1;
    }
    return 0;
}
