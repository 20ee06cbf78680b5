// Building blocks of the plug-in's widget windows.
#include "ui/WidgetHelpers.h"

#include "XPStandardWidgets.h"

XPWidgetID Utils_CreateMainWindow(int left, int top, int right, int bottom, const char *title)
{
    XPWidgetID window = XPCreateWidget(left, top, right, bottom, 1, title, 1, nullptr, xpWidgetClass_MainWindow);
    XPSetWidgetProperty(window, xpProperty_MainWindowHasCloseBoxes, 1);
    return window;
}

XPWidgetID Utils_CreateSubWindow(int left, int top, int right, int bottom, XPWidgetID container)
{
    XPWidgetID sub = XPCreateWidget(left, top, right, bottom, 1, "", 0, container, xpWidgetClass_SubWindow);
    XPSetWidgetProperty(sub, xpProperty_SubWindowType, xpSubWindowStyle_SubWindow);
    return sub;
}

XPWidgetID Utils_CreateCaption(int left, int top, int right, int bottom, const char *text, XPWidgetID container)
{
    return XPCreateWidget(left, top, right, bottom, 1, text, 0, container, xpWidgetClass_Caption);
}

XPWidgetID Utils_CreatePushButton(int left, int top, int right, int bottom, const char *label, XPWidgetID container)
{
    XPWidgetID button = XPCreateWidget(left, top, right, bottom, 1, label, 0, container, xpWidgetClass_Button);
    XPSetWidgetProperty(button, xpProperty_ButtonType, xpPushButton);
    XPSetWidgetProperty(button, xpProperty_ButtonBehavior, xpButtonBehaviorPushButton);
    return button;
}

XPWidgetID Utils_CreateCheckBox(int left, int top, int right, int bottom, int state, XPWidgetID container)
{
    XPWidgetID box = XPCreateWidget(left, top, right, bottom, 1, "", 0, container, xpWidgetClass_Button);
    XPSetWidgetProperty(box, xpProperty_ButtonType, xpRadioButton);
    XPSetWidgetProperty(box, xpProperty_ButtonBehavior, xpButtonBehaviorCheckBox);
    XPSetWidgetProperty(box, xpProperty_ButtonState, state != 0 ? 1 : 0);
    return box;
}

XPWidgetID Utils_CreateTextField(int left, int top, int right, int bottom, const char *text, XPWidgetID container)
{
    XPWidgetID field = XPCreateWidget(left, top, right, bottom, 1, text, 0, container, xpWidgetClass_TextField);
    XPSetWidgetProperty(field, xpProperty_TextFieldType, xpTextEntryField);
    return field;
}

namespace {

const int kPanelInset = 10;
const int kPanelTop = 30;
const int kPanelTextLeft = 20;
const int kPanelFirstRow = 40;
const int kPanelCaptionHeight = 12;

} // namespace

XPWidgetID Utils_CreatePanelWindow(int left, int top, int width, int height, const char *title, XPWidgetID *subWindow)
{
    int right = left + width, bottom = top - height;
    XPWidgetID window = Utils_CreateMainWindow(left, top, right, bottom, title);
    XPWidgetID sub =
        Utils_CreateSubWindow(left + kPanelInset, top - kPanelTop, right - kPanelInset, bottom + kPanelInset, window);
    if (subWindow != nullptr)
        *subWindow = sub;
    return window;
}

XPWidgetID Utils_CreatePanelRow(XPWidgetID window, int row, int rowHeight, const char *text)
{
    int left = 0, top = 0, right = 0;
    XPGetWidgetGeometry(window, &left, &top, &right, nullptr);
    int rowTop = top - kPanelFirstRow - row * rowHeight;
    return Utils_CreateCaption(left + kPanelTextLeft, rowTop, right - kPanelTextLeft, rowTop - kPanelCaptionHeight,
                               text, window);
}

void Utils_DestroyWindow(XPWidgetID *window)
{
    if (*window != nullptr)
        XPDestroyWidget(*window, 1);
    *window = nullptr;
}
