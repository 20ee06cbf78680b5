// The SID and STAR choice windows share one design; a ChoiceKind names the record fields and texts of
// each. Buttons stand in columns of 15 so that a full page of 40 and its "..." button stay on screen.
#include "ui/ChooseProcedureWindow.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "XPStandardWidgets.h"
#include "navdata/ProcedureSearch.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "state/Pilot.h"
#include "ui/WidgetHelpers.h"

XPWidgetID ControlChooseSidWin = nullptr;
XPWidgetID ControlChooseStarWin = nullptr;
XPWidgetID ChooseSidBtn[CHOOSE_PROC_BUTTONS] = {};
XPWidgetID ChooseStarBtn[CHOOSE_PROC_BUTTONS] = {};

namespace
{

const int kLeft = 100, kTop = 450;
const int kColumnWidth = 120, kButtonWidth = 110, kButtonHeight = 22, kButtonPitch = 20;
const int kFirstButtonTop = 380, kRows = 15;
const int kMoreSlot = CHOOSE_PROC_PAGE_MAX;

struct ChoiceKind {
    bool star;
    const char *word; ///< "SID" or "STAR"
    const char *creator;
    const char *handler;
    XPWidgetID *window;
    XPWidgetID *buttons;
    XPWidgetFunc_t callback;
};

/// What an open window works on: its record and its first procedure.
struct OpenChoice {
    pilot *record = nullptr;
    int first = 0;
};
OpenChoice gSidChoice, gStarChoice;

const ChoiceKind kSid = {false, "SID", "CreateChooseSidControl", "ControlChooseSidHandler",
                         &ControlChooseSidWin, ChooseSidBtn, ControlChooseSidHandler};
const ChoiceKind kStar = {true, "STAR", "CreateChooseStarControl", "ControlChooseStarHandler",
                          &ControlChooseStarWin, ChooseStarBtn, ControlChooseStarHandler};

/// Procedures per page.
int ChooseProc_pageSize()
{
    return std::max(1, std::min(maximumSIDSSTARSDialogLenght, (int)CHOOSE_PROC_PAGE_MAX));
}

OpenChoice &ChooseProc_open(const ChoiceKind &kind)
{
    return kind.star ? gStarChoice : gSidChoice;
}
std::vector<pilot::sid> &ChooseProc_list(const ChoiceKind &kind, pilot *p)
{
    return kind.star ? p->stars : p->sids;
}
/// The procedures found, never more than the list holds.
int ChooseProc_count(const ChoiceKind &kind, pilot *p)
{
    const int found = kind.star ? p->numeroDiStarTrovate : p->numeroDiSidTrovate;
    return std::max(0, std::min(found, (int)ChooseProc_list(kind, p).size()));
}
int16_t &ChooseProc_selected(const ChoiceKind &kind, pilot *p)
{
    return kind.star ? p->selectedSTAR : p->selectedSID;
}
bool &ChooseProc_flag(const ChoiceKind &kind, pilot *p)
{
    return kind.star ? p->starSelezionata : p->sidSelezionata;
}
const char *ChooseProc_runway(const ChoiceKind &kind, pilot *p)
{
    return kind.star ? p->arrivalRunwayStruct.name : p->departureRunwayName;
}

void ChooseProc_destroy(const ChoiceKind &kind)
{
    if (*kind.window != nullptr)
        XPDestroyWidget(*kind.window, 1);
    *kind.window = nullptr;
    std::fill(kind.buttons, kind.buttons + CHOOSE_PROC_BUTTONS, nullptr);
}

/// The selection made (by the pilot or, on closing, the search's own choice): a valid index or 0.
void ChooseProc_select(const ChoiceKind &kind, pilot *p, int index)
{
    const int count = ChooseProc_count(kind, p);
    if (index < 0 || index >= count) {
        PrintInfo(kind.handler, "%s index %i outside the %i found: taking the first", kind.word, index, count);
        index = 0;
    }
    ChooseProc_selected(kind, p) = (int16_t)index;
    ChooseProc_flag(kind, p) = true;
}

/// Top-left corner of the button in slot k of a page.
void ChooseProc_slotCorner(int k, int *left, int *top)
{
    *left = kLeft + 10 + kColumnWidth * (k / kRows);
    *top = kFirstButtonTop - kButtonPitch * (k % kRows);
}

void ChooseProc_create(const ChoiceKind &kind, pilot *p, int first)
{
    PrintInfo(kind.creator, "Entering %s", kind.creator);
    OpenChoice &open = ChooseProc_open(kind);
    if (*kind.window != nullptr)
        ChooseProc_destroy(kind); // one window of a kind at a time; a new page replaces the old
    open.record = p;
    const int count = ChooseProc_count(kind, p);
    open.first = std::max(0, std::min(first, count));
    const int n = std::min(count - open.first, ChooseProc_pageSize());
    const bool more = open.first + n < count;
    const int slots = n + (more ? 1 : 0);
    const int columns = std::max(1, (slots + kRows - 1) / kRows);
    const int rows = std::max(1, std::min(slots, kRows));
    const int bottom = kFirstButtonTop - kButtonPitch * (rows - 1) - kButtonHeight - 15;

    char title[16], caption[48];
    snprintf(title, sizeof title, "Choose %s", kind.word);
    *kind.window = Utils_CreateMainWindow(kLeft, kTop, kLeft + 20 + kColumnWidth * columns, bottom, title);
    snprintf(caption, sizeof caption, "Runway %s %ss", ChooseProc_runway(kind, p), kind.word);
    Utils_CreateCaption(kLeft + 10, 410, kLeft + 10 + kButtonWidth, 400, caption, *kind.window);
    const std::vector<pilot::sid> &list = ChooseProc_list(kind, p);
    for (int k = 0; k < slots; k++) {
        char label[64];
        if (k < n) {
            const pilot::sid &proc = list[(size_t)(open.first + k)];
            snprintf(label, sizeof label, "%s%s", proc.name.c_str(), proc.favour ? " *" : " ");
        } else {
            snprintf(label, sizeof label, "...");
        }
        int left, top;
        ChooseProc_slotCorner(k, &left, &top);
        kind.buttons[k < n ? k : kMoreSlot] = Utils_CreatePushButton(left, top, left + kButtonWidth,
                                                                     top - kButtonHeight, label, *kind.window);
    }
    XPAddWidgetCallback(*kind.window, kind.callback);
}

int ChooseProc_handle(const ChoiceKind &kind, XPWidgetMessage message, intptr_t param1)
{
    OpenChoice &open = ChooseProc_open(kind);
    pilot *p = open.record != nullptr ? open.record : &pilotObj;
    if (message == xpMessage_CloseButtonPushed) {
        // Closed without a choice: the procedure the search files when the pilot does not choose.
        ChooseProc_destroy(kind);
        ChooseProc_select(kind, p, ProcedureSearch_AutomaticChoice(kind.star, p));
        PrintInfo(kind.handler, "%s window closed: automatic choice %i", kind.word, ChooseProc_selected(kind, p));
        return 1;
    }
    if (message != xpMsg_PushButtonPressed)
        return 0;
    const XPWidgetID button = (XPWidgetID)param1;
    if (button == nullptr)
        return 1;
    if (button == kind.buttons[kMoreSlot]) {
        const int next = open.first + ChooseProc_pageSize();
        ChooseProc_destroy(kind);
        ChooseProc_create(kind, p, next);
        return 1;
    }
    const int count = ChooseProc_count(kind, p);
    for (int k = 0; k < CHOOSE_PROC_PAGE_MAX; k++) {
        if (kind.buttons[k] != button || open.first + k >= count)
            continue;
        const int index = open.first + k;
        ChooseProc_select(kind, p, index);
        PrintInfo(kind.handler, "%s %i %s, runway %s, selected by user", kind.word, index,
                  ChooseProc_list(kind, p)[(size_t)index].name.c_str(), ChooseProc_runway(kind, p));
        ChooseProc_destroy(kind);
        return 1;
    }
    return 1; // a button of no procedure: nothing to do
}

} // namespace

void CreateChooseSidControl(pilot *p, int first)
{
    ChooseProc_create(kSid, p, first);
}

void CreateChooseStarControl(pilot *p, int first)
{
    ChooseProc_create(kStar, p, first);
}

void ChooseProcedure_CloseStar()
{
    ChooseProc_destroy(kStar);
    gStarChoice = OpenChoice();
}

int ControlChooseSidHandler(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t)
{
    return ChooseProc_handle(kSid, message, param1);
}

int ControlChooseStarHandler(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t)
{
    return ChooseProc_handle(kStar, message, param1);
}
