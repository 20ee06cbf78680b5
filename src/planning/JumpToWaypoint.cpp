// The "Jump to" window. A button acts only while its label still names the waypoint at its place in the
// route, so a route rebuilt under an open window never jumps to another waypoint than the one pressed.
#include "planning/JumpToWaypoint.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "XPLMProcessing.h"
#include "XPStandardWidgets.h"
#include "monitor/WaypointTracking.h"
#include "planning/Fms.h"
#include "plugin/Log.h"
#include "state/Pilot.h"
#include "ui/WidgetHelpers.h"

XPWidgetID JumpToWaypointWin = nullptr;
std::vector<XPWidgetID> ChooseWptBtn;

namespace {

const char *const kTag = "ControlChooseWptHandler";
const int kLeft = 100, kTop = 450, kRight = 230;
const int kButtonLeft = 110, kButtonRight = 220, kColumnWidth = 120;
const int kFirstButtonTop = 380, kButtonPitch = 20, kButtonHeight = 22;
const int kLabelBytes = 256;

/// The flight record the open window lists.
pilot *gJumpRecord = nullptr;

/// The waypoint name a button label stands for: the label without the active waypoint's "*".
std::string Jump_LabelName(XPWidgetID button)
{
    char label[kLabelBytes] = "";
    XPGetWidgetDescriptor(button, label, sizeof label - 1);
    size_t length = strlen(label);
    if (length > 0 && label[length - 1] == '*')
        label[length - 1] = '\0';
    return label;
}

void Jump_To(pilot *p, int k)
{
    PrintInfo(kTag, "Jump to waypoint %i %s", k, p->flightPlanVec[(size_t)k].name.c_str());
    NaviCheck_ActivateWaypoint(p, k, false);
    Fms_FollowActiveWaypoint(p);
}

} // namespace

void JumpToWaypoint_Close()
{
    Utils_DestroyWindow(&JumpToWaypointWin);
    ChooseWptBtn.clear();
    gJumpRecord = nullptr;
}

void JumpToWaypoint(pilot *p)
{
    JumpToWaypoint_Close();
    const std::vector<pilot::flightPlanLoc> &route = p->flightPlanVec;
    const int count = (int)route.size();
    // Columns of 15: a long route would run the buttons off the bottom of the screen.
    const int rows = std::max(1, std::min(count, (int)JUMP_BUTTONS_PER_COLUMN));
    const int columns = std::max(1, (count + JUMP_BUTTONS_PER_COLUMN - 1) / JUMP_BUTTONS_PER_COLUMN);
    const int lastButtonBottom = kFirstButtonTop - kButtonPitch * (rows - 1) - kButtonHeight;
    const int footerTop = lastButtonBottom - 4;
    JumpToWaypointWin =
        Utils_CreateMainWindow(kLeft, kTop, kRight + kColumnWidth * (columns - 1), footerTop - 24, "Jump to");
    Utils_CreateCaption(kButtonLeft, kTop - 25, kButtonRight, kTop - 45, "Next waypoint:", JumpToWaypointWin);
    const int active = Fms_ActiveIndex(p);
    for (int k = 0; k < count; k++) {
        const int column = k / JUMP_BUTTONS_PER_COLUMN, row = k % JUMP_BUTTONS_PER_COLUMN;
        const int top = kFirstButtonTop - kButtonPitch * row;
        char label[kLabelBytes];
        snprintf(label, sizeof label, k == active ? "%s*" : "%s", route[(size_t)k].name.c_str());
        ChooseWptBtn.push_back(Utils_CreatePushButton(kButtonLeft + kColumnWidth * column, top,
                                                      kButtonRight + kColumnWidth * column, top - kButtonHeight,
                                                      label, JumpToWaypointWin));
    }
    Utils_CreateCaption(kButtonLeft, footerTop, kButtonRight, footerTop - 16, "* Current waypoint",
                        JumpToWaypointWin);
    XPAddWidgetCallback(JumpToWaypointWin, ControlChooseWptHandler);
    gJumpRecord = p;
}

int ControlChooseWptHandler(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t)
{
    if (message == xpMessage_CloseButtonPushed) {
        JumpToWaypoint_Close();
        return 1;
    }
    if (message != xpMsg_PushButtonPressed)
        return 0;
    pilot *p = gJumpRecord;
    XPWidgetID button = (XPWidgetID)param1;
    int k = -1;
    const int listed = p == nullptr ? 0 : (int)std::min(ChooseWptBtn.size(), p->flightPlanVec.size());
    for (int i = 0; i < listed && k < 0; i++)
        if (ChooseWptBtn[(size_t)i] == button)
            k = i;
    const std::string label = k >= 0 ? Jump_LabelName(button) : std::string();
    JumpToWaypoint_Close();
    if (k < 0)
        return 1;
    if (label != p->flightPlanVec[(size_t)k].name) {
        PrintInfo(kTag, "The route has changed since the window opened: %s is no longer waypoint %i, no jump",
                  label.c_str(), k);
        return 1;
    }
    Jump_To(p, k);
    return 1;
}
