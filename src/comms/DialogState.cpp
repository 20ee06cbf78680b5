// Storage of the request and read-back windows' flags and their shared position and layout.
#include "comms/DialogState.h"

#include <algorithm>

#include "ui/Settings.h"
#include "ui/WidgetHelpers.h"

int dialogIsOpen = 0;
int readbackWinIsOpen = 0;
int readBackCustomCommand = 0;

namespace
{
const int kButtonLeft = 10, kFirstRowBelowTop = 30, kRowPitch = 20, kButtonHeight = 22;
/// Space below the last button's row.
const int kBottomMargin = 8;
} // namespace

void Dialog_RememberPosition(XPWidgetID window)
{
    if (window == nullptr)
        return;
    int left = 0, top = 0;
    XPGetWidgetGeometry(window, &left, &top, nullptr, nullptr);
    dialogPositionLeft = left;
    dialogPositionTop = top;
}

void Dialog_OpeningPosition(int *left, int *top)
{
    if (dialogPositionLeft != 0 && dialogPositionTop != 0) {
        *left = dialogPositionLeft;
        *top = dialogPositionTop;
    }
}

XPWidgetID Dialog_CreateRowButton(XPWidgetID window, int left, int top, int row, int width, const char *label)
{
    const int rowTop = top - kFirstRowBelowTop - kRowPitch * row;
    return Utils_CreatePushButton(left + kButtonLeft, rowTop, left + kButtonLeft + width, rowTop - kButtonHeight,
                                  label, window);
}

int Dialog_HeightForRows(int rows, int minHeight)
{
    const int needed = kFirstRowBelowTop + kRowPitch * (rows - 1) + kButtonHeight + kBottomMargin;
    return std::max(minHeight, needed);
}
